// Copies of the running test program, for tests of what several processes
// do at the same time. The copy runs one test of the program, which reads
// its job with ChildJob() and works in its parent's scratch area
// (ScratchFolder(ScratchFolder::kParents)).
#ifndef VESTA_PLATFORM_TESTING_CHILD_PROCESS_H
#define VESTA_PLATFORM_TESTING_CHILD_PROCESS_H

#include <cstdint>
#include <string>

namespace vesta::testing {

// The job that the parent gave this process, or "" when it has none (the
// test was not started by ChildProcess and should do nothing).
std::string ChildJob();

class ChildProcess {
 public:
  // Starts the test program again with only the test testName
  // ("Suite.Name") and the job; its output goes to the file logPath (a
  // host path).
  ChildProcess(const std::string& testName, const std::string& job, const std::string& logPath);
  // Waits for it, unless Wait did.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return process_ != kNone; }

  // Waits for it to end (ending it after two minutes); true when it exited
  // with status 0.
  bool Wait();

 private:
  static constexpr std::intptr_t kNone = -1;

  std::intptr_t process_ = kNone;  // the process id, or its handle on Windows
  bool passed_ = false;
};

}  // namespace vesta::testing

#endif
