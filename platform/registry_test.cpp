// The contract of the registry seam, run against the backend of each
// platform: hive files in a scratch VESTA_ROOT on POSIX, scratch keys
// standing in for the predefined ones on Windows.
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/child_process.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::RegRoot;
using vesta::testing::ScratchFolder;

const RegRoot kUser = RegRoot::kCurrentUser;
const char kVesta[] = "SOFTWARE\\vesta3d\\VESTA";

std::string Read(RegRoot root, const char* key, const char* name) {
  std::string text = "<missing>";
  platform::RegistryReadString(root, key, name, &text);
  return text;
}

std::vector<std::string> Subkeys(RegRoot root, const char* key) {
  std::vector<std::string> names;
  std::string name;
  for (int i = 0; platform::RegistrySubkeyAt(root, key, i, &name); ++i) names.push_back(name);
  return names;
}

TEST(RegistryTest, StringsReadBackAsWritten) {
  ScratchFolder scratch;
  const char* texts[] = {"C:\\VESTA\\bin\\", "say \"hi\"", "  spaced  ", "a=b", "[HKEY_USERS\\x]", "\\\"\\", ""};
  for (const char* text : texts) {
    ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, "Text", text)) << text;
    EXPECT_EQ(Read(kUser, kVesta, "Text"), text);
  }
  // Odd value names, kept apart from each other and from the default value.
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, "a\\b \"c\"=[d]", "odd"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, nullptr, "default"));
  EXPECT_EQ(Read(kUser, kVesta, "a\\b \"c\"=[d]"), "odd");
  EXPECT_EQ(Read(kUser, kVesta, ""), "default");
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, "", "default again"));
  EXPECT_EQ(Read(kUser, kVesta, nullptr), "default again");
  EXPECT_EQ(Read(kUser, kVesta, "Text"), "");
  // The root key holds values too.
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "", "AtRoot", "yes"));
  EXPECT_EQ(Read(kUser, nullptr, "AtRoot"), "yes");
}

TEST(RegistryTest, MissingKeysAndValuesLeaveTheOutputAlone) {
  ScratchFolder scratch;
  const std::string problemBefore = platform::RegistryLastProblem();  // of an earlier test
  std::string text = "untouched";
  EXPECT_FALSE(platform::RegistryReadString(kUser, kVesta, "Path", &text));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, "Path", "C:\\VESTA"));
  EXPECT_FALSE(platform::RegistryReadString(kUser, kVesta, "Other", &text));
  EXPECT_FALSE(platform::RegistryReadString(kUser, kVesta, nullptr, &text));  // no default value
  EXPECT_FALSE(platform::RegistryReadString(kUser, "SOFTWARE\\vesta3d", "Path", &text));
  EXPECT_FALSE(platform::RegistryReadString(kUser, "SOFTWARE\\vesta3d\\VESTA\\Deeper", "Path", &text));
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(platform::RegistryLastProblem(), problemBefore);  // a missing key or value is no problem
}

TEST(RegistryTest, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "Software\\Vesta3D\\Vesta", "InstallPath", "C:\\VESTA"));
  EXPECT_EQ(Read(kUser, "SOFTWARE\\VESTA3D\\vesta", "installpath"), "C:\\VESTA");
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "software\\vesta3d\\VESTA", "INSTALLPATH", "D:\\VESTA"));
  EXPECT_EQ(Read(kUser, "Software\\Vesta3D\\Vesta", "InstallPath"), "D:\\VESTA");
  EXPECT_EQ(Subkeys(kUser, "SOFTWARE"), std::vector<std::string>{"Vesta3D"});
  EXPECT_EQ(Subkeys(kUser, "software\\vesta3d"), std::vector<std::string>{"Vesta"});
}

TEST(RegistryTest, KeysAreCreatedWithTheirParentsWhichOutliveThem) {
  ScratchFolder scratch;
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, ""));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, nullptr));
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software\\vesta3d"));

  ASSERT_TRUE(platform::RegistryCreateKey(kUser, "Software\\vesta3d\\VESTA\\Worlds"));
  EXPECT_TRUE(platform::RegistryCreateKey(kUser, "Software\\vesta3d\\VESTA\\Worlds"));  // already there
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "Software"));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "Software\\vesta3d\\VESTA"));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "Software\\vesta3d\\VESTA\\Worlds"));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "Software\\vesta3d\\VESTA\\"));
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software\\vesta3d\\VES"));  // not a prefix match
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software\\vesta3d\\VESTA\\Worlds\\Deeper"));

  ASSERT_TRUE(platform::RegistryDeleteKey(kUser, "Software\\vesta3d\\VESTA\\Worlds"));
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "Software\\vesta3d\\VESTA\\Worlds"));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "Software\\vesta3d\\VESTA"));
}

TEST(RegistryTest, SubkeysAreEnumeratedOnceEachInNameOrder) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::RegistryCreateKey(kUser, "Keys\\gamma\\deep"));
  ASSERT_TRUE(platform::RegistryCreateKey(kUser, "Keys\\beta"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "Keys\\Alpha", "v", "x"));
  ASSERT_TRUE(platform::RegistryCreateKey(kUser, "Keys\\gamma\\other"));
  ASSERT_TRUE(platform::RegistryCreateKey(kUser, "KeysToo"));
  EXPECT_EQ(Subkeys(kUser, "Keys"), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
  EXPECT_EQ(Subkeys(kUser, "Keys\\beta"), std::vector<std::string>{});
  EXPECT_EQ(Subkeys(kUser, ""), (std::vector<std::string>{"Keys", "KeysToo"}));

  std::string name = "untouched";
  EXPECT_FALSE(platform::RegistrySubkeyAt(kUser, "Keys", -1, &name));
  EXPECT_FALSE(platform::RegistrySubkeyAt(kUser, "Keys", 3, &name));
  EXPECT_FALSE(platform::RegistrySubkeyAt(kUser, "Missing", 0, &name));
  EXPECT_EQ(name, "untouched");
}

TEST(RegistryTest, OnlyAnExistingKeyWithoutSubkeysIsDeleted) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::RegistryWriteString(kUser, "App\\Leaf", "Value", "v"));
  EXPECT_FALSE(platform::RegistryDeleteKey(kUser, "App"));  // has a subkey
  EXPECT_FALSE(platform::RegistryDeleteKey(kUser, "App\\Missing"));
  EXPECT_FALSE(platform::RegistryDeleteKey(kUser, ""));
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, "App\\Leaf"));

  // Not a root, not even HKEY_CLASSES_ROOT, which is a key of another root
  // on Linux.
  ASSERT_TRUE(platform::RegistryCreateKey(RegRoot::kLocalMachine, "Software\\Classes"));
  EXPECT_FALSE(platform::RegistryDeleteKey(RegRoot::kClassesRoot, ""));
  EXPECT_FALSE(platform::RegistryDeleteKey(RegRoot::kClassesRoot, nullptr));
  EXPECT_TRUE(platform::RegistryKeyExists(RegRoot::kLocalMachine, "Software\\Classes"));

  ASSERT_TRUE(platform::RegistryDeleteKey(kUser, "app\\LEAF"));
  EXPECT_FALSE(platform::RegistryDeleteKey(kUser, "App\\Leaf"));
  // Its values went with it.
  ASSERT_TRUE(platform::RegistryCreateKey(kUser, "App\\Leaf"));
  EXPECT_EQ(Read(kUser, "App\\Leaf", "Value"), "<missing>");
  ASSERT_TRUE(platform::RegistryDeleteKey(kUser, "App\\Leaf"));
  EXPECT_TRUE(platform::RegistryDeleteKey(kUser, "App"));  // a leaf now
  EXPECT_FALSE(platform::RegistryKeyExists(kUser, "App"));
}

TEST(RegistryTest, ValuesAreDeletedOneByOne) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, "Keep", "k"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, "Drop", "d"));
  ASSERT_TRUE(platform::RegistryWriteString(kUser, kVesta, nullptr, "default"));
  EXPECT_TRUE(platform::RegistryDeleteValue(kUser, kVesta, "DROP"));
  EXPECT_FALSE(platform::RegistryDeleteValue(kUser, kVesta, "Drop"));
  EXPECT_TRUE(platform::RegistryDeleteValue(kUser, kVesta, ""));
  EXPECT_FALSE(platform::RegistryDeleteValue(kUser, kVesta, nullptr));
  EXPECT_FALSE(platform::RegistryDeleteValue(kUser, "Missing", "Keep"));
  EXPECT_EQ(Read(kUser, kVesta, "Keep"), "k");
  EXPECT_EQ(Read(kUser, kVesta, "Drop"), "<missing>");
  EXPECT_TRUE(platform::RegistryKeyExists(kUser, kVesta));
}

TEST(RegistryTest, EachRootKeepsItsOwnKeys) {
  ScratchFolder scratch;
  const RegRoot roots[] = {RegRoot::kClassesRoot, RegRoot::kCurrentConfig, RegRoot::kCurrentUser,
                           RegRoot::kLocalMachine, RegRoot::kUsers};
  for (RegRoot root : roots) {
    ASSERT_TRUE(platform::RegistryWriteString(root, "VestaTest", "Root", platform::RegRootName(root)));
  }
  for (RegRoot root : roots) EXPECT_EQ(Read(root, "VestaTest", "Root"), platform::RegRootName(root));

  ASSERT_TRUE(platform::RegistryWriteString(RegRoot::kClassesRoot, ".vwq\\shell\\open", nullptr, "Open"));
  EXPECT_EQ(Read(RegRoot::kClassesRoot, ".VWQ\\Shell\\Open", ""), "Open");
  EXPECT_EQ(Subkeys(RegRoot::kClassesRoot, ".vwq"), std::vector<std::string>{"shell"});
  EXPECT_STREQ(platform::RegRootName(RegRoot::kLocalMachine), "HKEY_LOCAL_MACHINE");
}

// Two processes that write into one hive at the same time: each of them
// reads the hive, changes it and writes it back, and neither may undo the
// other's changes.
const char kRaceKey[] = "Software\\vesta3d\\Race";
constexpr int kValuesPerWriter = 200;

TEST(RegistryProcessTest, TwoWritersAtOnceLoseNoValue) {
  ScratchFolder scratch;
  const std::string go = scratch.Path("go");
  const std::string logA = platform::HostPath(scratch.Path("a.log").c_str());
  const std::string logB = platform::HostPath(scratch.Path("b.log").c_str());
  vesta::testing::ChildProcess a("RegistryProcessTest.WriterChild", "a", logA);
  vesta::testing::ChildProcess b("RegistryProcessTest.WriterChild", "b", logB);
  // Both start writing at once (and a child that started does not wait in
  // vain when the other could not start).
  ASSERT_TRUE(vesta::testing::WriteTextFile(go, "go\n"));
  ASSERT_TRUE(a.Started());
  ASSERT_TRUE(b.Started());
  EXPECT_TRUE(a.Wait()) << vesta::testing::ReadTextFile(scratch.Path("a.log"));
  EXPECT_TRUE(b.Wait()) << vesta::testing::ReadTextFile(scratch.Path("b.log"));

  int lost = 0;
  for (const char* job : {"a", "b"}) {
    for (int i = 0; i < kValuesPerWriter; ++i) {
      std::string name = std::string(job) + std::to_string(i);
      if (Read(kUser, kRaceKey, name.c_str()) != name + " written") ++lost;
    }
  }
  EXPECT_EQ(lost, 0);
}

// The writer of TwoWritersAtOnceLoseNoValue, in a process of its own.
TEST(RegistryProcessTest, WriterChild) {
  const std::string job = vesta::testing::ChildJob();
  if (job.empty()) GTEST_SKIP() << "runs only as a child of TwoWritersAtOnceLoseNoValue";
  ScratchFolder scratch(ScratchFolder::kParents);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!platform::FileExists(scratch.Path("go").c_str())) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no go from the parent";
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  for (int i = 0; i < kValuesPerWriter; ++i) {
    std::string name = job + std::to_string(i);
    ASSERT_TRUE(platform::RegistryWriteString(kUser, kRaceKey, name.c_str(), (name + " written").c_str()));
  }
}

}  // namespace
