// What the system is told about the machine, the user and the process.
#ifndef VESTA_PLATFORM_SYSTEM_INFO_H
#define VESTA_PLATFORM_SYSTEM_INFO_H

#include <string>

namespace vesta::platform {

// The user's logon name; false (and name untouched) when it cannot be had.
bool UserName(std::string* name);

// The Windows folder and the system folder, without a final back-slash.
// POSIX: C:\Windows and C:\Windows\System32 of VESTA_ROOT.
std::string WindowsFolder();
std::string SystemFolder();

// Makes the machine ready for an installation. POSIX: the root and the
// folders of every Windows installation (drive C:, C:\Windows and those
// below it, C:\Program Files), made when missing; false, with the folder
// and the reason recorded (file_error.h), when one cannot be made. Win32:
// the machine is the one the program runs on; true.
bool PrepareMachine();

// For tests: makes WindowsFolder() answer folder, and SystemFolder()
// folder\System32, for this process; null gives the machine's own back.
void OverrideWindowsFolder(const char* folder);

// The number of this process.
int ProcessId();

// True when a process of that number is running.
bool ProcessIsRunning(int pid);

struct LocalTime {
  int year, month, day;
  int hour, minute, second, milliseconds;
  int weekday;  // 0 is Sunday
};

// The local date and time now.
LocalTime Now();

}  // namespace vesta::platform

#endif
