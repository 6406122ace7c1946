// A whole world written record by record and read back through callbacks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "vprop/test_records.h"

namespace {

using vesta::testing::ScratchFolder;

// What the callbacks copied, in file order.
struct Collected {
  std::unique_ptr<CWorldProp> world;
  std::vector<std::unique_ptr<CRoomProp>> rooms;
  std::vector<std::unique_ptr<CItemProp>> items;
  std::vector<char> order;
};
Collected* gCollected = nullptr;

int KeepWorld(CWorldProp* world) {
  gCollected->world = std::make_unique<CWorldProp>();
  gCollected->world->WPInitialise();
  gCollected->world->WPCopyFrom(world);
  gCollected->order.push_back('W');
  return 1;
}

int KeepRoom(CRoomProp* room) {
  auto copy = std::make_unique<CRoomProp>();
  copy->RPInitialise();
  if (!copy->RPCopyFrom(room)) return 0;
  gCollected->rooms.push_back(std::move(copy));
  gCollected->order.push_back('R');
  return 1;
}

int KeepItem(CItemProp* item) {
  auto copy = std::make_unique<CItemProp>();
  copy->IPInitialise();
  copy->IPCopyFrom(item);
  copy->forceReload = item->forceReload;  // stored in the file, not copied
  gCollected->items.push_back(std::move(copy));
  gCollected->order.push_back('I');
  return 1;
}

TEST(WorldRoundTripTest, EveryRecordReadsBackEqualAndInOrder) {
  ScratchFolder scratch;
  const std::string path = scratch.Path("Home.vwq");

  CWorldProp world;
  world.WPInitialise();
  std::strcpy(world.worldName, "Home");
  std::strcpy(world.fileTypeCatalogue, "C:\\VESTA\\media\\Default.vft");
  world.WPSetBuildNumbers(3, 0, 0, 1, 2);
  for (int k = 0; k < 3; ++k) {
    MarkRecord mark = {};
    std::snprintf(mark.name, sizeof mark.name, "mark %d", k);
    mark.x = static_cast<float>(k) / 3.0f;
    mark.v = k;
    VUMarkListBeginMark(world.markList, &mark);
    VUMarkListEndMark(world.markList, &mark);
  }

  std::vector<std::unique_ptr<CRoomProp>> rooms;
  std::vector<std::unique_ptr<CItemProp>> items;
  std::string expectedOrder = "W";
  ASSERT_EQ(FFSaveWorldProp(path.c_str(), &world), 1);
  for (int r = 0; r < 3; ++r) {
    rooms.push_back(std::make_unique<CRoomProp>());
    vesta::testing::FillRoom(rooms.back().get(), r);
    ASSERT_EQ(FFSaveRoomProp(path.c_str(), rooms.back().get()), 1);
    expectedOrder += 'R';
    for (int i = 0; i < 4; ++i) {
      items.push_back(std::make_unique<CItemProp>());
      vesta::testing::FillItem(items.back().get(), r * 4 + i);
      ASSERT_EQ(FFSaveItemProp(path.c_str(), items.back().get()), 1);
      expectedOrder += 'I';
    }
  }

  Collected collected;
  gCollected = &collected;
  CWorldProp w;
  CRoomProp r;
  CItemProp i;
  w.WPInitialise();
  r.RPInitialise();
  i.IPInitialise();
  FILE* stream = vesta::platform::OpenStream(path.c_str(), "r");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(FFReadTagFile(stream, &w, KeepWorld, &r, KeepRoom, &i, KeepItem, 3), 1);
  std::fclose(stream);
  gCollected = nullptr;
  unsigned int code = 0;
  FFGetError(&code);
  EXPECT_EQ(code, 5006u);

  EXPECT_EQ(std::string(collected.order.begin(), collected.order.end()), expectedOrder);
  ASSERT_NE(collected.world, nullptr);
  vesta::testing::ExpectSameWorld(*collected.world, world);
  ASSERT_EQ(collected.rooms.size(), rooms.size());
  for (size_t k = 0; k < rooms.size(); ++k) vesta::testing::ExpectSameRoom(*collected.rooms[k], *rooms[k]);
  ASSERT_EQ(collected.items.size(), items.size());
  for (size_t k = 0; k < items.size(); ++k) {
    vesta::testing::ExpectSameStoredItem(*collected.items[k], *items[k]);
  }
}

}  // namespace
