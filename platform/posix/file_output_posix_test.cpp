// What the POSIX output layer adds: the new file keeps the old one's
// permissions, a link is written through to its file (inside the root
// only) but a lock file is never a link, only regular files are appended
// to or read, and a sync that fails says so.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/file_lock.h"
#include "platform/file_output.h"
#include "platform/file_output_backend.h"
#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::AppendResult;
using platform::FileMode;
using vesta::testing::ReadTextFile;

// The files of the scratch folder, in order.
std::vector<std::string> FilesIn(const vesta::testing::ScratchFolder& scratch) {
  std::vector<std::string> names = platform::FindFiles(scratch.Path("*").c_str());
  std::sort(names.begin(), names.end());
  return names;
}

mode_t Permissions(const std::string& path) {
  struct stat st;
  return lstat(platform::HostPath(path.c_str()).c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(FileOutputPosixTest, AReplacedFileKeepsItsPermissions) {
  vesta::testing::ScratchFolder scratch;
  const std::string path = scratch.Path("private.txt");
  ASSERT_TRUE(vesta::testing::WriteTextFile(path, "old"));
  // Modes that no umask makes of a new file's.
  for (mode_t mode : {0750, 0604}) {
    ASSERT_EQ(chmod(platform::HostPath(path.c_str()).c_str(), mode), 0);
    ASSERT_TRUE(platform::ReplaceWholeFile(path.c_str(), "new", FileMode::kText));
    EXPECT_EQ(ReadTextFile(path), "new");
    EXPECT_EQ(Permissions(path), mode);
  }
}

// A new file is written without a name, so that a process that dies
// while it writes leaves nothing in the folder; the name it takes at the
// end is never one made meanwhile.
TEST(FileOutputPosixTest, ANewFileHasNoNameUntilItIsWholeAndTakesNoNameMadeMeanwhile) {
  vesta::testing::ScratchFolder scratch;
  const std::string source = scratch.Path("source.bin");
  ASSERT_TRUE(vesta::testing::WriteTextFile(source, "bytes"));
  const std::string path = scratch.Path("new.bin");
  for (bool meanwhile : {false, true}) {
    platform::backend::Temporary* copy =
        platform::backend::CreateTemporary(path.c_str(), "~vt1-1.tmp", FileMode::kBinary, false, true);
    ASSERT_NE(copy, nullptr);
    FILE* in = std::fopen(platform::HostPath(source.c_str()).c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(platform::backend::CopyInSystem(in, platform::backend::TemporaryStream(copy)), 1);
    std::fclose(in);
    EXPECT_EQ(FilesIn(scratch), (std::vector<std::string>{source}));
    if (meanwhile) {
      ASSERT_TRUE(vesta::testing::WriteTextFile(path, "theirs"));
    }
    ASSERT_TRUE(platform::backend::CloseTemporaryStream(copy));
    EXPECT_EQ(platform::backend::MoveTemporaryOver(copy, true, false), !meanwhile);
    platform::backend::DiscardTemporary(copy);
    EXPECT_EQ(ReadTextFile(path), meanwhile ? "theirs" : "bytes");
    EXPECT_EQ(FilesIn(scratch), (std::vector<std::string>{path, source}));
    ASSERT_EQ(unlink(platform::HostPath(path.c_str()).c_str()), 0);
  }
}

// Files of a batch rewritten without a sync set their old versions aside
// under one temporary name, each written over by the next rewrite, until
// the batch ends, synced or given up.
TEST(FileOutputPosixTest, OldVersionsSetAsideAreGoneWhenTheirBatchEnds) {
  vesta::testing::ScratchFolder scratch;
  const std::vector<std::string> paths = {scratch.Path("a.x"), scratch.Path("b.x")};
  for (bool synced : {true, false}) {
    for (const std::string& path : paths) {
      ASSERT_TRUE(vesta::testing::WriteTextFile(path, "old " + path));
      ASSERT_TRUE(platform::ReplaceWholeFile(path.c_str(), "new " + path, FileMode::kText, false));
      EXPECT_EQ(platform::FindFiles(scratch.Path("*.tmp").c_str()).size(), 1u);
    }
    for (const std::string& path : paths) EXPECT_EQ(ReadTextFile(path), "new " + path);
    if (synced) {
      EXPECT_TRUE(platform::SyncNewFiles(paths));
    } else {
      platform::EndNewFiles();
    }
    EXPECT_EQ(FilesIn(scratch), paths);
  }
}

TEST(FileOutputPosixTest, AStreamWhoseFileCannotBeSyncedSaysSo) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  FILE* stream = fdopen(ends[1], "w");
  ASSERT_NE(stream, nullptr);
  platform::SetFileError("stale", "stale");
  EXPECT_FALSE(platform::backend::SyncStream(stream));
  EXPECT_NE(platform::LastFileError().reason, "stale");
  EXPECT_FALSE(platform::backend::SyncStream(nullptr));
  std::fclose(stream);
  close(ends[0]);
}

TEST(FileOutputPosixTest, ALinkIsWrittenThroughToItsFileButNotOutOfTheRoot) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(scratch.Path("real").c_str()));
  const std::string real = scratch.Path("real\\file.txt");
  const std::string link = scratch.Path("link.txt");
  ASSERT_TRUE(vesta::testing::WriteTextFile(real, "old\n"));
  ASSERT_EQ(symlink("real/file.txt", platform::HostPath(link.c_str()).c_str()), 0);

  ASSERT_TRUE(platform::ReplaceWholeFile(link.c_str(), "new\n", FileMode::kText));
  EXPECT_EQ(ReadTextFile(real), "new\n");
  struct stat st;
  ASSERT_EQ(lstat(platform::HostPath(link.c_str()).c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  EXPECT_EQ(platform::AppendToFile(link.c_str(), "more\n", FileMode::kText), AppendResult::kAppended);
  EXPECT_EQ(ReadTextFile(real), "new\nmore\n");
  EXPECT_TRUE(platform::FindFiles(scratch.Path("real\\*.tmp").c_str()).empty());

  // A link out of the root is refused, and what it leads to stays.
  const std::string away = std::string(std::getenv("VESTA_ROOT")) + "-away.txt";
  ASSERT_TRUE(vesta::testing::WriteTextFile(away, "away\n"));
  const std::string escape = scratch.Path("escape.txt");
  ASSERT_EQ(symlink(away.c_str(), platform::HostPath(escape.c_str()).c_str()), 0);
  EXPECT_FALSE(platform::ReplaceWholeFile(escape.c_str(), "x\n", FileMode::kText));
  EXPECT_EQ(platform::LastFileError().reason, platform::kOutsideRootReason);
  EXPECT_EQ(platform::AppendToFile(escape.c_str(), "x\n", FileMode::kText), AppendResult::kNotOpened);
  EXPECT_EQ(platform::LastFileError().reason, platform::kOutsideRootReason);
  EXPECT_EQ(ReadTextFile(away), "away\n");
  unlink(away.c_str());

  // A lock file is never a link: a dangling one makes nothing where it
  // leads, and the file it guards is not changed.
  ASSERT_EQ(symlink(away.c_str(), platform::HostPath(platform::LockFileOf(real.c_str()).c_str()).c_str()), 0);
  platform::FileLock lock;
  EXPECT_FALSE(lock.Acquire(real.c_str()));
  EXPECT_EQ(platform::LastFileError().reason, "a link where a lock file belongs");
  EXPECT_NE(access(away.c_str(), F_OK), 0);
}

// A folder reached through a link that stays inside the root is used,
// whether the link is relative (walked beneath the root by the kernel) or
// absolute (looked at where it leads).
TEST(FileOutputPosixTest, AFolderLinkInsideTheRootIsFollowed) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(scratch.Path("real").c_str()));
  const std::string real = platform::HostPath(scratch.Path("real").c_str());
  ASSERT_EQ(symlink("real", platform::HostPath(scratch.Path("near").c_str()).c_str()), 0);
  ASSERT_EQ(symlink(real.c_str(), platform::HostPath(scratch.Path("whole").c_str()).c_str()), 0);
  for (const char* link : {"near", "whole"}) {
    const std::string path = scratch.Path(std::string(link) + "\\file.txt");
    ASSERT_TRUE(platform::ReplaceWholeFile(path.c_str(), link, FileMode::kText)) << link;
    EXPECT_TRUE(platform::FileExists(path.c_str())) << link;
    EXPECT_EQ(ReadTextFile(scratch.Path("real\\file.txt")), link);
  }
}

TEST(FileOutputPosixTest, OnlyARegularFileIsAppendedToOrRead) {
  vesta::testing::ScratchFolder scratch;
  platform::SetFileError("stale", "stale");
  EXPECT_EQ(platform::AppendToFile("/dev/null", "x\n", FileMode::kBinary), AppendResult::kNotOpened);
  EXPECT_EQ(platform::LastFileError().path, "/dev/null");
  EXPECT_NE(platform::LastFileError().reason, "stale");

  // A pipe where a file is read is refused at once, not waited on.
  const std::string pipe = scratch.Path("shape.x");
  ASSERT_EQ(mkfifo(platform::HostPath(pipe.c_str()).c_str(), 0600), 0);
  EXPECT_EQ(platform::OpenStream(pipe.c_str(), "r"), nullptr);
  EXPECT_EQ(platform::LastFileError().reason, platform::kNotRegularReason);
  std::string text;
  EXPECT_FALSE(platform::ReadWholeFile(pipe.c_str(), &text));
  EXPECT_FALSE(platform::FileExists(pipe.c_str()));
  EXPECT_TRUE(platform::PathExists(pipe.c_str()));
  EXPECT_EQ(platform::OpenStream("/dev/zero", "rb"), nullptr);
}

}  // namespace
