#include "platform/system_info.h"

#include <pwd.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include "platform/folder_overrides.h"

namespace vesta::platform {

bool UserName(std::string* name) {
  if (name == nullptr) return false;
  const passwd* entry = getpwuid(geteuid());
  if (entry == nullptr || entry->pw_name == nullptr) return false;
  *name = entry->pw_name;
  return true;
}

std::string WindowsFolder() {
  const std::string& folder = overrides::WindowsFolder();
  return folder.empty() ? std::string("C:\\Windows") : folder;
}

std::string SystemFolder() { return WindowsFolder() + "\\System32"; }

int ProcessId() { return static_cast<int>(getpid()); }

LocalTime Now() {
  timeval now;
  gettimeofday(&now, nullptr);
  time_t seconds = now.tv_sec;
  tm parts;
  localtime_r(&seconds, &parts);
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                   parts.tm_min,         parts.tm_sec,     static_cast<int>(now.tv_usec / 1000),
                   parts.tm_wday};
}

}  // namespace vesta::platform
