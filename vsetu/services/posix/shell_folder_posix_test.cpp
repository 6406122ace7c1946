// The desktop and printers as the POSIX backend lists them, through the
// setup library's folder object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"

namespace {

class DesktopListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windows_ = scratch_.Path("Windows");
    desktop_ = windows_ + "\\Desktop";
    ASSERT_TRUE(vesta::platform::MakeFolder(windows_.c_str()));
    ASSERT_TRUE(vesta::platform::MakeFolder(desktop_.c_str()));
    vesta::platform::OverrideWindowsFolder(windows_.c_str());
  }
  void TearDown() override { vesta::platform::OverrideWindowsFolder(nullptr); }

  static std::vector<std::string> Listed(CVFolder* folder) {
    std::vector<std::string> names;
    char out[kVSBuffer];
    for (int more = folder->FOGetFirstFolderName(out); more; more = folder->FOGetNextFolderName(out)) {
      names.push_back(out);
    }
    return names;
  }

  vesta::testing::ScratchFolder scratch_;
  std::string windows_;
  std::string desktop_;
};

TEST_F(DesktopListingTest, AnEmptyDesktopListsNothing) {
  CVFolder folder;
  ASSERT_EQ(folder.FOSetParentFolderName(nullptr, "_desktop_"), 1);
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(folder.FOGetFirstFolderName(out), 0);
  EXPECT_STREQ(out, "untouched");
  // Neither does the control panel; printers are the system's own.
  ASSERT_EQ(folder.FOSetParentFolderName(nullptr, "_control_panel_"), 1);
  EXPECT_EQ(folder.FOGetFirstFolderName(out), 0);
  EXPECT_EQ(folder.FOSetParentFolderName(nullptr, "_printers_"), 1);
}

TEST_F(DesktopListingTest, TheDesktopListsItsFoldersAndFilesByFullPath) {
  ASSERT_TRUE(vesta::testing::WriteTextFile(desktop_ + "\\notes.txt", "x"));
  ASSERT_TRUE(vesta::testing::WriteTextFile(desktop_ + "\\Budget.xls", "x"));
  ASSERT_TRUE(vesta::testing::WriteTextFile(desktop_ + "\\.hidden", "x"));
  ASSERT_TRUE(vesta::platform::MakeFolder((desktop_ + "\\Worlds").c_str()));
  const std::string longName(240, 'n');
  ASSERT_TRUE(vesta::testing::WriteTextFile(desktop_ + "\\" + longName, "x"));

  CVFolder folder;
  ASSERT_EQ(folder.FOSetParentFolderName(nullptr, "_desktop_"), 1);
  std::vector<std::string> expected = {desktop_ + "\\Budget.xls", (desktop_ + "\\" + longName).substr(0, 259),
                                       desktop_ + "\\notes.txt", desktop_ + "\\Worlds"};
  EXPECT_EQ(Listed(&folder), expected);
  // The first name starts the listing again.
  EXPECT_EQ(Listed(&folder), expected);
}

}  // namespace
