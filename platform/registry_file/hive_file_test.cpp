// The hive file's text: the registry editor's export in each of its forms,
// what each line means, what is written back, and what a line that cannot
// be read costs.
#include "platform/registry_file/hive_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/registry_file/regedit_export_fixture.h"

namespace {

using namespace vesta::platform;
using namespace vesta::platform::regfile;
using Kind = HiveLine::Kind;

const char kUser[] = "HKEY_CURRENT_USER";

const std::u16string& kExport = vesta::testing::kRegeditExport;

const char kKey[] = "Software\\VestaRegCheck";

Hive Parse(const std::string& bytes, const char* root = kUser) {
  Hive hive;
  HiveSyntaxError error;
  EXPECT_TRUE(ParseHive(bytes, root, &hive, &error)) << error.line << ": " << error.what;
  return hive;
}

// The data of a value, or "<missing>".
std::string Data(const Hive& hive, const std::string& path, const std::string& name, std::uint32_t type) {
  const HiveValue* value = FindValue(hive, path, name);
  if (value == nullptr) return "<missing>";
  EXPECT_EQ(value->type, type) << name;
  return value->data;
}

std::string Text(const std::u16string& text) { return Utf16LeBytes(text + u'\0'); }

// The values of the export, whatever form they were read from.
void ExpectExportValues(const Hive& hive) {
  EXPECT_EQ(Data(hive, kKey, "Big", kRegQword), "\x88\x77\x66\x55\x44\x33\x22\x11");
  EXPECT_EQ(Data(hive, kKey, "count", kRegDword), std::string("\x2a\0\0\0", 4));
  EXPECT_EQ(Data(hive, kKey, "Exp", kRegExpandSz), Text(u"%HOME%\\x"));
  EXPECT_EQ(Data(hive, kKey, "Lines", kRegMultiSz), Text(std::u16string(u"first line\0second line\0Caf\u00e9\0", 28)));
  EXPECT_EQ(Data(hive, kKey, "Quote", kRegSz), Text(u"say \"hi\" C:\\dir\\"));
  EXPECT_EQ(Data(hive, kKey, "Text", kRegSz), Text(u"Caf\u00e9 room \u20ac 5"));
  EXPECT_EQ(Data(hive, "SOFTWARE\\VestaRegCheck\\sub", "", kRegSz), Text(u"default"));
  EXPECT_EQ(Subkeys(hive, kKey), std::vector<std::string>{"Sub"});
  EXPECT_EQ(FirstProblem(hive), nullptr);
}

TEST(HiveFileTest, TheEditorsUnicodeExportReadsAndWritesBackByteForByte) {
  const std::string bytes = Utf16LeBytes(kExport);
  ASSERT_EQ(bytes.compare(0, 8, "\xFF\xFEW\0i\0n\0", 8), 0);
  Hive hive = Parse(bytes);
  EXPECT_EQ(hive.encoding, HiveEncoding::kUtf16);
  EXPECT_TRUE(hive.unicode);
  EXPECT_EQ(hive.newline, "\r\n");
  ExpectExportValues(hive);
  EXPECT_EQ(WriteHive(hive), bytes);
}

TEST(HiveFileTest, TheExportAsUtf8WithOrWithoutAByteOrderMarkAndEitherLineEnd) {
  const std::string crlf = Utf16ToUtf8(kExport);
  std::string lf = crlf.substr(3);
  for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  for (const std::string& bytes : {crlf, lf}) {
    Hive hive = Parse(bytes);
    EXPECT_EQ(hive.encoding, HiveEncoding::kUtf8);
    EXPECT_EQ(hive.newline, bytes == lf ? "\n" : "\r\n");
    ExpectExportValues(hive);
    EXPECT_EQ(WriteHive(hive), bytes);
  }
}

TEST(HiveFileTest, Regedit4IsCodePageTextAndSoAreItsStringTypesInHex) {
  const std::string bytes =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\VestaRegCheck]\r\n"
      "\"Text\"=\"Caf\xe9 room \x80 5\"\r\n"
      "\"Exp\"=hex(2):25,48,4f,4d,45,25,5c,78,00\r\n"
      "\"Lines\"=hex(7):66,69,72,73,74,20,6c,69,6e,65,00,73,65,63,6f,6e,64,20,6c,69,6e,\\\r\n"
      "  65,00,43,61,66,e9,00,00\r\n"
      "\"Break\"=hex(1):61,0d,0a,62,00\r\n"
      "\"Escaped\"=\"a\\r\\nb\"\r\n"
      "\"Blob\"=hex:e9\r\n";
  Hive hive = Parse(bytes);
  EXPECT_EQ(hive.encoding, HiveEncoding::kAnsi);
  EXPECT_FALSE(hive.unicode);
  EXPECT_EQ(Data(hive, kKey, "Text", kRegSz), Text(u"Caf\u00e9 room \u20ac 5"));
  EXPECT_EQ(Data(hive, kKey, "Exp", kRegExpandSz), Text(u"%HOME%\\x"));
  EXPECT_EQ(Data(hive, kKey, "Lines", kRegMultiSz), Text(std::u16string(u"first line\0second line\0Caf\u00e9\0", 28)));
  EXPECT_EQ(Data(hive, kKey, "Break", kRegSz), Text(u"a\r\nb"));
  EXPECT_EQ(Data(hive, kKey, "Escaped", kRegSz), Text(u"a\r\nb"));
  EXPECT_EQ(Data(hive, kKey, "Blob", kRegBinary), "\xe9");  // bytes, not text
  EXPECT_EQ(WriteHive(hive), bytes);

  // A byte order mark makes REGEDIT4 text UTF-8; its hex strings stay code page bytes.
  hive = Parse("\xEF\xBB\xBFREGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"T\"=\"Caf\xC3\xA9\"\n\"M\"=hex(7):e9,00,00\n");
  EXPECT_EQ(hive.encoding, HiveEncoding::kUtf8);
  EXPECT_EQ(Data(hive, "A", "T", kRegSz), Text(u"Caf\u00e9"));
  EXPECT_EQ(Data(hive, "A", "M", kRegMultiSz), Text(std::u16string(u"\u00e9\0", 2)));
}

TEST(HiveFileTest, ValueLinesAreWrittenAsTheEditorWritesThem) {
  Hive unicode = Parse(Utf16LeBytes(kExport));
  Hive ansi = NewHive(kUser);
  auto value = [](const char* name, std::uint32_t type, const std::string& data) {
    HiveValue made;
    made.name = name;
    made.type = type;
    made.data = data;
    return made;
  };
  const std::string multi = Text(std::u16string(u"Line1\0Line2\0Line3\0", 18));
  // The registry editor's own lines, from its export.
  EXPECT_EQ(ValueLineText(unicode, value("Multiple strings", kRegMultiSz, multi)),
            "\"Multiple strings\"=hex(7):4c,00,69,00,6e,00,65,00,31,00,00,00,4c,00,69,00,6e,\\\r\n"
            "  00,65,00,32,00,00,00,4c,00,69,00,6e,00,65,00,33,00,00,00,00,00\r\n");
  EXPECT_EQ(ValueLineText(ansi, value("Multiple strings", kRegMultiSz, multi)),
            "\"Multiple strings\"=hex(7):4c,69,6e,65,31,00,4c,69,6e,65,32,00,4c,69,6e,65,33,\\\n"
            "  00,00\n");
  std::string bytes;
  for (int i = 0; i < 48; ++i) bytes += static_cast<char>(i);
  EXPECT_EQ(ValueLineText(ansi, value("abc", kRegBinary, bytes)),
            "\"abc\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
            "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f\n");
  EXPECT_EQ(ValueLineText(ansi, value("abcd", kRegBinary, bytes)),
            "\"abcd\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
            "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\n"
            "  2f\n");
  EXPECT_EQ(ValueLineText(ansi, value("Big", kRegQword, "\x88\x77\x66\x55\x44\x33\x22\x11")),
            "\"Big\"=hex(b):88,77,66,55,44,33,22,11\n");
  EXPECT_EQ(ValueLineText(unicode, value("", kRegDword, "\x78\x56\x34\x12")), "@=dword:12345678\r\n");
  EXPECT_EQ(ValueLineText(ansi, value("Short", kRegDword, "\x01")), "\"Short\"=hex(4):01\n");
  EXPECT_EQ(ValueLineText(ansi, value("Empty", kRegNone, "")), "\"Empty\"=hex(0):\n");
  EXPECT_EQ(ValueLineText(ansi, value("Odd", 0xabcd, "V")), "\"Odd\"=hex(abcd):56\n");

  // Strings: quoted, with \ and " escaped; one that a quote cannot hold in hex(1).
  EXPECT_EQ(ValueLineText(ansi, StringValue("a\"b\\", u"say \"hi\" C:\\")), "\"a\\\"b\\\\\"=\"say \\\"hi\\\" C:\\\\\"\n");
  EXPECT_EQ(ValueLineText(ansi, StringValue("T", u"Caf\u00e9 \u20ac")), "\"T\"=\"Caf\xe9 \x80\"\n");
  EXPECT_EQ(ValueLineText(unicode, StringValue("T", u"Caf\u00e9 \u20ac")), "\"T\"=\"Caf\xC3\xA9 \xE2\x82\xAC\"\r\n");
  EXPECT_EQ(ValueLineText(ansi, StringValue("T", u"\u0416")), "\"T\"=\"?\"\n");  // the code page has no such letter
  EXPECT_EQ(ValueLineText(ansi, StringValue("B", u"a\r\nb")), "\"B\"=hex(1):61,0d,0a,62,00\n");
  EXPECT_EQ(ValueLineText(unicode, StringValue("B", u"a\nb")), "\"B\"=hex(1):61,00,0a,00,62,00,00,00\r\n");
  EXPECT_EQ(ValueLineText(ansi, value("NoEnd", kRegSz, std::string("a\0", 2))), "\"NoEnd\"=hex(1):61\n");
  EXPECT_EQ(KeyLineText(unicode, "Caf\xC3\xA9"), "[HKEY_CURRENT_USER\\Caf\xC3\xA9]\r\n");
  EXPECT_EQ(KeyLineText(ansi, "Caf\xC3\xA9"), "[HKEY_CURRENT_USER\\Caf\xe9]\n");

  // What is written reads back as the same value, in either form.
  for (Hive* hive : {&ansi, &unicode}) {
    const std::string path = "Written";
    const HiveValue values[] = {value("Multiple strings", kRegMultiSz, multi), value("abcd", kRegBinary, bytes),
                                StringValue("B", u"a\r\nb"), StringValue("", u"x\\\"")};
    for (const HiveValue& v : values) SetValue(hive, path, v);
    Hive again = Parse(WriteHive(*hive));
    for (const HiveValue& v : values) {
      ASSERT_NE(FindValue(again, path, v.name), nullptr);
      EXPECT_EQ(*FindValue(again, path, v.name), v);
    }
  }
}

TEST(HiveFileTest, WhateverIsNotChangedIsWrittenBackAsItWas) {
  const std::string texts[] = {
      // mixed line ends, blanks, comments, no final line end
      "REGEDIT4\r\n; by hand\n\n  [HKEY_CURRENT_USER\\A]  \r\n  \"x\" = \"1\" ; one\r\n@=dword:1\n\"h\"=hex:1,\\\n\t2",
      // a key twice, a value twice
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\B]\n[hkey_current_user\\a]\n\"X\"=\"2\"\n",
      // lines that cannot be read
      "Windows Registry Editor Version 5.00\n\"x\"=\"1\"\nnonsense\n[HKEY_USERS\\A]\n\"y\"=\"2\"\n",
      // UTF-16 with a lone surrogate and an odd last byte
      Utf16LeBytes(u"\uFEFFREGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"\xD800\"\r\n") + "\x41",
      // UTF-8 that is not
      "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"\xC3(\xff\"\n",
  };
  for (const std::string& text : texts) EXPECT_EQ(WriteHive(Parse(text)), text) << text;

  // Spelling, order and a value named twice: the last line is the value, and
  // the one a change rewrites.
  Hive hive = Parse(texts[1]);
  EXPECT_EQ(Data(hive, "a", "x", kRegSz), Text(u"2"));
  SetValue(&hive, "A", StringValue("x", u"3"));
  EXPECT_EQ(WriteHive(hive),
            "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\B]\n[hkey_current_user\\a]\n\"X\"=\"3\"\n");
  EXPECT_TRUE(RemoveValue(&hive, "a", "X"));
  EXPECT_EQ(WriteHive(hive), "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n[HKEY_CURRENT_USER\\B]\n[hkey_current_user\\a]\n");
  EXPECT_FALSE(RemoveValue(&hive, "a", "X"));

  // A line added after a last line without a line end gives it one.
  hive = Parse("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"h\"=hex:01,\\\r\n  02");
  SetValue(&hive, "A", StringValue("x", u"1"));
  EXPECT_EQ(WriteHive(hive), "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"h\"=hex:01,\\\r\n  02\r\n\"x\"=\"1\"\r\n");
  EnsureKey(&hive, "B");
  EXPECT_EQ(WriteHive(hive),
            "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"h\"=hex:01,\\\r\n  02\r\n\"x\"=\"1\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\B]\r\n\r\n");

  // A header alone, without its line end: lines added end as the editor
  // ends them in that format.
  hive = Parse("REGEDIT4");
  EnsureKey(&hive, "B");
  EXPECT_EQ(WriteHive(hive), "REGEDIT4\n\n[HKEY_CURRENT_USER\\B]\n\n");
  const std::string unicode = Utf16LeBytes(u"\uFEFFWindows Registry Editor Version 5.00");
  hive = Parse(unicode);
  EnsureKey(&hive, "B");
  EXPECT_EQ(WriteHive(hive), unicode + Utf16LeBytes(u"\r\n\r\n[HKEY_CURRENT_USER\\B]\r\n\r\n"));
}

// A hand-edited hive may leave out the parents of a key. Made explicit, a
// key comes before the keys below it; removing a key keeps its parents.
TEST(HiveFileTest, ParentsLeftOutAreMadeInPlaceAndOutliveTheirSubkeys) {
  Hive hive = Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\\B\\C]\n\"v\"=\"1\"\n\n[HKEY_CURRENT_USER\\Z]\n");
  SetValue(&hive, "a\\b", StringValue("w", u"2"));
  EXPECT_EQ(WriteHive(hive),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\n[HKEY_CURRENT_USER\\A\\B]\n\"w\"=\"2\"\n\n"
            "[HKEY_CURRENT_USER\\A\\B\\C]\n\"v\"=\"1\"\n\n[HKEY_CURRENT_USER\\Z]\n");

  // A new subkey goes after its parent's subtree, before the keys that follow.
  hive = Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\n[HKEY_CURRENT_USER\\A\\B]\n\"v\"=\"1\"\n\n"
               "[HKEY_CURRENT_USER\\Z]\n");
  EnsureKey(&hive, "A\\C");
  EXPECT_EQ(WriteHive(hive),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\n[HKEY_CURRENT_USER\\A\\B]\n\"v\"=\"1\"\n\n"
            "[HKEY_CURRENT_USER\\A\\C]\n\n[HKEY_CURRENT_USER\\Z]\n");

  hive = Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\P\\Q]\n\"v\"=\"1\"\n");
  EXPECT_TRUE(RemoveKey(&hive, "P\\Q"));
  EXPECT_TRUE(KeyExists(hive, "P"));
  EXPECT_FALSE(KeyExists(hive, "P\\Q"));
  EXPECT_EQ(WriteHive(hive), "REGEDIT4\n\n[HKEY_CURRENT_USER\\P]\n\n");
  hive = Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\P\\Q\\R]\n");
  EXPECT_TRUE(RemoveKeyTree(&hive, "p\\q"));
  EXPECT_TRUE(KeyExists(hive, "P"));
  EXPECT_FALSE(KeyExists(hive, "P\\Q"));
  EXPECT_EQ(WriteHive(hive), "REGEDIT4\n\n[HKEY_CURRENT_USER\\P]\n\n");
}

TEST(HiveFileTest, ABadLineCostsOnlyItselfAndNamesItsLine) {
  struct Case {
    const char* line;
    const char* problem;
  };
  const Case cases[] = {
      {"\"a\"=\"b", "unterminated quote"},
      {"\"a=\"b\"", "expected \"=\" after the value name"},
      {"\"a\"=\"C:\\VESTA\"", "bad escape (only \\\\, \\\", \\n and \\r are allowed)"},
      {"\"a\"=\"b\" x", "text after the closing quote"},
      {"\"a\"", "expected \"=\" after the value name"},
      {"\"a\"=", "value without data"},
      {"\"a\"=-", "value deletion (\"=-\") in a hive"},
      {"\"a\"=-x", "value of unknown type"},
      {"\"a\"=word:1", "value of unknown type"},
      {"\"a\"=hex(123456789):00", "value of unknown type"},
      {"\"a\"=hex(7:00", "value of unknown type"},
      {"\"a\"=dword:123456789", "bad dword (expected up to 8 hex digits)"},
      {"\"a\"=dword:", "bad dword (expected up to 8 hex digits)"},
      {"\"a\"=dword:1 2", "bad dword (expected up to 8 hex digits)"},
      {"\"a\"=hex:0g", "bad hex data (expected bytes like 0a,1f)"},
      {"\"a\"=hex:123", "bad hex data (expected bytes like 0a,1f)"},
      {"\"a\"=hex:01,,02", "bad hex data (expected bytes like 0a,1f)"},
      {"\"a\"=hex:01,\\", "hex data cut short (a continuation line is missing)"},
      {"Path=x", "not a key, value or comment line"},
  };
  for (const Case& c : cases) {
    const std::string text = std::string("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"before\"=\"1\"\r\n") + c.line +
                              "\r\n\"after\"=\"2\"\r\n";
    Hive hive = Parse(text);
    const HiveLine* bad = FirstProblem(hive);
    ASSERT_NE(bad, nullptr) << c.line;
    EXPECT_EQ(bad->number, 4) << c.line;
    EXPECT_EQ(bad->problem, c.problem) << c.line;
    EXPECT_EQ(Data(hive, "A", "before", kRegSz), Text(u"1")) << c.line;
    EXPECT_EQ(Data(hive, "A", "after", kRegSz), Text(u"2")) << c.line;
    EXPECT_EQ(FindValue(hive, "A", "a"), nullptr) << c.line;
    EXPECT_EQ(WriteHive(hive), text);
  }

  // A key line that is not read takes its values with it, and only them.
  const std::string text =
      "REGEDIT4\n\"outside\"=\"0\"\n[HKEY_CURRENT_USER\\A]\n\"a\"=\"1\"\n[HKEY_USERS\\B]\n\"b\"=\"2\"\n"
      "[-HKEY_CURRENT_USER\\A]\n\"c\"=\"3\"\n[HKEY_CURRENT_USER\\A\\\\C]\n[HKEY_CURRENT_USER\\D\n"
      "[\\x]\n[HKEY_CURRENT_USER\\E]\n\"e\"=\"5\"\n";
  Hive hive = Parse(text);
  std::vector<std::pair<int, std::string>> problems;
  for (const HiveLine& line : hive.lines) {
    if (!line.problem.empty()) problems.emplace_back(line.number, line.problem);
  }
  const std::vector<std::pair<int, std::string>> expected = {
      {2, "value outside a key that is read"},  {5, "key of another root"},
      {6, "value outside a key that is read"},  {7, "key deletion (\"[-\") in a hive"},
      {8, "value outside a key that is read"},  {9, "empty key name"},
      {10, "key line without a closing \"]\""}, {11, "key line without a root key"},
  };
  EXPECT_EQ(problems, expected);
  EXPECT_EQ(Data(hive, "A", "a", kRegSz), Text(u"1"));
  EXPECT_EQ(Data(hive, "E", "e", kRegSz), Text(u"5"));
  EXPECT_EQ(Subkeys(hive, ""), (std::vector<std::string>{"A", "E"}));
  EXPECT_EQ(WriteHive(hive), text);

  // Lines that are not read stay when their key goes.
  EXPECT_TRUE(RemoveKey(&hive, "A"));
  EXPECT_EQ(WriteHive(hive),
            "REGEDIT4\n\"outside\"=\"0\"\n[HKEY_USERS\\B]\n\"b\"=\"2\"\n"
            "[-HKEY_CURRENT_USER\\A]\n\"c\"=\"3\"\n[HKEY_CURRENT_USER\\A\\\\C]\n[HKEY_CURRENT_USER\\D\n"
            "[\\x]\n[HKEY_CURRENT_USER\\E]\n\"e\"=\"5\"\n");
}

TEST(HiveFileTest, OnlyAFileWithoutTheHeaderIsRefused) {
  const char* texts[] = {"", "REGEDIT5\n", "\nREGEDIT4\n", "regedit4\n", "Windows Registry Editor Version 5.0\n",
                         "\xFE\xFFREGEDIT4\n"};
  for (const char* text : texts) {
    Hive hive;
    HiveSyntaxError error;
    EXPECT_FALSE(ParseHive(text, kUser, &hive, &error)) << text;
    EXPECT_EQ(error.line, 1);
    EXPECT_FALSE(error.what.empty());
  }
  EXPECT_TRUE(FirstProblem(Parse("REGEDIT4")) == nullptr);
  EXPECT_TRUE(FirstProblem(Parse("REGEDIT4 \t\r\n")) == nullptr);
}

TEST(HiveFileTest, AFileToImportNamesAnyRootAndDeletes) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Old]\r\n"
      "\"ignored\"=\"1\"\r\n"
      "[HKEY_CLASSES_ROOT\\.vwq]\r\n"
      "@=\"VESTA.World\"\r\n"
      "\"Gone\"=-\r\n";
  Hive file;
  HiveSyntaxError error;
  ASSERT_TRUE(ParseImportFile(text, &file, &error));
  ASSERT_EQ(file.lines.size(), 6u);
  EXPECT_EQ(file.lines[1].kind, Kind::kDeleteKey);
  EXPECT_EQ(file.lines[1].root, "HKEY_CURRENT_USER");
  EXPECT_EQ(file.lines[1].path, "Software\\Old");
  EXPECT_EQ(file.lines[2].problem, "value outside a key that is read");
  EXPECT_EQ(file.lines[3].kind, Kind::kKey);
  EXPECT_EQ(file.lines[3].root, "HKEY_CLASSES_ROOT");
  EXPECT_EQ(file.lines[5].kind, Kind::kDeleteValue);
  EXPECT_EQ(file.lines[5].value.name, "Gone");
  EXPECT_EQ(file.lines[5].problem, "");
  EXPECT_EQ(WriteHive(file), text);
}

}  // namespace

// Windows's limits: a key or a value name beyond them is its line's
// problem, and nothing is built from it; a change beyond them is refused.
TEST(HiveFileLimitsTest, KeysAndNamesBeyondWindowsLimitsAreRefused) {
  auto deep = [](size_t levels, const std::string& name) {
    std::string path = name;
    for (size_t i = 1; i < levels; ++i) path += "\\" + name;
    return path;
  };
  const std::string atLimit = deep(kMaxKeyDepth, "k");
  const std::string n255(kMaxKeyNameLength, 'n');
  const std::string v16383(kMaxValueNameLength, 'v');
  const Hive hive = Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\" + deep(kMaxKeyDepth + 1, "k") + "]\n\"a\"=\"x\"\n" +
                          "[HKEY_CURRENT_USER\\" + atLimit + "]\n\"b\"=\"x\"\n" +
                          "[HKEY_CURRENT_USER\\" + n255 + "n]\n\"c\"=\"x\"\n" + "[HKEY_CURRENT_USER\\" + n255 + "]\n\"" +
                          v16383 + "v\"=\"x\"\n\"" + v16383 + "\"=\"y\"\n" + "[HKEY_CURRENT_USER\\" +
                          deep(kMaxKeyPathLength / kMaxKeyNameLength + 1, std::string(kMaxKeyNameLength - 1, 'p')) + "]\n");
  std::vector<std::string> problems;
  for (const HiveLine& line : hive.lines) {
    if (!line.problem.empty()) problems.push_back(std::to_string(line.number) + ": " + line.problem);
  }
  EXPECT_EQ(problems, (std::vector<std::string>{"3: key path deeper than 512 levels", "4: value outside a key that is read",
                                                "7: key name longer than 255 characters",
                                                "8: value outside a key that is read",
                                                "10: value name longer than 16383 characters",
                                                "12: key path longer than 32767 characters"}));
  EXPECT_EQ(Data(hive, atLimit, "b", kRegSz), Text(u"x"));
  EXPECT_EQ(Data(hive, n255, v16383, kRegSz), Text(u"y"));
  EXPECT_EQ(Subkeys(hive, ""), (std::vector<std::string>{"k", n255}));
  EXPECT_EQ(WriteHive(hive), WriteHive(Parse(WriteHive(hive))));

  // A change beyond them leaves the hive as it was; at them, every level
  // gets its key line (made without recursion).
  Hive changed = NewHive(kUser);
  EXPECT_FALSE(EnsureKey(&changed, deep(kMaxKeyDepth + 1, "k")));
  EXPECT_FALSE(SetValue(&changed, "Software\\" + n255 + "n", StringValue("x", u"x")));
  EXPECT_FALSE(SetValue(&changed, "Software", StringValue(v16383 + "v", u"x")));
  EXPECT_EQ(WriteHive(changed), "REGEDIT4\n\n");
  EXPECT_EQ(KeyProblem(changed, deep(kMaxKeyDepth + 1, "k")), "key path deeper than 512 levels");
  ASSERT_TRUE(SetValue(&changed, atLimit, StringValue("v", u"x")));
  size_t keyLines = 0;
  for (const HiveLine& line : changed.lines) keyLines += line.kind == Kind::kKey ? 1 : 0;
  EXPECT_EQ(keyLines, kMaxKeyDepth);
  EXPECT_TRUE(RemoveKeyTree(&changed, "k"));
  EXPECT_EQ(WriteHive(changed), "REGEDIT4\n\n");

  // Memory in proportion to the file: a run of blank lines is one entry,
  // and a file of lines too short for their number is refused whole.
  const std::string blanks = "REGEDIT4\n" + std::string(100000, '\n') + "[HKEY_CURRENT_USER\\a]\n";
  const Hive spaced = Parse(blanks);
  EXPECT_EQ(spaced.lines.size(), 3u);
  EXPECT_EQ(WriteHive(spaced), blanks);
  std::string shortLines = "REGEDIT4\n";
  for (int i = 0; i < 1000; ++i) shortLines += ";\n\n";
  Hive refused;
  HiveSyntaxError error;
  EXPECT_FALSE(ParseHive(shortLines, kUser, &refused, &error));
  EXPECT_EQ(error.what, "more lines than a registry file of 3009 bytes may hold");
}

// Text is kept or refused, never changed: a REGEDIT4 file (code page 1252)
// refuses what the code page lacks, naming it; a Unicode one takes it.
TEST(HiveFileLimitsTest, TextTheCodePageLacksIsRefusedNotTurnedIntoQuestionMarks) {
  const std::string japan = "\xE6\x97\xA5\xE6\x9C\xAC";  // two characters, in UTF-8
  const std::string grin = "\xF0\x9F\x98\x80";           // one, beyond 16 bits
  Hive hive = Parse("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"Caf\xe9\"=\"\x80\"\n");
  const std::string before = WriteHive(hive);
  EXPECT_FALSE(EnsureKey(&hive, "Software\\" + japan));
  EXPECT_EQ(KeyProblem(hive, "Software\\" + japan),
            "key \"Software\\" + japan + "\": \"\xE6\x97\xA5\" is not in code page 1252, the text of a REGEDIT4 file");
  EXPECT_FALSE(SetValue(&hive, "Software", StringValue(grin, u"x")));
  EXPECT_NE(ValueProblem(hive, StringValue(grin, u"x")).find("\"" + grin + "\""), std::string::npos);
  EXPECT_FALSE(SetValue(&hive, "Software", StringValue("t", u"\U0001F600")));
  HiveValue multi;
  multi.name = "m";
  multi.type = kRegMultiSz;
  multi.data = Utf16LeBytes(std::u16string(u"a\0\u65E5\0\0", 5));
  EXPECT_FALSE(SetValue(&hive, "Software", multi));
  EXPECT_EQ(WriteHive(hive), before);
  // What the code page has is written as before.
  EXPECT_TRUE(SetValue(&hive, "Software", StringValue("\xC3\xA9", u"\u20ac")));
  Hive exported = NewExportFile(false);
  EXPECT_NE(AppendExportKey(&exported, "HKEY_CURRENT_USER\\" + japan, {}), "");
  EXPECT_NE(AppendExportKey(&exported, "HKEY_CURRENT_USER\\x", {multi}), "");
  EXPECT_EQ(WriteHive(exported), "REGEDIT4\r\n\r\n");

  Hive unicode = NewExportFile(true);
  EXPECT_EQ(AppendExportKey(&unicode, "HKEY_CURRENT_USER\\" + japan, {multi, StringValue(grin, u"\U0001F600")}), "");
  const Hive again = Parse(WriteHive(unicode));
  EXPECT_EQ(Data(again, japan, grin, kRegSz), Text(u"\U0001F600"));
  EXPECT_EQ(Data(again, japan, "m", kRegMultiSz), multi.data);

  bool lost = true;
  EXPECT_EQ(Utf16ToAnsi(u"\u20ac caf\u00e9", &lost), "\x80 caf\xe9");
  EXPECT_FALSE(lost);
  EXPECT_EQ(Utf16ToAnsi(u"a\U0001F600", &lost), "a??");
  EXPECT_TRUE(lost);
  EXPECT_EQ(FirstNotInCodePage(u"\u00e9\U0001F600\u65E5"), grin);
  EXPECT_EQ(FirstNotInCodePage(u"\u00e9\u20ac"), "");
  // The first character past 16 bits is a pair of surrogates, both ways.
  EXPECT_EQ(Utf8ToUtf16("\xF0\x90\x80\x80"), u"\U00010000");
  EXPECT_EQ(Utf16ToUtf8(u"\U00010000"), "\xF0\x90\x80\x80");
}
