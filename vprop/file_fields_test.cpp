// The table of the fields that name a file covers every text field of the
// three records that does, at the place the records' own field tables give.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "vesta/vprop.h"
#include "vprop/record_kinds.h"

namespace vesta::vprop {
namespace {

const VPFileField* Entry(int record, const std::string& tag) {
  int count = 0;
  const VPFileField* table = FFFileFields(&count);
  for (int i = 0; i < count; ++i) {
    if (table[i].record == record && tag == table[i].tag) return &table[i];
  }
  return nullptr;
}

TEST(FileFieldsTest, EveryTextFieldThatNamesAFileIsInTheTableAtItsPlace) {
  // The text fields that name no file: names, icon indexes, build numbers,
  // an item's file type, texts of their own.
  const std::set<std::string> noFile = {"[NAM]", "[RWN]", "[DEI]", "[UBR]", "[UBS]", "[UBF]", "[CLN]", "[RNA]",
                                        "[CII]", "[FII]", "[WII]", "[JWL]", "[INA]", "[FTY]", "[PIX]", "[FTF]"};
  CWorldProp world;
  CRoomProp room;
  CItemProp item;
  const struct {
    int record;
    const RecordKind& kind;
    void* fields;
  } records[] = {{kVPRecordWorld, WorldKind(), &world}, {kVPRecordRoom, RoomKind(), &room},
                 {kVPRecordItem, ItemKind(), &item}};
  int listed = 0;
  for (const auto& record : records) {
    for (int i = 0; i < record.kind.writeCount; ++i) {
      const FieldDef& def = record.kind.writeOrder[i];
      if (def.type != FieldType::kText) continue;
      const std::string tag(def.tag, 5);
      const VPFileField* entry = Entry(record.record, tag);
      if (entry == nullptr) {
        EXPECT_TRUE(noFile.count(tag) != 0 && !(record.record == kVPRecordWorld && tag == "[FTY]"))
            << tag << " of record " << record.record << " names a file the table lacks";
        continue;
      }
      ++listed;
      EXPECT_EQ(FFFileFieldText(record.fields, entry), static_cast<char*>(record.fields) + def.offset) << tag;
    }
  }
  int count = 0;
  FFFileFields(&count);
  EXPECT_EQ(listed, count) << "each entry is a text field of its record";
  EXPECT_EQ(FFFileFieldText(nullptr, Entry(kVPRecordRoom, "[CTX]")), nullptr);
  // A copy of an entry, not the table's own, finds the same text.
  const VPFileField copy = *Entry(kVPRecordItem, "[PIF]");
  EXPECT_EQ(FFFileFieldText(&item, &copy), item.texture);
  VPFileField unknown{kVPRecordRoom, "[XYZ]", "", kVPFileTexture};
  EXPECT_EQ(FFFileFieldText(&room, &unknown), nullptr);
}

}  // namespace
}  // namespace vesta::vprop
