#include "platform/system_info.h"

#include <windows.h>

namespace vesta::platform {
namespace {

std::string& WindowsFolderOverride() {
  static std::string folder;
  return folder;
}

}  // namespace

bool UserName(std::string* name) {
  if (name == nullptr) return false;
  char buffer[257];
  DWORD length = sizeof buffer;
  if (!GetUserNameA(buffer, &length)) return false;
  *name = buffer;
  return true;
}

std::string WindowsFolder() {
  if (!WindowsFolderOverride().empty()) return WindowsFolderOverride();
  char buffer[MAX_PATH + 1];
  UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return buffer;
}

std::string SystemFolder() {
  if (!WindowsFolderOverride().empty()) return WindowsFolderOverride() + "\\System32";
  char buffer[MAX_PATH + 1];
  UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return buffer;
}

void OverrideWindowsFolder(const char* folder) { WindowsFolderOverride() = folder != nullptr ? folder : ""; }

int ProcessId() { return static_cast<int>(GetCurrentProcessId()); }

LocalTime Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalTime{now.wYear, now.wMonth,  now.wDay,         now.wHour,
                   now.wMinute, now.wSecond, now.wMilliseconds, now.wDayOfWeek};
}

}  // namespace vesta::platform
