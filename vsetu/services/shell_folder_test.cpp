// Opening the shell's folders by keyword and number, on any platform.
#include <gtest/gtest.h>

#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"
#include "vesta/vsetu_shell.h"

namespace {

class ShellFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(VSetuInitialise(), 0); }
  void TearDown() override { VSetuTerminate(); }

  static bool Cleared(const CVFolder& folder) {
    return folder.allocator == nullptr && folder.desktopFolder == nullptr && folder.boundFolder == nullptr &&
           folder.folderIdList == nullptr && folder.enumerator == nullptr;
  }

  vesta::testing::ScratchFolder scratch_;
};

TEST_F(ShellFolderTest, NothingIsListedBeforeAFolderIsOpened) {
  CVFolder folder;
  EXPECT_TRUE(Cleared(folder));
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(folder.FOGetNextFolderName(out), 0);
  EXPECT_EQ(folder.FOGetFirstFolderName(out), 0);
  EXPECT_STREQ(out, "untouched");
  EXPECT_EQ(folder.FOTerminate(), 0);
}

TEST_F(ShellFolderTest, KeywordsMatchExactlyAndAnUnknownOneLeavesTheListingOpen) {
  CVFolder folder;
  EXPECT_EQ(folder.FOSetParentFolderName(nullptr, "_Desktop_"), 0);
  EXPECT_TRUE(Cleared(folder));
  ASSERT_EQ(folder.FOSetParentFolderName(nullptr, "_desktop_"), 1);
  void* listing = folder.enumerator;
  ASSERT_NE(listing, nullptr);
  for (const char* unknown : {"_Desktop_", "_desktop", "desktop", "", static_cast<const char*>(nullptr)}) {
    EXPECT_EQ(folder.FOSetParentFolderName(nullptr, unknown), 0);
  }
  EXPECT_EQ(folder.enumerator, listing);
  EXPECT_NE(folder.desktopFolder, nullptr);
  // The desktop is listed without a folder list of its own.
  EXPECT_EQ(folder.folderIdList, nullptr);
  EXPECT_EQ(folder.FOTerminate(), 0);
  EXPECT_TRUE(Cleared(folder));
}

TEST_F(ShellFolderTest, ASpecialFolderIsListedThroughItsFolderList) {
  CVFolder folder;
  folder.FOSetParentFolderName(nullptr, "_control_panel_");
  EXPECT_NE(folder.folderIdList, nullptr);
  EXPECT_EQ(folder.FOTerminate(), 1);
  EXPECT_TRUE(Cleared(folder));

  // A number the shell does not know fails after the desktop was had; what
  // was had stays until the end.
  EXPECT_EQ(folder.FOSetParentFolderName(nullptr, 0x7FFF), 0);
  EXPECT_NE(folder.allocator, nullptr);
  EXPECT_NE(folder.desktopFolder, nullptr);
  EXPECT_EQ(folder.enumerator, nullptr);
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(folder.FOGetFirstFolderName(out), 0);
  EXPECT_EQ(folder.FOTerminate(), 0);
}

}  // namespace
