// Killing a writer at a random moment, for tests that prove a write is
// whole or absent. POSIX: the writer runs in a forked child that is killed
// with SIGKILL, so that nothing of it (no destructor, no exit handler) runs
// after the kill. Windows has no fork: CanKillWriters() is false there and
// the tests skip.
#ifndef VESTA_PLATFORM_TESTING_CRASH_H
#define VESTA_PLATFORM_TESTING_CRASH_H

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace vesta::testing {

// True where RunAndKill and RunInChild work.
bool CanKillWriters();

// What a writer child tells its test, in memory that the two share (plain
// memory where writers cannot be killed). The test sets it before each
// child.
struct WriterProgress {
  std::atomic<std::int64_t> begun{-1};     // the number of the record the child began last
  std::atomic<std::int64_t> finished{-1};  // the number of the last record whose write returned
  std::atomic<std::int64_t> startedAt{0};   // steady clock (ns) when it began its first record
  std::atomic<std::int64_t> finishedAt{0};  // steady clock (ns) when its last finished write returned
};

WriterProgress& SharedProgress();

// Runs work over and over in a child process, kills the child once delay
// has passed, and waits for it. The child never returns into the test
// program: it ends when killed, or at once (_exit) when work returns false
// or the test program is gone. True when the child was still working when
// it was killed; false when it could not be started, or ended by itself
// (work failed, or it crashed).
//
// With watchedFile (a host path) the kill waits, once delay has passed,
// until that file is seen to grow by a page or more at once (for at most a
// second): the kernel lengthens a file a page or a few at a time as a large
// write goes on, so the kill lands in the middle of a large append far
// more often than after a delay alone. Smaller appends are let through.
bool RunAndKill(const std::function<bool()>& work, std::chrono::microseconds delay,
                const std::string& watchedFile = std::string());

// Runs work once in a child process, to its end: a later process, as
// another program writing the same file would be. True when work returned
// true.
bool RunInChild(const std::function<bool()>& work);

}  // namespace vesta::testing

#endif
