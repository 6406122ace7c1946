// The POSIX registry's hive files: what they look like, what a hand-edited
// one keeps, and how a broken one is refused.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/posix/host_path.h"
#include "platform/registry.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::RegRoot;
using vesta::testing::ReadTextFile;
using vesta::testing::ScratchFolder;

std::string RegistryFolder() { return platform::posix::VestaRoot() + "/registry"; }
std::string HiveFile(const char* root) { return RegistryFolder() + "/" + root + ".reg"; }

void WriteHiveFile(const char* root, const std::string& text) {
  ASSERT_TRUE(platform::MakeFolder(RegistryFolder().c_str()));
  ASSERT_TRUE(vesta::testing::WriteTextFile(HiveFile(root), text));
}

TEST(RegistryPosixTest, HiveFilesAreRegedit4WithFullKeyPathsAndExplicitParents) {
  ScratchFolder scratch;
  EXPECT_FALSE(platform::RegistryKeyExists(RegRoot::kLocalMachine, "SOFTWARE"));
  EXPECT_FALSE(platform::FolderExists(RegistryFolder().c_str()));  // reading made nothing

  ASSERT_TRUE(platform::RegistryWriteString(RegRoot::kLocalMachine, "SOFTWARE\\vesta3d\\VESTA", "Path", "C:\\VESTA"));
  ASSERT_TRUE(platform::RegistryWriteString(RegRoot::kClassesRoot, ".vwq", nullptr, "VESTA.World"));
  EXPECT_EQ(ReadTextFile(HiveFile("HKEY_LOCAL_MACHINE")),
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

  // What a hive file cannot hold is refused, not written.
  EXPECT_FALSE(platform::RegistryWriteString(RegRoot::kCurrentUser, "Software", "Lines", "one\ntwo"));
  EXPECT_FALSE(platform::RegistryWriteString(RegRoot::kCurrentUser, "Software", "Line\r", "x"));
  EXPECT_FALSE(platform::RegistryCreateKey(RegRoot::kCurrentUser, "Soft\nware"));
  EXPECT_FALSE(platform::RegistryCreateKey(RegRoot::kCurrentUser, "\\Software"));
  EXPECT_FALSE(platform::RegistryCreateKey(RegRoot::kCurrentUser, std::string(256, 'k').c_str()));
  EXPECT_EQ(platform::FileExists(HiveFile("HKEY_CURRENT_USER").c_str()), false);
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
  EXPECT_EQ(ReadTextFile(HiveFile("HKEY_CURRENT_USER")),
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\vesta3d\\VESTA\\Worlds]\n"
            "\"Count\"=dword:00000002\n"
            "\"Blob\"=hex:01,02,\\\n"
            "  03\n"
            "\"Last\"=\"Attic\"\n"
            "\n");

  // Deleting the only key line keeps its parents, spelled as they were.
  ASSERT_TRUE(platform::RegistryDeleteKey(user, "software\\VESTA3D\\vesta\\worlds"));
  EXPECT_EQ(ReadTextFile(HiveFile("HKEY_CURRENT_USER")),
            "REGEDIT4\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\vesta3d]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\vesta3d\\VESTA]\n"
            "\n");
}

TEST(RegistryPosixTest, AHiveThatDoesNotParseIsRefusedAndNeverOverwritten) {
  ScratchFolder scratch;
  const std::string broken =
      "REGEDIT4\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software]\r\n"
      "\"Good\"=\"yes\"\r\n"
      "\"Bad\"=\"no\r\n";
  WriteHiveFile("HKEY_CURRENT_USER", broken);
  const RegRoot user = RegRoot::kCurrentUser;
  std::string text = "untouched";
  EXPECT_FALSE(platform::RegistryReadString(user, "Software", "Good", &text));
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(platform::RegistryLastProblem(),
            "registry: " + HiveFile("HKEY_CURRENT_USER") + ":5: unterminated quote");
  EXPECT_FALSE(platform::RegistryKeyExists(user, ""));
  EXPECT_FALSE(platform::RegistryKeyExists(user, "Software"));
  EXPECT_FALSE(platform::RegistrySubkeyAt(user, "", 0, &text));
  EXPECT_FALSE(platform::RegistryWriteString(user, "Software", "New", "x"));
  EXPECT_FALSE(platform::RegistryCreateKey(user, "Software\\New"));
  EXPECT_FALSE(platform::RegistryDeleteValue(user, "Software", "Good"));
  EXPECT_FALSE(platform::RegistryDeleteKey(user, "Software"));
  EXPECT_EQ(ReadTextFile(HiveFile("HKEY_CURRENT_USER")), broken);

  // Other roots go on; the hive is taken again once it is mended.
  EXPECT_TRUE(platform::RegistryWriteString(RegRoot::kUsers, "Software", "Other", "fine"));
  WriteHiveFile("HKEY_CURRENT_USER", broken.substr(0, broken.size() - 2) + "\"\r\n");
  EXPECT_TRUE(platform::RegistryReadString(user, "Software", "Bad", &text));
  EXPECT_EQ(text, "no");
}

TEST(RegistryPosixTest, AChangeThatCannotBeWrittenLeavesTheOldHiveAndNamesIt) {
  ScratchFolder scratch;
  const RegRoot user = RegRoot::kCurrentUser;
  const char kKey[] = "Software\\vesta3d";
  ASSERT_TRUE(platform::RegistryWriteString(user, kKey, "Old", "1"));
  const std::string before = ReadTextFile(HiveFile("HKEY_CURRENT_USER"));
  ASSERT_TRUE(platform::RegistryWriteString(user, kKey, "New", "2"));
  const std::string after = ReadTextFile(HiveFile("HKEY_CURRENT_USER"));
  ASSERT_NE(after, before);
  // A problem of another hive stands in the way of a stale report.
  WriteHiveFile("HKEY_USERS", "REGEDIT4\r\n\r\n[HKEY_USERS\\x]\r\n\"Bad\"=\"no\r\n");
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
        EXPECT_EQ(ReadTextFile(HiveFile("HKEY_CURRENT_USER")), written ? after : before) << where;
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

}  // namespace
