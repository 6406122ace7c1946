// The POSIX registry's hive files: what they look like, what a hand-edited
// one keeps, and how a broken one is refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file_system.h"
#include "platform/code_page.h"
#include "platform/posix/host_path.h"
#include "platform/registry_file/hive.h"
#include "platform/registry_file/hive_file.h"
#include "platform/registry_file/regedit_export_fixture.h"
#include "platform/registry.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::RegRoot;
using vesta::testing::ReadBinaryFile;
using vesta::platform::Utf16LeBytes;
using vesta::testing::ScratchFolder;

std::string RegistryFolder() { return platform::posix::VestaRoot() + "/registry"; }
std::string HiveFile(const char* root) { return RegistryFolder() + "/" + root + ".reg"; }

void WriteHiveFile(const char* root, const std::string& bytes) {
  ASSERT_TRUE(platform::MakeFolder(RegistryFolder().c_str()));
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(HiveFile(root), bytes));
}

std::string Read(RegRoot root, const char* key, const char* name) {
  std::string text = "<missing>";
  platform::RegistryReadString(root, key, name, &text);
  return text;
}

TEST(RegistryPosixTest, HiveFilesAreRegedit4WithFullKeyPathsAndExplicitParents) {
  ScratchFolder scratch;
  EXPECT_FALSE(platform::RegistryKeyExists(RegRoot::kLocalMachine, "SOFTWARE"));
  EXPECT_FALSE(platform::FolderExists(RegistryFolder().c_str()));  // reading made nothing

  ASSERT_TRUE(platform::RegistryWriteString(RegRoot::kLocalMachine, "SOFTWARE\\vesta3d\\VESTA", "Path", "C:\\VESTA"));
  ASSERT_TRUE(platform::RegistryWriteString(RegRoot::kClassesRoot, ".vwq", nullptr, "VESTA.World"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_LOCAL_MACHINE")),
            "REGEDIT4\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d]\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA]\n"
            "\"Path\"=\"C:\\\\VESTA\"\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]\n"
            "\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.vwq]\n"
            "@=\"VESTA.World\"\n"
            "\n");
  EXPECT_EQ(platform::FileExists(HiveFile("HKEY_CLASSES_ROOT").c_str()), false);
  EXPECT_EQ(platform::FileExists(HiveFile("HKEY_CURRENT_USER").c_str()), false);

  // A key or value name with a line break is refused, not written.
  EXPECT_FALSE(platform::RegistryWriteString(RegRoot::kCurrentUser, "Software", "Line\r", "x"));
  EXPECT_FALSE(platform::RegistryCreateKey(RegRoot::kCurrentUser, "Soft\nware"));
  EXPECT_FALSE(platform::RegistryCreateKey(RegRoot::kCurrentUser, "\\Software"));
  EXPECT_FALSE(platform::RegistryDeleteValue(RegRoot::kCurrentUser, "\\Software", "x"));
  EXPECT_FALSE(platform::RegistryCreateKey(RegRoot::kCurrentUser, std::string(256, 'k').c_str()));
  EXPECT_EQ(platform::FileExists(HiveFile("HKEY_CURRENT_USER").c_str()), false);
  // A text with one is hex(1), code page bytes under REGEDIT4.
  ASSERT_TRUE(platform::RegistryWriteString(RegRoot::kCurrentUser, "Software", "Lines", "one\r\ntw\xf6"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\"Lines\"=hex(1):6f,6e,65,0d,0a,74,77,f6,00\n"
            "\n");
  EXPECT_EQ(Read(RegRoot::kCurrentUser, "Software", "Lines"), "one\r\ntw\xf6");
}

TEST(RegistryPosixTest, AHandEditedHiveKeepsWhatTheChangeDoesNotTouch) {
  ScratchFolder scratch;
  WriteHiveFile("HKEY_CURRENT_USER",
                "REGEDIT4\n"
                "\n"
                "[HKEY_CURRENT_USER\\Software\\vesta3d\\VESTA\\Worlds]\n"
                "\"Count\"=dword:00000002\n"
                "\"Blob\"=hex:01,02,\\\n"
                "  03\n");
  const RegRoot user = RegRoot::kCurrentUser;
  EXPECT_TRUE(platform::RegistryKeyExists(user, "Software\\VESTA3D"));  // a parent left out of the file
  std::string name;
  EXPECT_TRUE(platform::RegistrySubkeyAt(user, "software", 0, &name));
  EXPECT_EQ(name, "vesta3d");
  std::string text = "untouched";
  EXPECT_FALSE(platform::RegistryReadString(user, "Software\\vesta3d\\VESTA\\Worlds", "Count", &text));
  EXPECT_EQ(text, "untouched");  // not a string

  ASSERT_TRUE(platform::RegistryWriteString(user, "software\\VESTA3D\\vesta\\worlds", "Last", "Attic"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\vesta3d\\VESTA\\Worlds]\n"
            "\"Count\"=dword:00000002\n"
            "\"Blob\"=hex:01,02,\\\n"
            "  03\n"
            "\"Last\"=\"Attic\"\n");

  // Deleting the only key line keeps its parents, spelled as they were.
  ASSERT_TRUE(platform::RegistryDeleteKey(user, "software\\VESTA3D\\vesta\\worlds"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\vesta3d]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\vesta3d\\VESTA]\n"
            "\n");
}

TEST(RegistryPosixTest, ALineThatCannotBeReadIsReportedSkippedAndKept) {
  ScratchFolder scratch;
  const std::string hive =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software]\r\n"
      "\"Good\"=\"yes\"\r\n"
      "\"Bad\"=\"no\r\n"
      "\"Path\"=\"C:\\VESTA\"\r\n"
      "\"Later\"=\"also\"\r\n";
  WriteHiveFile("HKEY_CURRENT_USER", hive);
  const RegRoot user = RegRoot::kCurrentUser;
  EXPECT_EQ(Read(user, "Software", "Good"), "yes");
  EXPECT_EQ(platform::RegistryLastProblem(),
            "registry: " + HiveFile("HKEY_CURRENT_USER") + ":5: unterminated quote");
  EXPECT_EQ(Read(user, "Software", "Bad"), "<missing>");
  EXPECT_EQ(Read(user, "Software", "Path"), "<missing>");
  EXPECT_EQ(Read(user, "Software", "Later"), "also");

  // Every change keeps the lines it cannot read.
  ASSERT_TRUE(platform::RegistryWriteString(user, "Software", "New", "x"));
  ASSERT_TRUE(platform::RegistryDeleteValue(user, "Software", "Good"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n"
            "\"Bad\"=\"no\r\n"
            "\"Path\"=\"C:\\VESTA\"\r\n"
            "\"Later\"=\"also\"\r\n"
            "\"New\"=\"x\"\r\n");
  ASSERT_TRUE(platform::RegistryCreateKey(user, "Software\\Sub"));
  ASSERT_TRUE(platform::RegistryDeleteKey(user, "Software\\Sub"));
  EXPECT_NE(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")).find("\"Bad\"=\"no\r\n\"Path\"=\"C:\\VESTA\"\r\n"),
            std::string::npos);
  // Even when their key goes.
  ASSERT_TRUE(platform::RegistryDeleteValue(user, "Software", "Later"));
  ASSERT_TRUE(platform::RegistryDeleteValue(user, "Software", "New"));
  ASSERT_TRUE(platform::RegistryDeleteKey(user, "Software"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            "REGEDIT4\r\n"
            "\r\n"
            "\"Bad\"=\"no\r\n"
            "\"Path\"=\"C:\\VESTA\"\r\n");
  EXPECT_FALSE(platform::RegistryKeyExists(user, "Software"));
}

TEST(RegistryPosixTest, AFileWithoutTheHeaderIsRefusedAndNeverOverwritten) {
  ScratchFolder scratch;
  const std::string broken = "REGEDIT\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"Good\"=\"yes\"\r\n";
  WriteHiveFile("HKEY_CURRENT_USER", broken);
  const RegRoot user = RegRoot::kCurrentUser;
  std::string text = "untouched";
  EXPECT_FALSE(platform::RegistryReadString(user, "Software", "Good", &text));
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(platform::RegistryLastProblem(),
            "registry: " + HiveFile("HKEY_CURRENT_USER") +
                ":1: not a registry file (expected the header REGEDIT4 or Windows Registry Editor Version 5.00)");
  EXPECT_FALSE(platform::RegistryKeyExists(user, ""));
  EXPECT_FALSE(platform::RegistryKeyExists(user, "Software"));
  EXPECT_FALSE(platform::RegistrySubkeyAt(user, "", 0, &text));
  EXPECT_FALSE(platform::RegistryWriteString(user, "Software", "New", "x"));
  EXPECT_FALSE(platform::RegistryCreateKey(user, "Software\\New"));
  EXPECT_FALSE(platform::RegistryDeleteValue(user, "Software", "Good"));
  EXPECT_FALSE(platform::RegistryDeleteKey(user, "Software"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")), broken);

  // Other roots go on; the hive is taken again once it is mended.
  EXPECT_TRUE(platform::RegistryWriteString(RegRoot::kUsers, "Software", "Other", "fine"));
  WriteHiveFile("HKEY_CURRENT_USER", "REGEDIT4" + broken.substr(7));
  EXPECT_EQ(Read(user, "Software", "Good"), "yes");
}

TEST(RegistryPosixTest, AChangeThatCannotBeWrittenLeavesTheOldHiveAndNamesIt) {
  ScratchFolder scratch;
  const RegRoot user = RegRoot::kCurrentUser;
  const char kKey[] = "Software\\vesta3d";
  ASSERT_TRUE(platform::RegistryWriteString(user, kKey, "Old", "1"));
  const std::string before = ReadBinaryFile(HiveFile("HKEY_CURRENT_USER"));
  ASSERT_TRUE(platform::RegistryWriteString(user, kKey, "New", "2"));
  const std::string after = ReadBinaryFile(HiveFile("HKEY_CURRENT_USER"));
  ASSERT_NE(after, before);
  // A problem of another hive stands in the way of a stale report.
  WriteHiveFile("HKEY_USERS", "REGEDIT5\r\n\r\n[HKEY_USERS\\x]\r\n");
  const std::string problem = "registry: " + HiveFile("HKEY_CURRENT_USER") + ": cannot write: ";

  int fired = vesta::testing::ForEveryFault(
      [&] {
        WriteHiveFile("HKEY_CURRENT_USER", before);
        EXPECT_FALSE(platform::RegistryKeyExists(RegRoot::kUsers, "x"));
      },
      [&] { return platform::RegistryWriteString(user, kKey, "New", "2"); },
      [&](const vesta::testing::FaultCase& run, bool written) {
        const std::string where = std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
        EXPECT_EQ(written, !run.fired) << where;
        EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")), written ? after : before) << where;
        std::string value = "<missing>";
        platform::RegistryReadString(user, kKey, "New", &value);
        EXPECT_EQ(value, written ? "2" : "<missing>") << where;
        if (!written) {
          EXPECT_EQ(platform::RegistryLastProblem().rfind(problem, 0), 0u) << platform::RegistryLastProblem();
          EXPECT_GT(platform::RegistryLastProblem().size(), problem.size()) << where;
        }
      });
  EXPECT_EQ(fired, 5);
  EXPECT_TRUE(platform::FindFiles((RegistryFolder() + "/*.tmp").c_str()).empty());
}

const char kCheckKey[] = "Software\\VestaRegCheck";

// The export with a line added after the default value of Sub.
std::u16string ExportWithLine(const std::u16string& line) {
  std::u16string text = vesta::testing::kRegeditExport;
  const std::u16string after = u"@=\"default\"\r\n";
  return text.insert(text.find(after) + after.size(), line);
}

TEST(RegistryPosixTest, TheEditorsUnicodeExportIsAHiveThatKeepsItsForm) {
  ScratchFolder scratch;
  WriteHiveFile("HKEY_CURRENT_USER", Utf16LeBytes(vesta::testing::kRegeditExport));
  const RegRoot user = RegRoot::kCurrentUser;
  EXPECT_EQ(Read(user, kCheckKey, "Text"), "Caf\xe9 room \x80 5");
  EXPECT_EQ(Read(user, kCheckKey, "Quote"), "say \"hi\" C:\\dir\\");
  EXPECT_EQ(Read(user, "software\\vestaregcheck\\SUB", nullptr), "default");
  EXPECT_EQ(Read(user, kCheckKey, "Count"), "<missing>");  // not a string
  std::string name;
  EXPECT_TRUE(platform::RegistrySubkeyAt(user, kCheckKey, 0, &name));
  EXPECT_EQ(name, "Sub");

  // A change adds its line in the hive's own form; every other byte stays.
  ASSERT_TRUE(platform::RegistryWriteString(user, "Software\\VestaRegCheck\\Sub", "Price", "\x80 5 caf\xe9"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            Utf16LeBytes(ExportWithLine(u"\"Price\"=\"\u20ac 5 caf\u00e9\"\r\n")));
}

TEST(RegistryPosixTest, AUtf8ExportReadsAsCodePageTextAndStaysUtf8) {
  ScratchFolder scratch;
  // As a text editor saves the export again: UTF-8 without a byte order mark.
  const std::string utf8 = platform::Utf16ToUtf8(vesta::testing::kRegeditExport).substr(3);
  WriteHiveFile("HKEY_CURRENT_USER", utf8);
  const RegRoot user = RegRoot::kCurrentUser;
  EXPECT_EQ(Read(user, kCheckKey, "Text"), "Caf\xe9 room \x80 5");
  ASSERT_TRUE(platform::RegistryWriteString(user, "Software\\VestaRegCheck\\Sub", "Price", "\x80 5"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            platform::Utf16ToUtf8(ExportWithLine(u"\"Price\"=\"\u20ac 5\"\r\n")).substr(3));
  EXPECT_NE(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")).find("\"Text\"=\"Caf\xC3\xA9 room \xE2\x82\xAC 5\""),
            std::string::npos);
  EXPECT_EQ(Read(user, "Software\\VestaRegCheck\\Sub", "Price"), "\x80 5");
}

TEST(RegistryPosixTest, TextTheCodePageCannotHoldIsKeptByChangesElsewhere) {
  ScratchFolder scratch;
  const std::u16string text =
      u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Caf\u00e9]\r\n"
      u"\"Text\"=\"\u03A9 \u00e9 \U0001F600\"\r\n"
      u"\"\u0416\"=\"x\"\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Caf\u00e9\\\u4E16\u754C]\r\n\r\n";
  WriteHiveFile("HKEY_CURRENT_USER", Utf16LeBytes(text));
  const RegRoot user = RegRoot::kCurrentUser;
  // Text the code page lacks is refused through it, naming what it lacks,
  // never read as "?".
  platform::ClearRegistryLastProblem();
  EXPECT_EQ(Read(user, "Software\\Caf\xe9", "Text"), "<missing>");
  EXPECT_NE(platform::RegistryLastProblem().find("\"\xCE\xA9\" is not in code page 1252"), std::string::npos);
  platform::RegistryValue value;
  EXPECT_FALSE(platform::RegistryReadValue(user, "Software\\Caf\xe9", "Text", &value));
  EXPECT_EQ(Read(user, "Software\\CAF\xe9", "?"), "<missing>");
  std::string name = "old";
  EXPECT_FALSE(platform::RegistrySubkeyAt(user, "Software\\Caf\xe9", 0, &name));
  EXPECT_FALSE(platform::RegistryValueAt(user, "Software\\Caf\xe9", 1, &name));
  EXPECT_EQ(name, "old");
  EXPECT_NE(platform::RegistryLastProblem().find("\xD0\x96"), std::string::npos);
  ASSERT_TRUE(platform::RegistryValueAt(user, "Software\\Caf\xe9", 0, &name));
  EXPECT_EQ(name, "Text");
  ASSERT_TRUE(platform::RegistryWriteString(user, "Software\\Caf\xe9", "New", "\xe9"));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")),
            Utf16LeBytes(text.substr(0, text.find(u"\r\n\r\n[", 50) + 2) + u"\"New\"=\"\u00e9\"\r\n" +
                    text.substr(text.find(u"\r\n\r\n[", 50) + 2)));
}

// A hive is read once and kept; whatever another program does to its file
// (rewrites it in place, replaces it, removes it) is seen by the next read.
TEST(RegistryPosixTest, AHiveKeptInMemoryFollowsItsFile) {
  ScratchFolder scratch;
  const RegRoot user = RegRoot::kCurrentUser;
  ASSERT_TRUE(platform::RegistryWriteString(user, "Software\\Kept", "Value", "written"));
  EXPECT_EQ(Read(user, "Software\\Kept", "Value"), "written");

  // Rewritten in place: the same file, another size.
  WriteHiveFile("HKEY_CURRENT_USER", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Kept]\n\"Value\"=\"in place\"\n");
  EXPECT_EQ(Read(user, "Software\\Kept", "Value"), "in place");
  // Replaced by a file of the same size, as another process's change does.
  const std::string replacement = HiveFile("HKEY_CURRENT_USER") + ".new";
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(
      replacement, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Kept]\n\"Value\"=\"replaced\"\n"));
  ASSERT_EQ(std::rename(replacement.c_str(), HiveFile("HKEY_CURRENT_USER").c_str()), 0);
  EXPECT_EQ(Read(user, "Software\\Kept", "Value"), "replaced");
  EXPECT_TRUE(platform::RegistryKeyExists(user, "Software\\Kept"));
  // A change made here starts from what the file holds now.
  ASSERT_TRUE(platform::RegistryWriteString(user, "Software\\Kept", "Other", "o"));
  EXPECT_EQ(Read(user, "Software\\Kept", "Value"), "replaced");
  EXPECT_EQ(Read(user, "Software\\Kept", "Other"), "o");
  // Removed: an empty hive.
  ASSERT_EQ(std::remove(HiveFile("HKEY_CURRENT_USER").c_str()), 0);
  EXPECT_EQ(Read(user, "Software\\Kept", "Value"), "<missing>");
  EXPECT_FALSE(platform::RegistryKeyExists(user, "Software\\Kept"));
  EXPECT_TRUE(platform::RegistryKeyExists(RegRoot::kClassesRoot, ""));
}

// A value's name stands in one line of a hive: one with a line break is
// refused, whatever the value's type, and nothing is written.
TEST(RegistryPosixTest, ANameWithALineBreakIsRefused) {
  ScratchFolder scratch;
  platform::RegistryValue value;
  value.type = 4;
  value.data = std::string("\1\0\0\0", 4);
  EXPECT_FALSE(platform::RegistryWriteValue(RegRoot::kCurrentUser, "Software\\Names", "two\nlines", value));
  EXPECT_FALSE(platform::RegistryWriteString(RegRoot::kCurrentUser, "Software\\Names", "two\rlines", "x"));
  EXPECT_FALSE(platform::RegistryKeyExists(RegRoot::kCurrentUser, "Software\\Names"));
  ASSERT_TRUE(platform::RegistryWriteValue(RegRoot::kCurrentUser, "Software\\Names", "one line", value));
}

TEST(RegistryImportPosixTest, EachHiveIsChangedInItsOwnForm) {
  ScratchFolder scratch;
  // A Unicode hive and a REGEDIT4 one, changed by one file to import.
  WriteHiveFile("HKEY_CURRENT_USER", Utf16LeBytes(vesta::testing::kRegeditExport));
  WriteHiveFile("HKEY_LOCAL_MACHINE",
                "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\.vwq]\n@=\"Old\"\n; kept\n\n");
  const std::string file = scratch.Path("import.reg");
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(
      file, "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n"
            "[-HKEY_CURRENT_USER\\Software\\VestaRegCheck\\Sub]\n\n"
            "[HKEY_CURRENT_USER\\Software\\VestaRegCheck]\n"
            "\"Text\"=-\n"
            "\"Lines\"=hex(7):61,00,0a,00,62,00,00,00,00,00\n"
            "[HKEY_CLASSES_ROOT\\.vwq]\n"
            "@=\"VESTA.World \xE2\x82\xAC\"\n"
            "\"Multi\"=hex(7):e9,00,00,00,00,00\n"));
  ASSERT_TRUE(platform::RegistryImportFile(file.c_str())) << platform::RegistryLastProblem();

  const std::u16string user =
      u"\uFEFFWindows Registry Editor Version 5.00\r\n"
      u"\r\n"
      u"[HKEY_CURRENT_USER\\Software\\VestaRegCheck]\r\n"
      u"\"Big\"=hex(b):88,77,66,55,44,33,22,11\r\n"
      u"\"Count\"=dword:0000002a\r\n"
      u"\"Exp\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00,78,00,00,00\r\n"
      u"\"Lines\"=hex(7):61,00,0a,00,62,00,00,00,00,00\r\n"
      u"\"Quote\"=\"say \\\"hi\\\" C:\\\\dir\\\\\"\r\n"
      u"\r\n";
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")), Utf16LeBytes(user));
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_LOCAL_MACHINE")),
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\.vwq]\n@=\"VESTA.World \x80\"\n"
            "\"Multi\"=hex(7):e9,00,00\n; kept\n\n");
  EXPECT_EQ(Read(RegRoot::kClassesRoot, ".vwq", nullptr), "VESTA.World \x80");
  EXPECT_FALSE(platform::RegistryKeyExists(RegRoot::kCurrentUser, "Software\\VestaRegCheck\\Sub"));
}

TEST(RegistryImportPosixTest, AHiveThatIsNoRegistryFileStopsOnlyItsOwnChanges) {
  ScratchFolder scratch;
  WriteHiveFile("HKEY_USERS", "broken\n");
  const std::string file = scratch.Path("import.reg");
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(
      file, "REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=\"1\"\n[HKEY_CURRENT_USER\\B]\n\"b\"=\"2\"\n"));
  EXPECT_FALSE(platform::RegistryImportFile(file.c_str()));
  EXPECT_EQ(platform::RegistryLastProblem().rfind("registry: " + HiveFile("HKEY_USERS") + ":1: not a registry file", 0),
            0u);
  EXPECT_EQ(Read(RegRoot::kCurrentUser, "B", "b"), "2");
  EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_USERS")), "broken\n");
}

// The cross-check of tools/test: an export that the registry editor of the
// Windows build's Wine prefix wrote (VESTA_REGEDIT_EXPORT, a host path) of
// values of every kind that it imported first, read as a hive and imported.
TEST(RegeditExportCheck, TheEditorsExportReadsAsWritten) {
  const char* exported = std::getenv("VESTA_REGEDIT_EXPORT");
  if (exported == nullptr || *exported == '\0') GTEST_SKIP() << "VESTA_REGEDIT_EXPORT names no export";
  const std::string bytes = ReadBinaryFile(exported);
  ASSERT_NE(bytes, "<missing>") << exported;
  {
    // Read and written back unchanged, it is the same bytes.
    platform::regfile::Hive hive;
    platform::regfile::HiveSyntaxError error;
    ASSERT_TRUE(platform::regfile::ParseHive(bytes, "HKEY_CURRENT_USER", &hive, &error)) << error.what;
    EXPECT_EQ(platform::regfile::WriteHive(hive), bytes);
  }
  const RegRoot user = RegRoot::kCurrentUser;
  auto check = [&](const char* how) {
    EXPECT_EQ(Read(user, kCheckKey, "Text"), "Caf\xe9 room \x80 5") << how;
    EXPECT_EQ(Read(user, kCheckKey, "Quote"), "say \"hi\" C:\\dir\\") << how;
    EXPECT_EQ(Read(user, "Software\\VestaRegCheck\\Sub", nullptr), "default") << how;
    platform::regfile::Hive hive;
    platform::regfile::HiveSyntaxError error;
    ASSERT_TRUE(platform::regfile::ParseHive(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")), "HKEY_CURRENT_USER",
                                           &hive, &error));
    EXPECT_EQ(platform::regfile::FirstProblem(hive), nullptr) << how;
    const platform::regfile::HiveValue* lines = platform::regfile::FindValue(hive, kCheckKey, "Lines");
    ASSERT_NE(lines, nullptr) << how;
    EXPECT_EQ(lines->type, platform::regfile::kRegMultiSz) << how;
    EXPECT_EQ(lines->data, Utf16LeBytes(std::u16string(u"first line\0second line\0Caf\u00e9\0\0", 29))) << how;
    const platform::regfile::HiveValue* count = platform::regfile::FindValue(hive, kCheckKey, "Count");
    ASSERT_NE(count, nullptr) << how;
    EXPECT_EQ(count->type, platform::regfile::kRegDword) << how;
    EXPECT_EQ(count->data, std::string("\x2a\0\0\0", 4)) << how;
  };
  {
    ScratchFolder scratch;
    WriteHiveFile("HKEY_CURRENT_USER", bytes);
    check("as a hive");
    ASSERT_TRUE(platform::RegistryWriteString(user, kCheckKey, "Added", "x"));
    check("as a hive, after a change");
  }
  {
    ScratchFolder scratch;
    ASSERT_TRUE(platform::RegistryImportFile(exported)) << platform::RegistryLastProblem();
    check("imported");
  }
}

}  // namespace
