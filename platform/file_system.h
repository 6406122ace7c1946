// The file-system half of the platform seam.
//
// Names avoid those of the Win32 API, some of which are macros.
//
// Every path given here is a Windows path as the system keeps it
// ("C:\VESTA\media\FWW01.bmp"). The POSIX backend maps it into the folder
// named by VESTA_ROOT (drive C: is $VESTA_ROOT/drive_c, back-slashes become
// slashes, a path that begins with "/" is a host path, and a path component
// that does not exist as spelled is matched without regard to letter case);
// the Win32 backend hands it to the ANSI API unchanged.
//
// On POSIX, VESTA_ROOT is a boundary for Windows paths: "." and ".." fold
// inside the drive as Windows folds them ("C:\..\x" is "C:\x"), and no
// change (a file opened to write, a folder made, anything renamed or
// deleted) follows a link out of the root; it fails instead. So does a host
// path spelled inside VESTA_ROOT; any other host path is the caller's own
// choice and is taken as it is.
//
// Every call that fails leaves the path and the reason in LastFileError
// (file_error.h). Files that are rewritten or appended to are written
// through file_output.h.
#ifndef VESTA_PLATFORM_FILE_SYSTEM_H
#define VESTA_PLATFORM_FILE_SYSTEM_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vesta::platform {

// Text mode reads and writes "\r\n" for each line feed on Windows; binary
// mode takes the bytes as they are.
enum class FileMode { kText, kBinary };

// Opens the file as a standard stream; mode is that of fopen ("r", "a+",
// "w", "rb", ...), text mode unless it says "b". Returns nullptr when the
// file cannot be opened; errno is then set.
FILE* OpenStream(const char* path, const char* mode);

// Reads the whole file into *contents. False (errno set, *contents
// unspecified) when it cannot be opened or read, or holds more than limit
// bytes.
bool ReadWholeFile(const char* path, std::string* contents, FileMode mode = FileMode::kBinary,
                   size_t limit = static_cast<size_t>(-1));

// True when the path names an existing regular file (not a folder, a pipe
// or a device).
bool FileExists(const char* path);

// True when anything at all is at the path.
bool PathExists(const char* path);

// The size in bytes of the regular file at path, as FileExists finds it,
// without opening it. False, *size untouched, when FileExists is false.
bool RegularFileSize(const char* path, int64_t* size);

// True when the path names an existing folder; a trailing back-slash is
// allowed ("C:\Media\").
bool FolderExists(const char* path);

// Creates one folder; its parent must exist. True when the folder exists
// afterwards (also when it existed before).
bool MakeFolder(const char* path);

// Deletes one file (a link itself, never what it leads to). False when it
// does not exist or cannot be deleted.
bool RemoveFile(const char* path);

// Removes a folder that is empty. False when it is missing or not empty.
bool RemoveEmptyFolder(const char* path);

// The short (8.3) form of an existing path into *shortPath. POSIX has no
// short names: an existing path is its own short path. False when the path
// does not exist.
bool ShortPath(const char* path, std::string* shortPath);

// Copies a file. With failIfExists, an existing destination is left alone
// and the copy fails. True when the copy was made; a copy that fails leaves
// no part of itself, and an old destination as it was.
bool CopyOneFile(const char* from, const char* to, bool failIfExists);

// Renames from over to, replacing an existing file at once (a reader sees
// the old file or the new one, never a mix). True when done.
bool MoveOver(const char* from, const char* to);

// The files that match pattern, a path whose last component may hold the
// wildcards "*" and "?" (letter case ignored), as full paths: the
// pattern's folder followed by each name. Folders are not listed. Empty
// when nothing matches or the folder does not exist.
std::vector<std::string> FindFiles(const char* pattern);

// The host's own name for the path: what the C library or a shell command
// on this machine would be given. On Windows it is the path itself.
std::string HostPath(const char* path);

// True when a change to path stays inside the installation: for programs
// that act on names read from files (uninstall, restart deletions). POSIX:
// a Windows path whose folder lies in VESTA_ROOT, links followed; a host
// path, a relative path or one that leads out is refused. Windows: any
// full path (drive or UNC); a relative path is refused. When refused,
// *reason (if given) says why.
bool IsInsideRoot(const char* path, std::string* reason);
// True when path is inside the installation as IsInsideRoot takes it and
// names a file, as FileExists: both with one look at the disk. False says
// only that one of them is false.
bool IsFileInsideRoot(const char* path);
// The file that IsFileInsideRoot finds, opened to read ("rb") with the same
// one look; null for anything else (the file error set when the open
// failed).
FILE* OpenFileInsideRoot(const char* path);

// A folder this process is filling with new files (the copies of a pack).
// While a FolderFill lives, the names in the folder are taken to be those
// listed when it began, with the files this process has put there since
// through the seam (CopyToNewFile, Replacement): looking up a name that is
// not there, which a new file always is, costs no read of the folder. On
// POSIX a name is otherwise matched without regard to case by reading its
// folder, and a folder that keeps changing has to be read again each time.
// A file another program adds meanwhile under a name in another case may
// stand beside one of ours; nothing is overwritten either way. On Windows
// the file system compares names itself and nothing is kept.
class FolderFill {
 public:
  explicit FolderFill(const char* folder);
  ~FolderFill();
  FolderFill(const FolderFill&) = delete;
  FolderFill& operator=(const FolderFill&) = delete;

 private:
  std::string held_;  // the folder as the backend keeps it; "" for none
};

}  // namespace vesta::platform

#endif
