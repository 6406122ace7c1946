// The contract of the file-system seam, run against the backend of each
// platform.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

using vesta::testing::ScratchFolder;
namespace platform = vesta::platform;

void WriteText(const std::string& path, const char* text) {
  ASSERT_TRUE(vesta::testing::WriteTextFile(path, text)) << path;
}

using vesta::testing::ReadTextFile;

TEST(FileSystemTest, FilesAndFoldersAreToldApart) {
  ScratchFolder scratch;
  const std::string file = scratch.Path("world.vwq");
  EXPECT_FALSE(platform::FileExists(file.c_str()));
  WriteText(file, "[WORL]\n");
  EXPECT_TRUE(platform::FileExists(file.c_str()));
  EXPECT_FALSE(platform::FolderExists(file.c_str()));

  EXPECT_TRUE(platform::FolderExists(scratch.Folder().c_str()));
  std::string noSlash = scratch.Folder().substr(0, scratch.Folder().size() - 1);
  EXPECT_TRUE(platform::FolderExists(noSlash.c_str()));
  EXPECT_FALSE(platform::FileExists(scratch.Folder().c_str()));

  EXPECT_FALSE(platform::FileExists(""));
  EXPECT_FALSE(platform::FolderExists(""));
  EXPECT_FALSE(platform::FileExists(nullptr));
  EXPECT_FALSE(platform::FolderExists(nullptr));
}

TEST(FileSystemTest, FoldersAreMadeOneAtATimeAndFilesRemoved) {
  ScratchFolder scratch;
  const std::string media = scratch.Path("Media");
  const std::string deep = scratch.Path("Missing\\Deeper");
  EXPECT_FALSE(platform::MakeFolder(deep.c_str()));
  EXPECT_TRUE(platform::MakeFolder(media.c_str()));
  EXPECT_TRUE(platform::MakeFolder(media.c_str()));  // already there
  EXPECT_TRUE(platform::FolderExists((media + "\\").c_str()));

  const std::string file = media + "\\HIT01.wav";
  WriteText(file, "RIFF");
  EXPECT_FALSE(platform::RemoveFile(media.c_str()));  // a folder is not a file
  EXPECT_TRUE(platform::RemoveFile(file.c_str()));
  EXPECT_FALSE(platform::FileExists(file.c_str()));
  EXPECT_FALSE(platform::RemoveFile(file.c_str()));
}

TEST(FileSystemTest, NamesIgnoreLetterCaseAsOnWindows) {
  ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(scratch.Path("Media").c_str()));
  WriteText(scratch.Path("Media\\FWW01.BMP"), "wall\n");

  std::string other = scratch.Path("mEDIA\\fww01.bmp");
  EXPECT_TRUE(platform::FileExists(other.c_str()));
  EXPECT_TRUE(platform::FolderExists(scratch.Path("MEDIA").c_str()));
  EXPECT_EQ(ReadTextFile(other), "wall\n");

  // A new file in a folder named in other letters lands in that folder.
  WriteText(scratch.Path("media\\New.txt"), "new\n");
  EXPECT_EQ(ReadTextFile(scratch.Path("Media\\NEW.TXT")), "new\n");
}

TEST(FileSystemTest, AStreamCannotBeOpenedInAMissingFolder) {
  ScratchFolder scratch;
  EXPECT_EQ(platform::OpenStream(scratch.Path("Nowhere\\x.vwq").c_str(), "a+"), nullptr);
  EXPECT_EQ(platform::OpenStream(scratch.Path("absent.vwq").c_str(), "r"), nullptr);
  EXPECT_EQ(platform::OpenStream("", "r"), nullptr);
}

TEST(FileSystemTest, TextModeStreamsReadWhatWasWritten) {
  ScratchFolder scratch;
  const std::string file = scratch.Path("lines.txt");
  WriteText(file, "\n[WORL]\n[NAM][5]Attic\n");
  EXPECT_EQ(ReadTextFile(file), "\n[WORL]\n[NAM][5]Attic\n");
}

TEST(FileSystemTest, OnlyEmptyFoldersAreRemoved) {
  ScratchFolder scratch;
  const std::string folder = scratch.Path("Old");
  const std::string file = folder + "\\left.txt";
  EXPECT_FALSE(platform::RemoveEmptyFolder(folder.c_str()));  // missing
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  WriteText(file, "x");
  EXPECT_FALSE(platform::RemoveEmptyFolder(folder.c_str()));  // not empty
  EXPECT_FALSE(platform::RemoveEmptyFolder(file.c_str()));    // a file
  EXPECT_TRUE(platform::FileExists(file.c_str()));

  ASSERT_TRUE(platform::RemoveFile(file.c_str()));
  EXPECT_TRUE(platform::RemoveEmptyFolder((folder + "\\").c_str()));
  EXPECT_FALSE(platform::FolderExists(folder.c_str()));
  EXPECT_FALSE(platform::RemoveEmptyFolder(""));
}

TEST(FileSystemTest, AShortPathNamesTheSameFileOrFolder) {
  ScratchFolder scratch;
  const std::string folder = scratch.Path("Long Folder Name");
  const std::string file = folder + "\\Long File Name.text";
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  WriteText(file, "same\n");

  std::string shortPath;
  ASSERT_TRUE(platform::ShortPath(file.c_str(), &shortPath));
  EXPECT_EQ(ReadTextFile(shortPath), "same\n");
  ASSERT_TRUE(platform::ShortPath(folder.c_str(), &shortPath));
  EXPECT_TRUE(platform::FolderExists(shortPath.c_str()));

  std::string untouched = "untouched";
  EXPECT_FALSE(platform::ShortPath(scratch.Path("absent.txt").c_str(), &untouched));
  EXPECT_FALSE(platform::ShortPath("", &untouched));
  EXPECT_EQ(untouched, "untouched");
}

}  // namespace
