#include "platform/system_info.h"

#include <pwd.h>
#include <signal.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/folder_overrides.h"
#include "platform/posix/installation.h"

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
  if (!folder.empty()) return folder;
  // A fresh root gets the folders of an installation when first asked.
  posix::EnsureInstallation();
  return "C:\\Windows";
}

std::string SystemFolder() { return WindowsFolder() + "\\System32"; }

bool PrepareMachine() { return posix::EnsureInstallation(); }

int ProcessId() { return static_cast<int>(getpid()); }

bool ProcessIsRunning(int pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

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
