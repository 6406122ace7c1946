// The gather list: entries appended to the data file and read back.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"

namespace {

using vesta::testing::ScratchFolder;

class GatherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EXPECT_EQ(gather_.GAInitialise(), 1);
    path_ = scratch_.Path("gather.dat");
  }

  void Append(const char* target, int room, const char* icon, const char* index) {
    EXPECT_EQ(gather_.GAInitNewEntry(), 1);
    EXPECT_EQ(gather_.GASetTargetFilePath(target), 1);
    EXPECT_EQ(gather_.GASetTargetSectorID(room), 1);
    EXPECT_EQ(gather_.GASetIconFilePath(icon), 1);
    EXPECT_EQ(gather_.GASetIconIndex(index), 1);
    ASSERT_EQ(gather_.GAAppendNewEntry(), 1);
  }

  std::string Get(int (CVGather::*getter)(char*)) {
    char buffer[261] = "unset";
    EXPECT_EQ((gather_.*getter)(buffer), 1);
    return buffer;
  }

  ScratchFolder scratch_;
  std::string path_;
  CVGather gather_;
};

TEST_F(GatherTest, NothingIsAppendedWithoutADataFile) {
  gather_.GASetTargetFilePath("C:\\Docs\\Report.txt");
  EXPECT_EQ(gather_.GAAppendNewEntry(), 0);
  EXPECT_EQ(gather_.GASelectFirst(), 0);
  EXPECT_EQ(gather_.GASelectNext(), 0);
  EXPECT_FALSE(vesta::platform::FileExists(path_.c_str()));

  // A named data file that is not there yet cannot be read.
  EXPECT_EQ(gather_.GASetDataFileName(path_.c_str()), 1);
  EXPECT_EQ(gather_.GASelectFirst(), 0);
  EXPECT_EQ(gather_.GASelectNext(), 0);
  EXPECT_EQ(gather_.GATerminate(), 1);
  EXPECT_FALSE(vesta::platform::FileExists(path_.c_str()));
}

TEST_F(GatherTest, AnEntryReadsBackWithItsTitleAndFolder) {
  gather_.GASetDataFileName(path_.c_str());
  Append("C:\\Docs\\Report.txt", 3, "C:\\Icons\\doc.ico", "2");
  EXPECT_EQ(vesta::testing::ReadTextFile(path_),
            "[TAR][18]C:\\Docs\\Report.txt\n[IDX][1]3\n[IFI][16]C:\\Icons\\doc.ico\n[IFX][1]2\n");

  gather_.GAInitNewEntry();
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  int room = 0;
  EXPECT_EQ(gather_.GAGetTargetSectorID(&room), 1);
  EXPECT_EQ(room, 3);
  EXPECT_EQ(gather_.GAGetTargetSectorID(nullptr), 0);
  EXPECT_EQ(Get(&CVGather::GAGetFileAndPath), "C:\\Docs\\Report.txt");
  EXPECT_EQ(Get(&CVGather::GAGetTitle), "Report");
  EXPECT_EQ(Get(&CVGather::GAGetDirectory), "C:\\Docs\\");
  EXPECT_EQ(Get(&CVGather::GAGetIconFilePath), "C:\\Icons\\doc.ico");
  EXPECT_EQ(Get(&CVGather::GAGetIconIndex), "2");
}

TEST_F(GatherTest, EntriesComeBackInOrderAndTheListStartsAgain) {
  gather_.GASetDataFileName(path_.c_str());
  Append("C:\\a\\one.txt", 1, "", "");
  Append("C:\\b\\two.bmp", 2, "C:\\i.ico", "5");
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetTitle), "one");
  EXPECT_EQ(Get(&CVGather::GAGetIconIndex), "");  // empty values are copied too
  ASSERT_EQ(gather_.GASelectNext(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetTitle), "two");
  EXPECT_EQ(gather_.GASelectNext(), 0);
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetTitle), "one");
}

TEST_F(GatherTest, NamesWithoutExtensionOrFolder) {
  gather_.GASetDataFileName(path_.c_str());
  Append("C:\\Docs\\README", 0, "", "");
  Append("notes.txt", 0, "", "");
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetTitle), "README");
  EXPECT_EQ(Get(&CVGather::GAGetDirectory), "C:\\Docs\\");
  ASSERT_EQ(gather_.GASelectNext(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetTitle), "notes");
  EXPECT_EQ(Get(&CVGather::GAGetDirectory), "");
}

TEST_F(GatherTest, AShortEntryAtTheEndIsNotReturned) {
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      path_, "[TAR][5]C:\\x1\n[IDX][1]1\n[IFI][0]\n[IFX][0]\n[TAR][5]C:\\x2\n[IDX][1]2\n"));
  gather_.GASetDataFileName(path_.c_str());
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  EXPECT_EQ(gather_.GASelectNext(), 0);
}

TEST_F(GatherTest, AnEntryCutShortCostsOnlyItself) {
  // What a writer killed mid-entry leaves, followed by whole entries.
  const std::string whole = "[TAR][5]C:\\x1\n[IDX][1]1\n[IFI][0]\n[IFX][1]3\n";
  const std::string next = "[TAR][5]C:\\x3\n[IDX][1]3\n[IFI][0]\n[IFX][1]9\n";
  for (const char* cut : {"[TAR][5]C:\\x2\n[IDX][1]2\n", "[TAR][5]C:\\x2\n[IDX][1]2\n[IFI][0]\n[IFX][1]\n",
                          "[TAR][5]C:\\x2\n[IDX][1]2\n[IFI][0]\n[IF\n", "[TA\n",
                          "[TAR][5]C:\\x2\n[IDX][1]2\n[IFI][0]\n[IFX][\n"}) {
    ASSERT_TRUE(vesta::testing::WriteTextFile(path_, whole + cut + next));
    gather_.GASetDataFileName(path_.c_str());
    ASSERT_EQ(gather_.GASelectFirst(), 1) << cut;
    EXPECT_EQ(Get(&CVGather::GAGetTitle), "x1") << cut;
    ASSERT_EQ(gather_.GASelectNext(), 1) << cut;
    EXPECT_EQ(Get(&CVGather::GAGetTitle), "x3") << cut;
    EXPECT_EQ(Get(&CVGather::GAGetIconIndex), "9") << cut;
    int room = 0;
    gather_.GAGetTargetSectorID(&room);
    EXPECT_EQ(room, 3) << cut;
    EXPECT_EQ(gather_.GASelectNext(), 0) << cut;
  }
  unsigned int code = 0;
  FFGetError(&code);
  EXPECT_EQ(code, kFFErrorRecordCut);

  // An append after a line cut short starts on a line of its own.
  ASSERT_TRUE(vesta::testing::WriteTextFile(path_, whole + "[TAR][5]C:\\x2\n[IDX][1"));
  gather_.GASetDataFileName(path_.c_str());
  Append("C:\\x3", 3, "", "9");
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  ASSERT_EQ(gather_.GASelectNext(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetTitle), "x3");
  EXPECT_EQ(Get(&CVGather::GAGetIconIndex), "9");
}

TEST_F(GatherTest, ALineWithoutItsTagLeavesThatPartCleared) {
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      path_, "[TAR][9]C:\\d\\x.y\n[XXX][1]4\n[IFI][3]ico\n[IFX][20]12345678901234567890\n"));
  gather_.GASetDataFileName(path_.c_str());
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  int room = 0;
  gather_.GAGetTargetSectorID(&room);
  EXPECT_EQ(room, -1);
  EXPECT_EQ(Get(&CVGather::GAGetIconFilePath), "ico");
  EXPECT_EQ(Get(&CVGather::GAGetIconIndex), "1234567890123456");  // cut to 16

  // An empty last line is no field cut short: the entry comes back without
  // its icon index.
  ASSERT_TRUE(vesta::testing::WriteTextFile(path_, "[TAR][9]C:\\d\\x.y\n[IDX][1]4\n[IFI][3]ico\n\n"));
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetIconIndex), "");
}

TEST_F(GatherTest, LongPathsSurviveTheRoundTrip) {
  gather_.GASetDataFileName(path_.c_str());
  std::string target = "C:\\" + std::string(251, 'f') + "\\n.txt";  // 260 characters
  ASSERT_EQ(target.size(), 260u);
  Append(target.c_str(), 7, "", "");
  ASSERT_EQ(gather_.GASelectFirst(), 1);
  EXPECT_EQ(Get(&CVGather::GAGetFileAndPath), target);
}

}  // namespace
