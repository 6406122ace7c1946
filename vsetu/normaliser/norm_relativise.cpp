// The relativise step: every path of the world, its rooms and items, and
// its side files is rewritten against the target folder.
#include <string>

#include "common/dependants.h"
#include "common/path_tokens.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/element_walk.h"
#include "vsetu/normaliser/normaliser_log.h"

using vesta::vsetu::Log;

int CVNormBuilder::NBConvertToRelative(char* path) {
  if (path == nullptr || path[0] == '\0' || targetFolder[0] == '\0') return 1;
  vesta::vsetu::LogStep step;
  Log(path);
  VURelativeBase base(targetFolder);
  if (!VURelativisePath(path)) return 0;
  Log(std::string(" -> ") + path + "\n");
  return 1;
}

int CVNormBuilder::NBRevWorld(CWorldProp* world) {
  if (world == nullptr) return 0;
  return NBConvertVFTToRelative(world->fileTypeCatalogue) && NBConvertToRelative(world->fileTypeCatalogue) &&
         VURelativiseShapeDependants(world->uufShape) && NBConvertToRelative(world->uufShape) &&
         VURelativiseShapeDependants(world->mufShape) && NBConvertToRelative(world->mufShape) &&
         VURelativiseTextureDependants(world->dexFile) && NBConvertToRelative(world->dexFile) ? 1 : 0;
}

int CVNormBuilder::NBRevRoom(CRoomProp* room) {
  if (room == nullptr || !NBConvertToRelative(room->folder)) return 0;
  for (char* texture : {room->ceilingTexture, room->floorTexture, room->wallTexture, room->doorTexture}) {
    if (!VURelativiseTextureDependants(texture) || !NBConvertToRelative(texture)) return 0;
  }
  return VURelativiseKOLBDependants(room->doorKolbFile) && NBConvertToRelative(room->doorKolbFile) &&
         NBConvertToRelative(room->hitSound) && NBConvertToRelative(room->usnSound) &&
         VURelativiseSoundDependants(room->bsnSound) && NBConvertToRelative(room->bsnSound) ? 1 : 0;
}

int CVNormBuilder::NBRevItem(CItemProp* item) {
  if (item == nullptr) return 0;
  for (char* path : {item->target, item->workingFolder, item->commandLine}) {
    if (!NBConvertToRelative(path)) return 0;
  }
  if (!VURelativiseTextureDependants(item->texture) || !NBConvertToRelative(item->texture) ||
      !VURelativiseKOLBDependants(item->kolbFile) || !NBConvertToRelative(item->kolbFile)) {
    return 0;
  }
  for (char* shape : {item->unselectedShape, item->selectedShape}) {
    if (!VURelativiseShapeDependants(shape) || !NBConvertToRelative(shape)) return 0;
  }
  for (char* sound : {item->collideSound, item->selectedSound, item->openSound, item->deleteSound}) {
    if (!NBConvertToRelative(sound)) return 0;
  }
  return 1;
}

int CVNormBuilder::NBRelativize() {
  CTheList* head = nullptr;
  NBGetListHeadPointer(&head);
  return head != nullptr ? NBRelativize(head) : 0;
}

int CVNormBuilder::NBRelativize(CTheList* element) {
  vesta::vsetu::LogStep step;
  // Names inside shapes are rewritten against the target folder as well.
  VURelativeBase base(targetFolder);
  CWorldProp* world = nullptr;
  NBGetWorldPointer(&world);
  int result = world != nullptr ? NBRevWorld(world) : 1;
  result = vesta::vsetu::WalkElements(
      *this, element, result, [this](CRoomProp* room) { return NBRevRoom(room); },
      [this](CItemProp* item) { return NBRevItem(item); });
  if (result == 1 && nssCopy[0] != '\0' && vssCopy[0] != '\0') {
    result = NBConvertNSSToRelative(nssCopy) && NBConvertToRelative(nssCopy) && NBConvertVSSToRelative(vssCopy) &&
                     NBConvertToRelative(vssCopy)
                 ? 1
                 : 0;
  }
  return result;
}
