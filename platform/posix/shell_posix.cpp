#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/file_system.h"
#include "platform/posix/host_path.h"
#include "platform/process_state.h"
#include "platform/registry.h"

extern char** environ;

namespace vesta::platform {

ComStart StartCom() { return state::ComStarts()++ == 0 ? ComStart::kStarted : ComStart::kAlreadyStarted; }

void StopCom() {
  if (state::ComStarts() > 0) --state::ComStarts();
}

bool SetDesktopWallpaper(const char* path) {
  if (path == nullptr) return false;
  return RegistryWriteString(RegRoot::kCurrentUser, "Control Panel\\Desktop", "Wallpaper", path);
}

bool OpenDocument(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  std::string host = posix::ResolveHostPath(path);
  const char* opener = "xdg-open";
  char* const argv[] = {const_cast<char*>(opener), const_cast<char*>(host.c_str()), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, opener, nullptr, nullptr, argv, environ) != 0) return false;
  // xdg-open hands the document on and ends; its answer is the outcome.
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OpenHelp(const char* helpFile, const char* /*keyword*/) { return OpenDocument(helpFile); }

std::string CommandLine() {
  std::string line;
  std::string arguments;
  if (!ReadWholeFile("/proc/self/cmdline", &arguments)) return line;
  std::string argument;
  auto add = [&line, &argument]() {
    if (!line.empty()) line += ' ';
    bool blank = argument.find_first_of(" \t") != std::string::npos;
    line += blank ? "\"" + argument + "\"" : argument;
    argument.clear();
  };
  for (char c : arguments) {
    if (c == '\0') {
      add();
    } else {
      argument += c;
    }
  }
  if (!argument.empty()) add();
  return line;
}

}  // namespace vesta::platform
