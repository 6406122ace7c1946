// The running viewer, played by the test: it holds the named block and sets
// its running word.
#include "vermanager/viewer_check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "actions/registry.h"
#include "platform/system_info.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using platform::SharedBlock;

constexpr char kViewerKey[] = "Software\\vesta3d\\Vesta\\CurrentVersion";

class ViewerCheckTest : public ::testing::Test {
 protected:
  // A block name of this test alone, so that no two tests or test programs
  // meet.
  void SetUp() override {
    static int counter = 0;
    name_ = "VestaTest-" + std::to_string(platform::ProcessId()) + "-" + std::to_string(++counter);
    SetName(name_);
  }
  void SetName(const std::string& name) {
    ASSERT_EQ(VURegSetString(VURegRoot::kCurrentUser, kViewerKey, "SharedMemory", name.c_str()), 1);
  }
  void SetWord(int offset, int32_t value) { std::memcpy(viewer_.Data() + offset, &value, sizeof value); }

  vesta::testing::ScratchFolder scratch_;
  std::string name_;
  SharedBlock viewer_;
};

TEST_F(ViewerCheckTest, TheNameComesFromTheRegistryCutToItsBuffer) {
  char name[kSharedMemoryNameBuffer];
  ASSERT_EQ(GetSharedMemoryName(name), 1);
  EXPECT_EQ(std::string(name), name_);
  SetName(std::string(300, 'n'));
  ASSERT_EQ(GetSharedMemoryName(name), 1);
  EXPECT_EQ(std::string(name), std::string(kSharedMemoryNameBuffer - 1, 'n'));
  ASSERT_TRUE(platform::RegistryDeleteValue(VURegRoot::kCurrentUser, kViewerKey, "SharedMemory"));
  ASSERT_EQ(GetSharedMemoryName(name), 1);
  EXPECT_STREQ(name, "VShar.dll");
}

TEST_F(ViewerCheckTest, OnlyANonZeroRunningWordMeansTheViewerRuns) {
  EXPECT_EQ(IsViewerRunning(), 0);  // no block
  // The check made the block for itself only and let it go.
  ASSERT_EQ(viewer_.Open(name_.c_str(), kViewerBlockSize), SharedBlock::Opened::kCreated);
  EXPECT_EQ(IsViewerRunning(), 0);
  SetWord(kRunningWordOffset - 4, -1);
  SetWord(kRunningWordOffset + 4, -1);
  EXPECT_EQ(IsViewerRunning(), 0);
  SetWord(kRunningWordOffset, 0x01000000);
  EXPECT_EQ(IsViewerRunning(), 1);
  SetName(name_ + "b");
  EXPECT_EQ(IsViewerRunning(), 0);
}

TEST_F(ViewerCheckTest, OpeningTellsWhetherTheBlockExisted) {
  ViewerBlock first;
  ViewerBlock second;
  EXPECT_EQ(first.OpenSharedBlock(""), ViewerBlock::kEmptyName);
  // A slash is no path separator here.
  for (const std::string& name : {name_, name_ + "/inner/"}) {
    EXPECT_EQ(first.OpenSharedBlock(name.c_str()), ViewerBlock::kCreated) << name;
    EXPECT_EQ(second.OpenSharedBlock(name.c_str()), ViewerBlock::kExisted) << name;
    second.CloseSharedBlock();
    first.CloseSharedBlock();
    EXPECT_EQ(first.OpenSharedBlock(name.c_str()), ViewerBlock::kCreated) << "left behind: " << name;
    first.CloseSharedBlock();
  }
}

}  // namespace
