// Change locks: one holder at a time across processes and threads, taken
// again by its own thread, freed with the process that held it; appends of
// several processes at once.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "platform/file_error.h"
#include "platform/file_lock.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/testing/child_process.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using vesta::testing::ChildProcess;
using vesta::testing::ReadTextFile;
using vesta::testing::ScratchFolder;

constexpr int kRounds = 100;

// Waits for the parent's "go" file, so that both children start at once.
void WaitForGo(const ScratchFolder& scratch) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!platform::FileExists(scratch.Path("go").c_str())) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no go from the parent";
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Adds one to the number in the file, as a reader and rewriter of it.
bool Increment(const std::string& path) {
  platform::FileLock lock;
  if (!lock.Acquire(path.c_str())) return false;
  const int n = std::atoi(ReadTextFile(path).c_str());
  return platform::ReplaceWholeFile(path.c_str(), std::to_string(n + 1) + "\n", platform::FileMode::kText);
}

TEST(FileLockProcessTest, TwoProcessesChangingAndAppendingAtOnceLoseNothing) {
  ScratchFolder scratch;
  const std::string logA = platform::HostPath(scratch.Path("a.log").c_str());
  const std::string logB = platform::HostPath(scratch.Path("b.log").c_str());
  ChildProcess a("FileLockProcessTest.Child", "a", logA);
  ChildProcess b("FileLockProcessTest.Child", "b", logB);
  ASSERT_TRUE(vesta::testing::WriteTextFile(scratch.Path("go"), "go\n"));
  ASSERT_TRUE(a.Started() && b.Started());
  EXPECT_TRUE(a.Wait()) << ReadTextFile(scratch.Path("a.log"));
  EXPECT_TRUE(b.Wait()) << ReadTextFile(scratch.Path("b.log"));

  EXPECT_EQ(ReadTextFile(scratch.Path("count.txt")), std::to_string(2 * kRounds) + "\n");
  // Every record whole, on a line of its own, none lost.
  std::istringstream records(ReadTextFile(scratch.Path("records.txt")));
  std::string line;
  int whole = 0;
  while (std::getline(records, line)) {
    EXPECT_TRUE(line.size() == 41 && (line[0] == 'a' || line[0] == 'b')) << line;
    ++whole;
  }
  EXPECT_EQ(whole, 2 * kRounds);
}

// The worker of TwoProcessesChangingAndAppendingAtOnceLoseNothing.
TEST(FileLockProcessTest, Child) {
  const std::string job = vesta::testing::ChildJob();
  if (job.empty()) GTEST_SKIP() << "runs only as a child";
  ScratchFolder scratch(ScratchFolder::kParents);
  WaitForGo(scratch);
  const std::string count = scratch.Path("count.txt");
  const std::string records = scratch.Path("records.txt");
  for (int i = 0; i < kRounds; ++i) {
    ASSERT_TRUE(Increment(count)) << platform::DescribeLastFileError();
    // A record in two writes' worth of text: one append all the same.
    const std::string record = job + std::string(40, static_cast<char>('0' + i % 10)) + "\n";
    ASSERT_EQ(platform::AppendToFile(records.c_str(), record, platform::FileMode::kText),
              platform::AppendResult::kAppended);
  }
  if (job == "hold") {
    // Ends holding the lock, without letting go of it.
    static platform::FileLock held;
    ASSERT_TRUE(held.Acquire(count.c_str()));
    std::_Exit(0);
  }
}

TEST(FileLockProcessTest, ALockDiesWithTheProcessThatHeldIt) {
  ScratchFolder scratch;
  const std::string log = platform::HostPath(scratch.Path("hold.log").c_str());
  ASSERT_TRUE(vesta::testing::WriteTextFile(scratch.Path("go"), "go\n"));
  {
    ChildProcess holder("FileLockProcessTest.Child", "hold", log);
    ASSERT_TRUE(holder.Started());
    EXPECT_TRUE(holder.Wait()) << ReadTextFile(scratch.Path("hold.log"));
  }
  EXPECT_EQ(ReadTextFile(scratch.Path("count.txt")), std::to_string(kRounds) + "\n");
  // Held by nobody now: taken at once.
  EXPECT_TRUE(Increment(scratch.Path("count.txt")));
}

TEST(FileLockTest, AThreadTakesItsOwnLockAgainWhileOthersWait) {
  ScratchFolder scratch;
  const std::string file = scratch.Path("Packages.txt");
  platform::FileLock outer;
  platform::FileLock inner;
  ASSERT_TRUE(outer.Acquire(file.c_str()));
  ASSERT_TRUE(inner.Acquire(file.c_str()));
  EXPECT_TRUE(platform::FileExists(platform::LockFileOf(file.c_str()).c_str()));

  std::atomic<bool> taken{false};
  std::thread other([&] {
    platform::FileLock lock;
    taken = lock.Acquire(file.c_str());
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(taken);
  inner.Release();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(taken) << "the outer hold still stands";
  outer.Release();
  other.join();
  EXPECT_TRUE(taken);
  EXPECT_FALSE(outer.Held());
}

TEST(FileLockTest, ALockFileThatIsNoRegularFileIsRefused) {
  ScratchFolder scratch;
  const std::string file = scratch.Path("VESTA.vft");
  ASSERT_TRUE(platform::MakeFolder(platform::LockFileOf(file.c_str()).c_str()));
  platform::FileLock lock;
  EXPECT_FALSE(lock.Acquire(file.c_str()));
  EXPECT_EQ(platform::LastFileError().path, platform::LockFileOf(file.c_str()));
  EXPECT_FALSE(lock.Held());
  EXPECT_FALSE(lock.Acquire(scratch.Path("missing\\VESTA.vft").c_str()));
}

}  // namespace
