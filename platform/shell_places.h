// The shell's special folders into which the system puts its shortcuts.
#ifndef VESTA_PLATFORM_SHELL_PLACES_H
#define VESTA_PLATFORM_SHELL_PLACES_H

#include <string>

namespace vesta::platform {

enum class SpecialFolder {
  kStartUp,   // the user's Start-up folder
  kPrograms,  // the Start menu's Programs folder
};

// The folder's path, without a final back-slash, into *path; window is the
// owner of any question the shell asks, or null. False (path untouched)
// when there is none. Win32: the shell's special folders (CSIDL_STARTUP,
// CSIDL_PROGRAMS). POSIX: WindowsFolder() + "\Start Menu\Programs\Startup"
// and + "\Start Menu\Programs", answered only when the folder exists.
bool SpecialFolderPath(void* window, SpecialFolder folder, std::string* path);

// For tests: makes SpecialFolderPath answer path for the folder in this
// process ("" makes it answer none); null gives the shell's own back.
void OverrideSpecialFolder(SpecialFolder folder, const char* path);

}  // namespace vesta::platform

#endif
