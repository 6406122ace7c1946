// Matching a file to its record, filling an item from a record and back,
// and taking in the new endings of another catalogue.
#include <cstring>
#include <new>

#include "common/text.h"
#include "vesta/vsetu.h"
#include "vsetu/filetypes/ending_index.h"

namespace {

// Copies a record's text into an item field when it is set.
template <size_t N>
void CopySet(char (&to)[N], const char* from) {
  if (from[0] != '\0') VUCopyToField(to, from);
}

}  // namespace

// Both searches look in the index by ending. Like the walks they stand
// for, they leave the catalogue's cursor past the last record.
int CVFileTypeList::FLFindFileMatch(const char* name, CVFileType** out) {
  vesta::vsetu::EndingIndex* index = Index();
  if (name == nullptr || out == nullptr || types == nullptr || index == nullptr) return 0;
  CVFileType* best = index->Match(types, name, std::strlen(name));
  types->cursor = nullptr;
  if (best == nullptr) return 0;
  *out = best;
  return 1;
}

int CVFileTypeList::FLFindFileEnding(const char* ending, CVFileType** out) {
  vesta::vsetu::EndingIndex* index = Index();
  if (ending == nullptr || out == nullptr || types == nullptr || index == nullptr) return 0;
  CVFileType* last = index->Exact(types, ending);
  types->cursor = nullptr;
  if (last == nullptr) return 0;
  *out = last;
  return 1;
}

int CVFileTypeList::FLFindFileType(const char* name, CVFileType** out) {
  if (name == nullptr || out == nullptr) return 0;
  CVFileType* record = nullptr;
  if (!FLGetFirstFileType(&record)) return 0;
  if (std::strcmp(record->typeName, name) == 0) {
    *out = record;
    return 1;
  }
  int found = 0;
  while (FLGetNextFileType(&record)) {
    if (std::strcmp(record->typeName, name) == 0) {
      *out = record;
      found = 1;
    }
  }
  return found;
}

int CVFileTypeList::FLMatchFillItemProp(CItemProp* item) {
  if (item == nullptr || item->target[0] == '\0') return 0;
  CVFileType* record = nullptr;
  if (!FLFindFileMatch(item->target, &record)) return 0;
  return record->FTType2Prop(item);
}

int CVFileType::FTType2Prop(CItemProp* item) {
  if (item == nullptr) return 0;
  CopySet(item->fileType, typeName);
  CopySet(item->commandLine, commandLine);
  CopySet(item->kolbFile, kolbFile);
  CopySet(item->selectedShape, selectedShape);
  CopySet(item->workingFolder, workingFolder);
  CopySet(item->texture, texture);
  // The icon index and the tiling belong to the texture.
  if (texture[0] != '\0') {
    CopySet(item->textureIcon, iconIndex);
    if (tiling != -1) item->tiling = tiling;
  }
  if (footprintDisabled != -1) item->footprintDisabled = footprintDisabled;
  CopySet(item->unselectedShape, unselectedShape);
  CopySet(item->collideSound, collideSound);
  CopySet(item->selectedSound, selectedSound);
  CopySet(item->openSound, openSound);
  CopySet(item->deleteSound, deleteSound);
  return 1;
}

int CVFileType::FTProp2Type(CItemProp* item) {
  if (item == nullptr) return 0;
  FTSetFileType(item->fileType);
  FTSetCommandLine(item->commandLine);
  FTSetKOLBFile(item->kolbFile);
  FTSetSelectedShape(item->selectedShape);
  FTSetWorkingDir(item->workingFolder);
  FTSetTexture(item->texture);
  FTSetIconIndex(item->textureIcon);
  FTSetTiling(item->tiling);
  FTSetFootPrintDisabled(item->footprintDisabled);
  FTSetUnSelectedShape(item->unselectedShape);
  FTSetCollideSound(item->collideSound);
  FTSetSelectedSound(item->selectedSound);
  FTSetOpenSound(item->openSound);
  FTSetDeleteSound(item->deleteSound);
  return 1;
}

int CVFileTypeList::FLLoadNewTypesFrom(const char* path) {
  CVFileTypeList other;
  if (!other.FLInitialise() || !other.FLPrepare()) return 0;
  other.FLSetDeRelativiseOnLoad(deRelativiseOnLoad);
  other.FLSetNormaliseOnSave(normaliseOnSave);
  CVFileType* record = nullptr;
  if (!other.FLLoadFileTypeList(path) || !other.FLGetFirstFileType(&record)) return 0;
  int result = 1;
  do {
    CVFileType* present = nullptr;
    if (record->ending[0] == '\0' || FLFindFileEnding(record->ending, &present)) continue;
    CVFileType* added = new (std::nothrow) CVFileType;
    if (added == nullptr) {
      result = 0;
      break;
    }
    added->FTInitialise();
    added->FTCopyFrom(record);
    if (!FLAddFileType(added)) {
      delete added;
      result = 0;
      break;
    }
  } while (other.FLGetNextFileType(&record));
  return result;
}
