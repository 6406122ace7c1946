// The output layer's contract on each platform: whole replacements, appends
// that are whole or cut back, the reason kept for every failure, and the
// sweep of temporaries that dead processes left.
#include "platform/file_output.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::AppendResult;
using platform::FaultPoint;
using platform::FileMode;
using vesta::testing::FaultCase;
using vesta::testing::FaultName;
using vesta::testing::ForEveryFault;

using vesta::testing::Describe;

class FileOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = scratch_.Path("file.txt");
    // What the C library's text mode makes of a line feed here.
    const std::string probe = scratch_.Path("probe.txt");
    FILE* stream = platform::OpenStream(probe.c_str(), "w");
    ASSERT_NE(stream, nullptr);
    std::fputc('\n', stream);
    std::fclose(stream);
    lineEnd_ = vesta::testing::ReadBinaryFile(probe);
    ASSERT_TRUE(lineEnd_ == "\n" || lineEnd_ == "\r\n");
    ASSERT_TRUE(platform::RemoveFile(probe.c_str()));
  }

  bool NoTemporaries() const { return platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty(); }

  // Leaves a stale error, so that a failure that records none shows.
  static void ForgetError() { platform::SetFileError("stale", "stale"); }

  // The last failure was recorded for path, with a reason.
  static void ExpectNamed(const std::string& path, const std::string& what) {
    EXPECT_EQ(platform::LastFileError().path, path) << what;
    EXPECT_NE(platform::LastFileError().reason, "") << what;
    EXPECT_NE(platform::LastFileError().reason, "stale") << what;
  }

  // An injected fault was recorded for path: a write or flush as a full
  // disk, the rest as an error of the device.
  static void ExpectNamed(const std::string& path, const FaultCase& run) {
    ExpectNamed(path, Describe(run));
    const bool full = run.point == FaultPoint::kWrite || run.point == FaultPoint::kFlush;
    EXPECT_EQ(platform::LastFileError().reason, std::strerror(full ? ENOSPC : EIO)) << Describe(run);
  }

  vesta::testing::ScratchFolder scratch_;
  std::string path_;
  std::string lineEnd_;
};

TEST_F(FileOutputTest, AWholeFileIsMadeOrReplacedInTheModeAsked) {
  ASSERT_TRUE(platform::ReplaceWholeFile(path_.c_str(), "one\r\ntwo\n", FileMode::kBinary));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "one\r\ntwo\n");
  // Shorter than the old file: nothing of the old one stays behind it.
  ASSERT_TRUE(platform::ReplaceWholeFile(path_.c_str(), "x", FileMode::kBinary));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "x");
  ASSERT_TRUE(platform::ReplaceWholeFile(path_.c_str(), "", FileMode::kBinary));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "");
  ASSERT_TRUE(platform::ReplaceWholeFile(path_.c_str(), "a\nb\n", FileMode::kText));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "a" + lineEnd_ + "b" + lineEnd_);

  // Through the stream as well as through Write, in that order.
  platform::Replacement replacement;
  EXPECT_EQ(replacement.Stream(), nullptr);
  ASSERT_TRUE(replacement.Begin(path_.c_str(), FileMode::kBinary));
  ASSERT_TRUE(platform::WriteToStream(replacement.Stream(), "head "));
  ASSERT_TRUE(replacement.Write("tail"));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "a" + lineEnd_ + "b" + lineEnd_);  // not before the commit
  ASSERT_TRUE(replacement.Commit());
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "head tail");
  EXPECT_FALSE(replacement.Commit());  // once only
  EXPECT_TRUE(NoTemporaries());
}

TEST_F(FileOutputTest, KeepingAnExistingFileCommitsOnlyWhereNothingIs) {
  const std::string fresh = scratch_.Path("fresh.txt");
  platform::Replacement made;
  ASSERT_TRUE(made.Begin(fresh.c_str(), FileMode::kBinary));
  ASSERT_TRUE(made.Write("made"));
  ASSERT_TRUE(made.Commit(true));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(fresh), "made");

  platform::Replacement refused;
  ASSERT_TRUE(refused.Begin(fresh.c_str(), FileMode::kBinary));
  ASSERT_TRUE(refused.Write("other"));
  ForgetError();
  EXPECT_FALSE(refused.Commit(true));
  ExpectNamed(fresh, "existing file kept");
  EXPECT_EQ(vesta::testing::ReadBinaryFile(fresh), "made");

  const std::string folder = scratch_.Path("folder.txt");
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  platform::Replacement blocked;
  ASSERT_TRUE(blocked.Begin(folder.c_str(), FileMode::kBinary));
  EXPECT_FALSE(blocked.Commit(true));
  EXPECT_TRUE(platform::FolderExists(folder.c_str()));
  EXPECT_TRUE(NoTemporaries());
}

TEST_F(FileOutputTest, ANewFileIsCopiedInPlaceOnlyWhereNothingIsAndSyncedWithItsBatch) {
  const std::string source = scratch_.Path("source.bin");
  std::string bytes(200000, 'b');
  for (size_t i = 0; i < bytes.size(); i += 7) bytes[i] = static_cast<char>(i % 251);
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(source, bytes));
  const std::string copy = scratch_.Path("copy.bin");
  ASSERT_TRUE(platform::CopyToNewFile(source.c_str(), copy.c_str()));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(copy), bytes);
  // Written in place: nothing beside it.
  EXPECT_TRUE(NoTemporaries());

  // A name that is held, by a file or a folder, is left as it is.
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(path_, "old"));
  ForgetError();
  EXPECT_FALSE(platform::CopyToNewFile(source.c_str(), path_.c_str()));
  ExpectNamed(path_, "a held name");
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "old");
  const std::string folder = scratch_.Path("folder.bin");
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  EXPECT_FALSE(platform::CopyToNewFile(source.c_str(), folder.c_str()));
  EXPECT_TRUE(platform::FolderExists(folder.c_str()));
  EXPECT_FALSE(platform::CopyToNewFile(nullptr, scratch_.Path("null.bin").c_str()));
  EXPECT_FALSE(platform::CopyToNewFile(source.c_str(), nullptr));
  // A source that is not there makes nothing.
  const std::string none = scratch_.Path("none.bin");
  EXPECT_FALSE(platform::CopyToNewFile(scratch_.Path("missing.bin").c_str(), none.c_str()));
  EXPECT_FALSE(platform::PathExists(none.c_str()));

  // A copy that fails at any output call is reported and leaves no file,
  // under its name or beside it.
  for (FaultPoint point : {FaultPoint::kWrite, FaultPoint::kClose, FaultPoint::kRename}) {
    const std::string failed = scratch_.Path(std::string("failed-") + FaultName(point) + ".bin");
    ForgetError();
    {
      vesta::testing::FailingOutput broken(point, 1);
      EXPECT_FALSE(platform::CopyToNewFile(source.c_str(), failed.c_str())) << FaultName(point);
      EXPECT_TRUE(broken.Fired()) << FaultName(point);
    }
    ExpectNamed(failed, FaultName(point));
    EXPECT_FALSE(platform::PathExists(failed.c_str())) << FaultName(point);
    EXPECT_TRUE(NoTemporaries()) << FaultName(point);
  }

  // The batch is synced at once; a path gone since is passed over, and a
  // sync that fails says so, naming a file of the batch.
  const std::vector<std::string> batch = {copy, scratch_.Path("gone.bin"), path_};
  EXPECT_TRUE(platform::SyncNewFiles(batch));
  EXPECT_TRUE(platform::SyncNewFiles({}));
  ForgetError();
  {
    vesta::testing::FailingOutput broken(FaultPoint::kSync, 1);
    EXPECT_FALSE(platform::SyncNewFiles(batch));
    EXPECT_TRUE(broken.Fired());
  }
  ExpectNamed(copy, "the batch's sync");
  EXPECT_EQ(vesta::testing::ReadBinaryFile(copy), bytes);
}

// A folder being filled knows, in any letter case, the names it held when
// the fill began and those made there since; once the fill ends, it is
// looked at afresh.
TEST_F(FileOutputTest, AFolderBeingFilledKnowsItsNamesInAnyCase) {
  const std::string source = scratch_.Path("source.bin");
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(source, "bytes"));
  const std::string folder = scratch_.Path("fill\\");
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(folder + "Taken.bin", "old"));
  {
    platform::FolderFill fill(folder.c_str());
    EXPECT_FALSE(platform::CopyToNewFile(source.c_str(), (folder + "TAKEN.BIN").c_str()));
    ASSERT_TRUE(platform::CopyToNewFile(source.c_str(), (folder + "made.bin").c_str()));
    EXPECT_FALSE(platform::CopyToNewFile(source.c_str(), (folder + "MADE.BIN").c_str()));
    EXPECT_TRUE(platform::FileExists((folder + "Made.Bin").c_str()));
    {
      // A new file of the batch waits for the batch's sync.
      vesta::testing::FailingOutput broken(FaultPoint::kSync, 1);
      ASSERT_TRUE(platform::ReplaceWholeFile((folder + "new.txt").c_str(), "new", FileMode::kBinary, false));
      EXPECT_FALSE(broken.Fired());
    }
    EXPECT_EQ(vesta::testing::ReadBinaryFile(folder + "NEW.TXT"), "new");
    EXPECT_FALSE(platform::PathExists((folder + "none.bin").c_str()));
  }
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(folder + "Later.bin", "later"));
  EXPECT_TRUE(platform::FileExists((folder + "LATER.BIN").c_str()));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(folder + "TAKEN.BIN"), "old");
  EXPECT_TRUE(NoTemporaries());
}

TEST_F(FileOutputTest, AReplacementThatFailsLeavesTheOldFileAndNoTemporary) {
  const std::string before = "old contents\n";
  const std::string after = "new contents, longer than the old\n";
  int fired = ForEveryFault(
      [&] {
        ASSERT_TRUE(vesta::testing::WriteBinaryFile(path_, before));
        ForgetError();
      },
      [&] { return platform::ReplaceWholeFile(path_.c_str(), after, FileMode::kBinary); },
      [&](const FaultCase& run, bool replaced) {
        EXPECT_EQ(replaced, !run.fired) << Describe(run);
        EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), replaced ? after : before) << Describe(run);
        if (!replaced) ExpectNamed(path_, run);
        EXPECT_TRUE(NoTemporaries()) << Describe(run);
      });
  // One write, flush, sync, close and rename each.
  EXPECT_EQ(fired, 5);

  // A write that failed fails the rest, also once the disk has room again.
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(path_, before));
  {
    platform::Replacement replacement;
    ASSERT_TRUE(replacement.Begin(path_.c_str(), FileMode::kBinary));
    {
      vesta::testing::FailingOutput full(FaultPoint::kWrite, 1);
      EXPECT_FALSE(replacement.Write(after));
    }
    EXPECT_FALSE(replacement.Write("more"));
    EXPECT_FALSE(replacement.Commit());
  }
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), before);

  // Abandoned, begun twice, or dropped uncommitted: only the commit counts.
  {
    platform::Replacement replacement;
    ASSERT_TRUE(replacement.Begin(path_.c_str(), FileMode::kBinary));
    ASSERT_TRUE(replacement.Write("first"));
    ASSERT_TRUE(replacement.Begin(path_.c_str(), FileMode::kBinary));
    ASSERT_TRUE(replacement.Write("second"));
    EXPECT_EQ(platform::FindFiles(scratch_.Path("*.tmp").c_str()).size(), 1u);
    // Found as well with slashes before the last back-slash.
    std::string mixed = scratch_.Path("*.tmp");
    for (size_t i = 0; i < mixed.rfind('\\'); ++i) mixed[i] = mixed[i] == '\\' ? '/' : mixed[i];
    EXPECT_EQ(platform::FindFiles(mixed.c_str()).size(), 1u) << mixed;
    replacement.Abandon();
    EXPECT_FALSE(replacement.Write("third"));
    EXPECT_FALSE(replacement.Commit());
    ASSERT_TRUE(replacement.Begin(path_.c_str(), FileMode::kBinary));
    ASSERT_TRUE(replacement.Write("dropped"));
  }
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), before);
  EXPECT_TRUE(NoTemporaries());

  // A folder that is not there.
  const std::string nowhere = scratch_.Path("no\\such\\file.txt");
  platform::Replacement missing;
  ForgetError();
  EXPECT_FALSE(missing.Begin(nowhere.c_str(), FileMode::kBinary));
  ExpectNamed(nowhere, "missing folder");
  EXPECT_EQ(missing.Stream(), nullptr);
  EXPECT_FALSE(missing.Write("x"));
  EXPECT_FALSE(missing.Commit());
  EXPECT_FALSE(platform::ReplaceWholeFile(nowhere.c_str(), "x", FileMode::kBinary));
  EXPECT_FALSE(platform::ReplaceWholeFile("", "x", FileMode::kBinary));
  EXPECT_FALSE(platform::ReplaceWholeFile(nullptr, "x", FileMode::kBinary));
}

TEST_F(FileOutputTest, AnAppendMakesTheFileGrowsItAndSealsALineCutShort) {
  EXPECT_EQ(platform::AppendToFile(path_.c_str(), "a\n", FileMode::kBinary), AppendResult::kAppended);
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "a\n");
  EXPECT_EQ(platform::AppendToFile(path_.c_str(), "b", FileMode::kBinary), AppendResult::kAppended);
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "a\nb");
  // Nothing to add adds nothing, not even the line feed.
  EXPECT_EQ(platform::AppendToFile(path_.c_str(), "", FileMode::kBinary), AppendResult::kAppended);
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "a\nb");
  EXPECT_EQ(platform::AppendToFile(path_.c_str(), "c\n", FileMode::kBinary), AppendResult::kAppended);
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "a\nb\nc\n");

  // Text mode: the line ends the platform writes, the seal among them.
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(path_, "cut"));
  EXPECT_EQ(platform::AppendToFile(path_.c_str(), "d\n", FileMode::kText), AppendResult::kAppended);
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "cut" + lineEnd_ + "d" + lineEnd_);

  const std::string nowhere = scratch_.Path("no\\such\\log.txt");
  ForgetError();
  EXPECT_EQ(platform::AppendToFile(nowhere.c_str(), "x\n", FileMode::kText), AppendResult::kNotOpened);
  ExpectNamed(nowhere, "missing folder");
  EXPECT_FALSE(platform::FolderExists(scratch_.Path("no").c_str()));
  EXPECT_EQ(platform::AppendToFile("", "x\n", FileMode::kText), AppendResult::kNotOpened);
  // A folder is no file to grow.
  ASSERT_TRUE(platform::MakeFolder(scratch_.Path("folder").c_str()));
  EXPECT_EQ(platform::AppendToFile(scratch_.Path("folder").c_str(), "x\n", FileMode::kText), AppendResult::kNotOpened);
}

TEST_F(FileOutputTest, AnAppendThatFailsIsCutBackToTheExactOldBytes) {
  for (const std::string& before : {std::string("one\ntwo\n"), std::string("one\ntwo")}) {
    const std::string after = before + (before.back() == '\n' ? "" : "\n") + "three\n";
    int fired = ForEveryFault(
        [&] {
          ASSERT_TRUE(vesta::testing::WriteBinaryFile(path_, before));
          ForgetError();
        },
        [&] { return platform::AppendToFile(path_.c_str(), "three\n", FileMode::kBinary) == AppendResult::kAppended; },
        [&](const FaultCase& run, bool appended) {
          EXPECT_EQ(appended, !run.fired) << Describe(run);
          EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), appended ? after : before) << Describe(run);
          if (!appended) ExpectNamed(path_, run);
        });
    // One write, flush and close each; nothing to sync or rename.
    EXPECT_EQ(fired, 3) << before;
  }

  // A file that the failed append made is not left behind.
  const std::string fresh = scratch_.Path("fresh.txt");
  {
    vesta::testing::FailingOutput full(FaultPoint::kWrite, 1);
    EXPECT_EQ(platform::AppendToFile(fresh.c_str(), "x\n", FileMode::kText), AppendResult::kNotWritten);
    EXPECT_TRUE(full.Fired());
  }
  EXPECT_EQ(vesta::testing::ReadBinaryFile(fresh), "<missing>");
}

TEST_F(FileOutputTest, StreamOutputReportsWhatDidNotGoOut) {
  ForgetError();
  EXPECT_FALSE(platform::WriteToStream(nullptr, "x"));
  EXPECT_NE(platform::LastFileError().reason, "stale");
  EXPECT_FALSE(platform::FlushStream(nullptr));
  EXPECT_FALSE(platform::CloseStream(nullptr));

  FILE* stream = platform::OpenStream(path_.c_str(), "wb");
  ASSERT_NE(stream, nullptr);
  EXPECT_TRUE(platform::WriteToStream(stream, ""));
  EXPECT_TRUE(platform::WriteToStream(stream, "kept"));
  {
    vesta::testing::FailingOutput full(FaultPoint::kWrite, 1);
    EXPECT_FALSE(platform::WriteToStream(stream, "12345678"));
  }
  {
    vesta::testing::FailingOutput full(FaultPoint::kFlush, 1);
    EXPECT_FALSE(platform::FlushStream(stream));
  }
  EXPECT_TRUE(platform::FlushStream(stream));
  {
    // The stream goes even when its close fails.
    vesta::testing::FailingOutput broken(FaultPoint::kClose, 1);
    ForgetError();
    EXPECT_FALSE(platform::CloseStream(stream));
    EXPECT_NE(platform::LastFileError().reason, "stale");
  }
  // As a full disk does, half of the failed write went out.
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "kept1234");

  // A stream that cannot be written to.
  stream = platform::OpenStream(path_.c_str(), "rb");
  ASSERT_NE(stream, nullptr);
  EXPECT_FALSE(platform::WriteToStream(stream, "x") && platform::FlushStream(stream));
  platform::CloseStream(stream);
  EXPECT_EQ(vesta::testing::ReadBinaryFile(path_), "kept1234");
}

TEST_F(FileOutputTest, TheFirstReplaceInAFolderRemovesTheTemporariesOfDeadProcesses) {
  const std::string folder = scratch_.Path("sweep\\");
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  int dead = 999996;  // Windows numbers processes in steps of four
  while (platform::ProcessIsRunning(dead)) dead += 4;
  const std::string own = std::to_string(platform::ProcessId());
  const std::string number = std::to_string(dead);
  const std::string gone = "~vt" + number;
  // A process number has up to nine digits.
  const std::string removed[] = {gone + "-1.tmp", "~vt" + std::string(9 - number.size(), '0') + number + "-3.tmp"};
  for (const std::string& name : removed) ASSERT_TRUE(vesta::testing::WriteBinaryFile(folder + name, "left"));
  // Our own (numbered 0, which this process's replaces never reach), a
  // user's, and names that only look like ours.
  const std::string kept[] = {"~vt" + own + "-0.tmp", "Vt123.tmp", "~vt.tmp", "~vt-1.tmp", gone + ".tmp",
                              gone + "-.tmp", gone + "-1-2.tmp", "~vtx" + number + "-1.tmp", gone + "-1x.tmp",
                              "~vt" + std::string(10 - number.size(), '0') + number + "-1.tmp"};
  for (const std::string& name : kept) ASSERT_TRUE(vesta::testing::WriteBinaryFile(folder + name, "kept"));

  ASSERT_TRUE(platform::ReplaceWholeFile((folder + "file.txt").c_str(), "x", FileMode::kBinary));
  for (const std::string& name : removed) EXPECT_FALSE(platform::FileExists((folder + name).c_str())) << name;
  for (const std::string& name : kept) EXPECT_TRUE(platform::FileExists((folder + name).c_str())) << name;
  EXPECT_EQ(vesta::testing::ReadBinaryFile(folder + "file.txt"), "x");

  // A new file copied into a folder sweeps it the same way (what a copy
  // killed while it was written left there).
  const std::string copies = scratch_.Path("copies\\");
  ASSERT_TRUE(platform::MakeFolder(copies.c_str()));
  for (const std::string& name : removed) ASSERT_TRUE(vesta::testing::WriteBinaryFile(copies + name, "left"));
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(copies + "Vt123.tmp", "kept"));
  ASSERT_TRUE(platform::CopyToNewFile((folder + "file.txt").c_str(), (copies + "copy.txt").c_str()));
  for (const std::string& name : removed) EXPECT_FALSE(platform::FileExists((copies + name).c_str())) << name;
  EXPECT_TRUE(platform::FileExists((copies + "Vt123.tmp").c_str()));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(copies + "copy.txt"), "x");

  // Once per folder and process: a later leftover waits for another process.
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(folder + gone + "-2.tmp", "left"));
  ASSERT_TRUE(platform::ReplaceWholeFile((folder + "file.txt").c_str(), "y", FileMode::kBinary));
  EXPECT_TRUE(platform::FileExists((folder + gone + "-2.tmp").c_str()));
  EXPECT_EQ(platform::FindFiles((folder + "*.tmp").c_str()).size(), std::size(kept) + 1);
}

}  // namespace
