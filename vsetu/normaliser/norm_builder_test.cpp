// Loading a world into the normaliser's element list.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "vsetu/normaliser/test_normaliser.h"

namespace {

using vesta::testing::NormaliserTest;
using vesta::testing::WriteTextFile;

const char kWorld[] =
    "[WORL]\n[NAM][5]first\n[LROW]\n[SECT]\n[RNA][4]Hall\n[TCES]\n[ITEM]\n[INA][3]pen\n[METI]\n"
    "[WORL]\n[NAM][6]second\n[LROW]\n[ITEM]\n[INA][3]cup\n[METI]\n";

std::vector<std::string> Elements() {
  std::vector<std::string> names;
  CTheList* head = nullptr;
  CVNormBuilder().NBGetListHeadPointer(&head);
  for (CTheList* e = head; e != nullptr; e = e->next) {
    names.push_back(e->room != nullptr ? std::string("room ") + e->room->roomName
                                       : e->item != nullptr ? std::string("item ") + e->item->name : "empty");
  }
  return names;
}

TEST_F(NormaliserTest, AWorldLoadsIntoElementsInFileOrderAndKeepsItsLastWorldRecord) {
  const std::string path = scratch_.Path("home.vwq");
  ASSERT_TRUE(WriteTextFile(path, kWorld));
  ASSERT_EQ(builder_.NBLoadFile(path.c_str()), 1);
  EXPECT_EQ(Elements(), (std::vector<std::string>{"room Hall", "item pen", "item cup"}));
  CWorldProp* world = nullptr;
  builder_.NBGetWorldPointer(&world);
  ASSERT_NE(world, nullptr);
  EXPECT_STREQ(world->worldName, "second");
  int count = 0;
  EXPECT_EQ(builder_.NBGetItemCount(&count), 0);
  EXPECT_EQ(count, 3);

  // The log: the stamp, then a line for each room and item.
  const std::string log = LogText();
  EXPECT_NE(log.find("\n   Adding ROOM: Hall\n   Adding ITEM: pen\n   Adding ITEM: cup\n"), std::string::npos);
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4);

  // A second load frees the first's elements; the count goes on growing.
  const std::string other = scratch_.Path("other.vwq");
  ASSERT_TRUE(WriteTextFile(other, "[ITEM]\n[INA][3]lid\n[METI]\n"));
  ASSERT_EQ(builder_.NBLoadFile(other.c_str()), 1);
  EXPECT_EQ(Elements(), (std::vector<std::string>{"item lid"}));
  builder_.NBGetItemCount(&count);
  EXPECT_EQ(count, 4);
  builder_.NBGetWorldPointer(&world);
  EXPECT_EQ(world, nullptr);  // freed with the list
}

TEST_F(NormaliserTest, AWorldRecordAloneLeavesNoListAndIsReused) {
  const std::string path = scratch_.Path("bare.vwq");
  ASSERT_TRUE(WriteTextFile(path, "[WORL]\n[NAM][4]bare\n[LROW]\n"));
  ASSERT_EQ(builder_.NBLoadFile(path.c_str()), 1);
  CTheList* head = reinterpret_cast<CTheList*>(1);
  EXPECT_EQ(builder_.NBGetListHeadPointer(&head), 1);
  EXPECT_EQ(head, nullptr);
  CWorldProp* first = nullptr;
  EXPECT_EQ(builder_.NBGetWorldPointer(&first), 1);
  ASSERT_NE(first, nullptr);
  // Set and given back as they are.
  EXPECT_EQ(builder_.NBSetWorldPointer(nullptr), 1);
  EXPECT_EQ(builder_.NBSetWorldPointer(first), 1);
  EXPECT_EQ(builder_.NBSetListHeadPointer(nullptr), 1);
  EXPECT_EQ(builder_.NBDeleteAllTheList(static_cast<CTheList*>(nullptr)), 0);  // frees the world record
  EXPECT_EQ(builder_.NBGetWorldPointer(&first), 1);
  EXPECT_EQ(first, nullptr);
  ASSERT_EQ(builder_.NBLoadFile(path.c_str()), 1);
  builder_.NBGetWorldPointer(&first);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(builder_.NBDeleteAllTheList(), 1);  // no list: the world stays
  CWorldProp* kept = nullptr;
  builder_.NBGetWorldPointer(&kept);
  EXPECT_EQ(kept, first);
  ASSERT_EQ(builder_.NBLoadFile(path.c_str()), 1);
  builder_.NBGetWorldPointer(&kept);
  EXPECT_EQ(kept, first);
  EXPECT_EQ(builder_.NBCopyList(), 0);
  EXPECT_EQ(builder_.NBRelativize(), 0);
  EXPECT_EQ(builder_.NBSaveWorld(), 0);
  EXPECT_EQ(builder_.NBLoadFile(scratch_.Path("missing.vwq").c_str()), 0);
}

int CountClick(void* context) { return ++*static_cast<int*>(context); }
int IgnoreClick() { return 1; }

TEST_F(NormaliserTest, TheClickCallbackWithAContextIsCalledOncePerElementWithIt) {
  const std::string path = scratch_.Path("home.vwq");
  ASSERT_TRUE(WriteTextFile(path, kWorld));
  ASSERT_EQ(builder_.NBLoadFile(path.c_str()), 1);
  int clicks = 0;
  builder_.NBSetClickCallback(CountClick, &clicks);
  ASSERT_EQ(builder_.NBCopyList(), 1);
  EXPECT_EQ(clicks, 3);
  ASSERT_EQ(builder_.NBRelativize(), 1);
  EXPECT_EQ(clicks, 6);
  // Either form clears the other; initialising clears both.
  builder_.NBSetClickCallback(IgnoreClick);
  builder_.NBCopyList();
  EXPECT_EQ(clicks, 6);
  builder_.NBSetClickCallback(CountClick, &clicks);
  EXPECT_EQ(builder_.clickCallback, nullptr);
  builder_.NBInitialise();
  EXPECT_EQ(builder_.clickContextCallback, nullptr);
  EXPECT_EQ(builder_.clickContext, nullptr);
  builder_.NBCopyList();
  EXPECT_EQ(clicks, 6);
}

TEST_F(NormaliserTest, SideFilesAreNamedAfterTheSource) {
  builder_.NBSetSourceFile("C:\\W\\home.vwq");
  EXPECT_STREQ(builder_.sourceNss, "C:\\W\\home.nss");
  EXPECT_STREQ(builder_.sourceTxt, "C:\\W\\home.txt");
  builder_.NBSetSourceFile("C:\\W.d\\home");
  EXPECT_STREQ(builder_.sourceNss, "");
  EXPECT_STREQ(builder_.sourceTxt, "");
  std::string longName = "C:\\" + std::string(255, 'w') + ".x";
  builder_.NBSetSourceFile(longName.c_str());
  EXPECT_STREQ(builder_.sourceNss, "");  // would not fit a path
}

TEST_F(NormaliserTest, ElementsAreMadeOnlyWithARecordAndAppendedAtTheEnd) {
  CTheList* element = reinterpret_cast<CTheList*>(1);
  EXPECT_EQ(GNBNewListElement(nullptr, nullptr, &element), 0);
  EXPECT_EQ(element, nullptr);
  CRoomProp room;
  room.RPSeedProperties("C:\\Media");
  CItemProp item;
  item.IPInitialise();
  std::strcpy(item.name, "ignored");
  ASSERT_EQ(GNBNewListElement(&room, &item, &element), 1);
  ASSERT_NE(element->room, nullptr);
  EXPECT_EQ(element->item, nullptr);
  EXPECT_STREQ(element->room->wallTexture, "C:\\Media\\FWW01.bmp");
  CTheList* head = nullptr;
  GNBAddListElement(element, &head);
  CTheList* second = nullptr;
  ASSERT_EQ(GNBNewListElement(nullptr, &item, &second), 1);
  GNBAddListElement(second, &head);
  EXPECT_EQ(head, element);
  EXPECT_EQ(head->next, second);
  CVNormBuilder().NBDeleteAllTheList(head);
}

}  // namespace
