// The room record: defaults, seeding, viability, placement, copy and file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "common/ptr_list.h"
#include "common/vertex_list.h"
#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "vprop/test_records.h"

namespace {

using vesta::testing::ScratchFolder;

std::vector<std::vector<float>> Vertices(const CRoomProp& room) {
  std::vector<std::vector<float>> out;
  void* element = nullptr;
  VUListPosition position = nullptr;
  for (int more = VUListFirst(room.vertices, &element, &position); more;
       more = VUListNext(room.vertices, &element, &position)) {
    const float* v = static_cast<const float*>(element);
    out.push_back({v[0], v[1], v[2]});
  }
  return out;
}

TEST(RoomPropTest, InitialiseSetsTheDefaults) {
  CRoomProp room;
  EXPECT_EQ(room.RPInitialise(), 1);
  EXPECT_EQ(room.roomIndex, -1);
  EXPECT_EQ(room.parentRoomIndex, -1);
  EXPECT_EQ(room.parentItemIndex, -1);
  EXPECT_EQ(room.elhValue, 1.0f);
  EXPECT_EQ(room.facingZ, 1.0f);
  EXPECT_EQ(room.upY, 1.0f);
  EXPECT_EQ(room.sideCount, 8);
  EXPECT_EQ(room.sideLength, 8.0f);
  EXPECT_EQ(room.wallHeight, 3.0f);
  EXPECT_EQ(room.wallTiling, 1);
  EXPECT_EQ(room.phyValue, -1);
  EXPECT_EQ(room.skyValue, -1);
  EXPECT_EQ(room.dsnValue, 10);
  EXPECT_EQ(room.issValue, 1);
  EXPECT_EQ(room.trmValue, 0.9f);
  EXPECT_EQ(room.rstValue, 0.75f);
  EXPECT_EQ(room.jixValue, -1);
  EXPECT_EQ(room.wzyValue, -1);
  EXPECT_EQ(room.vertices, nullptr);
  EXPECT_EQ(room.RPIsObjectViable(), 0);
}

TEST(RoomPropTest, SeedingMakesAViableDesktopRoomFromTheMediaFolder) {
  CRoomProp room;
  room.RPInitialise();
  ASSERT_EQ(room.RPSeedProperties("C:\\Media"), 1);
  EXPECT_STREQ(room.roomName, "Desktop Room");
  EXPECT_STREQ(room.ceilingTexture, "C:\\Media\\FWC01.bmp");
  EXPECT_STREQ(room.floorTexture, "C:\\Media\\FWF01.bmp");
  EXPECT_STREQ(room.wallTexture, "C:\\Media\\FWW01.bmp");
  EXPECT_STREQ(room.hitSound, "C:\\Media\\HIT01.wav");
  EXPECT_STREQ(room.usnSound, "C:\\Media\\STP01.wav");
  EXPECT_STREQ(room.doorTexture, "C:\\Media\\DOR01.bmp");
  EXPECT_STREQ(room.doorKolbFile, "C:\\Media\\_doorup.vvc");
  EXPECT_STREQ(room.bsnSound, "");
  EXPECT_STREQ(room.wallIcon, "");
  EXPECT_EQ(room.sideLength, 10.0f);
  EXPECT_EQ(room.phyValue, 0);
  EXPECT_EQ(room.adtValue, 0);
  EXPECT_EQ(room.skyValue, -1);  // untouched default
  EXPECT_EQ(room.RPIsObjectViable(), 1);
}

TEST(RoomPropTest, ALongMediaFolderIsCutSoThatEverySuffixFits) {
  CRoomProp room;
  room.RPInitialise();
  std::string folder = "C:\\" + std::string(300, 'm');
  room.RPSeedProperties(folder.c_str());
  std::string cut = folder.substr(0, 248);
  EXPECT_EQ(std::string(room.doorKolbFile), cut + "\\_doorup.vvc");
  EXPECT_EQ(std::string(room.wallTexture), cut + "\\FWW01.bmp");
  EXPECT_EQ(std::strlen(room.doorKolbFile), 260u);
}

TEST(RoomPropTest, ViabilityLimits) {
  CRoomProp room;
  room.RPInitialise();
  room.RPSeedProperties("C:\\Media");
  struct Case {
    int32_t sides;
    float length;
    float height;
    int viable;
  } cases[] = {
      {3, 1.0f, 1.0f, 1},     {64, 256.0f, 256.0f, 1}, {2, 10.0f, 3.0f, 0},
      {65, 10.0f, 3.0f, 0},   {8, 0.5f, 3.0f, 0},      {8, 256.5f, 3.0f, 0},
      {8, 10.0f, 0.0f, 0},    {8, 10.0f, 256.5f, 0},
      {8, std::numeric_limits<float>::quiet_NaN(), 3.0f, 0},
      {8, 10.0f, std::numeric_limits<float>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    room.sideCount = c.sides;
    room.sideLength = c.length;
    room.wallHeight = c.height;
    EXPECT_EQ(room.RPIsObjectViable(), c.viable) << c.sides << " " << c.length << " " << c.height;
  }
  room.sideCount = 8;
  room.sideLength = 10.0f;
  room.wallHeight = 3.0f;
  room.floorTexture[0] = '\0';
  EXPECT_EQ(room.RPIsObjectViable(), 0);
}

TEST(RoomPropTest, SeedDesktopChangesOnlyThePlacementAndDoor) {
  CRoomProp room;
  vesta::testing::FillRoom(&room, 4);
  CRoomProp before;
  before.RPInitialise();
  before.RPCopyFrom(&room);
  EXPECT_EQ(room.RPSeedDesktop(), 1);
  EXPECT_STREQ(room.roomName, "Desktop Room");
  EXPECT_EQ(room.posX, 0.0f);
  EXPECT_EQ(room.facingZ, 1.0f);
  EXPECT_EQ(room.upY, 1.0f);
  EXPECT_EQ(room.elhValue, 1.0f);
  EXPECT_STREQ(room.doorTexture, "");
  EXPECT_STREQ(room.doorKolbFile, "");
  EXPECT_EQ(room.adtValue, -1);
  EXPECT_EQ(room.wlnValue, 1);
  EXPECT_EQ(room.footprint, 0);
  EXPECT_EQ(room.sideCount, before.sideCount);
  EXPECT_STREQ(room.wallTexture, before.wallTexture);
  EXPECT_EQ(room.skyValue, before.skyValue);
  EXPECT_EQ(VUListCount(room.vertices), VUListCount(before.vertices));
}

TEST(RoomPropTest, AChildRoomStandsBehindTheItemThatLeadsIntoIt) {
  CItemProp item;
  item.IPInitialise();
  item.itemIndex = 5;
  item.roomIndex = 2;
  item.posX = 1.0f;
  item.posY = 1.4f;
  item.posZ = 2.0f;
  item.facingX = -0.3f;
  item.facingY = 0.0f;
  item.facingZ = 0.7f;
  item.uclValue = 4.4f;
  item.dclValue = 1.4f;
  item.upX = 0.0f;
  item.upY = 2.0f;
  item.upZ = 0.0f;
  CRoomProp room;
  room.RPInitialise();
  room.roomIndex = 9;
  EXPECT_EQ(room.RPMakeChildOf(nullptr), 0);
  ASSERT_EQ(room.RPMakeChildOf(&item), 1);
  EXPECT_EQ(room.parentRoomIndex, 2);
  EXPECT_EQ(room.parentItemIndex, 5);
  EXPECT_EQ(room.roomIndex, -1);
  EXPECT_FLOAT_EQ(room.posX, 0.7f);
  EXPECT_FLOAT_EQ(room.posY, 1.4f);
  EXPECT_FLOAT_EQ(room.posZ, 2.7f);
  EXPECT_NEAR(room.sideLength, 0.7616f, 1e-4);
  EXPECT_FLOAT_EQ(room.wallHeight, 3.0f);
  const float norm = std::sqrt(0.7f * 0.7f + 0.3f * 0.3f);
  EXPECT_NEAR(room.facingX, -0.7f / norm, 1e-6);
  EXPECT_NEAR(room.facingY, 0.0f, 1e-6);
  EXPECT_NEAR(room.facingZ, -0.3f / norm, 1e-6);
  EXPECT_FLOAT_EQ(room.upY, 1.0f);
  EXPECT_EQ(room.sideCount, 8);  // untouched
}

TEST(RoomPropTest, CopyAppendsTheSourcesVerticesAfterItsOwn) {
  CRoomProp source;
  vesta::testing::FillRoom(&source, 2);  // three vertices
  CRoomProp copy;
  copy.RPInitialise();
  const float own[3] = {9, 9, 9};
  VUVertexListAdd(&copy.vertices, own);
  ASSERT_EQ(copy.RPCopyFrom(&source), 1);
  std::vector<std::vector<float>> vertices = Vertices(copy);
  ASSERT_EQ(vertices.size(), 4u);
  EXPECT_EQ(vertices[0], (std::vector<float>{9, 9, 9}));
  EXPECT_EQ(std::vector<std::vector<float>>(vertices.begin() + 1, vertices.end()), Vertices(source));
  EXPECT_STREQ(copy.folder, source.folder);
  EXPECT_EQ(copy.wzyValue, source.wzyValue);
  // Nothing to copy, or the room itself: nothing changes.
  EXPECT_EQ(copy.RPCopyFrom(nullptr), 1);
  EXPECT_EQ(copy.RPCopyFrom(&copy), 1);
  EXPECT_EQ(Vertices(copy), vertices);
  // Terminating gives the vertices back and leaves none behind.
  EXPECT_EQ(copy.RPTerminate(), 1);
  EXPECT_EQ(copy.vertices, nullptr);
  EXPECT_EQ(copy.RPTerminate(), 1);
}

TEST(RoomPropTest, DirectoryViabilityNeedsAnExistingFolder) {
  ScratchFolder scratch;
  CRoomProp room;
  room.RPInitialise();
  EXPECT_EQ(room.RPIsDirectoryViable(), 0);
  std::string missing = scratch.Path("Missing");
  std::strcpy(room.folder, missing.c_str());
  EXPECT_EQ(room.RPIsDirectoryViable(), 0);
  std::strcpy(room.folder, scratch.Folder().c_str());
  EXPECT_EQ(room.RPIsDirectoryViable(), 1);
  room.RPSetFirstBuild();
  EXPECT_EQ(room.roomIndex, -1);
}

TEST(RoomFileTest, VerticesReadBackInFileOrderAndAreWrittenBetweenDoorAndSounds) {
  ScratchFolder scratch;
  std::string path = scratch.Path("room.vwq");
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      path, "[SECT]\n[RNA][1]R[FVE][5]1,2,3[FVE][5]4,5,x[FVE][8]-1,0.5,2\n[FVE][5]7,8,9\n[TCES]\n"));
  CRoomProp room;
  room.RPInitialise();
  ASSERT_EQ(FFLoadRoomProp(path.c_str(), &room), 1);
  // The malformed vertex is skipped whole.
  EXPECT_EQ(Vertices(room), (std::vector<std::vector<float>>{{1, 2, 3}, {-1, 0.5f, 2}, {7, 8, 9}}));

  std::string out = scratch.Path("out.vwq");
  ASSERT_EQ(FFSaveRoomProp(out.c_str(), &room), 1);
  std::string text = vesta::testing::ReadTextFile(out);
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  EXPECT_NE(text.find("[DVA][0][FVE][5]1,2,3[FVE][8]-1,0.5,2[FVE][5]7,8,9[HSN][0]"), std::string::npos)
      << text;
}

TEST(RoomFileTest, EveryFieldReadsBackAsWritten) {
  ScratchFolder scratch;
  std::string path = scratch.Path("room.vwq");
  CRoomProp room;
  vesta::testing::FillRoom(&room, 7);
  ASSERT_EQ(FFSaveRoomProp(path.c_str(), &room), 1);
  CRoomProp loaded;
  loaded.RPInitialise();
  ASSERT_EQ(FFLoadRoomProp(path.c_str(), &loaded), 1);
  vesta::testing::ExpectSameRoom(loaded, room);
  std::string text = vesta::testing::ReadTextFile(path);
  EXPECT_EQ(text.rfind("\n[SECT]\n", 0), 0u);
  EXPECT_EQ(text.substr(text.size() - 8), "\n[TCES]\n");
}

}  // namespace
