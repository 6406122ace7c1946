// The registry's own files on POSIX are bounded by the root for reading as
// for writing, are read only when they are regular files of a size the
// registry can hold, and never make it wait.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/code_page.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/posix/host_path.h"
#include "platform/registry.h"
#include "platform/registry_file/hive_file.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::RegRoot;
using vesta::testing::ReadBinaryFile;
using vesta::testing::ScratchFolder;
using vesta::testing::WriteBinaryFile;

const RegRoot kUser = RegRoot::kCurrentUser;

std::string RegistryFolder() { return platform::posix::VestaRoot() + "/registry"; }
std::string HiveFile(const char* root) { return RegistryFolder() + "/" + root + ".reg"; }
// A place beside the scratch root, outside it.
std::string Outside(const char* name) { return platform::posix::VestaRoot() + "-" + name; }

bool ProblemSays(const std::string& text) {
  return platform::RegistryLastProblem().find(text) != std::string::npos;
}

TEST(RegistryBoundsPosixTest, NoHiveLockOrFolderLeadsOutOfTheRoot) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(RegistryFolder().c_str()));
  // A hive that is a link to a file outside: neither read nor replaced.
  const std::string away = Outside("away.reg");
  ASSERT_TRUE(WriteBinaryFile(away, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"v\"=\"outside\"\n"));
  ASSERT_EQ(symlink(away.c_str(), HiveFile("HKEY_LOCAL_MACHINE").c_str()), 0);
  std::string text;
  platform::ClearRegistryLastProblem();
  EXPECT_FALSE(platform::RegistryReadString(RegRoot::kLocalMachine, "Software", "v", &text));
  EXPECT_TRUE(ProblemSays(std::string("cannot read: ") + platform::kOutsideRootReason));
  EXPECT_FALSE(platform::RegistryWriteString(RegRoot::kLocalMachine, "Software", "v", "changed"));
  EXPECT_EQ(ReadBinaryFile(away), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"v\"=\"outside\"\n");
  // A dangling one makes nothing where it leads.
  const std::string nowhere = Outside("nowhere.reg");
  ASSERT_EQ(symlink(nowhere.c_str(), HiveFile("HKEY_USERS").c_str()), 0);
  EXPECT_FALSE(platform::RegistryWriteString(RegRoot::kUsers, "Software", "v", "x"));
  EXPECT_TRUE(ProblemSays(platform::kOutsideRootReason));
  // A lock that is a link.
  ASSERT_EQ(symlink(nowhere.c_str(), (HiveFile("HKEY_CURRENT_USER") + ".lock").c_str()), 0);
  EXPECT_FALSE(platform::RegistryWriteString(kUser, "Software", "v", "x"));
  EXPECT_TRUE(ProblemSays("cannot lock"));
  EXPECT_NE(access(nowhere.c_str(), F_OK), 0);
  unlink(away.c_str());
  // A hive read and kept, then moved out and linked to: not taken from
  // what was kept.
  const std::string kept = HiveFile("HKEY_LOCAL_MACHINE");
  unlink(kept.c_str());
  ASSERT_TRUE(WriteBinaryFile(kept, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"v\"=\"kept\"\n"));
  ASSERT_TRUE(platform::RegistryReadString(RegRoot::kLocalMachine, "Software", "v", &text));
  EXPECT_EQ(text, "kept");
  const std::string moved = Outside("moved.reg");
  ASSERT_EQ(rename(kept.c_str(), moved.c_str()), 0);
  ASSERT_EQ(symlink(moved.c_str(), kept.c_str()), 0);
  EXPECT_FALSE(platform::RegistryReadString(RegRoot::kLocalMachine, "Software", "v", &text));
  EXPECT_TRUE(ProblemSays(platform::kOutsideRootReason));
  unlink(moved.c_str());

  // The folder itself, a link out.
  ScratchFolder other;
  const std::string folder = Outside("registry");
  ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
  ASSERT_TRUE(WriteBinaryFile(folder + "/HKEY_CURRENT_USER.reg", "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"v\"=\"x\"\n"));
  ASSERT_EQ(symlink(folder.c_str(), RegistryFolder().c_str()), 0);
  EXPECT_FALSE(platform::RegistryReadString(kUser, "Software", "v", &text));
  EXPECT_TRUE(ProblemSays(platform::kOutsideRootReason));
  EXPECT_FALSE(platform::RegistryWriteString(kUser, "Software", "w", "y"));
  EXPECT_EQ(access((folder + "/HKEY_CURRENT_USER.reg.lock").c_str(), F_OK), -1);
  unlink((folder + "/HKEY_CURRENT_USER.reg").c_str());
  rmdir(folder.c_str());
}

TEST(RegistryBoundsPosixTest, OnlyRegularFilesOfABoundedSizeAreReadAndNothingWaits) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(RegistryFolder().c_str()));
  // A pipe in place of a hive, or as the file to import: refused at once.
  ASSERT_EQ(mkfifo(HiveFile("HKEY_CURRENT_USER").c_str(), 0666), 0);
  std::string text;
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software"));
  EXPECT_TRUE(ProblemSays("a named pipe, not a file"));
  EXPECT_FALSE(platform::RegistryImportFile(HiveFile("HKEY_CURRENT_USER").c_str()));
  EXPECT_TRUE(ProblemSays("a named pipe, not a file"));
  EXPECT_FALSE(platform::RegistryImportFile("/dev/zero"));
  EXPECT_TRUE(ProblemSays("a device, not a file"));
  EXPECT_FALSE(platform::RegistryImportFile(RegistryFolder().c_str()));

  // A hive larger than the registry holds is refused with its size, unread.
  const std::string big = HiveFile("HKEY_LOCAL_MACHINE");
  ASSERT_TRUE(WriteBinaryFile(big, "REGEDIT4\n"));
  ASSERT_EQ(truncate(big.c_str(), static_cast<off_t>(platform::regfile::kMaxRegistryFileSize) + 1), 0);
  EXPECT_FALSE(platform::RegistryReadString(RegRoot::kLocalMachine, "Software", "v", &text));
  EXPECT_TRUE(ProblemSays("holds " + std::to_string(platform::regfile::kMaxRegistryFileSize + 1) + " bytes"));
  EXPECT_FALSE(platform::RegistryWriteString(RegRoot::kLocalMachine, "Software", "v", "x"));
  EXPECT_FALSE(platform::RegistryImportFile(big.c_str()));
  ASSERT_EQ(truncate(big.c_str(), static_cast<off_t>(platform::regfile::kMaxRegistryFileSize)), 0);
  EXPECT_FALSE(platform::RegistryReadString(RegRoot::kLocalMachine, "Software", "v", &text));
  EXPECT_FALSE(ProblemSays("bytes"));
}

// A Unicode file to import whose names the REGEDIT4 hive cannot hold: the
// hive is left as it was, and the problem names the text and its line.
TEST(RegistryBoundsPosixTest, AnImportTheHiveCannotHoldLeavesItAsItWas) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "Software\\Kept", "v", "x"));
  const std::string before = ReadBinaryFile(HiveFile("HKEY_CURRENT_USER"));
  const std::string file = scratch.Path("unicode.reg");
  for (const std::u16string& lines : {std::u16string(u"[HKEY_CURRENT_USER\\Software\\\u65E5\u672C]\r\n"),
                                      std::u16string(u"[HKEY_CURRENT_USER\\Software\\Kept]\r\n\"\U0001F600\"=\"x\"\r\n"),
                                      std::u16string(u"[HKEY_CURRENT_USER\\Software\\Kept]\r\n\"t\"=\"\u03A9\"\r\n")}) {
    ASSERT_TRUE(WriteBinaryFile(file, platform::Utf16LeBytes(u"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n"
                                                             u"[HKEY_CURRENT_USER\\Software\\Other]\r\n\"a\"=\"b\"\r\n\r\n" +
                                                             lines)));
    platform::ClearRegistryLastProblem();
    EXPECT_FALSE(platform::RegistryImportFile(file.c_str()));
    EXPECT_TRUE(ProblemSays("unicode.reg:")) << platform::RegistryLastProblem();
    EXPECT_TRUE(ProblemSays("is not in code page 1252")) << platform::RegistryLastProblem();
    EXPECT_EQ(ReadBinaryFile(HiveFile("HKEY_CURRENT_USER")), before);
  }
  EXPECT_TRUE(ProblemSays("\xCE\xA9"));
  // Keys too deep for the registry, given to the API: refused, and named.
  std::string deep = "Software";
  for (int i = 1; i < 512; ++i) deep += "\\k";
  ASSERT_TRUE(platform::RegistryWriteString(kUser, deep.c_str(), "v", "x"));
  EXPECT_FALSE(platform::RegistryWriteString(kUser, (deep + "\\k").c_str(), "v", "x"));
  EXPECT_TRUE(ProblemSays("HKEY_CURRENT_USER\\Software\\k\\k")) << platform::RegistryLastProblem();
  EXPECT_TRUE(ProblemSays("key path deeper than 512 levels"));
}

}  // namespace
