// The property store's saves never write outside VESTA_ROOT, whatever the
// path climbs through or links to.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/testing/boundary.h"
#include "vesta/vprop.h"

namespace {

TEST(SaveBoundaryTest, SavesAndGatherEntriesStayInsideTheRoot) {
  vesta::testing::RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  CWorldProp world;
  CRoomProp room;
  CItemProp item;
  world.WPInitialise();
  room.RPInitialise();
  item.IPInitialise();
  CVGather gather;
  gather.GAInitialise();
  const std::vector<std::function<int(const std::string&)>> saves = {
      [&](const std::string& path) { return FFSaveWorldProp(path.c_str(), &world); },
      [&](const std::string& path) { return FFSaveRoomProp(path.c_str(), &room); },
      [&](const std::string& path) { return FFSaveItemProp(path.c_str(), &item); },
      [&](const std::string& path) {
        gather.GASetDataFileName(path.c_str());
        return gather.GAAppendNewEntry();
      },
  };
  for (const auto& save : saves) {
    for (const std::string& path : boundary.ClimbingPaths("world.vwq")) {
      save(path);
      EXPECT_EQ(boundary.ChangesOutside(), "") << path;
    }
    for (const std::string& path : boundary.LinkPaths("world.vwq")) {
      EXPECT_EQ(save(path), 0) << path;
      EXPECT_EQ(boundary.ChangesOutside(), "") << path;
    }
  }
  // ".." above the drive stays on it: the world lands in C:\.
  EXPECT_EQ(FFSaveWorldProp("C:\\..\\..\\top.vwq", &world), 1);
  CWorldProp loaded;
  loaded.WPInitialise();
  EXPECT_EQ(FFLoadWorldProp("C:\\top.vwq", &loaded), 1);
}

}  // namespace
