// The contract of the registry seam for values of every type, whole key
// trees and registry files, run against the backend of each platform: the
// hive files of a scratch VESTA_ROOT on POSIX, scratch keys standing in for
// the predefined ones on Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/registry.h"
#include "platform/registry_file/regedit_export_fixture.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::RegistryFileFormat;
using platform::RegistryValue;
using platform::RegRoot;
using vesta::testing::ReadBinaryFile;
using vesta::testing::ScratchFolder;
using vesta::testing::WriteBinaryFile;

const RegRoot kUser = RegRoot::kCurrentUser;

// Value types as Windows numbers them.
constexpr unsigned kNone = 0, kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kMultiSz = 7, kQword = 11;

RegistryValue Value(unsigned type, const std::string& data) {
  RegistryValue value;
  value.type = type;
  value.data = data;
  return value;
}

// Text as the ANSI API holds it, with its terminating null.
RegistryValue Text(const std::string& text, unsigned type = kSz) { return Value(type, text + std::string(1, '\0')); }

std::string Describe(const RegistryValue& value) {
  std::string hex;
  for (unsigned char c : value.data) {
    static const char kDigits[] = "0123456789abcdef";
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
    hex += ' ';
  }
  return "type " + std::to_string(value.type) + ": " + hex;
}

std::string Read(RegRoot root, const char* key, const char* name) {
  RegistryValue value;
  if (!platform::RegistryReadValue(root, key, name, &value)) return "<missing>";
  return Describe(value);
}

std::vector<std::string> SortedValueNames(RegRoot root, const char* key) {
  std::vector<std::string> names;
  std::string name;
  for (int i = 0; platform::RegistryValueAt(root, key, i, &name); ++i) names.push_back(name);
  std::sort(names.begin(), names.end());
  return names;
}

// Values of every kind, with text of the code page beyond ASCII, a long
// binary value (continued over lines in a file) and the default value.
struct NamedValue {
  const char* name;
  RegistryValue value;
};
std::vector<NamedValue> EveryKind() {
  return {
      {"", Text("default")},
      {"Text", Text("Caf\xE9 room \x80 5, say \"hi\" C:\\dir\\")},
      {"Path", Text("%SystemRoot%\\system32", kExpandSz)},
      {"Lines", Value(kMultiSz, std::string("first\0second \xE9\0\0", 16))},
      {"Count", Value(kDword, std::string("\x2a\0\0\x80", 4))},
      {"Big", Value(kQword, "\x11\x22\x33\x44\x55\x66\x77\x88")},
      {"Blob", Value(kBinary, std::string("\0\x01\xff\x7f" "0123456789abcdef0123456789abcdef0123456789", 46))},
      {"Nothing", Value(kNone, "")},
  };
}

TEST(RegistryValuesTest, EveryKindReadsBackAsWrittenAndIsEnumerated) {
  ScratchFolder scratch;
  const char kKey[] = "Software\\Kinds";
  std::vector<std::string> expected;
  for (const NamedValue& named : EveryKind()) {
    ASSERT_TRUE(platform::RegistryWriteValue(kUser, kKey, named.name, named.value)) << named.name;
    expected.push_back(named.name);
  }
  for (const NamedValue& named : EveryKind()) EXPECT_EQ(Read(kUser, kKey, named.name), Describe(named.value)) << named.name;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(SortedValueNames(kUser, kKey), expected);

  // A string written either way reads either way; a number is no string.
  std::string text;
  ASSERT_TRUE(platform::RegistryReadString(kUser, kKey, "Text", &text));
  EXPECT_EQ(text, "Caf\xE9 room \x80 5, say \"hi\" C:\\dir\\");
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kKey, "Count", "now text"));
  EXPECT_EQ(Read(kUser, kKey, "Count"), Describe(Text("now text")));
  EXPECT_FALSE(platform::RegistryReadString(kUser, kKey, "Big", &text));

  RegistryValue untouched = Text("untouched");
  EXPECT_FALSE(platform::RegistryReadValue(kUser, kKey, "Missing", &untouched));
  EXPECT_FALSE(platform::RegistryReadValue(kUser, "Software\\Missing", "Text", &untouched));
  EXPECT_FALSE(platform::RegistryReadValue(kUser, kKey, "Text", nullptr));
  EXPECT_EQ(Describe(untouched), Describe(Text("untouched")));
  std::string name = "untouched";
  EXPECT_FALSE(platform::RegistryValueAt(kUser, kKey, static_cast<int>(expected.size()), &name));
  EXPECT_FALSE(platform::RegistryValueAt(kUser, kKey, -1, &name));
  EXPECT_FALSE(platform::RegistryValueAt(kUser, "Software\\Missing", 0, &name));
  EXPECT_EQ(name, "untouched");
}

TEST(RegistryValuesTest, ATreeGoesWithEverythingBelowIt) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "App\\Sub\\Deep", "v", "1"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "App\\Sub", "v", "2"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "App\\Other", "v", "3"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "AppSibling", "v", "4"));

  EXPECT_TRUE(platform::RegistryDeleteTree(kUser, "app\\SUB"));
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "App\\Sub"));
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "App\\Sub\\Deep"));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "App\\Other"));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "AppSibling"));
  EXPECT_FALSE(platform::RegistryDeleteTree(kUser, "App\\Sub"));
  EXPECT_FALSE(platform::RegistryDeleteTree(kUser, ""));
  EXPECT_FALSE(platform::RegistryDeleteTree(kUser, nullptr));
  // HKEY_CLASSES_ROOT is a key of another root on Linux: still a root.
  ASSERT_TRUE(platform::RegistryWriteString(RegRoot::kClassesRoot, ".vwq", nullptr, "w"));
  EXPECT_FALSE(platform::RegistryDeleteTree(RegRoot::kClassesRoot, ""));
  EXPECT_TRUE(platform::RegistryKeyExists(RegRoot::kClassesRoot, ".vwq"));

  EXPECT_TRUE(platform::RegistryDeleteTree(kUser, "App"));
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "App"));
  std::string text;
  EXPECT_TRUE(platform::RegistryReadString(kUser, "AppSibling", "v", &text));
}

// A key exported, deleted and imported again is the key it was, in either
// format; the file is laid out as the registry editor writes its exports.
TEST(RegistryFilesTest, AnExportImportsAsTheSameKey) {
  ScratchFolder scratch;
  const char kKey[] = "Software\\Exported";
  for (const NamedValue& named : EveryKind()) ASSERT_TRUE(platform::RegistryWriteValue(kUser, kKey, named.name, named.value));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "Software\\Exported\\Sub\\Deep", "Leaf", "deep"));
  ASSERT_TRUE(platform::RegistryCreateKey(kUser, "Software\\Exported\\Empty"));

  for (RegistryFileFormat format : {RegistryFileFormat::kRegedit4, RegistryFileFormat::kVersion5}) {
    const bool v5 = format == RegistryFileFormat::kVersion5;
    const std::string file = scratch.Path(v5 ? "v5.reg" : "v4.reg");
    ASSERT_TRUE(platform::RegistryExportFile(kUser, kKey, file.c_str(), format)) << platform::RegistryLastProblem();
    const std::string bytes = ReadBinaryFile(file);
    const std::string header =
        v5 ? platform::Utf16LeBytes(u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                                    u"[HKEY_CURRENT_USER\\Software\\Exported]\r\n@=\"default\"\r\n")
           : "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Exported]\r\n@=\"default\"\r\n";
    EXPECT_EQ(bytes.substr(0, header.size()), header) << file;

    ASSERT_TRUE(platform::RegistryDeleteTree(kUser, kKey));
    ASSERT_TRUE(platform::RegistryImportFile(file.c_str())) << platform::RegistryLastProblem();
    for (const NamedValue& named : EveryKind()) {
      EXPECT_EQ(Read(kUser, kKey, named.name), Describe(named.value)) << file << ": " << named.name;
    }
    std::string text;
    EXPECT_TRUE(platform::RegistryReadString(kUser, "Software\\Exported\\Sub\\Deep", "Leaf", &text));
    EXPECT_EQ(text, "deep");
    EXPECT_TRUE(platform::RegistryKeyExists(kUser, "Software\\Exported\\Empty"));
  }

  // A missing key exports nothing and leaves the file as it was.
  const std::string file = scratch.Path("v4.reg");
  const std::string before = ReadBinaryFile(file);
  EXPECT_FALSE(platform::RegistryExportFile(kUser, "Software\\Missing", file.c_str(), RegistryFileFormat::kRegedit4));
  EXPECT_EQ(ReadBinaryFile(file), before);
}

// The registry editor's own export, in UTF-16LE and in UTF-8, imports with
// its text right in the code page.
TEST(RegistryFilesTest, TheEditorsExportImportsInEitherEncoding) {
  const std::string encodings[] = {platform::Utf16LeBytes(vesta::testing::kRegeditExport),
                                   platform::Utf16ToUtf8(vesta::testing::kRegeditExport)};
  for (const std::string& bytes : encodings) {
    ScratchFolder scratch;
    const std::string file = scratch.Path("export.reg");
    ASSERT_TRUE(WriteBinaryFile(file, bytes));
    ASSERT_TRUE(platform::RegistryImportFile(file.c_str())) << platform::RegistryLastProblem();
    const char kKey[] = "Software\\VestaRegCheck";
    EXPECT_EQ(Read(kUser, kKey, "Text"), Describe(Text("Caf\xE9 room \x80 5")));
    EXPECT_EQ(Read(kUser, kKey, "Quote"), Describe(Text("say \"hi\" C:\\dir\\")));
    EXPECT_EQ(Read(kUser, kKey, "Exp"), Describe(Text("%HOME%\\x", kExpandSz)));
    EXPECT_EQ(Read(kUser, kKey, "Lines"),
              Describe(Value(kMultiSz, std::string("first line\0second line\0Caf\xE9\0\0", 29))));
    EXPECT_EQ(Read(kUser, kKey, "Count"), Describe(Value(kDword, std::string("\x2a\0\0\0", 4))));
    EXPECT_EQ(Read(kUser, kKey, "Big"), Describe(Value(kQword, "\x88\x77\x66\x55\x44\x33\x22\x11")));
    EXPECT_EQ(Read(kUser, "Software\\VestaRegCheck\\Sub", ""), Describe(Text("default")));
  }
}

// Deletions, and a line that cannot be read: it is skipped and named with
// its line, and the rest of the file is applied.
TEST(RegistryFilesTest, AnImportDeletesAndSkipsOnlyTheBadLine) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "Software\\Gone\\Below", "v", "x"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "Software\\Kept", "Drop", "x"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "Software\\Kept", "Keep", "x"));
  const std::string file = scratch.Path("changes.reg");
  ASSERT_TRUE(WriteBinaryFile(file,
                              "REGEDIT4\r\n\r\n"
                              "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Kept]\r\n"
                              "\"Drop\"=-\r\n"
                              "\"Bad\"=\"no end\r\n"
                              "\"New\"=dword:00000010\r\n"
                              "\r\n"
                              "[HKEY_NOWHERE\\Software\\Kept]\r\n"
                              "\"Lost\"=\"x\"\r\n"));
  EXPECT_FALSE(platform::RegistryImportFile(file.c_str()));
  EXPECT_NE(platform::RegistryLastProblem().find("changes.reg:7: "), std::string::npos)
      << platform::RegistryLastProblem();
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software\\Gone"));
  EXPECT_EQ(Read(kUser, "Software\\Kept", "Drop"), "<missing>");
  EXPECT_EQ(Read(kUser, "Software\\Kept", "Keep"), Describe(Text("x")));
  EXPECT_EQ(Read(kUser, "Software\\Kept", "New"), Describe(Value(kDword, std::string("\x10\0\0\0", 4))));
  EXPECT_EQ(Read(kUser, "Software\\Kept", "Bad"), "<missing>");
  EXPECT_EQ(Read(kUser, "Software\\Kept", "Lost"), "<missing>");

  const std::string missing = scratch.Path("missing.reg");
  EXPECT_FALSE(platform::RegistryImportFile(missing.c_str()));
  EXPECT_NE(platform::RegistryLastProblem().find("missing.reg"), std::string::npos);
  const std::string notRegistry = scratch.Path("not.reg");
  ASSERT_TRUE(WriteBinaryFile(notRegistry, "[HKEY_CURRENT_USER\\Software\\Kept]\r\n\"Keep\"=\"changed\"\r\n"));
  EXPECT_FALSE(platform::RegistryImportFile(notRegistry.c_str()));
  EXPECT_EQ(Read(kUser, "Software\\Kept", "Keep"), Describe(Text("x")));
}

// Windows's limits hold on every platform: for names given to the API and
// for files to import, whose line beyond them is named and builds nothing.
TEST(RegistryFilesTest, KeysAndNamesBeyondWindowsLimitsAreRefused) {
  ScratchFolder scratch;
  const std::string longKey = "Software\\" + std::string(256, 'k');
  platform::ClearRegistryLastProblem();
  EXPECT_FALSE(platform::RegistryWriteString(kUser, longKey.c_str(), "v", "x"));
  EXPECT_NE(platform::RegistryLastProblem().find("key name longer than 255 characters"), std::string::npos);
  EXPECT_FALSE(platform::RegistryCreateKey(kUser, longKey.c_str()));
  const std::string longName(16384, 'n');
  EXPECT_FALSE(platform::RegistryWriteValue(kUser, "Software\\Limits", longName.c_str(), Text("x")));
  EXPECT_NE(platform::RegistryLastProblem().find("value name longer than 16383 characters"), std::string::npos);
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software\\Limits"));
  // At the limits the names go to the registry (Wine's ANSI API takes a
  // shorter key name than Windows does).
  platform::ClearRegistryLastProblem();
  platform::RegistryWriteString(kUser, ("Software\\" + std::string(255, 'k')).c_str(), "v", "x");
  platform::RegistryWriteString(kUser, "Software\\Limits", longName.substr(1).c_str(), "x");
  EXPECT_EQ(platform::RegistryLastProblem().find("longer than"), std::string::npos) << platform::RegistryLastProblem();

  std::string deep = "HKEY_CURRENT_USER\\Software\\Deep";
  for (int i = 0; i < 511; ++i) deep += "\\d";
  const std::string file = scratch.Path("deep.reg");
  ASSERT_TRUE(WriteBinaryFile(file, "REGEDIT4\r\n\r\n[" + deep + "]\r\n\"v\"=\"x\"\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\Shallow]\r\n\"v\"=\"y\"\r\n"));
  EXPECT_FALSE(platform::RegistryImportFile(file.c_str()));
  EXPECT_NE(platform::RegistryLastProblem().find("deep.reg:3: key path deeper than 512 levels"), std::string::npos)
      << platform::RegistryLastProblem();
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software\\Deep"));
  EXPECT_EQ(Read(kUser, "Software\\Shallow", "v"), Describe(Text("y")));
}

}  // namespace
