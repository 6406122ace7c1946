#include "platform/system_info.h"

#include <windows.h>

#include "platform/folder_overrides.h"

namespace vesta::platform {

bool UserName(std::string* name) {
  if (name == nullptr) return false;
  char buffer[257];
  DWORD length = sizeof buffer;
  if (!GetUserNameA(buffer, &length)) return false;
  *name = buffer;
  return true;
}

std::string WindowsFolder() {
  if (!overrides::WindowsFolder().empty()) return overrides::WindowsFolder();
  char buffer[MAX_PATH + 1];
  UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return buffer;
}

std::string SystemFolder() {
  if (!overrides::WindowsFolder().empty()) return overrides::WindowsFolder() + "\\System32";
  char buffer[MAX_PATH + 1];
  UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return buffer;
}

bool PrepareMachine() { return true; }

int ProcessId() { return static_cast<int>(GetCurrentProcessId()); }

bool ProcessIsRunning(int pid) {
  if (pid <= 0) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth,  now.wDay,         now.wHour,
                   now.wMinute, now.wSecond, now.wMilliseconds, now.wDayOfWeek};
}

}  // namespace vesta::platform
