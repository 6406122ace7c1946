// Appends that keep their file open between records: the same bytes as
// AppendToFile, whatever happens to the file between two appends, and a
// failed append cut back whole.
#include "platform/file_output.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::AppendResult;
using platform::FaultPoint;
using platform::FileMode;
using vesta::testing::FaultCase;
using vesta::testing::ForEveryFault;
using vesta::testing::ReadBinaryFile;
using vesta::testing::WriteBinaryFile;

class KeptAppendTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = scratch_.Path("world.vwq"); }

  bool Append(const std::string& text, const std::string& path = std::string()) {
    return kept_.Append((path.empty() ? path_ : path).c_str(), text, FileMode::kBinary) == AppendResult::kAppended;
  }

  vesta::testing::ScratchFolder scratch_;
  platform::KeptAppend kept_;
  std::string path_;
};

TEST_F(KeptAppendTest, ARunOfAppendsGivesTheBytesOfSeparateAppends) {
  ASSERT_TRUE(Append("one\n"));
  ASSERT_TRUE(Append("two"));
  ASSERT_TRUE(Append(""));
  ASSERT_TRUE(Append("three\n"));
  const std::string kept = ReadBinaryFile(path_);

  const std::string other = scratch_.Path("plain.vwq");
  for (const char* text : {"one\n", "two", "", "three\n"}) {
    ASSERT_EQ(platform::AppendToFile(other.c_str(), text, FileMode::kBinary), AppendResult::kAppended);
  }
  EXPECT_EQ(kept, "one\ntwo\nthree\n");
  EXPECT_EQ(ReadBinaryFile(other), kept);
}

TEST_F(KeptAppendTest, AFileChangedBetweenAppendsIsOpenedAfresh) {
  ASSERT_TRUE(Append("one\n"));
  ASSERT_TRUE(platform::RemoveFile(path_.c_str()));
  ASSERT_TRUE(Append("two\n"));
  EXPECT_EQ(ReadBinaryFile(path_), "two\n") << "deleted";

  const std::string moved = scratch_.Path("moved.vwq");
  ASSERT_TRUE(platform::MoveOver(path_.c_str(), moved.c_str()));
  ASSERT_TRUE(Append("three\n"));
  EXPECT_EQ(ReadBinaryFile(path_), "three\n") << "renamed away";
  EXPECT_EQ(ReadBinaryFile(moved), "two\n");

  ASSERT_TRUE(platform::ReplaceWholeFile(path_.c_str(), "new\n", FileMode::kBinary));
  ASSERT_TRUE(Append("four\n"));
  EXPECT_EQ(ReadBinaryFile(path_), "new\nfour\n") << "replaced";

  // Another writer's line cut short is sealed before the next record.
  ASSERT_TRUE(WriteBinaryFile(path_, "new\nfour\ncut"));
  ASSERT_TRUE(Append("five\n"));
  EXPECT_EQ(ReadBinaryFile(path_), "new\nfour\ncut\nfive\n") << "grown by another";

  ASSERT_TRUE(WriteBinaryFile(path_, ""));
  ASSERT_TRUE(Append("six\n"));
  EXPECT_EQ(ReadBinaryFile(path_), "six\n") << "emptied";
}

TEST_F(KeptAppendTest, AppendsToTwoFilesInTurnEachLandInTheirOwn) {
  const std::string second = scratch_.Path("second.vwq");
  ASSERT_TRUE(Append("a1\n"));
  ASSERT_TRUE(Append("b1\n", second));
  ASSERT_TRUE(Append("a2\n"));
  ASSERT_TRUE(Append("b2\n", second));
  EXPECT_EQ(ReadBinaryFile(path_), "a1\na2\n");
  EXPECT_EQ(ReadBinaryFile(second), "b1\nb2\n");
  EXPECT_EQ(kept_.Append(scratch_.Path("no\\such\\x.vwq").c_str(), "x\n", FileMode::kBinary),
            AppendResult::kNotOpened);
  ASSERT_TRUE(Append("a3\n"));
  EXPECT_EQ(ReadBinaryFile(path_), "a1\na2\na3\n");
}

TEST_F(KeptAppendTest, AFailedAppendToTheKeptFileIsCutBackAndReported) {
  int fired = ForEveryFault(
      [&] {
        ASSERT_TRUE(WriteBinaryFile(path_, "one\n"));
        ASSERT_TRUE(Append("two\n"));  // now kept open
        platform::SetFileError("stale", "stale");
      },
      [&] { return Append("three\n"); },
      [&](const FaultCase& run, bool appended) {
        EXPECT_EQ(appended, !run.fired) << vesta::testing::Describe(run);
        EXPECT_EQ(ReadBinaryFile(path_), appended ? "one\ntwo\nthree\n" : "one\ntwo\n") << vesta::testing::Describe(run);
        if (!appended) {
          EXPECT_EQ(platform::LastFileError().path, path_);
          const bool full = run.point == FaultPoint::kWrite || run.point == FaultPoint::kFlush;
          EXPECT_EQ(platform::LastFileError().reason, std::strerror(full ? ENOSPC : EIO));
        }
      });
  // A write, a flush and the close that an append passes.
  EXPECT_EQ(fired, 3);

  // After a failure the next append opens the file again and goes on.
  ASSERT_TRUE(WriteBinaryFile(path_, "one\n"));
  {
    vesta::testing::FailingOutput full(FaultPoint::kWrite, 1);
    EXPECT_FALSE(Append("two\n"));
  }
  ASSERT_TRUE(Append("three\n"));
  EXPECT_EQ(ReadBinaryFile(path_), "one\nthree\n");

  // A file the failed append made is not left behind.
  const std::string fresh = scratch_.Path("fresh.vwq");
  {
    vesta::testing::FailingOutput full(FaultPoint::kWrite, 1);
    EXPECT_FALSE(Append("x\n", fresh));
  }
  EXPECT_FALSE(platform::FileExists(fresh.c_str()));
}

}  // namespace
