// Shortcut files as the shell of Windows writes and reads them: what the
// format writes, files the shell wrote, and files laid out byte by byte for
// each way a link can name its target.
#include "platform/link_file/shell_link_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/testing/link_layout.h"

namespace vesta::platform::link_file {

void PrintTo(const ShellLinkFields& fields, std::ostream* out) {
  *out << "{" << fields.target << " | " << fields.description << " | " << fields.relativePath << " | "
       << fields.workingFolder << " | " << fields.arguments << " | " << fields.iconFile << "," << fields.iconIndex
       << "}";
}

}  // namespace vesta::platform::link_file

namespace {

using vesta::platform::link_file::ExpandVariables;
using vesta::platform::link_file::ReadShellLink;
using vesta::platform::link_file::ResolveRelativePath;
using vesta::platform::link_file::ShellLinkFields;
using vesta::platform::link_file::VariableLookup;
using vesta::platform::link_file::WriteShellLink;

using namespace vesta::testing::link_layout;  // NOLINT: the fixture pieces

ShellLinkFields Desktop() {
  ShellLinkFields fields;
  fields.target = "C:\\VESTA\\bin\\VESTA.EXE";
  fields.description = "VESTA 3D desktop";
  fields.iconFile = "C:\\VESTA\\bin\\VHelp.ico";
  fields.iconIndex = 3;
  return fields;
}

// What a file gives, or "<refused>".
std::string TargetOf(const std::string& bytes, const VariableLookup& lookup = nullptr) {
  ShellLinkFields read;
  return ReadShellLink(bytes, &read, lookup) ? read.target : "<refused>";
}

// Where the LinkInfo begins: after the header and any item list.
size_t InfoAt(const std::string& bytes) {
  return 0x4C + ((U32At(bytes, 0x14) & kIdList) ? 2 + U16At(bytes, 0x4C) : 0);
}

// The file without its LinkInfo, as a writer that drops it leaves it.
std::string WithoutLinkInfo(std::string bytes) {
  const size_t at = InfoAt(bytes);
  bytes.erase(at, U32At(bytes, at));
  PutU32At(&bytes, 0x14, U32At(bytes, 0x14) & ~kInfo);
  return bytes;
}

// Written by the shell's link object of Windows (under Wine): an item list,
// a LinkInfo, UTF-16 strings and the terminal block.
const unsigned char kShellWritten[] = {
    0x4C, 0x00, 0x00, 0x00, 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x46, 0xC7, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD7, 0x00, 0x14, 0x00,
    0x1F, 0x00, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30,
    0x30, 0x9D, 0x19, 0x00, 0x23, 0x43, 0x3A, 0x5C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x31, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x56, 0x45, 0x53, 0x54, 0x41, 0x00, 0x22,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x56, 0x00, 0x45, 0x00, 0x53, 0x00, 0x54, 0x00, 0x41, 0x00, 0x00, 0x00, 0x14,
    0x00, 0x30, 0x00, 0x31, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x62,
    0x69, 0x6E, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x62, 0x00, 0x69, 0x00, 0x6E, 0x00, 0x00, 0x00, 0x12,
    0x00, 0x42, 0x00, 0x32, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x56,
    0x45, 0x53, 0x54, 0x41, 0x2E, 0x45, 0x58, 0x45, 0x00, 0x2A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x56, 0x00, 0x45,
    0x00, 0x53, 0x00, 0x54, 0x00, 0x41, 0x00, 0x2E, 0x00, 0x45, 0x00, 0x58, 0x00, 0x45, 0x00, 0x00,
    0x00, 0x18, 0x00, 0x00, 0x00, 0x45, 0x00, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
    0x00, 0x1C, 0x00, 0x00, 0x00, 0x2D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x44, 0x00, 0x00,
    0x00, 0x11, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x43, 0x10, 0x00, 0x00,
    0x00, 0x00, 0x43, 0x3A, 0x5C, 0x56, 0x45, 0x53, 0x54, 0x41, 0x5C, 0x62, 0x69, 0x6E, 0x5C, 0x56,
    0x45, 0x53, 0x54, 0x41, 0x2E, 0x45, 0x58, 0x45, 0x00, 0x00, 0x11, 0x00, 0x56, 0x00, 0x45, 0x00,
    0x53, 0x00, 0x54, 0x00, 0x41, 0x00, 0x20, 0x00, 0x33, 0x00, 0x44, 0x00, 0x20, 0x00, 0x64, 0x00,
    0x65, 0x00, 0x73, 0x00, 0x6B, 0x00, 0x74, 0x00, 0x6F, 0x00, 0x70, 0x00, 0x00, 0x00, 0x17, 0x00,
    0x43, 0x00, 0x3A, 0x00, 0x5C, 0x00, 0x56, 0x00, 0x45, 0x00, 0x53, 0x00, 0x54, 0x00, 0x41, 0x00,
    0x5C, 0x00, 0x62, 0x00, 0x69, 0x00, 0x6E, 0x00, 0x5C, 0x00, 0x56, 0x00, 0x48, 0x00, 0x65, 0x00,
    0x6C, 0x00, 0x70, 0x00, 0x2E, 0x00, 0x69, 0x00, 0x63, 0x00, 0x6F, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00,
};

// The format's own example: a link to C:\test\a.txt with an item list whose
// file-system items carry version 7 extension blocks, a LinkInfo, a relative
// path, a working folder and a tracker block.
const unsigned char kFormatExample[] = {
    0x4C, 0x00, 0x00, 0x00, 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x46, 0x9B, 0x00, 0x08, 0x00, 0x20, 0x00, 0x00, 0x00, 0xD0, 0xE9, 0xEE, 0xF2,
    0x15, 0x15, 0xC9, 0x01, 0xD0, 0xE9, 0xEE, 0xF2, 0x15, 0x15, 0xC9, 0x01, 0xD0, 0xE9, 0xEE, 0xF2,
    0x15, 0x15, 0xC9, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xBD, 0x00, 0x14, 0x00,
    0x1F, 0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30,
    0x30, 0x9D, 0x19, 0x00, 0x2F, 0x43, 0x3A, 0x5C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46, 0x00, 0x31, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x2C, 0x39, 0x69, 0xA3, 0x10, 0x00, 0x74, 0x65, 0x73, 0x74, 0x00, 0x00, 0x32,
    0x00, 0x07, 0x00, 0x04, 0x00, 0xEF, 0xBE, 0x2C, 0x39, 0x65, 0xA3, 0x2C, 0x39, 0x69, 0xA3, 0x26,
    0x00, 0x00, 0x00, 0x03, 0x1E, 0x00, 0x00, 0x00, 0x00, 0xF5, 0x1E, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x74, 0x00, 0x65, 0x00, 0x73, 0x00, 0x74, 0x00, 0x00, 0x00, 0x14,
    0x00, 0x48, 0x00, 0x32, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x39, 0x69, 0xA3, 0x20, 0x00, 0x61,
    0x2E, 0x74, 0x78, 0x74, 0x00, 0x34, 0x00, 0x07, 0x00, 0x04, 0x00, 0xEF, 0xBE, 0x2C, 0x39, 0x69,
    0xA3, 0x2C, 0x39, 0x69, 0xA3, 0x26, 0x00, 0x00, 0x00, 0x2D, 0x6E, 0x00, 0x00, 0x00, 0x00, 0x96,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x61, 0x00, 0x2E, 0x00, 0x74,
    0x00, 0x78, 0x00, 0x74, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x3C, 0x00, 0x00, 0x00, 0x1C,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x2D, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x3B, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x81,
    0x8A, 0x7A, 0x30, 0x10, 0x00, 0x00, 0x00, 0x00, 0x43, 0x3A, 0x5C, 0x74, 0x65, 0x73, 0x74, 0x5C,
    0x61, 0x2E, 0x74, 0x78, 0x74, 0x00, 0x00, 0x07, 0x00, 0x2E, 0x00, 0x5C, 0x00, 0x61, 0x00, 0x2E,
    0x00, 0x74, 0x00, 0x78, 0x00, 0x74, 0x00, 0x07, 0x00, 0x43, 0x00, 0x3A, 0x00, 0x5C, 0x00, 0x74,
    0x00, 0x65, 0x00, 0x73, 0x00, 0x74, 0x00, 0x60, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0xA0, 0x58,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x63, 0x68, 0x72, 0x69, 0x73, 0x2D, 0x78, 0x70, 0x73,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x78, 0xC7, 0x94, 0x47, 0xFA, 0xC7, 0x46, 0xB3,
    0x56, 0x5C, 0x2D, 0xC6, 0xB6, 0xD1, 0x15, 0xEC, 0x46, 0xCD, 0x7B, 0x22, 0x7F, 0xDD, 0x11, 0x94,
    0x99, 0x00, 0x13, 0x72, 0x16, 0x87, 0x4A, 0x40, 0x78, 0xC7, 0x94, 0x47, 0xFA, 0xC7, 0x46, 0xB3,
    0x56, 0x5C, 0x2D, 0xC6, 0xB6, 0xD1, 0x15, 0xEC, 0x46, 0xCD, 0x7B, 0x22, 0x7F, 0xDD, 0x11, 0x94,
    0x99, 0x00, 0x13, 0x72, 0x16, 0x87, 0x4A, 0x00, 0x00, 0x00, 0x00,
};

// What the shell under Wine writes for a link with a relative path
// ("bin\\VESTA.EXE"), a working folder ("C:\\VESTA") and arguments ("-w 1"):
// the relative path is there, its flag is not.
const unsigned char kShellRelative[] = {
    0x4C, 0x00, 0x00, 0x00, 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x46, 0xB0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x62, 0x00,
    0x69, 0x00, 0x6E, 0x00, 0x5C, 0x00, 0x56, 0x00, 0x45, 0x00, 0x53, 0x00, 0x54, 0x00, 0x41, 0x00,
    0x2E, 0x00, 0x45, 0x00, 0x58, 0x00, 0x45, 0x00, 0x00, 0x00, 0x09, 0x00, 0x43, 0x00, 0x3A, 0x00,
    0x5C, 0x00, 0x56, 0x00, 0x45, 0x00, 0x53, 0x00, 0x54, 0x00, 0x41, 0x00, 0x00, 0x00, 0x05, 0x00,
    0x2D, 0x00, 0x77, 0x00, 0x20, 0x00, 0x31, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
};

const std::string kWine(reinterpret_cast<const char*>(kShellWritten), sizeof kShellWritten);
const std::string kWineRelative(reinterpret_cast<const char*>(kShellRelative), sizeof kShellRelative);
const std::string kExample(reinterpret_cast<const char*>(kFormatExample), sizeof kFormatExample);

// A shortcut to a share: its LinkInfo has only a CommonNetworkRelativeLink.
std::string NetworkFixture() {
  return Header(kInfo | kName | kUnicode) + LinkInfo({"", "\\\\SERVER\\Share", "dir\\file.txt", u"", u"", u""}) +
         WideString(u"On the server") + Terminal();
}

// The target only in the environment block.
std::string EnvironmentFixture() {
  return Header(kName | kUnicode | kExpString) + WideString(u"Notepad") +
         EnvironmentBlock("%SystemRoot%\\system32\\old.exe", u"%SystemRoot%\\notepad.exe") + TrackerBlock() +
         Terminal();
}

// The target only in the item list, with short names and long ones.
std::string ItemListFixture() {
  return Header(kIdList | kUnicode) +
         IdList({MyComputer(), Drive("C:\\"), FileItem(true, "PROGRA~1", u"Program Files"),
                 FileItem(true, "VESTA", u"VESTA"), FileItem(false, "VESTA3~1.EXE", u"Vesta 3D.exe")}) +
         Terminal();
}

// A local path whose UTF-16 form says more than its code-page form.
std::string UnicodeLocalFixture() {
  return Header(kInfo | kUnicode) +
         LinkInfo({"C:\\Caf?\\", "", "????.txt", u"C:\\Caf\u00E9\\", u"\u20AC\u0416.txt", u""}) + Terminal();
}

// Everything in the code page: the local path and all five strings.
std::string AnsiFixture() {
  return Header(kInfo | kName | kRelative | kWorkingDir | kArguments | kIcon, 7) +
         LinkInfo({"C:\\VESTA\\", "", "bin\\VESTA.EXE", u"", u"", u""}) + AnsiString("Caf\xE9 desktop") +
         AnsiString("..\\bin\\VESTA.EXE") + AnsiString("C:\\VESTA") + AnsiString("-world Sample.vwq") +
         AnsiString("C:\\VESTA\\bin\\VHelp.ico") + Terminal();
}

TEST(ShellLinkFormatTest, TheHeaderItemListAndLinkInfoAreLaidOutAsTheShellExpects) {
  const std::string bytes = WriteShellLink(Desktop());
  EXPECT_EQ(U32At(bytes, 0), 0x4Cu);
  EXPECT_EQ(bytes.substr(4, 16), std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  // HasLinkTargetIDList, HasLinkInfo, HasName, HasIconLocation, IsUnicode.
  EXPECT_EQ(U32At(bytes, 0x14), 0xC7u);
  EXPECT_EQ(U32At(bytes, 0x38), 3u);  // icon index
  EXPECT_EQ(U32At(bytes, 0x3C), 1u);  // shown normally
  const size_t info = InfoAt(bytes);
  EXPECT_EQ(U32At(bytes, info + 4), 0x1Cu);  // header without UTF-16 offsets
  EXPECT_EQ(U32At(bytes, info + 8), 1u);     // VolumeID and local base path
  const uint32_t volume = U32At(bytes, info + 12);
  EXPECT_EQ(U32At(bytes, info + volume), 0x11u);
  EXPECT_EQ(U32At(bytes, info + volume + 4), 3u);  // a fixed disk
  // The whole target is the base path: the shell under Wine reads no suffix.
  EXPECT_STREQ(bytes.c_str() + info + U32At(bytes, info + 16), "C:\\VESTA\\bin\\VESTA.EXE");
  EXPECT_STREQ(bytes.c_str() + info + U32At(bytes, info + 24), "");
  // The name follows the LinkInfo as a counted UTF-16 string.
  const size_t name = info + U32At(bytes, info);
  EXPECT_EQ(bytes[name], 16);
  EXPECT_EQ(bytes.substr(name + 2, 4), std::string("V\0E\0", 4));
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string(4, '\0'));  // terminal block

  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(bytes, &read));
  EXPECT_EQ(read, Desktop());
}

TEST(ShellLinkFormatTest, TheItemListNamesTheTargetAsTheShellWritesIt) {
  const std::string bytes = WriteShellLink(Desktop());
  // My Computer, the drive, two folders and the file, with no times: the
  // target need not exist.
  const std::string expected =
      IdList({MyComputer(), Drive("C:\\"), FileItem(true, "VESTA", u"VESTA", 3, false),
              FileItem(true, "bin", u"bin", 3, false), FileItem(false, "VESTA.EXE", u"VESTA.EXE", 3, false)});
  EXPECT_EQ(bytes.substr(0x4C, expected.size()), expected);

  // A shell that drops the LinkInfo finds the same target in the list.
  EXPECT_EQ(TargetOf(WithoutLinkInfo(bytes)), Desktop().target);
  std::string ignored = bytes;
  PutU32At(&ignored, 0x14, U32At(bytes, 0x14) | kNoInfo);
  EXPECT_EQ(TargetOf(ignored), Desktop().target);
  ShellLinkFields root;
  root.target = "d:\\";
  EXPECT_EQ(TargetOf(WithoutLinkInfo(WriteShellLink(root))), "d:\\");
}

TEST(ShellLinkFormatTest, TargetsNoItemListCanNameAreWrittenWithoutOne) {
  for (const std::string& target : std::vector<std::string>{
           "\\\\SERVER\\Share\\dir\\file.txt", "VESTA.EXE", "C:\\VESTA\\", "C:\\VESTA\\\\bin", "C:\\VESTA\\..\\x",
        "C:\\VESTA\\.\\x", "C:\\a?b", "C:\\a/b", "C:VESTA", "%SystemRoot%\\x", std::string(70000, 'x'),
        "C:\\" + std::string(30000, 'x'), "C:\\" + std::string(15000, 'x') + "\\" + std::string(15000, 'y')}) {
    ShellLinkFields fields;
    fields.target = target;
    const std::string bytes = WriteShellLink(fields);
    EXPECT_EQ(U32At(bytes, 0x14), 0x82u) << target.substr(0, 40);
    EXPECT_EQ(TargetOf(bytes), target) << target.substr(0, 40);
  }
  // A share is a remote disk.
  ShellLinkFields share;
  share.target = "\\\\SERVER\\Share\\dir\\file.txt";
  const std::string bytes = WriteShellLink(share);
  EXPECT_EQ(U32At(bytes, 0x4C + U32At(bytes, 0x4C + 12) + 4), 4u);
  // The longest names that still fit are written.
  ShellLinkFields longest;
  longest.target = "C:\\" + std::string(16383, 'x');
  EXPECT_EQ(U32At(WriteShellLink(longest), 0x14), 0x83u);
  EXPECT_EQ(TargetOf(WithoutLinkInfo(WriteShellLink(longest))), longest.target);
}

TEST(ShellLinkFormatTest, OnlyTheFieldsThatAreSetAreWritten) {
  ShellLinkFields bare;
  bare.target = "C:\\VESTA\\bin\\VSETUP.EXE";
  const std::string bytes = WriteShellLink(bare);
  EXPECT_EQ(U32At(bytes, 0x14), 0x83u);
  ShellLinkFields read = Desktop();
  ASSERT_TRUE(ReadShellLink(bytes, &read));
  EXPECT_EQ(read, bare);

  ShellLinkFields none;
  ASSERT_TRUE(ReadShellLink(WriteShellLink(none), &read));
  EXPECT_EQ(read, none);
  EXPECT_EQ(WriteShellLink(none).size(), 0x4Cu + 4);

  ShellLinkFields all = Desktop();
  all.relativePath = "..\\bin\\VESTA.EXE";
  all.workingFolder = "C:\\VESTA";
  all.arguments = "-world Sample.vwq";
  all.iconIndex = -2;
  const std::string full = WriteShellLink(all);
  EXPECT_EQ(U32At(full, 0x14), 0xFFu);
  ASSERT_TRUE(ReadShellLink(full, &read));
  EXPECT_EQ(read, all);
}

TEST(ShellLinkFormatTest, TextsTravelAsTheWesternCodePage) {
  ShellLinkFields fields = Desktop();
  fields.description = "Caf\xE9 \x80 5";  // e acute, euro sign
  const std::string bytes = WriteShellLink(fields);
  EXPECT_NE(bytes.find(std::string("C\0a\0f\0\xE9\0 \0\xAC\x20", 12)), std::string::npos);
  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(bytes, &read));
  EXPECT_EQ(read.description, fields.description);
}

TEST(ShellLinkFormatTest, FilesTheShellWroteAreRead) {
  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(kWine, &read));
  EXPECT_EQ(read, Desktop());

  ASSERT_TRUE(ReadShellLink(kExample, &read));
  EXPECT_EQ(read.target, "C:\\test\\a.txt");
  EXPECT_EQ(read.relativePath, ".\\a.txt");
  EXPECT_EQ(read.workingFolder, "C:\\test");
  EXPECT_EQ(read.description, "");
}

TEST(ShellLinkFormatTest, TheShellsShortcutWithoutItsLinkInfoIsReadFromItsItemList) {
  // Wine keeps the long name in the item itself and no signature in its
  // extension block; Windows the short name, and the long one in a block.
  EXPECT_EQ(TargetOf(WithoutLinkInfo(kWine)), "C:\\VESTA\\bin\\VESTA.EXE");
  EXPECT_EQ(TargetOf(WithoutLinkInfo(kExample)), "C:\\test\\a.txt");
  EXPECT_EQ(TargetOf(ItemListFixture()), "C:\\Program Files\\VESTA\\Vesta 3D.exe");

  // The long name's place in each version of the block; before version 3,
  // and without the block, the short name.
  for (int version : {3, 7, 8, 9, 10}) {
    const std::string list = IdList({MyComputer(), Drive("E:\\"), FileItem(false, "LONGNA~1.TXT", u"Long name.txt", version)});
    EXPECT_EQ(TargetOf(Header(kIdList) + list + Terminal()), "E:\\Long name.txt") << version;
  }
  EXPECT_EQ(TargetOf(Header(kIdList) + IdList({Drive("E:"), FileItem(false, "A.TXT", u"", 2)}) + Terminal()),
            "E:\\A.TXT");
  EXPECT_EQ(TargetOf(Header(kIdList) + IdList({Drive("E:"), FileItem(false, "A.TXT", u"", 0)}) + Terminal()),
            "E:\\A.TXT");
  // A name kept in UTF-16 in the item itself.
  const std::string unicodeItem = Item("\x36" + std::string(1, '\0') + U32(0) + U32(0) + U16(0) + WideZero(u"\u00E9t\u00E9"));
  EXPECT_EQ(TargetOf(Header(kIdList) + IdList({Drive("E:"), unicodeItem}) + Terminal()), "E:\\\xE9t\xE9");

  // Lists that name no path on a drive give no target, but the file reads.
  const std::string network = Item(std::string("\x1F\x58\x60\x2C\x8D\x20\xEA\x3A\x69\x10\xA2\xD7\x08\x00\x2B\x30\x30\x9D", 18));
  const std::string zip = Item("\x52" + std::string(20, 'z'));
  for (const std::string& list :
       {IdList({}), IdList({MyComputer()}), IdList({network, Drive("C:\\")}), IdList({MyComputer(), zip}),
        IdList({MyComputer(), Drive("C:\\"), zip}), IdList({MyComputer(), Drive("C:\\x")}),
        IdList({MyComputer(), Drive("1:\\")}), IdList({MyComputer(), Drive("C:\\"), Item(std::string("\x32"))}),
        IdList({MyComputer(), Item("")}), IdList({MyComputer(), Drive("C:\\"), Item("\x32" + std::string(20, 'n'))}),
        IdList({MyComputer(), Drive("C:\\"), Item("\x36" + std::string(13, '\0') + "n")})}) {
    EXPECT_EQ(TargetOf(Header(kIdList) + list + Terminal()), "") << testing::PrintToString(list);
  }
}

TEST(ShellLinkFormatTest, ANetworkShareIsItsNameAndTheCommonPathSuffix) {
  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(NetworkFixture(), &read));
  EXPECT_EQ(read.target, "\\\\SERVER\\Share\\dir\\file.txt");
  EXPECT_EQ(read.description, "On the server");

  auto share = [](const InfoParts& parts) { return TargetOf(Header(kInfo) + LinkInfo(parts) + Terminal()); };
  EXPECT_EQ(share({"", "\\\\SERVER\\Share", "", u"", u"", u""}), "\\\\SERVER\\Share");
  EXPECT_EQ(share({"", "\\\\SERVER\\Share\\", "dir", u"", u"", u""}), "\\\\SERVER\\Share\\dir");
  // The UTF-16 forms stand in front of the code page's, for the name (with
  // its device) and for the suffix.
  EXPECT_EQ(share({"", "\\\\SERVER\\Caf?", "?.txt", u"", u"d\u00E9j\u00E0.txt", u"\\\\SERVER\\Caf\u00E9"}),
            "\\\\SERVER\\Caf\xE9\\d\xE9j\xE0.txt");
  EXPECT_EQ(share({"", "\\\\SERVER\\Share", "dir", u"", u"", u"\\\\SERVER\\Share"}), "\\\\SERVER\\Share\\dir");
  // A link made on a drive that stood for the share: the local path wins.
  EXPECT_EQ(share({"Z:\\", "\\\\SERVER\\Share", "dir", u"", u"", u""}), "Z:\\dir");
}

TEST(ShellLinkFormatTest, ATargetOnlyInTheEnvironmentBlockIsExpandedAgainstTheInstallation) {
  const std::map<std::string, std::string> installation = {{"SystemRoot", "C:\\WINDOWS"}, {"empty", ""}};
  const VariableLookup lookup = [&](const std::string& name, std::string* value) {
    auto found = installation.find(name);
    if (found == installation.end()) return false;
    *value = found->second;
    return true;
  };
  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(EnvironmentFixture(), &read, lookup));
  EXPECT_EQ(read.target, "C:\\WINDOWS\\notepad.exe");
  EXPECT_EQ(read.description, "Notepad");
  EXPECT_EQ(TargetOf(EnvironmentFixture()), "%SystemRoot%\\notepad.exe");

  auto environment = [&](const std::string& ansi, const std::u16string& wide, uint32_t flags = kExpString) {
    return TargetOf(Header(flags) + EnvironmentBlock(ansi, wide) + Terminal(), lookup);
  };
  EXPECT_EQ(environment("%SystemRoot%\\old.exe", u""), "C:\\WINDOWS\\old.exe");
  EXPECT_EQ(environment("", u"%NoSuchName%\\%empty%x%SystemRoot"), "%NoSuchName%\\x%SystemRoot");
  // A full field without its zero ends with the field.
  EXPECT_EQ(environment(std::string(260, 'a'), u""), std::string(260, 'a'));
  EXPECT_EQ(environment("", std::u16string(260, u'w')), std::string(260, 'w'));
  // The link may say to ignore the block.
  EXPECT_EQ(environment("%SystemRoot%\\x", u"", kExpString | kNoEnvironment), "");
}

TEST(ShellLinkFormatTest, LocalPathsReadInUtf16AndInTheCodePage) {
  EXPECT_EQ(TargetOf(UnicodeLocalFixture()), "C:\\Caf\xE9\\\x80?.txt");
  // The UTF-16 base alone, or the suffix alone, in front of its 8-bit form.
  EXPECT_EQ(TargetOf(Header(kInfo) + LinkInfo({"C:\\A?\\", "", "b", u"C:\\A\u00E9\\", u"", u""}) + Terminal()),
            "C:\\A\xE9\\");
  EXPECT_EQ(TargetOf(Header(kInfo) + LinkInfo({"C:\\A\\", "", "?", u"", u"\u00E9", u""}) + Terminal()),
            "C:\\A\\\xE9");

  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(AnsiFixture(), &read));
  ShellLinkFields expected;
  expected.target = "C:\\VESTA\\bin\\VESTA.EXE";
  expected.description = "Caf\xE9 desktop";
  expected.relativePath = "..\\bin\\VESTA.EXE";
  expected.workingFolder = "C:\\VESTA";
  expected.arguments = "-world Sample.vwq";
  expected.iconFile = "C:\\VESTA\\bin\\VHelp.ico";
  expected.iconIndex = 7;
  EXPECT_EQ(read, expected);
}

TEST(ShellLinkFormatTest, TheTargetIsTakenInTheOrderTheShellTakesIt) {
  const std::string list = IdList({MyComputer(), Drive("C:\\"), FileItem(false, "LIST.EXE", u"List.exe")});
  const std::string environment = EnvironmentBlock("C:\\Environment.exe", u"");
  auto link = [&](const InfoParts& parts, uint32_t flags = 0) {
    return TargetOf(Header(kIdList | kInfo | kExpString | flags) + list + LinkInfo(parts) + environment + Terminal());
  };
  EXPECT_EQ(link({"C:\\Local\\", "\\\\S\\Share", "x.exe", u"", u"", u""}), "C:\\Local\\x.exe");
  EXPECT_EQ(link({"", "\\\\S\\Share", "x.exe", u"", u"", u""}), "\\\\S\\Share\\x.exe");
  EXPECT_EQ(link({"", "", "x.exe", u"", u"", u""}), "C:\\Environment.exe");
  EXPECT_EQ(link({"C:\\Local\\", "", "x.exe", u"", u"", u""}, kNoInfo), "C:\\Environment.exe");
  EXPECT_EQ(link({"", "", "", u"", u"", u""}, kNoEnvironment), "C:\\List.exe");
}

// Each of these is refused, and the fields stay as they were.
// Files laid out after the format with each combination of the five
// strings, in UTF-16 and in the code page, with a target and without: each
// reads back whole, and so does the shell's form under Wine, which leaves
// out the relative path's flag.
TEST(ShellLinkFormatTest, EveryCombinationOfTheStringsIsRead) {
  const std::pair<uint32_t, std::string> strings[] = {{kName, "On the desk"},
                                                      {kRelative, "..\\bin\\VESTA.EXE"},
                                                      {kWorkingDir, "C:\\VESTA"},
                                                      {kArguments, "-world Sample.vwq"},
                                                      {kIcon, "C:\\VESTA\\bin\\VHelp.ico"}};
  for (uint32_t chosen = 0; chosen < 32; ++chosen) {
    for (bool unicode : {true, false}) {
      for (bool target : {true, false}) {
        ShellLinkFields expected;
        expected.target = target ? "C:\\VESTA\\bin\\VESTA.EXE" : "";
        expected.iconIndex = -7;
        std::string* fields[] = {&expected.description, &expected.relativePath, &expected.workingFolder,
                                 &expected.arguments, &expected.iconFile};
        uint32_t flags = (unicode ? kUnicode : 0) | (target ? kInfo : 0);
        std::string body;
        for (int i = 0; i < 5; ++i) {
          if ((chosen & (1u << i)) == 0) continue;
          const std::string& text = strings[i].second;
          flags |= strings[i].first;
          *fields[i] = text;
          body += unicode ? WideString(std::u16string(text.begin(), text.end())) : AnsiString(text);
        }
        const std::string info = target ? LinkInfo({"C:\\VESTA\\", "", "bin\\VESTA.EXE", u"", u"", u""}) : "";
        const std::string tail = body + TrackerBlock() + Terminal();
        const std::string what = std::to_string(chosen) + (unicode ? " UTF-16" : " code page") +
                                 (target ? " with a target" : "");
        ShellLinkFields read;
        ASSERT_TRUE(ReadShellLink(Header(flags, static_cast<uint32_t>(-7)) + info + tail, &read)) << what;
        EXPECT_EQ(read, expected) << what;
        if ((flags & kRelative) == 0) continue;
        ShellLinkFields wine;
        ASSERT_TRUE(ReadShellLink(Header(flags & ~kRelative, static_cast<uint32_t>(-7)) + info + tail, &wine)) << what;
        EXPECT_EQ(wine, expected) << what << " without the relative path's flag";
      }
    }
  }
  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(kWineRelative, &read));
  EXPECT_EQ(read.relativePath, "bin\\VESTA.EXE");
  EXPECT_EQ(read.workingFolder, "C:\\VESTA");
  EXPECT_EQ(read.arguments, "-w 1");
  EXPECT_EQ(read.target + read.description + read.iconFile, "");
}

TEST(ShellLinkFormatTest, MalformedFilesAreRefusedWithoutReadingPastThem) {
  const std::string head = Header(kInfo);
  const std::string info = LinkInfo({"C:\\Local\\", "\\\\S\\Share", "x", u"", u"", u""});
  const size_t network = U32At(info, 20);
  auto withInfo = [&](size_t at, uint32_t value) {
    std::string changed = info;
    PutU32At(&changed, at, value);
    return head + changed + Terminal();
  };
  const std::string listHead = Header(kIdList);
  const std::string item = FileItem(false, "A", u"A");
  std::vector<std::pair<const char*, std::string>> cases = {
      {"no header", std::string()},
      {"a header cut short", head.substr(0, 0x4B)},
      {"header size", U32(0x4D) + head.substr(4) + Terminal()},
      {"LinkInfo size below its header", withInfo(0, 0x1B)},
      {"LinkInfo past the end", withInfo(0, static_cast<uint32_t>(info.size() + 5))},
      {"LinkInfo header size between the two forms", withInfo(4, 0x20)},
      {"LinkInfo header size below its fields", withInfo(4, 0x18)},
      {"LinkInfo header larger than the structure", withInfo(4, static_cast<uint32_t>(info.size() + 1))},
      {"VolumeID offset past the structure", withInfo(12, static_cast<uint32_t>(info.size()))},
      {"VolumeID offset inside the header", withInfo(12, 4)},
      {"VolumeID missing", withInfo(12, 0)},
      {"VolumeID size too small", withInfo(0x1C, 0x10)},
      {"VolumeID past the structure", withInfo(0x1C, static_cast<uint32_t>(info.size()))},
      {"local base path past the structure", withInfo(16, 0xFFFF)},
      {"local base path missing", withInfo(16, 0)},
      {"suffix offset past the structure", withInfo(24, static_cast<uint32_t>(info.size()))},
      {"network link offset past the structure", withInfo(20, 0xFFFFFFFF)},
      {"network link missing", withInfo(20, 0)},
      {"network link too small", withInfo(network, 0x13)},
      {"network link past the structure", withInfo(network, static_cast<uint32_t>(info.size()))},
      {"share name offset at the size", withInfo(network + 8, U32At(info, network))},
      {"share name offset inside its header", withInfo(network + 8, 0x10)},
      {"share name offset without room for UTF-16 offsets", withInfo(network + 8, 0x18)},
      {"unterminated suffix", head + info.substr(0, info.size() - 1) + "y" + Terminal()},
      {"unterminated share name",
       head + LinkInfo({"", "\\\\S\\Share", "x", u"", u"", u""}).replace(0x1C + 0x14 + 9, 1, "!") + Terminal()},
      {"UTF-16 base offset past the structure",
       [] {
         std::string wide = LinkInfo({"C:\\A\\", "", "", u"C:\\A\\", u"", u""});
         PutU32At(&wide, 28, static_cast<uint32_t>(wide.size() + 2));
         return Header(kInfo) + wide + Terminal();
       }()},
      {"UTF-16 share offset past the link",
       [] {
         std::string wide = LinkInfo({"", "\\\\S\\T", "", u"", u"", u"\\\\S\\T"});
         PutU32At(&wide, 0x1C + 0x14, 0x400);
         return Header(kInfo) + wide + Terminal();
       }()},
      {"item list past the end", listHead + U16(0x40) + MyComputer() + U16(0) + Terminal()},
      {"item past the list", listHead + U16(6) + U16(0x20) + U16(0) + U16(0) + Terminal()},
      {"item of one byte", listHead + U16(4) + U16(1) + U16(0) + Terminal()},
      {"item list without its terminal ID", listHead + U16(static_cast<uint32_t>(item.size())) + item + Terminal()},
      {"string past the end", Header(kName | kUnicode) + U16(10) + Wide(u"short")},
      {"8-bit string past the end", Header(kName) + U16(10) + "short"},
      {"no terminal block", Header(kName) + AnsiString("name")},
      {"terminal block cut short", Header(kName) + AnsiString("name") + U16(0)},
      {"extra block too small", Header(0) + U32(6) + U32(0xA0000003) + Terminal()},
      {"extra block of four bytes", Header(0) + U32(4) + Terminal()},
      {"extra block past the end", Header(0) + U32(0x60) + U32(0xA0000003) + U32(0x58) + Terminal()},
      {"environment block of the wrong size",
       Header(kExpString) + U32(0x300) + EnvironmentBlock("x", u"").substr(4, 0x2FC) + Terminal()},
      {"environment block cut short", Header(kExpString) + EnvironmentBlock("x", u"").substr(0, 0x200)},
  };
  for (const auto& [what, bytes] : cases) {
    ShellLinkFields read;
    read.description = "untouched";
    EXPECT_FALSE(ReadShellLink(bytes, &read)) << what;
    EXPECT_EQ(read.description, "untouched") << what;
  }
  ShellLinkFields read;
  EXPECT_FALSE(ReadShellLink(kWine, nullptr));
  // A LinkInfo that is to be ignored is only stepped over.
  EXPECT_TRUE(ReadShellLink(Header(kInfo | kNoInfo) + withInfo(16, 0xFFFF).substr(0x4C), &read));
}

TEST(ShellLinkFormatTest, EveryCutOfAFileIsRefused) {
  const std::vector<std::string> files = {WriteShellLink(Desktop()), kWine, kWineRelative, kExample,
                                          NetworkFixture(),          EnvironmentFixture(), ItemListFixture(),
                                          UnicodeLocalFixture(),     AnsiFixture()};
  for (const std::string& file : files) {
    ASSERT_NE(TargetOf(file), "<refused>");
    for (size_t size = 0; size < file.size(); ++size) {
      EXPECT_EQ(TargetOf(file.substr(0, size)), "<refused>") << size << " of " << file.size();
    }
  }
  // Broken beyond the header: a wrong class, a path outside its LinkInfo.
  const std::string good = WriteShellLink(Desktop());
  std::string wrongClass = good;
  wrongClass[19] = 0x47;
  EXPECT_EQ(TargetOf(wrongClass), "<refused>");
  std::string pathOutside = good;
  PutU32At(&pathOutside, InfoAt(good) + 16, 0xFFFF);
  EXPECT_EQ(TargetOf(pathOutside), "<refused>");

  // A link that says its LinkInfo is to be ignored, and has no item list,
  // has no target.
  ShellLinkFields fields = Desktop();
  fields.target = "C:\\";
  std::string ignored = WriteShellLink(fields);
  PutU32At(&ignored, 0x14, (U32At(ignored, 0x14) | kNoInfo) & ~kIdList);
  ignored.erase(0x4C, 2 + U16At(ignored, 0x4C));
  ShellLinkFields read;
  ASSERT_TRUE(ReadShellLink(ignored, &read));
  EXPECT_EQ(read.target, "");
  EXPECT_EQ(read.description, "VESTA 3D desktop");
}

TEST(ShellLinkFormatTest, VariablesAreExpandedWhereTheyAreKnown) {
  const VariableLookup lookup = [](const std::string& name, std::string* value) {
    if (name != "A" && name != "Long Name") return false;
    *value = name == "A" ? "1%B%" : "";
    return true;
  };
  EXPECT_EQ(ExpandVariables("%A%\\%A%", lookup), "1%B%\\1%B%");  // values are not expanded again
  EXPECT_EQ(ExpandVariables("x%Long Name%y", lookup), "xy");
  EXPECT_EQ(ExpandVariables("%B%%A%", lookup), "%B%1%B%");
  EXPECT_EQ(ExpandVariables("100%", lookup), "100%");
  EXPECT_EQ(ExpandVariables("%%A%", lookup), "%%A%");
  EXPECT_EQ(ExpandVariables("50% %A%", lookup), "50% %A%");
  EXPECT_EQ(ExpandVariables("%A%", nullptr), "%A%");
  EXPECT_EQ(ExpandVariables("", lookup), "");
}

TEST(ShellLinkFormatTest, ARelativePathIsSeenFromTheLinksFolder) {
  EXPECT_EQ(ResolveRelativePath("C:\\Links\\a.lnk", ".\\a.txt"), "C:\\Links\\a.txt");
  EXPECT_EQ(ResolveRelativePath("C:\\Links\\Deep\\a.lnk", "..\\..\\VESTA\\.\\x.exe"), "C:\\VESTA\\x.exe");
  EXPECT_EQ(ResolveRelativePath("C:\\Links\\a.lnk", "..\\..\\..\\x.exe"), "C:\\x.exe");
  // A drive-relative link path keeps its first folder whole.
  EXPECT_EQ(ResolveRelativePath("C:Links\\a.lnk", "doc.txt"), "C:\\Links\\doc.txt");
  EXPECT_EQ(ResolveRelativePath("c:/Links/a.lnk", "sub/x.exe"), "c:\\Links\\sub\\x.exe");
  EXPECT_EQ(ResolveRelativePath("C:a.lnk", "x"), "x");
  EXPECT_EQ(ResolveRelativePath("\\\\SERVER\\Share\\Links\\a.lnk", "..\\..\\..\\x"), "\\\\SERVER\\Share\\x");
  EXPECT_EQ(ResolveRelativePath("\\\\SERVER\\a.lnk", "x"), "\\\\SERVER\\x");
  EXPECT_EQ(ResolveRelativePath("\\Links\\a.lnk", "..\\x"), "\\x");
  EXPECT_EQ(ResolveRelativePath("/tmp/links/a.lnk", "..\\x\\y.txt"), "/tmp/x/y.txt");
  EXPECT_EQ(ResolveRelativePath("links\\a.lnk", ".\\x"), "links\\x");
  EXPECT_EQ(ResolveRelativePath("a.lnk", ".\\x"), ".\\x");
  EXPECT_EQ(ResolveRelativePath("C:\\Links\\a.lnk", "D:\\x"), "D:\\x");
  EXPECT_EQ(ResolveRelativePath("C:\\Links\\a.lnk", "\\x"), "\\x");
  EXPECT_EQ(ResolveRelativePath("C:\\Links\\a.lnk", ""), "");
}

}  // namespace
