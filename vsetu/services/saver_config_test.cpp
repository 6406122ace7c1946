// The screensaver's setup file, and installing the screensaver.
#include <cstring>
#include <string>
#include <vector>

#include "actions/registry.h"
#include "platform/testing/fault_injection.h"
#include "vsetu/services/saver_config.h"
#include "vsetu/services/test_installation.h"

namespace {

using ScreensaverTest = vesta::testing::InstallationTest;
using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TEST_F(ScreensaverTest, AFileOfOneFieldLoadsOverTheDefaults) {
  Install();
  const std::string path = scratch_.Path("my.vss");
  ASSERT_TRUE(WriteTextFile(path, "[GRS][8]1024x768\n"));
  SaverConfig config;
  EXPECT_EQ(VSLoadSaverConfig(path.c_str(), &config), 1);
  EXPECT_EQ(std::string(config.setupFile), path);
  EXPECT_STREQ(config.resolution, "1024x768");
  EXPECT_STREQ(config.pre, "STATIC");
  EXPECT_STREQ(config.renderer, "OpenGL");
  EXPECT_EQ(std::string(config.journeyFile), home_ + "worlds\\InputRecording1.vkp");
  EXPECT_STREQ(config.world, "");

  const std::string out = scratch_.Path("out.vss");
  ASSERT_EQ(VSWriteSaverConfigFile(&config, out.c_str()), 1);
  std::vector<std::string> lines = Lines(ReadTextFile(out));
  // Every non-empty field in record order; the resolution is the 16th.
  ASSERT_EQ(lines.size(), 30u);
  EXPECT_EQ(lines[0], "[PRE][6]STATIC");
  EXPECT_EQ(lines[15], "[GRS][8]1024x768");
  int index = 1;
  for (const std::string& line : lines) {
    while (index < kSaverFieldCount && line.compare(0, 5, SaverFieldAt(index).tag) != 0) ++index;
    EXPECT_LT(index, kSaverFieldCount) << "out of order: " << line;
  }

  SaverConfig back;
  VSLoadSaverConfig(out.c_str(), &back);
  for (int i = 1; i < kSaverFieldCount; ++i) {
    const SaverField& field = SaverFieldAt(i);
    EXPECT_STREQ(reinterpret_cast<const char*>(&back) + field.offset,
                 reinterpret_cast<const char*>(&config) + field.offset)
        << field.tag;
  }
}

TEST_F(ScreensaverTest, TheLastOccurrenceWinsAndStrangeLinesAreSkipped) {
  const std::string path = scratch_.Path("two.vss");
  ASSERT_TRUE(WriteTextFile(path,
                            "[WOR][5]a.vwq\n\nnot a field\n[wor][5]b.vwq\n[WOR][5]c.vwq\n[JOC][x]12\n"
                            "[PRE][20]01234567890123456789\n[GFX][0]\n"));
  SaverConfig config;
  VSLoadSaverConfig(path.c_str(), &config);
  EXPECT_STREQ(config.world, "c.vwq");
  EXPECT_STREQ(config.joc, "100");
  EXPECT_STREQ(config.pre, "012345678901234");  // cut to the field
  EXPECT_STREQ(config.renderer, "");
}

TEST_F(ScreensaverTest, TheFolderTokenStandsForTheSetupFilesFolder) {
  char value[256] = "?VESTAVWQDIR?Lunari.vwq";
  EXPECT_EQ(VSExpandSetupFolderToken(value, sizeof value, "C:\\S\\my.vss"), 1);
  EXPECT_STREQ(value, "C:\\S\\Lunari.vwq");
  std::strcpy(value, "?VESTAVWQDIR?\\Flight.vkp");
  EXPECT_EQ(VSExpandSetupFolderToken(value, sizeof value, "C:\\S\\my.vss"), 1);
  EXPECT_STREQ(value, "C:\\S\\\\Flight.vkp");
  std::strcpy(value, "?VESTAVWQDIR?x.vwq");
  EXPECT_EQ(VSExpandSetupFolderToken(value, sizeof value, "my.vss"), 0);
  EXPECT_EQ(VSExpandSetupFolderToken(value, sizeof value, "\\my.vss"), 0);
  EXPECT_EQ(VSExpandSetupFolderToken(value, sizeof value, ""), 0);
  EXPECT_STREQ(value, "?VESTAVWQDIR?x.vwq");
  EXPECT_EQ(VSExpandSetupFolderToken(value, 10, "C:\\Some\\my.vss"), 0);  // would not fit
  std::strcpy(value, "C:\\plain.vwq");
  EXPECT_EQ(VSExpandSetupFolderToken(value, sizeof value, ""), 1);

  const std::string path = scratch_.Path("tok.vss");
  ASSERT_TRUE(WriteTextFile(path, "[WOR][23]?VESTAVWQDIR?Lunari.vwq\n[JFN][24]?VESTAVWQDIR?\\Flight.vkp\n"));
  SaverConfig config;
  VSLoadSaverConfig(path.c_str(), &config);
  EXPECT_EQ(std::string(config.world), scratch_.Path("Lunari.vwq"));
  EXPECT_EQ(std::string(config.journeyFile), scratch_.Path("\\Flight.vkp"));
}

TEST_F(ScreensaverTest, AnUnreadableFileLeavesTheDefaultsAndAnEmptyRecordWritesNothing) {
  SaverConfig config;
  EXPECT_EQ(VSLoadSaverConfig(scratch_.Path("none.vss").c_str(), &config), 1);
  EXPECT_STREQ(config.title, "Zentrix-3D Screensaver setup");
  EXPECT_STREQ(config.journeyFile, "worlds\\InputRecording1.vkp");  // no installation folder
  EXPECT_EQ(VSReadSaverConfigFile(&config, ""), 0);
  EXPECT_EQ(VSWriteSaverConfigFile(&config, ""), 0);
  EXPECT_EQ(VSWriteSaverConfigFile(&config, scratch_.Path("no\\such\\x.vss").c_str()), 0);

  EXPECT_EQ(VSClearSaverConfig(&config), 1);
  const std::string path = scratch_.Path("empty.vss");
  EXPECT_EQ(VSWriteSaverConfigFile(&config, path.c_str()), 1);
  EXPECT_EQ(ReadTextFile(path), "");
  EXPECT_EQ(VSClearSaverConfig(nullptr), 0);
  EXPECT_EQ(VSSetSaverConfigDefaults(nullptr), 0);
}

TEST_F(ScreensaverTest, ASetupFileThatCannotBeWrittenWholeStaysAsItWas) {
  const std::string path = scratch_.Path("my.vss");
  const std::string before = "[TIT][3]Old\n";
  SaverConfig config;
  ASSERT_EQ(VSClearSaverConfig(&config), 1);
  std::strcpy(config.title, "New");
  std::strcpy(config.world, "C:\\w.vwq");
  const std::string after = "[TIT][3]New\n[WOR][8]C:\\w.vwq\n";
  int fired = vesta::testing::ForEveryFault(
      [&] { ASSERT_TRUE(WriteTextFile(path, before)); },
      [&] { return VSWriteSaverConfigFile(&config, path.c_str()) == 1; },
      [&](const vesta::testing::FaultCase& run, bool written) {
        const std::string where = std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
        EXPECT_EQ(written, !run.fired) << where;
        EXPECT_EQ(ReadTextFile(path), written ? after : before) << where;
      });
  EXPECT_EQ(fired, 5);
  EXPECT_TRUE(vesta::platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty());
}

TEST_F(ScreensaverTest, InstallTestAndRemoveTheScreensaver) {
  EXPECT_EQ(VSInstallScreensaver(), 0);  // no installation folder
  EXPECT_EQ(VSIsScreensaverInstalled(), 0);
  EXPECT_EQ(VSSetDefaultScreensaver(), 0);
  vesta::testing::InstallationTest::ForgetState();
  Install();
  EXPECT_EQ(VSInstallScreensaver(), 0);  // no screensaver file in bin
  Touch(home_ + "bin\\Zentrix-3D.scr");
  EXPECT_EQ(VSIsScreensaverInstalled(), 0);
  EXPECT_EQ(VSInstallScreensaver(), 1);
  const std::string copy = windows_ + "\\System32\\Zentrix-3D.scr";
  EXPECT_TRUE(vesta::platform::FileExists(copy.c_str()));
  char value[kVURegBuffer] = "";
  ASSERT_EQ(VURegGetString(VURegRoot::kCurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE", value), 1);
  EXPECT_EQ(std::string(value), copy);
  EXPECT_EQ(VSIsScreensaverInstalled(), 1);

  EXPECT_EQ(VSUnInstallScreensaver(), 1);
  EXPECT_EQ(VSIsScreensaverInstalled(), 0);
  EXPECT_FALSE(vesta::platform::FileExists(copy.c_str()));
  ASSERT_EQ(VURegGetString(VURegRoot::kCurrentUser, "Control Panel\\Desktop", "SCRNSAVE.EXE", value), 1);
  EXPECT_STREQ(value, "");

  EXPECT_EQ(VSSetDefaultScreensaver(), 1);
  ASSERT_EQ(VURegGetString(VURegRoot::kCurrentUser, "Software\\Zentrix-3D\\Screensaver\\Settings",
                           "UseWorld", value),
            1);
  EXPECT_EQ(std::string(value), home_ + "worlds\\freeware\\Lunari.vwq");
}

}  // namespace
