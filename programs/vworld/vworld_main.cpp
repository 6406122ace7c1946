// vworld: reads a world file record by record and writes it back to a new
// file, telling what it found. Usage: vworld WORLD [COPY]
#include <cstdio>
#include <cstring>
#include <string>

#include "common/mark_list.h"
#include "common/ptr_list.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "vesta/vprop.h"

namespace {

const char kUsage[] =
    "usage: vworld WORLD [COPY]\n"
    "Lists the world, rooms and items of the world file WORLD; with COPY, writes them\n"
    "again, record by record, to a new file COPY (an old COPY is replaced).\n"
    "Exit status: 0 when the world was read (and copied), 1 when not, 2 for a wrong\n"
    "command line.\n";

const char* gCopyPath = nullptr;
int gWorlds = 0;
int gRooms = 0;
int gItems = 0;

// A record that could not be copied stops the read and is told.
int Copied(int saved) {
  if (!saved) {
    std::string problem = vesta::platform::DescribeLastFileError();
    std::fprintf(stderr, "vworld: cannot write %s\n", problem.empty() ? gCopyPath : problem.c_str());
  }
  return saved;
}

int OnWorld(CWorldProp* world) {
  ++gWorlds;
  std::printf("world \"%s\" (catalogue \"%s\", %d marks)\n", world->worldName,
              world->fileTypeCatalogue, VUMarkListCount(world->markList));
  return gCopyPath == nullptr || Copied(FFSaveWorldProp(gCopyPath, world));
}

int OnRoom(CRoomProp* room) {
  ++gRooms;
  std::printf("  room %d \"%s\" showing %s, %d sides, %d vertices\n", room->roomIndex,
              room->roomName, room->folder, room->sideCount, VUListCount(room->vertices));
  return gCopyPath == nullptr || Copied(FFSaveRoomProp(gCopyPath, room));
}

int OnItem(CItemProp* item) {
  ++gItems;
  std::printf("    item %d in room %d \"%s\" -> %s\n", item->itemIndex, item->roomIndex,
              item->name, item->target);
  return gCopyPath == nullptr || Copied(FFSaveItemProp(gCopyPath, item));
}

// What the error slot's code means, for the summary line.
const char* Meaning(unsigned int code) {
  switch (code) {
    case kFFErrorReadClean:
      return "read cleanly";
    case kFFErrorGeneral:
      return "stopped";
    case kFFErrorRecordCut:
      return "a record cut short was skipped";
    case kFFErrorWriteFailed:
      return "a record could not be written";
    default:
      return code >= kFFErrorLengthNotClosed && code <= kFFErrorNotAField ? "a line held a field that was dropped"
                                                                          : "see the code";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 2 || argc > 3) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  FILE* stream = vesta::platform::OpenStream(argv[1], "r");
  if (stream == nullptr) {
    std::fprintf(stderr, "vworld: cannot open %s\n", vesta::platform::DescribeLastFileError().c_str());
    return 1;
  }
  if (argc == 3) {
    gCopyPath = argv[2];
    vesta::platform::RemoveFile(gCopyPath);
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
  std::printf("%d world, %d rooms, %d items; result %d, code %u (%s)\n", gWorlds, gRooms, gItems, result, code,
              Meaning(code));
  if (gCopyPath != nullptr && result == 1) std::printf("written to %s\n", gCopyPath);
  return result == 1 ? 0 : 1;
}
