// Copying a file when the output fails: the destination is the old file
// (or none) or the whole copy, and the result says which. On Windows the
// system copies the file itself, past the seam's output, and nothing fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
using vesta::testing::FaultCase;

using vesta::testing::Describe;

TEST(CopyOneFileTest, ACopyThatFailsLeavesTheOldDestinationOrNone) {
  vesta::testing::ScratchFolder scratch;
  const std::string from = scratch.Path("from.bin");
  const std::string to = scratch.Path("to.bin");
  // Larger than one piece of the copy, and bytes that text mode would change.
  std::string source;
  for (int i = 0; i < 70000; ++i) source += static_cast<char>(i % 7 == 0 ? '\n' : i % 11 == 0 ? '\r' : i % 251);
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(from, source));
  const std::string before = "the old destination\r\n";

  int fired = vesta::testing::ForEveryFault(
      [&] { ASSERT_TRUE(vesta::testing::WriteBinaryFile(to, before)); },
      [&] { return platform::CopyOneFile(from.c_str(), to.c_str(), false); },
      [&](const FaultCase& run, bool copied) {
        EXPECT_EQ(copied, !run.fired) << Describe(run);
        EXPECT_TRUE(vesta::testing::ReadBinaryFile(to) == (copied ? source : before)) << Describe(run);
      });
  // Three pieces written, then one flush, sync, close and rename.
  EXPECT_TRUE(fired == 0 || fired == 7) << fired;

  // Where nothing may be overwritten: nothing, or the whole copy.
  fired = vesta::testing::ForEveryFault(
      [&] { platform::RemoveFile(to.c_str()); },
      [&] { return platform::CopyOneFile(from.c_str(), to.c_str(), true); },
      [&](const FaultCase& run, bool copied) {
        EXPECT_EQ(copied, !run.fired) << Describe(run);
        EXPECT_TRUE(vesta::testing::ReadBinaryFile(to) == (copied ? source : "<missing>")) << Describe(run);
      });
  EXPECT_TRUE(fired == 0 || fired == 7) << fired;
  ASSERT_TRUE(vesta::testing::WriteBinaryFile(to, before));
  EXPECT_FALSE(platform::CopyOneFile(from.c_str(), to.c_str(), true));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(to), before);
  // Nor a name taken in another letter case, nor a folder.
  EXPECT_FALSE(platform::CopyOneFile(from.c_str(), scratch.Path("TO.BIN").c_str(), true));
  EXPECT_EQ(vesta::testing::ReadBinaryFile(to), before);
  ASSERT_TRUE(platform::MakeFolder(scratch.Path("folder").c_str()));
  EXPECT_FALSE(platform::CopyOneFile(from.c_str(), scratch.Path("folder").c_str(), true));
  EXPECT_TRUE(platform::FolderExists(scratch.Path("folder").c_str()));
  EXPECT_TRUE(platform::FindFiles(scratch.Path("*.tmp").c_str()).empty());
}

}  // namespace
