// Splitting a "[REG]" component into its root key and subkey.
#include "vermanager/registry_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vesta::platform::RegRoot;

// "ROOTNAME|subkey", or "none" when no root matches and the outputs are
// untouched.
std::string Parse(const char* path) {
  RegRoot root = RegRoot::kDynData;
  const char* subkey = "untouched";
  if (!ParseRegistryPath(path, &root, &subkey)) {
    return root == RegRoot::kDynData && std::string(subkey) == "untouched" ? "none" : "touched";
  }
  return std::string(vesta::platform::RegRootName(root)) + "|" + subkey;
}

TEST(RegistryPathTest, TheRootIsAPrefixAndOneCharacterAfterItIsSkipped) {
  for (const char* name : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_CONFIG", "HKEY_CURRENT_USER",
                           "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_PERFORMANCE_DATA", "HKEY_DYN_DATA"}) {
    EXPECT_EQ(Parse((std::string(name) + "\\Software").c_str()), std::string(name) + "|Software");
  }
  EXPECT_EQ(Parse("HKEY_CURRENT_USERX\\Software"), "HKEY_CURRENT_USER|\\Software");
  EXPECT_EQ(Parse("HKEY_CLASSES_ROOT/.vwq"), "HKEY_CLASSES_ROOT|.vwq");
  EXPECT_EQ(Parse("HKEY_USERS"), "HKEY_USERS|");
  EXPECT_EQ(Parse("HKEY_USERS\\"), "HKEY_USERS|");
}

TEST(RegistryPathTest, OtherNamesMatchNoRoot) {
  for (const char* path : {"hkey_current_user\\Software", "HKCU\\Software", " HKEY_USERS", "HKEY_CURRENT", ""}) {
    EXPECT_EQ(Parse(path), "none") << path;
  }
  EXPECT_EQ(Parse(nullptr), "none");
}

}  // namespace
