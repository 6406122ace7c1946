// The upgrade log's entries.
#include "vermanager/upgrade_log.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;

bool SameDay(const platform::LocalTime& a, const platform::LocalTime& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

TEST(UpgradeLogTest, NothingIsWrittenWithoutTheTempFolder) {
  vesta::testing::ScratchFolder scratch;
  EXPECT_EQ(AppendUpgradeLog(scratch.Folder().c_str(), "x"), 0);
  EXPECT_FALSE(platform::FolderExists(scratch.Path("temp").c_str()));
  EXPECT_EQ(AppendUpgradeLog("", "x"), 0);
  EXPECT_EQ(AppendUpgradeLog(nullptr, "x"), 0);
}

TEST(UpgradeLogTest, EntriesAreStampedAndAppended) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(scratch.Path("temp").c_str()));
  platform::LocalTime before = platform::Now();
  // The folder ends with a back-slash: the path holds two before "temp".
  ASSERT_EQ(AppendUpgradeLog(scratch.Folder().c_str(), "UnInstalling VESTA package: <Sounds>"), 1);
  ASSERT_EQ(AppendUpgradeLog(scratch.Folder().c_str(), "second"), 1);
  platform::LocalTime after = platform::Now();

  std::istringstream text(vesta::testing::ReadTextFile(scratch.Path("temp\\VestaUpg.txt")));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 10u);
  for (size_t entry : {0, 5}) {
    EXPECT_TRUE(std::regex_match(lines[entry], std::regex("DATE:    [0-9]{4}/[0-9]{2}/[0-9]{2}")));
    EXPECT_TRUE(std::regex_match(lines[entry + 1], std::regex("TIME:    [0-9]{2}:[0-9]{2}:[0-9]{2}")));
    EXPECT_EQ(lines[entry + 2], "Build:   1,0,4,401");
    EXPECT_EQ(lines[entry + 4], "");
  }
  EXPECT_EQ(lines[3], "COMMENT: UnInstalling VESTA package: <Sounds>");
  EXPECT_EQ(lines[8], "COMMENT: second");
  if (SameDay(before, after)) {
    char date[40];
    std::snprintf(date, sizeof date, "DATE:    %d/%02d/%02d", before.year, before.month, before.day);
    EXPECT_EQ(lines[0], date);
  }
}

TEST(UpgradeLogTest, AnEntryGoesInWholeOrTheLogStaysAsItWas) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(scratch.Path("temp").c_str()));
  const std::string log = scratch.Path("temp\\VestaUpg.txt");
  const std::regex entry(
      "DATE:    [0-9]{4}/[0-9]{2}/[0-9]{2}\nTIME:    [0-9]{2}:[0-9]{2}:[0-9]{2}\nBuild:   1,0,4,401\n"
      "COMMENT: UnInstalling VESTA package: <Sounds>\n\n");
  // After a whole entry, and after one that a crash cut inside its line.
  for (const std::string& before : {std::string("COMMENT: first\n\n"), std::string("COMMENT: fir")}) {
    const std::string sealed = before.back() == '\n' ? before : before + "\n";
    int fired = vesta::testing::ForEveryFault(
        [&] { ASSERT_TRUE(vesta::testing::WriteTextFile(log, before)); },
        [&] { return AppendUpgradeLog(scratch.Folder().c_str(), "UnInstalling VESTA package: <Sounds>") == 1; },
        [&](const vesta::testing::FaultCase& run, bool appended) {
          const std::string where =
              std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
          EXPECT_EQ(appended, !run.fired) << where;
          const std::string text = vesta::testing::ReadTextFile(log);
          if (appended) {
            ASSERT_EQ(text.compare(0, sealed.size(), sealed), 0) << where;
            EXPECT_TRUE(std::regex_match(text.substr(sealed.size()), entry)) << where << ": " << text;
          } else {
            EXPECT_EQ(text, before) << where;
          }
        });
    EXPECT_EQ(fired, 3);
  }
  EXPECT_TRUE(platform::FindFiles(scratch.Path("temp\\*.tmp").c_str()).empty());
}

}  // namespace
