// The shell's link object, which writes and reads shortcut (.LNK) files.
//
// Win32: the shell's own object through COM (CLSID_ShellLink, with its
// IShellLinkA and IPersistFile interfaces); COM must have been started on
// the thread. POSIX: an object of this backend that writes and reads the
// same file format (see platform/link_file/shell_link_format.h), so that a
// shortcut made on one platform is read on the other.
//
// A link object is handed out as two opaque interfaces: the link itself and
// its file interface. Each is released on its own; the object goes when
// both are.
#ifndef VESTA_PLATFORM_SHELL_LINK_H
#define VESTA_PLATFORM_SHELL_LINK_H

namespace vesta::platform {

// A new, empty link object's link interface; null when it cannot be made.
void* CreateShellLink();
// The link object's file interface; null when it cannot be had.
void* ShellLinkFileInterface(void* link);
// Releases one interface (either kind); null is ignored.
void ReleaseShellLinkInterface(void* anyInterface);

// The link's fields. True when the object took the value.
bool ShellLinkSetPath(void* link, const char* target);
bool ShellLinkSetDescription(void* link, const char* text);
bool ShellLinkSetIconLocation(void* link, const char* iconFile, int index);
// The target seen from the link's own folder ("..\bin\VESTA.EXE").
bool ShellLinkSetRelativePath(void* link, const char* relative);
bool ShellLinkSetArguments(void* link, const char* arguments);
bool ShellLinkSetWorkingDirectory(void* link, const char* folder);

// Writes the link to the file (Win32: the name goes to the shell as at most
// 260 wide characters of the ANSI code page) and makes it the link's file.
bool ShellLinkSave(void* file, const char* path);
// Reads the link from the file. POSIX: a file that cannot be read leaves the
// link empty.
bool ShellLinkLoad(void* file, const char* path);
// Looks for the target without asking the user anything; owner is the
// window of any question, or null. POSIX: the target stays as written.
bool ShellLinkResolve(void* link, void* owner);

// The target in its short (8.3) form into out (size bytes, cut to fit);
// false when the link has no file-system target. POSIX has no short
// names: the target as written.
bool ShellLinkGetPath(void* link, char* out, int size);
// The description into out (size bytes); empty when the link has none.
bool ShellLinkGetDescription(void* link, char* out, int size);
// The icon file into out (size bytes; empty when none) and the index.
bool ShellLinkGetIconLocation(void* link, char* out, int size, int* index);
// The arguments and the working folder into out (size bytes); empty when
// the link has none.
bool ShellLinkGetArguments(void* link, char* out, int size);
bool ShellLinkGetWorkingDirectory(void* link, char* out, int size);

}  // namespace vesta::platform

#endif
