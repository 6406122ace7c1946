#include <windows.h>

#include "platform/testing/child_process.h"

namespace vesta::testing {
namespace {

const char kJobVariable[] = "VESTA_TEST_JOB";
constexpr DWORD kLongestMilliseconds = 120000;

}  // namespace

// Through the Win32 environment, which CreateProcessA hands to children.
std::string ChildJob() {
  char job[256];
  DWORD length = GetEnvironmentVariableA(kJobVariable, job, sizeof job);
  return length > 0 && length < sizeof job ? std::string(job, length) : std::string();
}

ChildProcess::ChildProcess(const std::string& testName, const std::string& job, const std::string& logPath) {
  char self[MAX_PATH + 1];
  DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
  if (length == 0 || length >= sizeof self) return;
  std::string command = "\"" + std::string(self) + "\" --gtest_filter=" + testName;

  SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
  HANDLE log = CreateFileA(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = log;
  startup.hStdError = log;

  // The child inherits the environment, and the job with it.
  std::string saved = ChildJob();
  SetEnvironmentVariableA(kJobVariable, job.c_str());
  PROCESS_INFORMATION process = {};
  // A loaded machine (Wine under load above all) now and then fails to
  // start a process at the first attempt.
  BOOL started = FALSE;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(500);
    started = CreateProcessA(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  }
  SetEnvironmentVariableA(kJobVariable, saved.empty() ? nullptr : saved.c_str());
  CloseHandle(log);
  if (!started) return;
  CloseHandle(process.hThread);
  process_ = reinterpret_cast<std::intptr_t>(process.hProcess);
}

ChildProcess::~ChildProcess() { Wait(); }

bool ChildProcess::Wait() {
  if (process_ == kNone) return passed_;
  HANDLE process = reinterpret_cast<HANDLE>(process_);
  process_ = kNone;
  if (WaitForSingleObject(process, kLongestMilliseconds) != WAIT_OBJECT_0) {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
  }
  DWORD code = 1;
  passed_ = GetExitCodeProcess(process, &code) && code == 0;
  CloseHandle(process);
  return passed_;
}

}  // namespace vesta::testing
