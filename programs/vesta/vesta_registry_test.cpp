// vesta reg query | set | delete | import | export, end to end.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "programs/vesta/test_vesta.h"

namespace vesta::testing {
namespace {

using RegistryCommandTest = VestaToolTest;

TEST_F(RegistryCommandTest, SetQueryAndDeleteValuesOfEveryType) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\VestaToolTest";
  // The root's short name, in any case, is the same root.
  EXPECT_EQ(RunTool({"reg", "set", "hkcu\\Software\\VestaToolTest", "Text", "C:\\VESTA\\"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Count", "0x10", "--type", "dword"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Big", "4294967296", "-t", "qword"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Bytes", "01,ff,20", "-t", "binary"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "List", "a\\0b", "-t", "multi_sz"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key + "\\Sub", "", "default"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Count", "4294967296", "--type", "dword"}).status, 2);
  EXPECT_EQ(RunTool({"reg", "set", key, "Bytes", "0g", "--type", "binary"}).status, 2);

  RunResult all = RunTool({"reg", "query", key});
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_NE(all.out.find("    Text    REG_SZ    C:\\VESTA\\\n"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("    Count    REG_DWORD    0x00000010 (16)\n"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("    Big    REG_QWORD    0x0000000100000000 (4294967296)\n"), std::string::npos);
  EXPECT_NE(all.out.find("    Bytes    REG_BINARY    01,ff,20\n"), std::string::npos);
  EXPECT_NE(all.out.find("    List    REG_MULTI_SZ    a\\0b\n"), std::string::npos);
  EXPECT_NE(all.out.find("    Sub\\\n"), std::string::npos);
  RunResult deep = RunTool({"reg", "query", key, "-r"});
  EXPECT_NE(deep.out.find(key + "\\Sub\n    (default)    REG_SZ    default\n"), std::string::npos) << deep.out;
  EXPECT_EQ(RunTool({"reg", "query", key, "Text"}).out, key + "\n    Text    REG_SZ    C:\\VESTA\\\n");

  EXPECT_EQ(RunTool({"reg", "query", "HKCU\\Software\\VestaToolTest", "Count"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "delete", "HKCU\\Software\\VestaToolTest", "Text"}).status, 0);
  RunResult gone = RunTool({"reg", "query", key, "Text"});
  EXPECT_EQ(gone.status, 1);
  EXPECT_NE(gone.err.find(key), std::string::npos);
  EXPECT_EQ(RunTool({"reg", "delete", "HKEY_CURRENT_USER"}).status, 1);
  EXPECT_EQ(RunTool({"reg", "delete", key}).status, 0);
  EXPECT_EQ(RunTool({"reg", "query", key}).status, 1);
  EXPECT_EQ(RunTool({"reg", "query", "HKEY_CURRENT_USERX\\Software"}).status, 2);
}

TEST_F(RegistryCommandTest, ExportThenImportRoundTripsAKeyTreeInBothFormats) {
  const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VestaToolTest";
  ASSERT_EQ(RunTool({"reg", "set", key, "Name", "a \"quoted\" back\\slash"}).status, 0);
  ASSERT_EQ(RunTool({"reg", "set", key + "\\Deeper\\Deepest", "Level", "2", "-t", "dword"}).status, 0);
  ASSERT_EQ(RunTool({"reg", "set", key + "\\Deeper", "", "default text"}).status, 0);
  const std::string before = RunTool({"reg", "query", key, "-r"}).out;
  for (const char* format : {"regedit4", "v5"}) {
    const std::string file = scratch_.Path(std::string("saved-") + format + ".reg");
    RunResult exported = RunTool({"reg", "export", "HKLM\\SOFTWARE\\VestaToolTest", file, "--format", format});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ASSERT_EQ(RunTool({"reg", "delete", key}).status, 0);
    EXPECT_EQ(RunTool({"reg", "query", key}).status, 1);
    RunResult imported = RunTool({"reg", "import", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(RunTool({"reg", "query", key, "-r"}).out, before) << format;
  }
  RunResult missing = RunTool({"reg", "import", scratch_.Path("none.reg")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.reg"), std::string::npos);
  EXPECT_EQ(RunTool({"reg", "export", key + "\\Nothing", scratch_.Path("x.reg")}).status, 1);
  EXPECT_FALSE(platform::FileExists(scratch_.Path("x.reg").c_str()));
}

}  // namespace
}  // namespace vesta::testing
