#include "bench/world_generator.h"

#include <cstdio>
#include <cstring>

#include "common/mark_list.h"
#include "common/vertex_list.h"

namespace vesta::bench {

std::unique_ptr<GeneratedWorld> GenerateWorld(int itemCount) {
  auto out = std::make_unique<GeneratedWorld>();
  out->world.WPInitialise();
  std::strcpy(out->world.worldName, "Generated Desktop");
  std::strcpy(out->world.fileTypeCatalogue, "C:\\VESTA\\media\\Default.vft");
  out->world.WPSetBuildNumbers(1, 0, 0, 2, 3);
  for (int k = 0; k < 4; ++k) {
    MarkRecord mark = {};
    std::snprintf(mark.name, sizeof mark.name, "Mark %d", k);
    mark.x = static_cast<float>(k) * 1.25f;
    mark.z = -static_cast<float>(k) / 3.0f;
    VUMarkListBeginMark(out->world.markList, &mark);
    VUMarkListEndMark(out->world.markList, &mark);
  }

  int roomIndex = -1;
  for (int i = 0; i < itemCount; ++i) {
    if (i % 20 == 0) {
      ++roomIndex;
      auto room = std::make_unique<CRoomProp>();
      room->RPSeedProperties("C:\\VESTA\\media");
      room->roomIndex = roomIndex;
      room->parentRoomIndex = roomIndex > 0 ? roomIndex - 1 : -1;
      std::snprintf(room->roomName, sizeof room->roomName, "Folder %d", roomIndex);
      std::snprintf(room->folder, sizeof room->folder, "C:\\Users\\Public\\Documents\\Folder %d", roomIndex);
      room->posX = static_cast<float>(roomIndex) * 12.5f;
      int vertices = 4 + roomIndex % 5;
      for (int v = 0; v < vertices; ++v) {
        const float vertex[3] = {static_cast<float>(v) * 1.1f, 0.0f, -static_cast<float>(v) / 7.0f};
        VUVertexListAdd(&room->vertices, vertex);
      }
      out->rooms.push_back(std::move(room));
      out->order += 'R';
    }
    auto item = std::make_unique<CItemProp>();
    item->IPInitialise();
    item->itemIndex = i + 2;
    item->roomIndex = roomIndex;
    std::snprintf(item->name, sizeof item->name, "Document %d", i);
    std::snprintf(item->target, sizeof item->target,
                  "C:\\Users\\Public\\Documents\\Folder %d\\Document %d.txt", roomIndex, i);
    std::strcpy(item->fileType, "Text document");
    std::strcpy(item->commandLine, "notepad.exe");
    std::strcpy(item->selectedShape, "C:\\VESTA\\media\\doc.x");
    std::strcpy(item->unselectedShape, "C:\\VESTA\\media\\doc.x");
    std::strcpy(item->texture, "C:\\VESTA\\media\\doc.bmp");
    std::strcpy(item->collideSound, "C:\\VESTA\\media\\HIT01.wav");
    item->posX = static_cast<float>(i % 7) * 1.3f - 4.0f;
    item->posZ = static_cast<float>(i % 11) * 0.9f - 5.0f;
    item->facingX = -0.3f;
    item->facingZ = 0.7f;
    out->items.push_back(std::move(item));
    out->order += 'I';
  }
  return out;
}

}  // namespace vesta::bench
