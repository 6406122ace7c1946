// The relativise step: every path of the world, its rooms and items, and
// its side files is rewritten against the target folder.
#include <string>

#include "actions/dependants.h"
#include "common/path_tokens.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/element_walk.h"
#include "vsetu/normaliser/normaliser.h"
#include "vsetu/normaliser/normaliser_log.h"

using vesta::vsetu::Log;

int CVNormBuilder::NBConvertToRelative(char* path) {
  if (path == nullptr || path[0] == '\0' || targetFolder[0] == '\0') return 1;
  vesta::vsetu::LogStep step;
  Log(path);
  VURelativeBase base(targetFolder);
  if (!VURelativisePath(path)) return 0;
  Log({" -> ", path, "\n"});
  return 1;
}

namespace {

// Rewrites what each file that the record's fields name names in turn, then
// the field itself, into the relative form.
int RelativiseFields(CVNormBuilder* builder, int record, void* fields) {
  int count = 0;
  const VPFileField* table = FFFileFields(&count);
  for (int i = 0; i < count; ++i) {
    if (table[i].record != record) continue;
    char* path = FFFileFieldText(fields, &table[i]);
    bool inside = true;
    switch (table[i].kind) {
      case kVPFileCatalogue: inside = builder->NBConvertVFTToRelative(path) != 0; break;
      case kVPFileShape: inside = VURelativiseShapeDependants(path) != 0; break;
      case kVPFileTexture: inside = VURelativiseTextureDependants(path) != 0; break;
      case kVPFileSound: inside = VURelativiseSoundDependants(path) != 0; break;
      case kVPFileKolb: inside = VURelativiseKOLBDependants(path) != 0; break;
      default: break;
    }
    if (!inside || !builder->NBConvertToRelative(path)) return 0;
  }
  return 1;
}

}  // namespace

int CVNormBuilder::NBRevWorld(CWorldProp* world) {
  return world != nullptr ? RelativiseFields(this, kVPRecordWorld, world) : 0;
}

int CVNormBuilder::NBRevRoom(CRoomProp* room) { return room != nullptr ? RelativiseFields(this, kVPRecordRoom, room) : 0; }

int CVNormBuilder::NBRevItem(CItemProp* item) { return item != nullptr ? RelativiseFields(this, kVPRecordItem, item) : 0; }

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
  return result == 1 ? vesta::vsetu::RelativiseSideFiles(*this) : result;
}

int vesta::vsetu::RelativiseSideFiles(CVNormBuilder& builder) {
  if (builder.nssCopy[0] == '\0' || builder.vssCopy[0] == '\0') return 1;
  return builder.NBConvertNSSToRelative(builder.nssCopy) && builder.NBConvertToRelative(builder.nssCopy) &&
                 builder.NBConvertVSSToRelative(builder.vssCopy) && builder.NBConvertToRelative(builder.vssCopy)
             ? 1
             : 0;
}
