// vworld: reads a world file record by record and writes it back to a new
// file, telling what it found. Usage: vworld WORLD [COPY]
#include <cstdio>
#include <cstring>

#include "common/mark_list.h"
#include "common/ptr_list.h"
#include "platform/file_system.h"
#include "vesta/vprop.h"

namespace {

const char* gCopyPath = nullptr;
int gWorlds = 0;
int gRooms = 0;
int gItems = 0;

int OnWorld(CWorldProp* world) {
  ++gWorlds;
  std::printf("world \"%s\" (catalogue \"%s\", %d marks)\n", world->worldName,
              world->fileTypeCatalogue, VUMarkListCount(world->markList));
  return gCopyPath == nullptr || FFSaveWorldProp(gCopyPath, world);
}

int OnRoom(CRoomProp* room) {
  ++gRooms;
  std::printf("  room %d \"%s\" showing %s, %d sides, %d vertices\n", room->roomIndex,
              room->roomName, room->folder, room->sideCount, VUListCount(room->vertices));
  return gCopyPath == nullptr || FFSaveRoomProp(gCopyPath, room);
}

int OnItem(CItemProp* item) {
  ++gItems;
  std::printf("    item %d in room %d \"%s\" -> %s\n", item->itemIndex, item->roomIndex,
              item->name, item->target);
  return gCopyPath == nullptr || FFSaveItemProp(gCopyPath, item);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: vworld WORLD [COPY]\n");
    return 2;
  }
  if (argc == 3) {
    gCopyPath = argv[2];
    vesta::platform::RemoveFile(gCopyPath);
  }
  FILE* stream = vesta::platform::OpenStream(argv[1], "r");
  if (stream == nullptr) {
    std::fprintf(stderr, "vworld: cannot open %s\n", argv[1]);
    return 1;
  }
  CWorldProp world;
  CRoomProp room;
  CItemProp item;
  world.WPInitialise();
  room.RPInitialise();
  item.IPInitialise();
  int result = FFReadTagFile(stream, &world, OnWorld, &room, OnRoom, &item, OnItem, 3);
  std::fclose(stream);
  unsigned int code = 0;
  FFGetError(&code);
  std::printf("%d world, %d rooms, %d items; result %d, code %u\n", gWorlds, gRooms, gItems,
              result, code);
  if (gCopyPath != nullptr) std::printf("written to %s\n", gCopyPath);
  return result == 1 ? 0 : 1;
}
