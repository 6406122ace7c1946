// Temporary and user-data file names, their bulk deletion, the wallpaper
// name.
#include <cstring>
#include <string>

#include "platform/system_info.h"
#include "vsetu/services/test_installation.h"

namespace {

using vesta::testing::InstallationTest;

TEST_F(InstallationTest, TheFirstFreeTemporaryNameIsGiven) {
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(VSGetTempName(out), 0);
  EXPECT_STREQ(out, "untouched");
  Install();
  ASSERT_EQ(VSGetTempName(out), 1);
  EXPECT_EQ(std::string(out), home_ + "temp\\Vt0000.tmp");
  Touch(home_ + "temp\\Vt0000.tmp");
  Touch(home_ + "temp\\Vt0001.tmp");
  Touch(home_ + "temp\\Vt0003.tmp");
  ASSERT_EQ(VSGetTempName(out), 1);
  EXPECT_EQ(std::string(out), home_ + "temp\\Vt0002.tmp");
  EXPECT_FALSE(vesta::platform::FileExists(out));  // only a name
}

TEST_F(InstallationTest, AUserDataNameIsFreeAndStamped) {
  Install();
  char out[kVSBuffer];
  ASSERT_EQ(VSGetVUDName(out), 1);
  std::string name(out);
  std::string prefix = home_ + "temp\\World";
  ASSERT_EQ(name.compare(0, prefix.size(), prefix), 0) << name;
  EXPECT_EQ(name.substr(name.size() - 4), ".vud");
  EXPECT_GT(name.size(), prefix.size() + 4);
  Touch(name);
  char again[kVSBuffer] = "untouched";
  // The same second and process give the same stamp: the one name is taken.
  if (VSGetVUDName(again) == 1) {
    EXPECT_STRNE(again, out);
  } else {
    EXPECT_STREQ(again, "untouched");
  }
}

TEST_F(InstallationTest, BulkDeletionsTakeOnlyTheirOwnFiles) {
  Install();
  EXPECT_EQ(VSDeleteAllTempFiles(), 0);
  EXPECT_EQ(VSDeleteAllVUDFiles(), 0);
  const std::string temp = home_ + "temp\\";
  for (const char* name : {"Vt0000.tmp", "Vt0042.tmp", "World1.vud", "World2.vud", "keep.tmp", "Vtx.txt"}) {
    Touch(temp + name);
  }
  EXPECT_EQ(VSDeleteAllTempFiles(), 1);
  EXPECT_FALSE(vesta::platform::FileExists((temp + "Vt0000.tmp").c_str()));
  EXPECT_FALSE(vesta::platform::FileExists((temp + "Vt0042.tmp").c_str()));
  EXPECT_TRUE(vesta::platform::FileExists((temp + "World1.vud").c_str()));
  EXPECT_EQ(VSDeleteAllVUDFiles(), 1);
  EXPECT_FALSE(vesta::platform::FileExists((temp + "World2.vud").c_str()));
  EXPECT_TRUE(vesta::platform::FileExists((temp + "keep.tmp").c_str()));
  EXPECT_TRUE(vesta::platform::FileExists((temp + "Vtx.txt").c_str()));
  EXPECT_EQ(VSDeleteAllTempFiles(), 0);
}

TEST_F(InstallationTest, TheWallpaperIsNamedAfterTheUser) {
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(VSGetUserWallPaperFileName(out), 0);
  Install();
  std::string user;
  ASSERT_TRUE(vesta::platform::UserName(&user));
  ASSERT_EQ(VSGetUserWallPaperFileName(out), 1);
  EXPECT_EQ(std::string(out), home_ + "media\\_" + user + "_VESTA3D.bmp");

  // The media folder, the name with its terminator and 16 more must stay
  // within 260 characters.
  vesta::testing::InstallationTest::ForgetState();
  std::string home = "C:\\" + std::string(235 - user.size(), 'w') + "\\";
  ASSERT_EQ(VSSetVESTAHome(home.c_str()), 1);
  std::strcpy(out, "untouched");
  EXPECT_EQ(VSGetUserWallPaperFileName(out), 0);
  EXPECT_STREQ(out, "untouched");
  vesta::testing::InstallationTest::ForgetState();
  home.erase(3, 1);
  ASSERT_EQ(VSSetVESTAHome(home.c_str()), 1);
  EXPECT_EQ(VSGetUserWallPaperFileName(out), 1);
}

}  // namespace
