// The desktop shell: COM start-up, the wallpaper.
#ifndef VESTA_PLATFORM_SHELL_H
#define VESTA_PLATFORM_SHELL_H

#include <string>

namespace vesta::platform {

enum class ComStart {
  kStarted,         // started for this thread now
  kAlreadyStarted,  // started before on this thread
  kFailed,
};

// Starts COM for the calling thread. POSIX: there is no COM; the answers
// follow the same rules (started on the first call of a thread, already
// started on the calls after it until the matching stops).
ComStart StartCom();
// Ends one start of COM on the calling thread.
void StopCom();

// Makes the bitmap the desktop wallpaper and records it in the user's
// profile. Win32: the system's parameter call with the update-profile and
// send-change flags. POSIX: recorded as the "Wallpaper" value under
// HKEY_CURRENT_USER "Control Panel\Desktop", as Windows records it.
bool SetDesktopWallpaper(const char* path);

// Opens a document or a link with the program the desktop associates with
// it. Win32: the shell's "open" verb (success when its result is above
// 32). POSIX: xdg-open, where there is one.
bool OpenDocument(const char* path);

// Opens the help file at the keyword's topic. Win32: the help engine.
// POSIX: the file is opened as a document.
bool OpenHelp(const char* helpFile, const char* keyword);

// The full command line of the process, program path first. POSIX: the
// arguments joined by blanks, those with a blank in double quotes.
std::string CommandLine();

}  // namespace vesta::platform

#endif
