// The sample world read as a program reads it through the shared library:
// the records handed to the caller's own state through the context, with
// no globals.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "vesta/vsetu.h"

namespace vesta::testing {
namespace {

struct Reading {
  std::string world;
  std::vector<std::string> rooms;
  int items = 0;
  int stopAfterItems = -1;
};

Reading* Of(void* context) { return static_cast<Reading*>(context); }

int ReadSample(const std::string& path, Reading* reading) {
  CWorldProp world;
  CRoomProp room;
  CItemProp item;
  world.WPInitialise();
  room.RPInitialise();
  item.IPInitialise();
  FFReadHandlers handlers{};
  handlers.world = [](CWorldProp* record, void* context) {
    Of(context)->world = record->worldName;
    return 1;
  };
  handlers.room = [](CRoomProp* record, void* context) {
    Of(context)->rooms.push_back(record->roomName);
    return 1;
  };
  handlers.item = [](CItemProp*, void* context) {
    Reading* state = Of(context);
    return ++state->items == state->stopAfterItems ? 0 : 1;
  };
  handlers.context = reading;
  FILE* stream = VSOpenFile(path.c_str(), "r");
  if (stream == nullptr) return -1;
  const int result = FFReadTagFile(stream, &world, &room, &item, handlers, kFFReadAll);
  std::fclose(stream);
  world.WPTerminate();
  room.RPTerminate();
  return result;
}

TEST(SampleWorldTest, IsReadWithTheCallersContext) {
  ScratchFolder scratch;
  const std::string copy = scratch.Path("Sample.vwq");
  bool copied = false;
  for (const std::string& root : {std::string(VESTA_SOURCE_DIR), "Z:" + std::string(VESTA_SOURCE_DIR)}) {
    const std::string sample = root + "/examples/root/drive_c/VESTA/worlds/Sample.vwq";
    if (platform::FileExists(sample.c_str())) copied = platform::CopyOneFile(sample.c_str(), copy.c_str(), false);
  }
  if (!copied) GTEST_SKIP() << "the examples folder cannot be reached from here";
  Reading reading;
  ASSERT_EQ(ReadSample(copy, &reading), 1);
  EXPECT_EQ(reading.world, "Sample Desktop");
  EXPECT_EQ(reading.rooms.size(), 2u);
  EXPECT_EQ(reading.items, 5);
  // Two readings keep apart: each has its own state.
  Reading stopped;
  stopped.stopAfterItems = 2;
  EXPECT_EQ(ReadSample(copy, &stopped), 0);
  EXPECT_EQ(stopped.items, 2);
  unsigned int code = 0;
  FFGetError(&code);
  EXPECT_EQ(code, kFFErrorGeneral);
  EXPECT_EQ(reading.items, 5);
}

}  // namespace
}  // namespace vesta::testing
