// The hive file's text: what is read, what is written back, and what is
// refused with which line.
#include "platform/posix/registry/hive_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using vesta::platform::posix::Hive;
using vesta::platform::posix::HiveSyntaxError;
using vesta::platform::posix::HiveValue;
using vesta::platform::posix::ParseHive;
using vesta::platform::posix::WriteHive;

const char kMachine[] = "HKEY_LOCAL_MACHINE";

// A hand-edited hive: comments, blanks, escapes, values of other types,
// and a key named twice.
const char kEdited[] =
    "REGEDIT4\n"
    "; installed by hand\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA]\n"
    "\"Path\"=\"C:\\\\VESTA\\\\\"\n"
    "@=\"say \\\"hi\\\"\"\n"
    "\"Count\"=dword:0000001a\n"
    "  \"Blob\" = hex:01,02,\\\n"
    "  03,04\n"
    "\"Expand\"=hex(2):25,00\n"
    "\n"
    "[hkey_local_machine]\n"
    "\"AtRoot\"=\"r\"\n"
    "[HKEY_LOCAL_MACHINE\\software\\VESTA3D\\vesta]\n"
    "\"PATH\"=\"D:\\\\\"\n";

Hive Parse(const std::string& text) {
  Hive hive;
  HiveSyntaxError error;
  EXPECT_TRUE(ParseHive(text, kMachine, &hive, &error)) << error.line << ": " << error.what;
  return hive;
}

TEST(HiveFileTest, ReadsKeysStringsAndOtherTypesAsWritten) {
  Hive hive = Parse(kEdited);
  ASSERT_EQ(hive.keys.size(), 2u);
  EXPECT_EQ(hive.keys[0].path, "SOFTWARE\\vesta3d\\VESTA");
  EXPECT_EQ(hive.keys[1].path, "");
  const std::vector<HiveValue> expected = {
      {"Path", true, "D:\\"},  // named again below: the last data, the first spelling
      {"", true, "say \"hi\""},
      {"Count", false, "dword:0000001a"},
      {"Blob", false, "hex:01,02,\\\n  03,04"},
      {"Expand", false, "hex(2):25,00"},
  };
  EXPECT_EQ(hive.keys[0].values, expected);
}

TEST(HiveFileTest, WritesRegedit4ThatReadsBackTheSame) {
  Hive hive = Parse(kEdited);
  const std::string written = WriteHive(hive, kMachine);
  EXPECT_EQ(written,
            "REGEDIT4\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA]\n"
            "\"Path\"=\"D:\\\\\"\n"
            "@=\"say \\\"hi\\\"\"\n"
            "\"Count\"=dword:0000001a\n"
            "\"Blob\"=hex:01,02,\\\n"
            "  03,04\n"
            "\"Expand\"=hex(2):25,00\n"
            "\n"
            "[HKEY_LOCAL_MACHINE]\n"
            "\"AtRoot\"=\"r\"\n"
            "\n");
  EXPECT_EQ(Parse(written), hive);
  EXPECT_EQ(WriteHive(Hive{}, kMachine), "REGEDIT4\n\n");
}

TEST(HiveFileTest, AcceptsCrlfLinesAndTheVersion5Header) {
  std::string crlf = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n";
  for (const char* p = kEdited + sizeof "REGEDIT4"; *p != '\0'; ++p) {
    if (*p == '\n') crlf += '\r';
    crlf += *p;
  }
  EXPECT_EQ(Parse(crlf), Parse(kEdited));
}

TEST(HiveFileTest, RefusesWhatDoesNotParseWithItsLine) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"", 1},
      {"REGEDIT5\n", 1},
      {"\nREGEDIT4\n", 1},
      {"REGEDIT4\n\n\"a\"=\"b\"\n", 3},                                      // outside any key
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"b\n", 3},                 // unterminated
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a=\"b\"\n", 3},                 // stray quote
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"C:\\VESTA\"\n", 3},       // bad escape
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\"b\" x\n", 3},             // after the quote
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"\n", 3},                     // no "="
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=\n", 3},                    // no data
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=-\n", 3},                   // deletion
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=word:1\n", 3},              // unknown type
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=dword:123456789\n", 3},     // too long
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:0g\n", 3},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"a\"=hex:01,\\\n  02,\\\n", 4},  // past the end
      {"REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n", 3},                           // another root
      {"REGEDIT4\n[HKEY_LOCAL_MACHINEX\\A]\n", 2},
      {"REGEDIT4\n[-HKEY_LOCAL_MACHINE\\A]\n", 2},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\n", 2},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\\\\B]\n", 2},                       // empty name
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\]\n", 2},
      {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\nPath=x\r\n", 3},              // garbage
  };
  for (const Case& c : cases) {
    Hive hive;
    HiveSyntaxError error;
    EXPECT_FALSE(ParseHive(c.text, kMachine, &hive, &error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text;
    EXPECT_FALSE(error.what.empty());
  }
}

}  // namespace
