#include "vsetu/filetypes/catalogue_normalise.h"

#include "actions/dependants.h"
#include "actions/file_copy.h"
#include "common/file_kind.h"
#include "common/path_tokens.h"
#include "common/text.h"

namespace vesta::vsetu {
namespace {

bool IsMediaField(const CatalogueField& field) { return field.kind >= 0 && field.kind != kVPFileProgram; }

}  // namespace

void NormaliseForSave(const CatalogueField& field, char* value, const char* folder, const char* holder) {
  if (value[0] == '\0') return;
  if (field.kind == kVPFileProgram) {
    VUNormalisePath(value);
    return;
  }
  if (!IsMediaField(field)) return;
  VUExpandFromOrigin(value, holder);
  // What the copies and rewrites report is not looked at: the value is
  // written whatever became of it.
  switch (VUClassifyFile(value)) {
    case kVUKindWave:
    case kVUKindMidi:
    case kVUKindAudio:
      VUCopyFileToFolder(value, folder, value);
      VURelativisePath(value);
      break;
    case kVUKindTexture:
      VUCopyFileToFolder(value, folder, value);
      VUCopyTextureDependants(value, folder);
      VURelativiseTextureDependants(value);
      VURelativisePath(value);
      break;
    case kVUKindShape:
      VUCopyFileToFolder(value, folder, value);
      VUCopyShapeDependants(value, folder);
      VURelativiseShapeDependants(value);
      VURelativisePath(value);
      break;
    case kVUKindKolb:
      VUCopyFileToFolder(value, folder, value);
      VUCopyKOLBDependants(value);
      VURelativiseKOLBDependants(value);
      VURelativisePath(value);
      break;
    case kVUKindWorld:
      VUCopyFileToFolder(value, folder, value);
      NUNormaliseVIQFile(value, folder);
      VURelativisePath(value);
      break;
    case kVUKindProgram:
    case kVUKindShortcut:
    case kVUKindDocument:
    case kVUKindLibrary:
      VUNormalisePath(value);
      break;
    default:
      break;
  }
}

void DeRelativise(CVFileType* record, const char* folder) {
  for (const CatalogueField& field : kCatalogueFields) {
    if (field.kind < 0 || field.code == kCommandLineCode) continue;
    char* value = TextOf(record, field);
    if (value[0] == '\0') continue;
    char path[kTypeText + 1];
    VUCopyN(path, value, kTypeText);
    switch (VUClassifyFile(path)) {
      case kVUKindTexture:
        VUExpandTexturePath(path, kVUFolderToken, folder);
        break;
      case kVUKindShape:
        VUExpandShapeDependants(folder, path);
        VUExpandLinkedPath(path, kVUFolderToken, folder);
        break;
      case kVUKindKolb:
        VUExpandKOLBDependants(path);
        VUExpandLinkedPath(path, kVUFolderToken, folder);
        break;
      case kVUKindWorld:
        VUExpandLinkedPath(path, kVUFolderToken, folder);
        break;
      default:
        VUExpandPath(path, kVUFolderToken, folder);
        break;
    }
    VUCopyN(value, path, kTypeText);
  }
}

}  // namespace vesta::vsetu
