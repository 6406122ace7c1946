// Travelling paths: the machine's folders as tokens, and the folder token.
#include "common/path_tokens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

class PathTokensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VUSetNormalisationFolders("C:\\Windows", "C:\\Windows\\System32", "C:\\Program Files\\",
                              "C:\\Program Files\\vesta3d\\vesta\\");
  }
  void TearDown() override { VUSetNormalisationFolders("", "", "", ""); }

  static std::string Normalised(const char* path) {
    char text[kVUPathBuffer];
    std::strcpy(text, path);
    EXPECT_EQ(VUNormalisePath(text), 1);
    return text;
  }
  static std::string Relative(const char* path) {
    char text[kVUPathBuffer];
    std::strcpy(text, path);
    EXPECT_EQ(VURelativisePath(text), 1);
    return text;
  }
  static std::string Expanded(const char* path, const char* folder) {
    char text[kVUPathBuffer];
    std::strcpy(text, path);
    EXPECT_EQ(VUExpandPath(text, kVUFolderToken, folder), 1);
    return text;
  }
};

TEST_F(PathTokensTest, TheLongestRegisteredFolderBecomesItsToken) {
  EXPECT_EQ(Normalised("C:\\WINDOWS\\System32\\shell32.dll"), "?SYSDIR?shell32.dll");
  EXPECT_EQ(Normalised("C:\\Windows\\notepad.exe"), "?WINDIR?notepad.exe");
  EXPECT_EQ(Normalised("C:\\Program Files\\vesta3d\\vesta\\media\\doc.x"), "?VESTADIR?media\\doc.x");
  EXPECT_EQ(Normalised("C:\\Program Files\\Other\\o.exe"), "?PROGDIR?Other\\o.exe");
  EXPECT_EQ(Normalised("C:\\Windows"), "?WINDIR?");
  EXPECT_EQ(Normalised("C:\\WindowsApps\\x.exe"), "C:\\WindowsApps\\x.exe");  // not that folder
  EXPECT_EQ(Normalised("D:\\Docs\\a.txt"), "D:\\Docs\\a.txt");
  EXPECT_EQ(Normalised("?SYSDIR?shell32.dll"), "?SYSDIR?shell32.dll");  // already done
  EXPECT_EQ(Normalised(""), "");
  // Of two tokens for one folder, the one registered first.
  VUSetNormalisationFolders("C:\\Windows", "C:\\Windows\\System32", "C:\\Apps\\", "C:\\Apps");
  EXPECT_EQ(Normalised("C:\\Apps\\a.exe"), "?PROGDIR?a.exe");
  VUSetNormalisationFolders("C:\\Windows", "C:\\Windows\\System32", "C:\\Program Files\\",
                            "C:\\Program Files\\vesta3d\\vesta\\");
  // No path, or no room at all, is a failure that leaves the text.
  EXPECT_EQ(VUNormalisePath(nullptr), 0);
  char path[] = "D:\\a.exe";
  EXPECT_EQ(VUNormalisePath(path, 0), 0);
  EXPECT_STREQ(path, "D:\\a.exe");
}

TEST_F(PathTokensTest, PathsInTheBaseFolderBecomeRelative) {
  VURelativeBase base("D:\\Out");
  EXPECT_EQ(Relative("D:\\Out\\tex\\wall.bmp"), "?VESTAVWQDIR?tex\\wall.bmp");
  EXPECT_EQ(Relative("d:\\out\\wall.bmp"), "?VESTAVWQDIR?wall.bmp");
  EXPECT_EQ(Relative("D:\\Outside\\wall.bmp"), "D:\\Outside\\wall.bmp");
  EXPECT_EQ(Relative("C:\\Windows\\media\\ding.wav"), "?WINDIR?media\\ding.wav");
  EXPECT_EQ(Relative("?VESTAVWQDIR?wall.bmp"), "?VESTAVWQDIR?wall.bmp");
  {
    VURelativeBase nested("E:\\Nested\\");
    EXPECT_EQ(Relative("E:\\Nested\\a.bmp"), "?VESTAVWQDIR?a.bmp");
  }
  EXPECT_EQ(Relative("D:\\Out\\b.bmp"), "?VESTAVWQDIR?b.bmp");  // the outer base is back
  {
    // The same base, spelled with or without its back-slash, is the base;
    // a folder that only begins with it or ends in a slash is not.
    EXPECT_TRUE(VUIsRelativeBase("D:\\Out"));
    EXPECT_TRUE(VUIsRelativeBase("D:\\Out\\"));
    EXPECT_FALSE(VUIsRelativeBase("D:\\Ou"));
    EXPECT_FALSE(VUIsRelativeBase("D:\\Out/"));
    EXPECT_FALSE(VUIsRelativeBase(""));
    VURelativeBase same("D:\\Out\\");
    VURelativeBase slashed("D:\\Out/");
    EXPECT_EQ(Relative("D:\\Out/c.bmp"), "?VESTAVWQDIR?c.bmp");
  }
  EXPECT_EQ(Relative("D:\\Out\\d.bmp"), "?VESTAVWQDIR?d.bmp");
  EXPECT_EQ(VURelativisePath(nullptr), 0);
  char path[] = "E:\\c.bmp";
  EXPECT_EQ(VURelativisePath(path, 0), 0);
  EXPECT_STREQ(path, "E:\\c.bmp");
  // The relative form fits when the buffer holds it and its terminator.
  char exact[32] = "D:\\Out\\wall.bmp";
  EXPECT_EQ(VURelativisePath(exact, 21), 0);  // "?VESTAVWQDIR?wall.bmp" is 21
  EXPECT_STREQ(exact, "D:\\Out\\wall.bmp");
  EXPECT_EQ(VURelativisePath(exact, 22), 1);
  EXPECT_STREQ(exact, "?VESTAVWQDIR?wall.bmp");
}

TEST_F(PathTokensTest, WithoutABaseFolderOnlyTheMachinesFoldersBecomeTokens) {
  EXPECT_EQ(Relative("D:\\Out\\wall.bmp"), "D:\\Out\\wall.bmp");
  EXPECT_EQ(Relative("C:\\Windows\\media\\ding.wav"), "?WINDIR?media\\ding.wav");
}

TEST_F(PathTokensTest, TokensExpandToTheFoldersOfTheMachineThatLoads) {
  EXPECT_EQ(Expanded("?VESTAVWQDIR?tex\\wall.bmp", "F:\\Moved"), "F:\\Moved\\tex\\wall.bmp");
  EXPECT_EQ(Expanded("?VESTAVWQDIR?wall.bmp", "F:\\Moved\\"), "F:\\Moved\\wall.bmp");
  EXPECT_EQ(Expanded("?WINDIR?notepad.exe", "F:\\Moved"), "C:\\Windows\\notepad.exe");
  EXPECT_EQ(Expanded("D:\\plain.bmp", "F:\\Moved"), "D:\\plain.bmp");

  char small[16] = "?VESTAVWQDIR?ab";
  EXPECT_EQ(VUExpandPath(small, kVUFolderToken, "F:\\A\\Long\\Folder", sizeof small), 0);
  EXPECT_STREQ(small, "?VESTAVWQDIR?ab");
  char plain[] = "D:\\plain.bmp";
  EXPECT_EQ(VUExpandPath(plain, kVUFolderToken, "F:\\Moved", 0), 0);
  EXPECT_STREQ(plain, "D:\\plain.bmp");
  EXPECT_EQ(VUExpandPath(nullptr, kVUFolderToken, "F:\\Moved"), 0);
  EXPECT_EQ(VUExpandTexturePath(nullptr, kVUFolderToken, "F:\\Moved"), 0);
  EXPECT_EQ(VUExpandLinkedPath(nullptr, kVUFolderToken, "F:\\Moved"), 0);
}

TEST_F(PathTokensTest, AMissingTextureIsTakenFromTheMediaFolder) {
  vesta::testing::ScratchFolder scratch;
  const std::string home = scratch.Path("VESTA\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(home.c_str()));
  ASSERT_TRUE(vesta::platform::MakeFolder((home + "media").c_str()));
  ASSERT_TRUE(vesta::testing::WriteTextFile(home + "media\\stone.bmp", "BM"));
  VUSetNormalisationFolders("C:\\Windows", "C:\\Windows\\System32", "C:\\Program Files", home.c_str());
  char path[kVUPathBuffer] = "?VESTAVWQDIR?stone.bmp";
  ASSERT_EQ(VUExpandTexturePath(path, kVUFolderToken, "F:\\Gone"), 1);
  EXPECT_EQ(std::string(path), home + "media\\stone.bmp");
  std::strcpy(path, "?VESTAVWQDIR?none.bmp");
  ASSERT_EQ(VUExpandTexturePath(path, kVUFolderToken, "F:\\Gone"), 1);
  EXPECT_STREQ(path, "F:\\Gone\\none.bmp");
  // A missing folder has no name to look for: it stays as it is.
  std::strcpy(path, "?VESTAVWQDIR?sub\\");
  ASSERT_EQ(VUExpandTexturePath(path, kVUFolderToken, "F:\\Gone"), 1);
  EXPECT_STREQ(path, "F:\\Gone\\sub\\");
}

}  // namespace
