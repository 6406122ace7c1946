#include "platform/posix/print_queues.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "platform/file_system.h"

extern char** environ;

namespace vesta::platform::posix {
namespace {

// The standard output of a command; false when it cannot run or fails.
bool CommandOutput(const char* program, const char* argument, std::string* output) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
  char* const argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
  pid_t child = 0;
  int spawned = posix_spawnp(&child, program, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    return false;
  }
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) output->append(buffer, static_cast<size_t>(n));
  close(pipeEnds[0]);
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    begin = end + 1;
  }
  return lines;
}

}  // namespace

std::vector<std::string> ParsePrintcap(const std::string& text) {
  std::vector<std::string> queues;
  bool continued = false;
  for (const std::string& line : Lines(text)) {
    bool continuation = continued;
    continued = line.back() == '\\';
    if (continuation || line[0] == '#' || line[0] == ' ' || line[0] == '\t' || line[0] == ':') continue;
    size_t end = line.find_first_of("|:\\");
    std::string name = line.substr(0, end);
    if (!name.empty()) queues.push_back(name);
  }
  return queues;
}

std::vector<std::string> PrintQueues() {
  std::string output;
  if (CommandOutput("lpstat", "-e", &output)) return Lines(output);
  std::string text;
  if (!ReadWholeFile("/etc/printcap", &text, FileMode::kText)) return {};
  return ParsePrintcap(text);
}

}  // namespace vesta::platform::posix
