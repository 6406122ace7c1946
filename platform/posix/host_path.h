// How the POSIX backend finds a Windows path on this machine.
#ifndef VESTA_PLATFORM_POSIX_HOST_PATH_H
#define VESTA_PLATFORM_POSIX_HOST_PATH_H

#include <string>

namespace vesta::platform::posix {

// The folder that stands for the Windows side of the machine: $VESTA_ROOT,
// else ~/.vesta. Read on every call, so that a test may point it elsewhere.
std::string VestaRoot();

// True for a Windows path: one that begins with a drive letter and a colon,
// or with a back-slash (a UNC path, or the root of drive C:).
bool IsWindowsPath(const char* path);

// True for a host path that names a place inside $VESTA_ROOT by its
// spelling ("$VESTA_ROOT/registry/HKEY_CURRENT_USER.reg"): the system's own
// files there are bounded by the root as Windows paths are.
bool IsRootHostPath(const char* path);

// Maps a Windows path to a host path: "X:" to $VESTA_ROOT/drive_x, a leading
// "\\server\share" to $VESTA_ROOT/unc/server/share, a leading single
// back-slash to drive C:, back-slashes to slashes. "." and ".." fold as
// Windows folds them, without looking at the disk, and never above the
// drive's or the share's folder ("C:\..\x" is $VESTA_ROOT/drive_c/x); a UNC
// path without a server and a share (or naming them "." or "..") gives "".
// A path that begins with "/" is a host path already and a relative path
// stays relative; neither is folded. When a component does not exist as
// spelled, the first entry of its folder that matches without regard to
// ASCII letter case is taken; components after one that matches nothing are
// kept as spelled.
std::string ResolveHostPath(const char* path);
// A Windows path's host path as it is spelled, no letter case matched:
// what ResolveHostPath gives when the path exists as spelled. "" for any
// other path.
std::string SpelledHostPath(const char* path);
// The entry of the host folder whose name matches name without regard to
// ASCII letter case, as ResolveHostPath takes it, or "" when none does.
std::string MatchNameIn(const std::string& hostFolder, const std::string& name);

// The listing of a host folder kept and trusted while held, whatever its
// times say (a FolderFill): HoldListing reads it (or takes one more hold),
// ReleaseListing lets it go with the last hold, NoteNewName adds a name
// this process has just made there. The last two do nothing for a folder
// not held.
void HoldListing(const std::string& hostFolder);
void ReleaseListing(const std::string& hostFolder);
void NoteNewName(const std::string& hostFolder, const std::string& name);

}  // namespace vesta::platform::posix

#endif
