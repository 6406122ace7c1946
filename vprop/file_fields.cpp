// The fields of the records that name a file, in the order the normaliser
// copies them.
#include <cstddef>
#include <cstring>
#include <functional>

#include "vesta/vprop.h"

namespace {

struct Entry {
  VPFileField field;
  size_t offset;  // of the text in its record
};

#define VPROP_FILE(Record, kind, tag, what, member, fileKind) \
  { {kind, tag, what, fileKind}, offsetof(Record, member) }

const Entry kEntries[] = {
    VPROP_FILE(CWorldProp, kVPRecordWorld, "[FTY]", "catalogue", fileTypeCatalogue, kVPFileCatalogue),
    VPROP_FILE(CWorldProp, kVPRecordWorld, "[UUF]", "unselected shape", uufShape, kVPFileShape),
    VPROP_FILE(CWorldProp, kVPRecordWorld, "[MUF]", "selected shape", mufShape, kVPFileShape),
    VPROP_FILE(CWorldProp, kVPRecordWorld, "[DEX]", "texture", dexFile, kVPFileTexture),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[DNA]", "folder", folder, kVPFileFolder),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[CTX]", "ceiling texture", ceilingTexture, kVPFileTexture),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[FTX]", "floor texture", floorTexture, kVPFileTexture),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[WTX]", "wall texture", wallTexture, kVPFileTexture),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[DTX]", "door texture", doorTexture, kVPFileTexture),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[DVA]", "door KOLB file", doorKolbFile, kVPFileKolb),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[HSN]", "hit sound", hitSound, kVPFileSound),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[USN]", "sound", usnSound, kVPFileSound),
    VPROP_FILE(CRoomProp, kVPRecordRoom, "[BSN]", "sound", bsnSound, kVPFileSound),
    VPROP_FILE(CItemProp, kVPRecordItem, "[TGT]", "target", target, kVPFileProgram),
    VPROP_FILE(CItemProp, kVPRecordItem, "[WDR]", "working folder", workingFolder, kVPFileProgram),
    VPROP_FILE(CItemProp, kVPRecordItem, "[CMD]", "command line", commandLine, kVPFileProgram),
    VPROP_FILE(CItemProp, kVPRecordItem, "[PIF]", "texture", texture, kVPFileTexture),
    VPROP_FILE(CItemProp, kVPRecordItem, "[RVC]", "KOLB file", kolbFile, kVPFileKolb),
    VPROP_FILE(CItemProp, kVPRecordItem, "[XFL]", "unselected shape", unselectedShape, kVPFileShape),
    VPROP_FILE(CItemProp, kVPRecordItem, "[SSS]", "selected shape", selectedShape, kVPFileShape),
    VPROP_FILE(CItemProp, kVPRecordItem, "[COS]", "collide sound", collideSound, kVPFileSound),
    VPROP_FILE(CItemProp, kVPRecordItem, "[SES]", "selected sound", selectedSound, kVPFileSound),
    VPROP_FILE(CItemProp, kVPRecordItem, "[OPS]", "open sound", openSound, kVPFileSound),
    VPROP_FILE(CItemProp, kVPRecordItem, "[XDS]", "delete sound", deleteSound, kVPFileSound),
};

#undef VPROP_FILE

constexpr int kCount = sizeof kEntries / sizeof kEntries[0];

// The public table, in the entries' order.
struct Table {
  VPFileField fields[kCount];
  Table() {
    for (int i = 0; i < kCount; ++i) fields[i] = kEntries[i].field;
  }
};

const Table& PublicTable() {
  static const Table table;
  return table;
}

}  // namespace

const VPFileField* FFFileFields(int* count) {
  if (count != nullptr) *count = kCount;
  return PublicTable().fields;
}

char* FFFileFieldText(void* record, const VPFileField* field) {
  if (record == nullptr || field == nullptr) return nullptr;
  // A field of the public table is its entry's; a normaliser asks for each
  // field of every record it copies.
  const VPFileField* table = PublicTable().fields;
  if (!std::less<const VPFileField*>()(field, table) && std::less<const VPFileField*>()(field, table + kCount)) {
    return static_cast<char*>(record) + kEntries[field - table].offset;
  }
  // Else the entry of the field's record and tag: a copy of the field serves.
  for (const Entry& entry : kEntries) {
    if (entry.field.record == field->record && field->tag != nullptr && std::strcmp(entry.field.tag, field->tag) == 0) {
      return static_cast<char*>(record) + entry.offset;
    }
  }
  return nullptr;
}
