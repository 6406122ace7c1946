#include "common/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/scratch.h"

namespace {

TEST(PathsTest, ExtensionsCompareWithoutCase) {
  EXPECT_EQ(VUHasExtension("C:\\Worlds\\Home.VWQ", ".vwq"), 1);
  EXPECT_EQ(VUHasExtension("C:\\Worlds\\Home.vwq", "vwq"), 1);
  EXPECT_EQ(VUHasExtension("C:\\Worlds\\Homevwq", "vwq"), 0);
  EXPECT_EQ(VUHasExtension("C:\\Worlds\\Home.nss", ".vss"), 0);
  EXPECT_EQ(VUHasExtension("q", ".vwq"), 0);
  EXPECT_EQ(VUHasExtension("C:\\a.vwq", ""), 0);
}

TEST(PathsTest, TheExtensionIsThatOfTheLastComponent) {
  int position = -1;
  EXPECT_EQ(VUFindExtension("C:\\Worlds\\Home.vwq", &position), 1);
  EXPECT_EQ(position, 14);
  EXPECT_EQ(VUFindExtension("C:\\My.Worlds\\Home", &position), 0);
  EXPECT_EQ(VUFindExtension("archive.tar.gz", &position), 1);
  EXPECT_EQ(position, 11);
}

TEST(PathsTest, NameAndFolderParts) {
  char out[kVUPathBuffer];
  EXPECT_EQ(VUGetNamePart(out, "C:\\Docs\\Report.txt"), 1);
  EXPECT_STREQ(out, "Report.txt");
  EXPECT_EQ(VUGetFolderPart(out, "C:\\Docs\\Report.txt"), 1);
  EXPECT_STREQ(out, "C:\\Docs\\");
  EXPECT_EQ(VUGetNamePart(out, "C:Report.txt"), 1);
  EXPECT_STREQ(out, "Report.txt");
  EXPECT_EQ(VUGetFolderPart(out, "Report.txt"), 1);
  EXPECT_STREQ(out, "");

  std::strcpy(out, "keep");
  EXPECT_EQ(VUGetNamePart(out, "C:\\Docs\\"), 0);
  EXPECT_EQ(VUGetNamePart(out, ""), 0);
  char small[4];
  EXPECT_EQ(VUGetNamePart(small, "C:\\Report.txt", sizeof small), 0);
  EXPECT_EQ(VUGetFolderPart(small, "C:\\Docs\\Report.txt", sizeof small), 0);
  EXPECT_STREQ(out, "keep");
  // A part fits when the buffer holds it and its terminator, not one less.
  EXPECT_EQ(VUGetNamePart(out, "C:\\Docs\\Report.txt", 10), 0);
  EXPECT_EQ(VUGetNamePart(out, "C:\\Docs\\Report.txt", 11), 1);
  EXPECT_EQ(VUGetFolderPart(out, "C:\\Docs\\Report.txt", 8), 0);
  EXPECT_EQ(VUGetFolderPart(out, "C:\\Docs\\Report.txt", 9), 1);
  EXPECT_STREQ(out, "C:\\Docs\\");
  for (int size : {0, -1}) {
    EXPECT_EQ(VUGetNamePart(out, "C:\\Docs\\Report.txt", size), 0) << size;
    EXPECT_EQ(VUGetFolderPart(out, "C:\\Docs\\Report.txt", size), 0) << size;
  }
  EXPECT_EQ(VUGetNamePart(out, nullptr), 0);
  EXPECT_EQ(VUGetFolderPart(out, nullptr), 0);
  EXPECT_EQ(VUGetNamePart(nullptr, "C:\\Docs\\Report.txt"), 0);
  EXPECT_EQ(VUGetFolderPart(nullptr, "C:\\Docs\\Report.txt"), 0);
}

TEST(PathsTest, ExistenceGoesThroughThePlatform) {
  vesta::testing::ScratchFolder scratch;
  std::string file = scratch.Path("x.txt");
  FILE* stream = vesta::platform::OpenStream(file.c_str(), "w");
  ASSERT_NE(stream, nullptr);
  std::fclose(stream);
  EXPECT_EQ(VUFileExists(file.c_str()), 1);
  EXPECT_EQ(VUFolderExists(file.c_str()), 0);
  EXPECT_EQ(VUFolderExists(scratch.Folder().c_str()), 1);
  EXPECT_EQ(VUFileExists(scratch.Path("y.txt").c_str()), 0);
}

}  // namespace
