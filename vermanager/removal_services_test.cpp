// Files and registry keys as the verify and uninstall procedures see them.
#include "vermanager/removal_services.h"

#include <gtest/gtest.h>

#include <string>

#include "actions/registry.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::RegRoot;

TEST(RemovalServicesTest, OnlyAFileThatOpensIsReadable) {
  vesta::testing::ScratchFolder scratch;
  const std::string file = scratch.Path("VProp.dll");
  EXPECT_EQ(FileIsReadable(""), 0);
  EXPECT_EQ(FileIsReadable(file.c_str()), 0);
  ASSERT_TRUE(vesta::testing::WriteTextFile(file, "MZ"));
  EXPECT_EQ(FileIsReadable(scratch.Path("VPROP.DLL").c_str()), 1);
  EXPECT_EQ(FileIsReadable(scratch.Folder().c_str()), 0);
}

class RegistryKeyTest : public ::testing::Test {
 protected:
  void Create(const std::string& key) {
    ASSERT_TRUE(platform::RegistryCreateKey(RegRoot::kCurrentUser, key.c_str())) << key;
  }
  bool Exists(const std::string& key) { return platform::RegistryKeyExists(RegRoot::kCurrentUser, key.c_str()); }

  vesta::testing::ScratchFolder scratch_;
};

TEST_F(RegistryKeyTest, RootsExistButAreNeverDeletedAndUnknownRootsNameNothing) {
  Create("Software\\vesta3d\\Pkg");
  EXPECT_EQ(RegistryKeyExists("HKEY_CURRENT_USER\\Software\\vesta3d\\Pkg"), 1);
  EXPECT_EQ(RegistryKeyExists("HKEY_LOCAL_MACHINE\\Software\\vesta3d\\Pkg"), 0);
  EXPECT_EQ(RegistryKeyExists("HKEY_LOCAL_MACHINE"), 1);
  for (const char* path : {"HKEY_CURRENT_USER", "HKEY_CURRENT_USER\\", "HKCU\\Software\\vesta3d\\Pkg",
                           "hkey_current_user\\Software\\vesta3d\\Pkg",
                           // leaves the subkey "\Software\...", which the registry refuses
                           "HKEY_CURRENT_USERX\\Software\\vesta3d\\Pkg"}) {
    EXPECT_EQ(DeleteRegistryKeyTree(path), 0) << path;
  }
  EXPECT_EQ(RegistryKeyExists("HKCU\\Software\\vesta3d\\Pkg"), 0);
  EXPECT_EQ(RegistryKeyExists("HKEY_CURRENT_USERX\\Software\\vesta3d\\Pkg"), 0);
  EXPECT_TRUE(Exists("Software\\vesta3d\\Pkg"));
}

TEST_F(RegistryKeyTest, AKeyGoesWithItsWholeTreeDownToTheBound) {
  Create("Software\\vesta3d\\Pkg\\A\\A1\\A2");
  Create("Software\\vesta3d\\Pkg\\A\\B1");
  ASSERT_EQ(VURegSetString(RegRoot::kCurrentUser, "Software\\vesta3d\\Pkg\\A\\A1", "Path", "C:\\X"), 1);
  Create("Software\\vesta3d\\PkgOther");
  EXPECT_EQ(DeleteRegistryKeyTree("HKEY_CURRENT_USER\\Software\\vesta3d\\Pkg\\"), 1);
  EXPECT_FALSE(Exists("Software\\vesta3d\\Pkg"));
  EXPECT_TRUE(Exists("Software\\vesta3d\\PkgOther"));
  EXPECT_EQ(DeleteRegistryKeyTree("HKEY_CURRENT_USER\\Software\\vesta3d\\Pkg"), 0);  // gone

  std::string deepest = "Software\\Deep";
  for (int level = 0; level <= kMaxKeyTreeDepth; ++level) deepest += "\\k";
  Create(deepest);
  EXPECT_EQ(DeleteRegistryKeyTree("HKEY_CURRENT_USER\\Software\\Deep"), 0);
  EXPECT_TRUE(Exists(deepest));
  // One level less is within the bound.
  ASSERT_EQ(DeleteFirstSubkey(RegRoot::kCurrentUser, deepest.substr(0, deepest.size() - 2).c_str()), 1);
  EXPECT_EQ(DeleteRegistryKeyTree("HKEY_CURRENT_USER\\Software\\Deep"), 1);
  EXPECT_FALSE(Exists("Software\\Deep"));
}

}  // namespace
