// The hives kept in memory: one a file, found only at the stamp they were
// kept with, and the one used longest ago goes first when too many are kept.
#include "platform/posix/registry/hive_cache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

namespace posix = vesta::platform::posix;
namespace regfile = vesta::platform::regfile;

posix::FileStamp Stamp(ino_t inode, off_t size, long nanoseconds) {
  posix::FileStamp stamp;
  stamp.inode = inode;
  stamp.size = size;
  stamp.modified.tv_nsec = nanoseconds;
  return stamp;
}

std::shared_ptr<const posix::LoadedHive> Hive() {
  return std::make_shared<const posix::LoadedHive>(regfile::NewHive("HKEY_CURRENT_USER"));
}

TEST(HiveCachePosixTest, AHiveIsFoundOnlyAtItsStamp) {
  const std::string file = "/nowhere/stamped.reg";
  auto kept = Hive();
  posix::KeepHive(file, Stamp(7, 100, 5), kept);
  EXPECT_EQ(posix::CachedHive(file, Stamp(7, 100, 5)), kept);
  EXPECT_EQ(posix::CachedHive(file, Stamp(8, 100, 5)), nullptr);  // replaced
  EXPECT_EQ(posix::CachedHive(file, Stamp(7, 101, 5)), nullptr);  // rewritten in place
  EXPECT_EQ(posix::CachedHive(file, Stamp(7, 100, 6)), nullptr);  // touched
  EXPECT_EQ(posix::CachedHive("/nowhere/other.reg", Stamp(7, 100, 5)), nullptr);
  auto newer = Hive();
  posix::KeepHive(file, Stamp(8, 100, 5), newer);
  EXPECT_EQ(posix::CachedHive(file, Stamp(8, 100, 5)), newer);
  EXPECT_EQ(posix::CachedHive(file, Stamp(7, 100, 5)), nullptr);
}

TEST(HiveCachePosixTest, TheHiveUsedLongestAgoMakesRoomFirst) {
  // Sixteen are kept. The first kept is used again, so the second goes.
  auto file = [](int n) { return "/nowhere/kept-" + std::to_string(100 + n) + ".reg"; };
  for (int n = 0; n < 16; ++n) posix::KeepHive(file(n), Stamp(1, 1, 1), Hive());
  ASSERT_NE(posix::CachedHive(file(0), Stamp(1, 1, 1)), nullptr);
  posix::KeepHive(file(16), Stamp(1, 1, 1), Hive());
  EXPECT_EQ(posix::CachedHive(file(1), Stamp(1, 1, 1)), nullptr);
  for (int n : {0, 2, 15, 16}) EXPECT_NE(posix::CachedHive(file(n), Stamp(1, 1, 1)), nullptr) << n;
  // Keeping a file again takes no one's room.
  posix::KeepHive(file(16), Stamp(2, 2, 2), Hive());
  for (int n : {0, 2, 3, 15}) EXPECT_NE(posix::CachedHive(file(n), Stamp(1, 1, 1)), nullptr) << n;
}

}  // namespace
