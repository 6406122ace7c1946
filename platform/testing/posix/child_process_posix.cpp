#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/testing/child_process.h"

extern char** environ;

namespace vesta::testing {
namespace {

const char kJobVariable[] = "VESTA_TEST_JOB";
constexpr std::chrono::seconds kLongest(120);

}  // namespace

std::string ChildJob() {
  const char* job = std::getenv(kJobVariable);
  return job != nullptr ? job : "";
}

ChildProcess::ChildProcess(const std::string& testName, const std::string& job, const std::string& logPath) {
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return;
  self[length] = '\0';
  std::string filter = "--gtest_filter=" + testName;
  char* argv[] = {self, filter.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  // The child inherits the environment, and the job with it.
  std::string saved = ChildJob();
  setenv(kJobVariable, job.c_str(), 1);
  pid_t pid;
  int result = posix_spawn(&pid, self, &actions, nullptr, argv, environ);
  if (saved.empty()) {
    unsetenv(kJobVariable);
  } else {
    setenv(kJobVariable, saved.c_str(), 1);
  }
  posix_spawn_file_actions_destroy(&actions);
  if (result == 0) process_ = pid;
}

ChildProcess::~ChildProcess() { Wait(); }

bool ChildProcess::Wait() {
  if (process_ == kNone) return passed_;
  const pid_t pid = static_cast<pid_t>(process_);
  process_ = kNone;
  const auto deadline = std::chrono::steady_clock::now() + kLongest;
  int status = 0;
  while (true) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  passed_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return passed_;
}

}  // namespace vesta::testing
