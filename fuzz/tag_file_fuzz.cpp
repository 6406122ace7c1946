// Feeds arbitrary bytes to the tag file reader in every mode, with and
// without record objects, and writes back what it read.
#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "vesta/vprop.h"

namespace {

FILE* gSink = nullptr;
CWorldProp gKeptWorld;
CRoomProp gKeptRoom;
CItemProp gKeptItem;
int gCalls = 0;

int OnWorld(CWorldProp* world) {
  gKeptWorld.WPCopyFrom(world);
  FFWriteWorldProp(gSink, world);
  return ++gCalls % 97 != 0;  // now and then a refusal
}

int OnRoom(CRoomProp* room) {
  gKeptRoom.RPTerminate();
  gKeptRoom.RPInitialise();
  gKeptRoom.RPCopyFrom(room);
  gKeptRoom.RPIsObjectViable();
  FFWriteRoomProp(gSink, room);
  return ++gCalls % 89 != 0;
}

int OnItem(CItemProp* item) {
  gKeptItem.IPCopyFrom(item);
  gKeptItem.IPIsObjectViable();
  FFWriteItemProp(gSink, item);
  return 1;
}

FILE* StreamOver(const uint8_t* data, size_t size, std::vector<uint8_t>* buffer) {
  buffer->assign(data, data + size);
  if (buffer->empty()) buffer->push_back('\n');
  return fmemopen(buffer->data(), buffer->size(), "r");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (gSink == nullptr) {
    gSink = std::fopen("/dev/null", "w");
    gKeptWorld.WPInitialise();
    gKeptRoom.RPInitialise();
    gKeptItem.IPInitialise();
  }
  std::vector<uint8_t> buffer;
  for (int mode = -1; mode <= 4; ++mode) {
    CWorldProp world;
    CRoomProp room;
    CItemProp item;
    world.WPInitialise();
    room.RPInitialise();
    item.IPInitialise();
    FILE* stream = StreamOver(data, size, &buffer);
    if (stream == nullptr) return 0;
    FFReadTagFile(stream, &world, OnWorld, &room, OnRoom, &item, OnItem, mode);
    std::fclose(stream);
    if (mode >= 0 && mode <= 2) {
      FFWriteWorldProp(gSink, &world);
      FFWriteRoomProp(gSink, &room);
      FFWriteItemProp(gSink, &item);
    }
  }
  // Without record objects, and through the second form.
  FILE* stream = StreamOver(data, size, &buffer);
  if (stream == nullptr) return 0;
  FFReadTagFile(stream, nullptr, OnWorld, nullptr, OnRoom, nullptr, OnItem, 3);
  std::fclose(stream);
  stream = StreamOver(data, size, &buffer);
  if (stream == nullptr) return 0;
  CRoomProp room;
  room.RPInitialise();
  FFReadTagFile(stream, &room, OnRoom, nullptr, nullptr, 3);
  std::fclose(stream);

  // Through handlers with a context: every damage told lies on a line the
  // input has.
  stream = StreamOver(data, size, &buffer);
  if (stream == nullptr) return 0;
  struct Seen {
    long lines;
    long records = 0;
  } seen{static_cast<long>(std::count(data, data + size, '\n')) + 1};
  FFReadHandlers handlers{};
  handlers.world = [](CWorldProp*, void* context) { return ++static_cast<Seen*>(context)->records, 1; };
  handlers.room = [](CRoomProp*, void* context) { return ++static_cast<Seen*>(context)->records, 1; };
  handlers.item = [](CItemProp*, void* context) { return ++static_cast<Seen*>(context)->records, 1; };
  handlers.damage = [](int kind, unsigned int code, long line, void* context) {
    if (kind < 0 || kind > 2 || code == 0 || line < 1 || line > static_cast<Seen*>(context)->lines) std::abort();
  };
  handlers.context = &seen;
  CWorldProp world;
  CItemProp item;
  world.WPInitialise();
  item.IPInitialise();
  FFReadTagFile(stream, &world, &room, &item, handlers, kFFReadAll);
  std::fclose(stream);
  return 0;
}
