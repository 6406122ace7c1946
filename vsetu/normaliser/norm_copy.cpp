// The copy step: every file that the world, its rooms and its items name
// is copied into the target folder and the field then names the copy; the
// preview picture and the side files go along.
#include <cstdio>
#include <cstring>
#include <string>

#include "actions/dependants.h"
#include "actions/file_copy.h"
#include "common/paths.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/element_walk.h"
#include "vsetu/normaliser/normaliser.h"
#include "vsetu/normaliser/normaliser_log.h"
#include "vsetu/normaliser/side_file_name.h"

using vesta::vsetu::Log;

int CVNormBuilder::NBCopyToTarget(const char* source, const char* folder, char* destination) {
  if (source == nullptr || source[0] == '\0' || targetFolder[0] == '\0') return 1;
  vesta::vsetu::LogStep step;
  Log({"        Copying: ", source, "\n"});
  // A world in the travelling form names its files from its own folder.
  char path[kVUPathBuffer];
  VUCopyN(path, source, kVUMaxPath);
  VUExpandFromOrigin(path, sourceFile);
  return VUCopyFileToFolder(path, folder, destination);
}

// Copies each file that the record's fields name (the kinds that travel),
// with what the copy names in turn, and points the field at the copy.
int vesta::vsetu::CopyRecordFiles(CVNormBuilder* builder, int record, void* fields, bool shapesRelative) {
  int count = 0;
  const VPFileField* table = FFFileFields(&count);
  const char* folder = builder->targetFolder;
  for (int i = 0; i < count; ++i) {
    if (table[i].record != record) continue;
    char* path = FFFileFieldText(fields, &table[i]);
    bool copied = true;
    switch (table[i].kind) {
      case kVPFileCatalogue: copied = builder->NBCopyToTarget(path, folder, path); break;
      case kVPFileShape:
        copied = builder->NBCopyToTarget(path, folder, path) && VUCopyShapeDependants(path, folder, shapesRelative);
        break;
      case kVPFileTexture:
        copied = builder->NBCopyToTarget(path, folder, path) && VUCopyTextureDependants(path, folder);
        break;
      case kVPFileSound:
        copied = builder->NBCopyToTarget(path, folder, path) && VUCopySoundDependants(path, folder);
        break;
      case kVPFileKolb: copied = builder->NBCopyToTarget(path, folder, path) && VUCopyKOLBDependants(path); break;
      default: break;  // what an item opens and a room's folder stay where they are
    }
    if (!copied) return 0;
  }
  return 1;
}

int CVNormBuilder::NBCopyWorld(CWorldProp* world) {
  if (world == nullptr) return 0;
  if (world->fileTypeCatalogue[0] == '\0') VSGetFileTypeFile(world->fileTypeCatalogue);
  return vesta::vsetu::CopyRecordFiles(this, kVPRecordWorld, world, false);
}

int CVNormBuilder::NBCopyRoom(CRoomProp* room) {
  return room != nullptr ? vesta::vsetu::CopyRecordFiles(this, kVPRecordRoom, room, false) : 0;
}

int CVNormBuilder::NBCopyItem(CItemProp* item) {
  return item != nullptr ? vesta::vsetu::CopyRecordFiles(this, kVPRecordItem, item, false) : 0;
}

int CVNormBuilder::NBCopyList() {
  CTheList* head = nullptr;
  NBGetListHeadPointer(&head);
  return head != nullptr ? NBCopyList(head) : 0;
}

int CVNormBuilder::NBCopyList(CTheList* element) {
  vesta::vsetu::LogStep step;
  // The target folder is filled with new copies: a name is looked up there
  // in what this process knows of it rather than by reading it again.
  vesta::platform::FolderFill fill(targetFolder);
  VUBeginCopies();
  CWorldProp* world = nullptr;
  NBGetWorldPointer(&world);
  int result = world != nullptr ? NBCopyWorld(world) : 1;
  result = vesta::vsetu::WalkElements(
      *this, element, result, [this](CRoomProp* room) { return NBCopyRoom(room); },
      [this](CItemProp* item) { return NBCopyItem(item); });

  vesta::vsetu::CopyWhatGoesAlong(*this, result == 1);
  return result;
}

namespace vesta::vsetu {

void CopyWhatGoesAlong(CVNormBuilder& builder, bool recordsCopied) {
  // The preview picture: beside the world, with its name and ".bmp".
  int dot = 0;
  char name[kVUPathBuffer];
  if (recordsCopied && VUHasExtension(builder.sourceFile, ".vwq") && VUGetNamePart(name, builder.sourceFile) &&
      VUFindExtension(name, &dot)) {
    name[dot] = '\0';
    const std::string origin = VUOriginOf(builder.sourceFile);
    int sourceDot = 0;
    VUFindExtension(origin.c_str(), &sourceDot);
    std::string picture = origin.substr(0, static_cast<size_t>(sourceDot)) + ".bmp";
    std::string destination = std::string(builder.targetFolder) + name + ".bmp";
    vesta::platform::CopyOneFile(picture.c_str(), destination.c_str(), true);
  }
  // The side files, whatever became of the rest.
  if (VUFileExists(builder.sourceNss)) {
    std::string vss = SetupFileNamedBy(builder.sourceNss);
    if (!vss.empty()) VUCopyToField(builder.vssFile, vss.c_str());
    builder.NBCopyToTarget(builder.sourceNss, builder.targetFolder, builder.nssCopy);
    builder.NBCopyToTarget(builder.vssFile, builder.targetFolder, builder.vssCopy);
  }
  if (VUFileExists(builder.sourceTxt)) builder.NBCopyToTarget(builder.sourceTxt, builder.targetFolder, builder.txtCopy);
}

}  // namespace vesta::vsetu
