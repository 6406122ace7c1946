// The item record: defaults, the user and the room mate, tests, copy, file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "vprop/test_records.h"

namespace {

using vesta::testing::ScratchFolder;

TEST(ItemPropTest, InitialiseSetsTheDefaults) {
  CItemProp item;
  EXPECT_EQ(item.IPInitialise(), 1);
  EXPECT_EQ(item.itemIndex, -1);
  EXPECT_EQ(item.roomIndex, -1);
  EXPECT_EQ(item.igpValue, -1);
  EXPECT_EQ(item.posY, 1.4f);
  EXPECT_EQ(item.posZ, 1.0f);
  EXPECT_EQ(item.uzoValue, 1.1f);
  EXPECT_STREQ(item.textureIcon, "1");
  EXPECT_EQ(item.wtpValue, -1);
  EXPECT_EQ(item.tiling, 1);
  EXPECT_EQ(item.footprintDisabled, 1);
  EXPECT_EQ(item.dsfValue, 1.0f);
  EXPECT_EQ(item.spareIndex, -1);
  EXPECT_EQ(item.frames[2][5], 1.0f);
  EXPECT_EQ(item.frames[1][7], 1.0f);
  EXPECT_EQ(item.closing[0], 1.0f);
  EXPECT_EQ(item.closing[2], 0.0f);
  EXPECT_EQ(item.IPIsObjectViable(), 0);
  EXPECT_EQ(item.IPTerminate(), 1);
}

TEST(ItemPropTest, ViabilityNeedsANameAndAPositiveSize) {
  CItemProp item;
  item.IPInitialise();
  std::strcpy(item.name, "Report");
  EXPECT_EQ(item.IPIsObjectViable(), 1);
  item.dsfValue = 0.0f;
  EXPECT_EQ(item.IPIsObjectViable(), 0);
  item.dsfValue = -1.0f;
  EXPECT_EQ(item.IPIsObjectViable(), 0);
}

TEST(ItemPropTest, TheUserAndTheRoomMateStandApart) {
  CItemProp user;
  user.IPInitialise();
  EXPECT_EQ(user.IPSetToTheUser(8.0f), 1);
  EXPECT_EQ(user.itemIndex, 0);
  EXPECT_STREQ(user.name, " You, The User ");
  EXPECT_EQ(user.posX, -2.0f);
  EXPECT_EQ(user.posY, 1.4f);
  EXPECT_EQ(user.posZ, 2.0f);
  EXPECT_EQ(user.dsfValue, 1.4f);
  EXPECT_EQ(user.facingX, -0.3f);
  EXPECT_EQ(user.facingZ, 0.7f);
  EXPECT_EQ(user.IPIsThisTheUser(), 1);
  EXPECT_EQ(user.IPIsThisRoomMate(), 0);
  EXPECT_EQ(user.IPIsObjectViable(), 1);

  CItemProp mate;
  mate.IPInitialise();
  EXPECT_EQ(mate.IPSetToRoomMate(8.0f), 1);
  EXPECT_EQ(mate.itemIndex, 1);
  EXPECT_STREQ(mate.name, " RoomMate ");
  EXPECT_EQ(mate.posX, -4.0f);
  EXPECT_EQ(mate.posZ, 4.0f);
  EXPECT_EQ(mate.IPIsThisRoomMate(), 1);
  EXPECT_EQ(mate.IPIsThisTheUser(), 0);
  EXPECT_EQ(mate.IPIsObjectViable(), 1);
}

TEST(ItemPropTest, FlagsAndTests) {
  CItemProp item;
  item.IPInitialise();
  for (int type : {0, 4, -1}) {
    item.specialType = type;
    EXPECT_EQ(item.IPIsThisArchitecture(), 0) << type;
  }
  for (int type : {1, 2, 3}) {
    item.specialType = type;
    EXPECT_EQ(item.IPIsThisArchitecture(), 1) << type;
  }
  EXPECT_EQ(item.IPIsSelected(), 0);
  item.selected = 5;
  EXPECT_EQ(item.IPIsSelected(), 1);
  EXPECT_EQ(item.IPSetCOGChanged(3), 1);
  EXPECT_EQ(item.IPIsCOGChanged(), 3);
  EXPECT_EQ(item.IPSetForceReload(1), 1);
  EXPECT_EQ(item.IPIsForceReload(), 1);
  EXPECT_EQ(item.IPInitIndices(), 1);
  EXPECT_EQ(item.itemIndex, -1);
}

TEST(ItemPropTest, CopyLeavesTheRuntimeFieldsBehind) {
  CItemProp source;
  vesta::testing::FillItem(&source, 12);
  source.forceReload = 1;
  source.selected = 1;
  source.spareIndex = 77;
  source.cogChanged = 1;
  source.frames[0][0] = 5.0f;
  source.spareInteger1 = 3;
  source.closing[2] = 6.0f;
  std::strcpy(source.spareText, "spare");

  CItemProp copy;
  copy.IPInitialise();
  copy.forceReload = 0;
  EXPECT_EQ(copy.IPCopyFrom(nullptr), 0);
  EXPECT_EQ(copy.IPCopyFrom(&source), 0);
  EXPECT_EQ(copy.forceReload, 0);
  EXPECT_EQ(copy.spareIndex, -1);
  EXPECT_EQ(copy.cogChanged, 0);
  EXPECT_EQ(copy.frames[0][0], 0.0f);
  EXPECT_EQ(copy.selected, 1);
  EXPECT_EQ(copy.spareInteger1, 3);
  EXPECT_EQ(copy.closing[2], 6.0f);
  EXPECT_STREQ(copy.spareText, "spare");
  copy.forceReload = source.forceReload;
  vesta::testing::ExpectSameStoredItem(copy, source);
}

TEST(ItemFileTest, EveryStoredFieldReadsBackAndTheIconIndexKeepsItsDefault) {
  ScratchFolder scratch;
  std::string path = scratch.Path("item.vwq");
  CItemProp item;
  vesta::testing::FillItem(&item, 21);
  ASSERT_EQ(FFSaveItemProp(path.c_str(), &item), 1);
  CItemProp loaded;
  loaded.IPInitialise();
  ASSERT_EQ(FFLoadItemProp(path.c_str(), &loaded), 1);
  vesta::testing::ExpectSameStoredItem(loaded, item);

  std::string bare = scratch.Path("bare.vwq");
  ASSERT_TRUE(vesta::testing::WriteTextFile(bare, "[ITEM]\n[INA][3]pen\n[METI]\n"));
  CItemProp pen;
  pen.IPInitialise();
  ASSERT_EQ(FFLoadItemProp(bare.c_str(), &pen), 1);
  EXPECT_STREQ(pen.textureIcon, "1");
}

TEST(ItemFileTest, FieldsAreWrittenInTheirOrder) {
  ScratchFolder scratch;
  std::string path = scratch.Path("item.vwq");
  CItemProp item;
  item.IPInitialise();
  ASSERT_EQ(FFSaveItemProp(path.c_str(), &item), 1);
  std::string text = vesta::testing::ReadTextFile(path);
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  EXPECT_EQ(text,
            "[ITEM][ITI][2]-1[IPS][2]-1[IGP][2]-1[INA][0][TGT][0][WDR][0][FTY][0]"
            "[XCO][1]0[YCO][3]1.4[ZCO][1]1[UCL][3]1.4[DCL][3]1.4[UZO][3]1.1[MZO][3]1.1[SZO][3]1.1"
            "[PIF][0][PIX][1]1[SSS][0][CMD][0][XFL][0][COS][0][SES][0][OPS][0][XDS][0][RVC][0]"
            "[SPT][1]0[WTP][2]-1[TLE][1]1[FUN][2]-1[RLO][1]0[DSF][1]1[SEL][1]0[ISG][1]0"
            "[FFX][1]0[FFY][1]0[FFZ][1]1[FAX][1]0[FAY][1]1[FAZ][1]0"
            "[FPT][1]0[ALA][1]1[FPD][1]1[FTF][0][METI]");
}

}  // namespace
