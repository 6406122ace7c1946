// The command line of vesta itself: help, wrong lines, and the text that
// crosses the terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "programs/vesta/terminal.h"
#include "programs/vesta/test_vesta.h"
#include "vesta/vsetu.h"

namespace vesta::testing {
namespace {

using CommandLineTest = VestaToolTest;

TEST(TerminalTextTest, CodePageTextCrossesToUtf8AndBackOrIsRefused) {
  char out[32];
  char missing[8];
  ASSERT_EQ(VSCodePageToUtf8("Caf\xE9 \x80", out, sizeof out), 1);
  EXPECT_STREQ(out, "Caf\xC3\xA9 \xE2\x82\xAC");
  ASSERT_EQ(VSUtf8ToCodePage("Caf\xC3\xA9 \xE2\x82\xAC", out, sizeof out, missing, sizeof missing), 1);
  EXPECT_STREQ(out, "Caf\xE9 \x80");
  EXPECT_EQ(VSUtf8ToCodePage("snow \xE2\x98\x83", out, sizeof out, missing, sizeof missing), 0);
  EXPECT_STREQ(missing, "\xE2\x98\x83");
  EXPECT_EQ(VSCodePageToUtf8("\xE9\xE9", out, 4), 0);
  EXPECT_EQ(VSCodePageToUtf8(nullptr, out, sizeof out), 0);
  EXPECT_EQ(VSCodePageToUtf8("x", nullptr, 8), 0);
  // JSON leaves as ASCII, the code page's characters escaped.
  EXPECT_EQ(tool::Dump({{"name", "Caf\xE9 Desktop"}}), "{\n  \"name\": \"Caf\\u00e9 Desktop\"\n}\n");
}

TEST_F(CommandLineTest, EveryCommandAnswersHelpWithAnExampleAndAWrongLineExitsTwo) {
  for (const std::vector<std::string>& asked :
       {std::vector<std::string>{"--help"}, {"world", "show", "--help"}, {"world", "check", "--help"},
        {"world", "pack", "--help"}, {"world", "graph", "--help"}, {"types", "list", "--help"},
        {"types", "match", "--help"}, {"types", "add", "--help"}, {"types", "remove", "--help"},
        {"package", "list", "--help"}, {"package", "verify", "--help"}, {"package", "uninstall", "-h"},
        {"reg", "query", "--help"}, {"reg", "set", "--help"}, {"reg", "delete", "--help"},
        {"reg", "import", "--help"}, {"reg", "export", "--help"}, {"shortcut", "create", "--help"},
        {"shortcut", "show", "--help"}, {"root", "--help"}, {"world", "--help"}, {"types", "--help"},
        {"package", "--help"}, {"reg", "--help"}, {"shortcut", "--help"}}) {
    RunResult help = RunTool(asked);
    EXPECT_EQ(help.status, 0) << asked[0];
    // Each command's example is of itself; a group's, of one of its commands.
    std::string example = "Example:\n  vesta";
    for (size_t word = 0; word + 1 < asked.size(); ++word) example += " " + asked[word];
    EXPECT_NE(help.out.find(example), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
  }
  EXPECT_NE(RunTool({"reg", "--help"}).out.find("HKCU"), std::string::npos);
  EXPECT_NE(RunTool({"world", "pack", "--help"}).out.find("--dry-run"), std::string::npos);
  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{}, {"world"}, {"world", "show"}, {"world", "fly", "x"}, {"types", "match"},
        {"reg", "set", "HKEY_CURRENT_USER\\X", "n", "v", "--type", "float"}, {"root", "--home", "C:\\V\\"},
        {"world", "show", "a.vwq", "--bogus"}, {"world", "check", ""}, {"types", "list", "--catalogue="},
        {"package", "list", "extra"}}) {
    RunResult usage = RunTool(wrong);
    EXPECT_EQ(usage.status, 2) << (wrong.empty() ? "" : wrong[0]) << usage.out;
    EXPECT_NE(usage.err.find("vesta: "), std::string::npos);
    EXPECT_EQ(usage.err.find("vesta: :"), std::string::npos) << usage.err;
    EXPECT_EQ(usage.out, "");
  }
}

}  // namespace
}  // namespace vesta::testing
