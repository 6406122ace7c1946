// Appending to the gather list when the output fails: an entry goes in
// whole or the list stays as it was, and the result says which.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"

namespace {

using vesta::testing::FaultCase;
using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

const char kEntry[] = "[TAR][18]C:\\Docs\\Report.txt\n[IDX][1]3\n[IFI][16]C:\\Icons\\doc.ico\n[IFX][1]2\n";

class GatherAppendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = scratch_.Path("gather.dat");
    gather_.GAInitialise();
    gather_.GASetDataFileName(path_.c_str());
    SetEntry();
  }

  void SetEntry() {
    gather_.GASetTargetFilePath("C:\\Docs\\Report.txt");
    gather_.GASetTargetSectorID(3);
    gather_.GASetIconFilePath("C:\\Icons\\doc.ico");
    gather_.GASetIconIndex("2");
  }

  vesta::testing::ScratchFolder scratch_;
  std::string path_;
  CVGather gather_;
};

TEST_F(GatherAppendTest, AnEntryGoesInWholeOrNotAtAll) {
  // After a whole entry, and after one whose last line a crash cut.
  const std::string whole = "[TAR][10]C:\\a\\b.txt\n[IDX][1]1\n[IFI][0]\n[IFX][0]\n";
  for (const std::string& before : {whole, whole + "[TAR][10]C:\\a\\"}) {
    const std::string after = before + (before.back() == '\n' ? "" : "\n") + kEntry;
    int fired = vesta::testing::ForEveryFault(
        [&] { ASSERT_TRUE(WriteTextFile(path_, before)); },
        [&] { return gather_.GAAppendNewEntry() == 1; },
        [&](const FaultCase& run, bool appended) {
          const std::string where = std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
          EXPECT_EQ(appended, !run.fired) << where;
          EXPECT_EQ(ReadTextFile(path_), appended ? after : before) << where;
        });
    EXPECT_EQ(fired, 3);

    // The entry before the cut one and the new one read back; the cut one
    // costs only itself.
    ASSERT_TRUE(WriteTextFile(path_, before));
    ASSERT_EQ(gather_.GAAppendNewEntry(), 1);
    char target[261] = "";
    ASSERT_EQ(gather_.GASelectFirst(), 1);
    gather_.GAGetFileAndPath(target);
    EXPECT_STREQ(target, "C:\\a\\b.txt");
    ASSERT_EQ(gather_.GASelectNext(), 1);
    gather_.GAGetFileAndPath(target);
    EXPECT_STREQ(target, "C:\\Docs\\Report.txt");
    int room = 0;
    gather_.GAGetTargetSectorID(&room);
    EXPECT_EQ(room, 3);
    EXPECT_EQ(gather_.GASelectNext(), 0);
    SetEntry();  // the reads filled it
  }
  EXPECT_TRUE(vesta::platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty());

  // A list in a folder that is not there is not made.
  gather_.GASetDataFileName(scratch_.Path("no\\such\\gather.dat").c_str());
  EXPECT_EQ(gather_.GAAppendNewEntry(), 0);
  EXPECT_FALSE(vesta::platform::FolderExists(scratch_.Path("no").c_str()));
}

}  // namespace
