// WININIT.INI: deferring deletions to the restart, and the restart itself.
#include "vermanager/restart_deletion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

// A Windows folder of the test's own.
class RestartDeletionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::MakeFolder(windows_.c_str()));
    platform::OverrideWindowsFolder(windows_.c_str());
  }
  void TearDown() override { platform::OverrideWindowsFolder(nullptr); }

  void SetIni(const std::string& text) { ASSERT_TRUE(WriteTextFile(ini_, text)); }
  vesta::testing::ScratchFolder scratch_;
  std::string windows_ = scratch_.Path("Windows");
  std::string ini_ = windows_ + "\\WININIT.INI";
  // What a replacement leaves behind when it fails.
  bool NoTemporaries() { return platform::FindFiles((windows_ + "\\*.tmp").c_str()).empty(); }
};

TEST_F(RestartDeletionTest, TheSectionIsMadeWhenMissingAtTheEnd) {
  ASSERT_EQ(ScheduleDeleteAtRestart("C:\\VESTA\\BIN\\VPROP.DLL"), 1);
  EXPECT_EQ(ReadTextFile(ini_), "[rename]\nNUL=C:\\VESTA\\BIN\\VPROP.DLL\n");
  EXPECT_TRUE(NoTemporaries());

  // A last line without its line end is ended first; "[rename]" inside a
  // long line is no header.
  const std::string longLine = std::string(259, 'x') + "[rename]";
  SetIni("[boot]\n" + longLine + "\nshell=Explorer.exe");
  ASSERT_EQ(ScheduleDeleteAtRestart("C:\\A.TXT"), 1);
  EXPECT_EQ(ReadTextFile(ini_), "[boot]\n" + longLine + "\nshell=Explorer.exe\n[rename]\nNUL=C:\\A.TXT\n");
}

TEST_F(RestartDeletionTest, EntriesGoUnderTheHeaderInAnyCaseNewestFirst) {
  SetIni("[386Enh]\nx=1\n[Rename]\nNUL=C:\\OLD.TXT\n[boot]\ny=2\n");
  ASSERT_EQ(ScheduleDeleteAtRestart("C:\\A.TXT"), 1);
  ASSERT_EQ(ScheduleDeleteAtRestart("C:\\B"), 1);
  EXPECT_EQ(ReadTextFile(ini_), "[386Enh]\nx=1\n[Rename]\nNUL=C:\\B\nNUL=C:\\A.TXT\nNUL=C:\\OLD.TXT\n[boot]\ny=2\n");
  EXPECT_EQ(ScheduleDeleteAtRestart(""), 0);
}

TEST_F(RestartDeletionTest, AFailedUpdateLeavesEverythingAsItWas) {
  const std::string before = "[boot]\nshell=x\n[rename]\nNUL=C:\\OLD.TXT\n";
  const std::string after = "[boot]\nshell=x\n[rename]\nNUL=C:\\NEW.TXT\nNUL=C:\\OLD.TXT\n";
  // A write, flush, sync, close or rename that fails: the old file stays.
  int failures = vesta::testing::ForEveryFault(
      [&] { SetIni(before); }, [&] { return ScheduleDeleteAtRestart("C:\\NEW.TXT") == 1; },
      [&](const vesta::testing::FaultCase& run, bool added) {
        EXPECT_EQ(added, !run.fired) << vesta::testing::FaultName(run.point) << " " << run.nth;
        EXPECT_EQ(ReadTextFile(ini_), added ? after : before) << vesta::testing::FaultName(run.point) << " " << run.nth;
      });
  EXPECT_GE(failures, 5);
  EXPECT_TRUE(NoTemporaries());

  // The restart's own rewrite likewise.
  const std::string pending = "[boot]\nshell=x\n[rename]\nNUL=" + scratch_.Path("absent.txt") + "\n";
  failures = vesta::testing::ForEveryFault(
      [&] { SetIni(pending); },
      [&] {
        RestartDeletionReport report;
        ApplyRestartDeletions(ini_.c_str(), &report);
        return report.cleared;
      },
      [&](const vesta::testing::FaultCase& run, bool cleared) {
        EXPECT_EQ(cleared, !run.fired);
        EXPECT_EQ(ReadTextFile(ini_), cleared ? "[boot]\nshell=x\n[rename]\n" : pending);
      });
  EXPECT_GE(failures, 5);

  // A folder in the way of the rename.
  ASSERT_TRUE(platform::RemoveFile(ini_.c_str()));
  ASSERT_TRUE(platform::MakeFolder(ini_.c_str()));
  ASSERT_TRUE(WriteTextFile(ini_ + "\\inside.txt", "x"));
  EXPECT_EQ(ScheduleDeleteAtRestart("C:\\NEW.TXT"), 0);
  EXPECT_TRUE(platform::FileExists((ini_ + "\\inside.txt").c_str()));
  EXPECT_TRUE(NoTemporaries());
}

TEST_F(RestartDeletionTest, ManyEntriesAtOnceLeaveTheFileAsOneAtATimeWould) {
  const std::string longLine = std::string(259, 'x') + "[rename]";
  const std::vector<std::string> paths = {"C:\\A.TXT", "", "C:\\B", std::string(300, 'p')};
  for (const std::string& start : {std::string("<none>"), std::string("[boot]\n" + longLine + "\nshell=x"),
                                   std::string("[rename]\nNUL=C:\\OLD\n[x]\n[RENAME]"), std::string("")}) {
    auto reset = [&] {
      if (start == "<none>") {
        platform::RemoveFile(ini_.c_str());
      } else {
        SetIni(start);
      }
    };
    reset();
    for (const std::string& path : paths) {
      if (!path.empty()) {
        ASSERT_EQ(ScheduleDeleteAtRestart(path.c_str()), 1);
      }
    }
    const std::string oneByOne = ReadTextFile(ini_);
    reset();
    ASSERT_EQ(ScheduleDeletesAtRestart(paths), 1);
    EXPECT_EQ(ReadTextFile(ini_), oneByOne) << start;
  }
  // Without a path or a stream to write to nothing is copied.
  FILE* stream = platform::OpenStream(scratch_.Path("copy.ini").c_str(), "w");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(CopyWithRenameEntry(nullptr, stream, nullptr), 0);
  EXPECT_EQ(CopyWithRenameEntry(nullptr, nullptr, "C:\\A"), 0);
  std::fclose(stream);
  EXPECT_EQ(ReadTextFile(scratch_.Path("copy.ini")), "");

  // Nothing to add leaves the file alone.
  SetIni("[boot]\n");
  EXPECT_EQ(ScheduleDeletesAtRestart({}), 1);
  EXPECT_EQ(ScheduleDeletesAtRestart({""}), 1);
  EXPECT_EQ(ReadTextFile(ini_), "[boot]\n");

  // A failed rewrite adds none of them.
  const std::string before = "[rename]\nNUL=C:\\OLD\n";
  int failures = vesta::testing::ForEveryFault(
      [&] { SetIni(before); }, [&] { return ScheduleDeletesAtRestart({"C:\\A", "C:\\B"}) == 1; },
      [&](const vesta::testing::FaultCase& run, bool added) {
        EXPECT_EQ(added, !run.fired);
        EXPECT_EQ(ReadTextFile(ini_), added ? "[rename]\nNUL=C:\\B\nNUL=C:\\A\nNUL=C:\\OLD\n" : before);
      });
  EXPECT_GE(failures, 5);
  EXPECT_TRUE(NoTemporaries());
}

TEST_F(RestartDeletionTest, TheRestartDeletesExactlyTheScheduledItems) {
  const std::string home = scratch_.Path("VESTA");
  for (const char* folder : {"", "\\bin", "\\old", "\\old\\sub", "\\old\\tmp"}) {
    ASSERT_TRUE(platform::MakeFolder((home + folder).c_str()));
  }
  for (const char* file : {"\\bin\\VProp.dll", "\\bin\\Keep.dll", "\\old\\note.txt"}) {
    ASSERT_TRUE(WriteTextFile(home + file, "x"));
  }
  const std::string gone = scratch_.Path("GONE.TXT");
  SetIni("[boot]\nshell=x\n[rename]\nC:\\X.DLL=C:\\X.NEW\nNUL=" + gone + "\n");
  // Newest first: the folders come before what they hold.
  std::map<std::string, std::string> shortPaths;
  for (const char* item : {"\\bin\\VProp.dll", "\\old\\note.txt", "\\old\\sub", "\\old\\tmp", "\\old"}) {
    ASSERT_TRUE(platform::ShortPath((home + item).c_str(), &shortPaths[item]));
    ASSERT_EQ(ScheduleDeleteAtRestart(shortPaths[item].c_str()), 1) << item;
  }

  RestartDeletionReport report;
  EXPECT_EQ(ApplyRestartDeletions(ini_.c_str(), &report), 5);
  // Files in the file's order, then folders deepest first, those of one
  // depth in the file's order.
  std::vector<std::string> deleted;
  for (const char* item : {"\\old\\note.txt", "\\bin\\VProp.dll", "\\old\\tmp", "\\old\\sub", "\\old"}) {
    deleted.push_back(shortPaths[item]);
  }
  EXPECT_EQ(report.deleted, deleted);
  EXPECT_EQ(report.notDeleted, std::vector<std::string>{gone});
  EXPECT_TRUE(report.cleared);
  EXPECT_EQ(ReadTextFile(ini_), "[boot]\nshell=x\n[rename]\nC:\\X.DLL=C:\\X.NEW\n");
  EXPECT_FALSE(platform::FolderExists((home + "\\old").c_str()));
  EXPECT_FALSE(platform::FileExists((home + "\\bin\\VProp.dll").c_str()));
  EXPECT_TRUE(platform::FileExists((home + "\\bin\\Keep.dll").c_str()));

  EXPECT_EQ(ApplyRestartDeletions(ini_.c_str()), 0);
  EXPECT_EQ(ApplyRestartDeletions(scratch_.Path("absent.ini").c_str()), -1);
}

TEST_F(RestartDeletionTest, ItemsAreFoundInAnyLetterCaseAndFolderOrder) {
  const std::string home = scratch_.Path("Pack");
  std::vector<std::string> entries;
  for (const char* folder : {"", "\\one", "\\two", "\\two\\deep"}) ASSERT_TRUE(platform::MakeFolder((home + folder).c_str()));
  for (int i = 0; i < 3; ++i) {
    for (const char* folder : {"\\one\\", "\\two\\deep\\"}) {
      const std::string file = home + folder + "file" + std::to_string(i) + ".dat";
      ASSERT_TRUE(WriteTextFile(file, "x"));
      entries.push_back(i == 1 ? home + folder + "FILE" + std::to_string(i) + ".DAT" : file);
    }
  }
  // A folder first, in other letters, and one named twice in the same way.
  entries.insert(entries.begin(), home + "\\TWO");
  entries.push_back(home + "\\two\\DEEP");
  entries.push_back(home + "\\one\\file0.dat");
  entries.push_back(home + "\\one\\missing.dat");
  std::string ini = "[rename]\n";
  for (const std::string& entry : entries) ini += "NUL=" + entry + "\n";
  SetIni(ini);

  RestartDeletionReport report;
  EXPECT_EQ(ApplyRestartDeletions(ini_.c_str(), &report), 8);
  EXPECT_EQ(report.notDeleted, std::vector<std::string>{home + "\\one\\missing.dat"});
  EXPECT_TRUE(report.refused.empty());
  EXPECT_FALSE(platform::FolderExists((home + "\\two").c_str()));
  EXPECT_TRUE(platform::FolderExists((home + "\\one").c_str()));
  EXPECT_TRUE(platform::FindFiles((home + "\\one\\*").c_str()).empty());
  EXPECT_EQ(ReadTextFile(ini_), "[rename]\n");
}

// Many items of one folder, named in other letters, missing or folders:
// each is found (or not) as if it were the only one.
TEST_F(RestartDeletionTest, ManyItemsOfOneFolderAreEachFoundInAnyLetterCase) {
  const std::string home = scratch_.Path("Many");
  ASSERT_TRUE(platform::MakeFolder(home.c_str()));
  ASSERT_TRUE(platform::MakeFolder((home + "\\Sub").c_str()));
  std::string ini = "[rename]\n";
  std::vector<std::string> deleted;
  std::vector<std::string> missing;
  for (int i = 0; i < 100; ++i) {
    const std::string name = "\\item" + std::to_string(i) + ".dat";
    if (i % 10 != 3) {
      ASSERT_TRUE(WriteTextFile(home + name, "x"));
    }
    // Every other one in capitals, as a short path may give it.
    std::string entry = home + (i % 2 == 0 ? name : "\\ITEM" + std::to_string(i) + ".DAT");
    ini += "NUL=" + entry + "\n";
    (i % 10 != 3 ? deleted : missing).push_back(entry);
  }
  ini += "NUL=" + home + "\\SUB\n";
  deleted.push_back(home + "\\SUB");
  SetIni(ini);

  RestartDeletionReport report;
  EXPECT_EQ(ApplyRestartDeletions(ini_.c_str(), &report), 91);
  EXPECT_EQ(report.deleted, deleted);
  EXPECT_EQ(report.notDeleted, missing);
  EXPECT_TRUE(platform::FindFiles((home + "\\*").c_str()).empty());
  EXPECT_FALSE(platform::FolderExists((home + "\\Sub").c_str()));
}

}  // namespace
