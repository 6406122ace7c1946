// Copies into a folder never overwrite a different file.
#include "actions/file_copy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

class FileCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(vesta::platform::MakeFolder(scratch_.Path("a").c_str()));
    ASSERT_TRUE(vesta::platform::MakeFolder(scratch_.Path("b").c_str()));
    ASSERT_TRUE(vesta::platform::MakeFolder(scratch_.Path("out").c_str()));
    out_ = scratch_.Path("out\\");
  }
  std::string Copy(const std::string& file) {
    char made[kVUPathBuffer] = "untouched";
    return VUCopyFileToFolder(file.c_str(), out_.c_str(), made) ? std::string(made) : "<failed>";
  }
  vesta::testing::ScratchFolder scratch_;
  std::string out_;
};

TEST_F(FileCopyTest, NamesAreReusedForTheSameFileAndNumberedForOthers) {
  const std::string first = scratch_.Path("a\\wall.bmp");
  const std::string second = scratch_.Path("b\\wall.bmp");
  const std::string twin = scratch_.Path("b\\Wall.bmp.twin");
  ASSERT_TRUE(WriteTextFile(first, "first"));
  ASSERT_TRUE(WriteTextFile(second, "second"));
  EXPECT_EQ(Copy(first), out_ + "wall.bmp");
  EXPECT_EQ(Copy(first), out_ + "wall.bmp");  // the same source again
  std::string shouted = first;
  for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(Copy(shouted), out_ + "wall.bmp");  // and spelled otherwise
  // A copy of this batch is used again without a look; once the batch is
  // synced, it is looked for, and made again when it is gone.
  EXPECT_TRUE(VUIsFreshCopy((out_ + "WALL.BMP").c_str()));
  ASSERT_TRUE(vesta::platform::RemoveFile((out_ + "wall.bmp").c_str()));
  EXPECT_EQ(Copy(first), out_ + "wall.bmp");
  EXPECT_FALSE(vesta::platform::FileExists((out_ + "wall.bmp").c_str()));
  ASSERT_EQ(VUSyncCopies(), 1);
  EXPECT_FALSE(VUIsFreshCopy((out_ + "wall.bmp").c_str()));
  EXPECT_EQ(Copy(first), out_ + "wall.bmp");
  EXPECT_EQ(ReadTextFile(out_ + "wall.bmp"), "first");
  // A new copy step looks again at what an earlier one made.
  VUBeginCopies();
  ASSERT_TRUE(vesta::platform::RemoveFile((out_ + "wall.bmp").c_str()));
  EXPECT_EQ(Copy(first), out_ + "wall.bmp");
  EXPECT_EQ(ReadTextFile(out_ + "wall.bmp"), "first");
  EXPECT_EQ(Copy(second), out_ + "wall_2.bmp");
  EXPECT_EQ(ReadTextFile(out_ + "wall.bmp"), "first");
  EXPECT_EQ(ReadTextFile(out_ + "wall_2.bmp"), "second");
  EXPECT_EQ(VUCopyOrigin((out_ + "wall_2.bmp").c_str()), second);

  // A file of identical content under the name is taken as the copy.
  const std::string same = scratch_.Path("b\\hit.wav");
  ASSERT_TRUE(WriteTextFile(same, "ding"));
  ASSERT_TRUE(WriteTextFile(out_ + "hit.wav", "ding"));
  EXPECT_EQ(Copy(same), out_ + "hit.wav");
  // A file that lies in the folder is its own copy.
  EXPECT_EQ(Copy(out_ + "hit.wav"), out_ + "hit.wav");
  // A name taken in another letter case is taken.
  const std::string other = scratch_.Path("b\\bell.wav");
  ASSERT_TRUE(WriteTextFile(other, "bell"));
  ASSERT_TRUE(WriteTextFile(out_ + "BELL.WAV", "gong"));
  EXPECT_EQ(Copy(other), out_ + "bell_2.wav");
  EXPECT_EQ(ReadTextFile(out_ + "BELL.WAV"), "gong");
  EXPECT_EQ(ReadTextFile(out_ + "bell_2.wav"), "bell");

  // The name given back must fit the caller's buffer with its end.
  const std::string copy = out_ + "bell_2.wav";
  char exact[kVUPathBuffer];
  std::fill(exact, exact + sizeof exact, '#');
  const int fits = static_cast<int>(copy.size()) + 1;
  EXPECT_EQ(VUCopyFileToFolder(other.c_str(), out_.c_str(), exact, fits - 1), 0);
  EXPECT_EQ(exact[0], '#');
  ASSERT_EQ(VUCopyFileToFolder(other.c_str(), out_.c_str(), exact, fits), 1);
  EXPECT_EQ(std::string(exact), copy);
  EXPECT_EQ(exact[fits], '#');
  // Nor is a new copy made whose name would not fit.
  const std::string fresh = scratch_.Path("b\\gong.wav");
  ASSERT_TRUE(WriteTextFile(fresh, "gong"));
  std::fill(exact, exact + sizeof exact, '#');
  EXPECT_EQ(VUCopyFileToFolder(fresh.c_str(), out_.c_str(), exact, static_cast<int>((out_ + "gong.wav").size())), 0);
  EXPECT_EQ(exact[0], '#');
  EXPECT_FALSE(vesta::platform::PathExists((out_ + "gong.wav").c_str()));
}

TEST_F(FileCopyTest, AMissingSourceOrAFolderThatIsNotThereFails) {
  EXPECT_EQ(Copy(scratch_.Path("a\\none.bmp")), "<failed>");
  const std::string file = scratch_.Path("a\\x.bmp");
  ASSERT_TRUE(WriteTextFile(file, "x"));
  char made[kVUPathBuffer] = "untouched";
  EXPECT_EQ(VUCopyFileToFolder(file.c_str(), scratch_.Path("missing\\").c_str(), made), 0);
  EXPECT_STREQ(made, "untouched");
  EXPECT_EQ(VUCopyFileToFolder(scratch_.Path("a\\").c_str(), out_.c_str(), made), 0);
  // A folder under the name is no copy and is left as it is.
  ASSERT_TRUE(vesta::platform::MakeFolder((out_ + "x.bmp").c_str()));
  EXPECT_EQ(Copy(file), "<failed>");
  EXPECT_TRUE(vesta::platform::FolderExists((out_ + "x.bmp").c_str()));
}

// Files of more than one block are compared to their ends.
TEST_F(FileCopyTest, SameContentLooksAtEveryByte) {
  const std::string a = scratch_.Path("a\\long.bin");
  const std::string b = scratch_.Path("b\\long.bin");
  const std::string text(20000, 'z');
  ASSERT_TRUE(WriteTextFile(a, text));
  ASSERT_TRUE(WriteTextFile(b, text));
  EXPECT_TRUE(VUSameContent(a.c_str(), b.c_str()));
  ASSERT_TRUE(WriteTextFile(b, text.substr(0, 19999) + "y"));
  EXPECT_FALSE(VUSameContent(a.c_str(), b.c_str()));
  ASSERT_TRUE(WriteTextFile(b, text + "z"));
  EXPECT_FALSE(VUSameContent(a.c_str(), b.c_str()));
  EXPECT_FALSE(VUSameContent(a.c_str(), scratch_.Path("b\\none.bin").c_str()));
}

}  // namespace
