// The installation folder, its cache, and the paths derived from it.
#include <cstring>
#include <string>

#include "actions/registry.h"
#include "vsetu/services/registry_keys.h"
#include "vsetu/services/test_installation.h"

namespace {

using vesta::testing::InstallationTest;

std::string Get(int (*operation)(char*)) {
  char out[kVSBuffer] = "untouched";
  return operation(out) ? std::string(out) : "failed:" + std::string(out);
}

TEST_F(InstallationTest, TheHomeFolderIsReadOnceAndKept) {
  EXPECT_EQ(Get(VSGetVESTAHome), "failed:untouched");
  EXPECT_EQ(Get(VSGetBinDir), "failed:untouched");
  EXPECT_EQ(Get(VSGetFileTypeFile), "failed:untouched");

  Install();
  EXPECT_EQ(Get(VSGetVESTAHome), home_);
  ASSERT_EQ(VSSetVESTAHome("C:\\Elsewhere\\"), 1);
  EXPECT_EQ(Get(VSGetVESTAHome), home_);  // kept for the life of the process
  char stored[kVURegBuffer];
  ASSERT_EQ(VURegGetString(VURegRoot::kLocalMachine, vesta::vsetu::kMachineKey, "home", stored), 1);
  EXPECT_STREQ(stored, "C:\\Elsewhere\\");
}

TEST_F(InstallationTest, DerivedPathsAreComposedExactly) {
  ASSERT_EQ(VSSetVESTAHome("C:\\X\\"), 1);
  EXPECT_EQ(Get(VSGetBinDir), "C:\\X\\bin");
  EXPECT_EQ(Get(VSGetMediaDir), "C:\\X\\media");
  EXPECT_EQ(Get(VSGetTempDir), "C:\\X\\temp");
  EXPECT_EQ(Get(VSGetWorldDir), "C:\\X\\worlds");
  EXPECT_EQ(Get(VSGetVESTAHelpFile), "C:\\X\\bin\\VHelp.hlp");
  EXPECT_EQ(Get(VSGetLoadStringFile), "C:\\X\\bin\\VStrings.ifs");
  EXPECT_EQ(Get(VSGetFileTypeFile), "C:\\X\\worlds\\VESTA.vft");
}

TEST_F(InstallationTest, AHomeWithoutItsBackSlashRunsTogether) {
  ASSERT_EQ(VSSetVESTAHome("C:\\X"), 1);
  EXPECT_EQ(Get(VSGetBinDir), "C:\\Xbin");
  EXPECT_EQ(Get(VSGetVESTAHelpFile), "C:\\Xbin\\VHelp.hlp");
}

TEST_F(InstallationTest, PathsTooLongForTheBuffersAreRefused) {
  std::string home = "C:\\" + std::string(255, 'h') + "\\";  // 259 characters
  ASSERT_EQ(VSSetVESTAHome(home.c_str()), 1);
  EXPECT_EQ(Get(VSGetVESTAHome), home);
  EXPECT_EQ(Get(VSGetBinDir), "C:\\" + std::string(255, 'h') + "\\bin");
  EXPECT_EQ(Get(VSGetMediaDir), "failed:untouched");
  EXPECT_EQ(Get(VSGetVESTAHelpFile), "failed:untouched");
}

TEST_F(InstallationTest, DesktopAndProgramFilesSettings) {
  EXPECT_EQ(Get(VSGetUserDesktop), "failed:untouched");
  ASSERT_EQ(VSSetUserDesktop("classic"), 1);
  EXPECT_EQ(Get(VSGetUserDesktop), "classic");
  EXPECT_EQ(Get(VSGetProgramFilesDir), "failed:untouched");
  ASSERT_EQ(VURegSetString(VURegRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                           "ProgramFilesDir", "C:\\Program Files"),
            1);
  EXPECT_EQ(Get(VSGetProgramFilesDir), "C:\\Program Files");
}

}  // namespace
