// The world record: defaults, operations, and its marks through the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "common/mark_list.h"
#include "platform/testing/failing_allocation.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "vprop/test_records.h"

namespace {

using vesta::testing::ScratchFolder;

using vesta::testing::ExpectSameWorld;

MarkRecord MakeMark(const char* name, int seed) {
  MarkRecord m = {};
  std::strcpy(m.name, name);
  m.i = seed;
  m.s = -seed;
  m.v = seed * 3;
  float* reals[] = {&m.x, &m.y, &m.z, &m.p, &m.q, &m.r, &m.a, &m.b, &m.c, &m.o, &m.f};
  for (size_t k = 0; k < sizeof reals / sizeof reals[0]; ++k) {
    *reals[k] = static_cast<float>(seed) / 3.0f + static_cast<float>(k) / 10.0f;
  }
  return m;
}

void AddMark(CWorldProp* world, const MarkRecord& mark) {
  VUMarkListBeginMark(world->markList, &mark);
  VUMarkListEndMark(world->markList, &mark);
}

// A world with every field set away from its default, and two marks.
void Fill(CWorldProp* world) {
  world->WPInitialise();
  world->WPSetBuildNumbers(1234567, 0, 0, 42, 9);
  std::strcpy(world->clnText, "cln [with] brackets ");
  world->mapNumber = -7;
  world->snoValue = 2147483647;
  world->iconNumber = 12;
  world->acdValue = -2147483647 - 1;
  std::strcpy(world->worldName, " Attic ");
  std::strcpy(world->rwnText, "rwn");
  std::strcpy(world->fileTypeCatalogue, "C:\\VESTA\\media\\Default.vft");
  world->bakValue = 0;
  std::strcpy(world->dexFile, "C:\\Docs\\dex.txt");
  std::strcpy(world->deiIndex, "16 characters!!!");
  std::strcpy(world->uufShape, "C:\\VESTA\\media\\u.x");
  std::strcpy(world->mufShape, "C:\\VESTA\\media\\m.x");
  MarkRecord first = MakeMark(std::string(131, 'k').c_str(), 1);
  first.x = std::numeric_limits<float>::denorm_min();
  first.y = -0.0f;
  first.z = 3.4028235e38f;
  first.p = 0.1f;
  AddMark(world, first);
  AddMark(world, MakeMark("second", 2));
}

TEST(WorldPropTest, InitialiseSetsTheDefaults) {
  CWorldProp world;
  ASSERT_EQ(world.WPInitialise(), 1);
  EXPECT_STREQ(world.firstBuild, "");
  EXPECT_EQ(world.mapNumber, 0);
  EXPECT_EQ(world.snoValue, 1);
  EXPECT_EQ(world.iconNumber, 0);
  EXPECT_EQ(world.acdValue, 3);
  EXPECT_EQ(world.bakValue, 1);
  EXPECT_STREQ(world.worldName, "");
  EXPECT_STREQ(world.deiIndex, "");
  ASSERT_NE(world.markList, nullptr);
  EXPECT_EQ(VUMarkListCount(world.markList), 0);
  EXPECT_EQ(world.WPTerminate(), 1);
  EXPECT_EQ(world.markList, nullptr);
  EXPECT_EQ(world.WPTerminate(), 1);
}

TEST(WorldPropTest, WithoutMemoryForTheMarksInitialiseFailsAndCopyKeepsTheFields) {
  CWorldProp world;
  {
    vesta::testing::FailingAllocations noMemory;
    EXPECT_EQ(world.WPInitialise(), 0);
    EXPECT_EQ(noMemory.Failed(), 1);
  }
  EXPECT_EQ(world.markList, nullptr);
  EXPECT_STREQ(world.worldName, "");

  CWorldProp source;
  Fill(&source);
  {
    vesta::testing::FailingAllocations noMemory;
    EXPECT_EQ(world.WPCopyFrom(&source), 1);
    EXPECT_EQ(noMemory.Failed(), 1);
  }
  EXPECT_STREQ(world.worldName, source.worldName);
  EXPECT_EQ(world.markList, nullptr);
}

TEST(WorldPropTest, ARecordNeverInitialisedIsDestroyedSafely) {
  CWorldProp* world = new CWorldProp;
  delete world;
}

TEST(WorldPropTest, BuildNumbersTakeTheFirstFourthAndFifth) {
  CWorldProp world;
  world.WPInitialise();
  std::strcpy(world.thirdBuild, "old");
  EXPECT_EQ(world.WPSetBuildNumbers(5, 1, 2, 7, -1), 0);
  EXPECT_STREQ(world.firstBuild, "5");
  EXPECT_STREQ(world.secondBuild, "7");
  EXPECT_STREQ(world.thirdBuild, "old");
  world.WPSetBuildNumbers(-1234567, 0, 0, 0, 8);
  EXPECT_STREQ(world.firstBuild, "-123456");  // cut to the field's 7 characters
  EXPECT_STREQ(world.thirdBuild, "8");
}

TEST(WorldPropTest, CopyGivesEqualFieldsAndMarks) {
  CWorldProp source;
  Fill(&source);
  CWorldProp copy;
  copy.WPInitialise();
  AddMark(&copy, MakeMark("replaced", 9));
  EXPECT_EQ(copy.WPCopyFrom(&source), 1);
  ExpectSameWorld(copy, source);
  EXPECT_NE(copy.markList, source.markList);

  // A record without a list gets one; a source without one gives none.
  CWorldProp bare;
  bare.WPInitialise();
  bare.WPTerminate();
  bare.WPCopyFrom(&source);
  ExpectSameWorld(bare, source);
  source.WPTerminate();
  copy.WPCopyFrom(&source);
  EXPECT_EQ(VUMarkListCount(copy.markList), 0);
}

class WorldFileTest : public ::testing::Test {
 protected:
  std::string Save(CWorldProp* world) {
    std::string path = scratch_.Path("world.vwq");
    EXPECT_EQ(FFSaveWorldProp(path.c_str(), world), 1);
    return path;
  }
  ScratchFolder scratch_;
};

TEST_F(WorldFileTest, AWorldWithMarksReadsBackFieldForField) {
  CWorldProp world;
  Fill(&world);
  std::string path = Save(&world);
  CWorldProp loaded;
  loaded.WPInitialise();
  ASSERT_EQ(FFLoadWorldProp(path.c_str(), &loaded), 1);
  unsigned int code = 0;
  FFGetError(&code);
  EXPECT_EQ(code, 5006u);
  ExpectSameWorld(loaded, world);

  // No line of the file is longer than a line may be.
  std::string text = vesta::testing::ReadTextFile(path);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    EXPECT_LE(end - start, 266u);
    start = end + 1;
  }
}

TEST_F(WorldFileTest, FieldsAreWrittenInTheirOrder) {
  CWorldProp world;
  world.WPInitialise();
  std::strcpy(world.worldName, "Attic");
  AddMark(&world, MakeMark("m", 0));
  std::string text = vesta::testing::ReadTextFile(Save(&world));
  ASSERT_EQ(text.rfind("\n[WORL]\n", 0), 0u);
  ASSERT_GE(text.size(), 8u);
  EXPECT_EQ(text.substr(text.size() - 8), "\n[LROW]\n");
  // Line breaks between fields depend on the library-wide counter.
  std::string body = text.substr(8, text.size() - 16);
  body.erase(std::remove(body.begin(), body.end(), '\n'), body.end());
  EXPECT_EQ(body,
            "[MAP][1]0[ICN][1]0[SNO][1]1[ACD][1]3[NAM][5]Attic[FTY][0][RWN][0][UUF][0][MUF][0]"
            "[DEX][0][DEI][0][UBR][0][UBS][0][UBF][0][CLN][0][BAK][1]1"
            "[MKJ][0][MKN][1]m[MKI][1]0[MKS][1]0[MKX][1]0[MKY][3]0.1[MKZ][3]0.2[MKP][3]0.3"
            "[MKQ][3]0.4[MKR][3]0.5[MKA][3]0.6[MKB][3]0.7[MKC][3]0.8[MKV][1]0[MKO][3]0.9"
            "[MKF][1]1[MKE][0]");
}

TEST_F(WorldFileTest, AWorldWithoutMarksHasAnEmptyList) {
  CWorldProp world;
  world.WPInitialise();
  std::string path = Save(&world);
  CWorldProp loaded;
  loaded.WPInitialise();
  AddMark(&loaded, MakeMark("stale", 1));
  loaded.WPTerminate();
  loaded.WPInitialise();
  ASSERT_EQ(FFLoadWorldProp(path.c_str(), &loaded), 1);
  EXPECT_EQ(VUMarkListCount(loaded.markList), 0);
}

TEST_F(WorldFileTest, AMarkWithoutAFieldKeepsTheValueOfTheMarkBefore) {
  std::string path = scratch_.Path("marks.vwq");
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      path,
      "[WORL]\n[MKJ][0][MKN][1]a[MKV][2]17[MKX][3]1.5[MKE][0]\n"
      "[MKJ][0][MKN][1]b[MKE][0]\n[LROW]\n"));
  CWorldProp world;
  world.WPInitialise();
  ASSERT_EQ(FFLoadWorldProp(path.c_str(), &world), 1);
  ASSERT_EQ(VUMarkListCount(world.markList), 2);
  EXPECT_STREQ(VUMarkListGet(world.markList, 1)->name, "b");
  EXPECT_EQ(VUMarkListGet(world.markList, 1)->v, 17);
  EXPECT_EQ(VUMarkListGet(world.markList, 1)->x, 1.5f);
}

TEST_F(WorldFileTest, MarksOfARecordWithoutAListAreDropped) {
  std::string path = scratch_.Path("nolist.vwq");
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      path, "[WORL]\n[MKJ][0][MKN][1]a[MKE][0][NAM][4]Kept\n[LROW]\n"));
  CWorldProp world;
  world.WPInitialise();
  world.WPTerminate();  // as when the list could not be made
  ASSERT_EQ(FFLoadWorldProp(path.c_str(), &world), 1);
  EXPECT_STREQ(world.worldName, "Kept");
  EXPECT_EQ(world.markList, nullptr);
}

TEST_F(WorldFileTest, ValuesLongerThanTheirFieldAreCut) {
  std::string path = scratch_.Path("long.vwq");
  std::string mark(200, 'm');
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      path, "[WORL]\n[UBR][10]1234567890[DEI][20]abcdefghijklmnopqrst\n[MKJ][0][MKI][1]5[MKN][200]" +
                mark + "[MKE][0]\n[LROW]\n"));
  CWorldProp world;
  world.WPInitialise();
  ASSERT_EQ(FFLoadWorldProp(path.c_str(), &world), 1);
  EXPECT_STREQ(world.firstBuild, "1234567");
  EXPECT_STREQ(world.deiIndex, "abcdefghijklmnop");
  ASSERT_EQ(VUMarkListCount(world.markList), 1);
  EXPECT_EQ(std::strlen(VUMarkListGet(world.markList, 0)->name), 131u);
  // The cut name leaves the field after it alone.
  EXPECT_EQ(VUMarkListGet(world.markList, 0)->i, 5);
}

// A text too long for a line is written cut, and the save says which field
// and how much; a text that fits says nothing.
TEST_F(WorldFileTest, ATextTooLongForALineIsWrittenCutAndTheSaveSaysSo) {
  CWorldProp world;
  world.WPInitialise();
  std::memset(world.clnText, 'c', 260);
  world.clnText[260] = '\0';
  std::memset(world.worldName, 'n', 258);
  world.worldName[258] = '\0';
  std::string path = Save(&world);
  unsigned int code = 0;
  FFGetError(&code);
  EXPECT_EQ(code, kFFErrorValueCut);
  EXPECT_STREQ(FFErrorText(code), "a text was cut to fit the file's line of 266 characters");
  char problem[512];
  ASSERT_EQ(FFGetLastFileProblem(problem, sizeof problem), 1);
  // The first field cut is named ([NAM] comes before [CLN]).
  EXPECT_EQ(std::string(problem), path + ": the text of [NAM] (258 characters) was cut to 256 to fit a line of the file");
  CWorldProp loaded;
  loaded.WPInitialise();
  ASSERT_EQ(FFLoadWorldProp(path.c_str(), &loaded), 1);
  EXPECT_EQ(std::string(loaded.clnText), std::string(256, 'c'));

  world.worldName[256] = '\0';
  world.clnText[256] = '\0';
  Save(&world);
  FFGetError(&code);
  EXPECT_EQ(code, kFFErrorGeneral);
  world.clnText[256] = 'c';
  world.clnText[258] = '\0';
  FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(FFWriteWorldProp(stream, &world), 1);
  std::fclose(stream);
  FFGetError(&code);
  EXPECT_EQ(code, kFFErrorValueCut);
  ASSERT_EQ(FFGetLastFileProblem(problem, sizeof problem), 1);
  EXPECT_EQ(std::string(problem), "the stream: the text of [CLN] (258 characters) was cut to 256 to fit a line of the file");
}

}  // namespace
