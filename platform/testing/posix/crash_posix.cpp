#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <thread>

#include "platform/testing/crash.h"

// Present only in a build with a sanitizer.
extern "C" void __sanitizer_purge_allocator() __attribute__((weak));

namespace vesta::testing {
namespace {

// How a child that was not killed ended by itself.
constexpr int kWorkFailed = 3;
constexpr int kOrphaned = 4;

bool WaitFor(pid_t pid, int* status) {
  while (waitpid(pid, status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// The file's size (0 while it does not exist). An open descriptor answers
// faster than the path; the file only grows in place.
class WatchedSize {
 public:
  explicit WatchedSize(const std::string& path) : path_(path) {}
  ~WatchedSize() {
    if (fd_ >= 0) close(fd_);
  }
  WatchedSize(const WatchedSize&) = delete;
  WatchedSize& operator=(const WatchedSize&) = delete;

  long long Now() {
    if (fd_ < 0) fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd_ < 0 || fstat(fd_, &st) != 0) return 0;
    return static_cast<long long>(st.st_size);
  }

 private:
  std::string path_;
  int fd_ = -1;
};

// Returns once the file is seen to grow by a page or more between two
// looks, or after a second.
void WaitForGrowth(const std::string& path) {
  constexpr long long kPage = 4096;
  WatchedSize size(path);
  long long last = size.Now();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (std::chrono::steady_clock::now() < deadline) {
    const long long now = size.Now();
    if (now - last >= kPage) return;
    last = now;
  }
}

// A sanitizer's allocator keeps freed memory mapped (its quarantine), and
// fork copies the page tables of all of it. Given back every 50 kills,
// and whenever the test did other work since the last one (a fifth of a
// second or more), a child starts in a millisecond or two instead of ten.
void GiveBackFreedMemory() {
  static int kills = 0;
  static auto last = std::chrono::steady_clock::time_point();
  const auto now = std::chrono::steady_clock::now();
  const bool idle = now - last > std::chrono::milliseconds(200);
  if (__sanitizer_purge_allocator != nullptr && (idle || ++kills % 50 == 0)) {
    __sanitizer_purge_allocator();
    kills = 0;
  }
  last = std::chrono::steady_clock::now();
}

}  // namespace

bool CanKillWriters() { return true; }

WriterProgress& SharedProgress() {
  // Shared with every child forked later; kept for the life of the process.
  static WriterProgress* progress = [] {
    void* memory = mmap(nullptr, sizeof(WriterProgress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? new WriterProgress : new (memory) WriterProgress;
  }();
  return *progress;
}

bool RunAndKill(const std::function<bool()>& work, std::chrono::microseconds delay, const std::string& watchedFile) {
  const pid_t parent = getpid();
  GiveBackFreedMemory();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    // Never back into the test program: its exit handlers (the leak check
    // among them) and its test report belong to the parent.
    while (true) {
      if (!work()) _exit(kWorkFailed);
      if (getppid() != parent) _exit(kOrphaned);
    }
  }
  if (delay.count() > 0) std::this_thread::sleep_for(delay);
  if (!watchedFile.empty()) WaitForGrowth(watchedFile);
  kill(pid, SIGKILL);
  int status = 0;
  if (!WaitFor(pid, &status)) return false;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

bool RunInChild(const std::function<bool()>& work) {
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) _exit(work() ? 0 : kWorkFailed);
  int status = 0;
  return WaitFor(pid, &status) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vesta::testing
