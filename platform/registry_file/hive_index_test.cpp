// The index answers as the scans of the hive do, on hives of every shape a
// file can give: keys named twice or in other letter cases, parents left
// out, the root's own key line, lines that cannot be read.
#include "platform/registry_file/hive_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/registry_file/hive_file.h"

namespace {

using namespace vesta::platform::regfile;

const char kHive[] =
    "REGEDIT4\n\n"
    "[HKEY_CURRENT_USER]\n\"AtRoot\"=\"r\"\n\n"
    "[HKEY_CURRENT_USER\\Software\\Beta]\n\"One\"=\"1\"\n\"one\"=\"again\"\n\"Two\"=dword:00000002\n\n"
    "[HKEY_CURRENT_USER\\software\\alpha\\Deep\\Deeper]\n@=\"deep\"\n\n"
    "[HKEY_CURRENT_USER\\SOFTWARE\\beta]\n\"Three\"=\"3\"\n\"TWO\"=\"two\"\n\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Elsewhere]\n\"Lost\"=\"x\"\n\n"
    "[HKEY_CURRENT_USER\\Software\\Broken\n\"Lost\"=\"x\"\n\n"
    "[HKEY_CURRENT_USER\\Software\\Gamma]\n\"Bad\"=\"no end\n\"Good\"=\"g\"\n"
    "[HKEY_CURRENT_USER\\Software\\Gamma\\Sub]\n"
    "[HKEY_CURRENT_USER\\Software\\gamma\\sub]\n\"Late\"=\"l\"\n";

TEST(HiveIndexTest, AnswersAsTheScansOfTheHive) {
  Hive hive;
  HiveSyntaxError error;
  ASSERT_TRUE(ParseHive(kHive, "HKEY_CURRENT_USER", &hive, &error));
  const HiveIndex index(hive);
  const std::vector<std::string> paths = {"",
                                          "Software",
                                          "SOFTWARE",
                                          "Software\\Beta",
                                          "software\\BETA",
                                          "Software\\Alpha",
                                          "Software\\Alpha\\Deep",
                                          "Software\\Alpha\\Deep\\Deeper",
                                          "Software\\Alpha\\Deep\\Deeper\\None",
                                          "Software\\Elsewhere",
                                          "Software\\Broken",
                                          "Software\\Gamma",
                                          "Software\\Gamma\\Sub",
                                          "Software\\Gamm",
                                          "Soft",
                                          "Missing"};
  const std::vector<std::string> names = {"", "AtRoot", "one", "ONE", "Two", "Three", "Lost", "Bad", "Good", "Late", "x"};
  for (const std::string& path : paths) {
    EXPECT_EQ(index.KeyExists(path), KeyExists(hive, path)) << path;
    EXPECT_EQ(index.Subkeys(path), Subkeys(hive, path)) << path;
    EXPECT_EQ(index.ValueNames(path), ValueNames(hive, path)) << path;
    for (const std::string& name : names) {
      EXPECT_EQ(index.FindValue(path, name), FindValue(hive, path, name)) << path << " " << name;
    }
  }
  // And what they answer, so that the two cannot agree on nonsense.
  EXPECT_EQ(index.Subkeys("software"), (std::vector<std::string>{"alpha", "Beta", "Gamma"}));
  EXPECT_EQ(index.ValueNames("Software\\Beta"), (std::vector<std::string>{"One", "Two", "Three"}));
  ASSERT_NE(index.FindValue("Software\\Beta", "two"), nullptr);
  EXPECT_EQ(index.FindValue("Software\\Beta", "two")->type, kRegSz);
  EXPECT_TRUE(index.KeyExists("Software\\Alpha\\Deep"));
  EXPECT_FALSE(index.KeyExists("Software\\Broken"));
  EXPECT_EQ(index.FindValue("Software\\Gamma", "Bad"), nullptr);
  EXPECT_NE(index.FindValue("Software\\Gamma", "Good"), nullptr);
  EXPECT_NE(index.FindValue("Software\\Gamma\\Sub", "Late"), nullptr);
}

}  // namespace
