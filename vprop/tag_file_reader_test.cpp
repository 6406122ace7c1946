// The tag file reader: modes, framing, field parsing and error codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"

namespace {

using vesta::testing::ScratchFolder;

// What the library's slots hold before anything else in this program runs.
unsigned int gErrorAtLoad = 12345;
char gCommentAtLoad[300] = "";
int gCommentResultAtLoad = -1;
const bool gSlotsRead = [] {
  FFGetError(&gErrorAtLoad);
  gCommentResultAtLoad = FFGetComment(gCommentAtLoad);
  return true;
}();

unsigned int Error() {
  unsigned int code = 0;
  FFGetError(&code);
  return code;
}

class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_.WPInitialise();
    room_.RPInitialise();
    item_.IPInitialise();
  }
  void TearDown() override {
    if (stream_ != nullptr) std::fclose(stream_);
  }

  // A stream over text, from a file in the scratch folder.
  FILE* Open(const std::string& text) {
    if (stream_ != nullptr) std::fclose(stream_);
    std::string path = scratch_.Path("read.vwq");
    EXPECT_TRUE(vesta::testing::WriteTextFile(path, text));
    stream_ = vesta::platform::OpenStream(path.c_str(), "r");
    EXPECT_NE(stream_, nullptr);
    return stream_;
  }

  int Read(const std::string& text, int mode) {
    return FFReadTagFile(Open(text), &world_, nullptr, &room_, nullptr, &item_, nullptr, mode);
  }

  ScratchFolder scratch_;
  FILE* stream_ = nullptr;
  CWorldProp world_;
  CRoomProp room_;
  CItemProp item_;
};

TEST(SlotsTest, BeforeAnyOperationTheSlotsHoldTheirFirstValues) {
  ASSERT_TRUE(gSlotsRead);
  EXPECT_EQ(gErrorAtLoad, 0u);
  EXPECT_EQ(gCommentResultAtLoad, 1);
  EXPECT_STREQ(gCommentAtLoad, "VPProp.dll");

  char buffer[300];
  EXPECT_EQ(FFSetComment("built by hand"), 1);
  EXPECT_EQ(FFGetComment(buffer), 1);
  EXPECT_STREQ(buffer, "built by hand");
  char small[6];
  EXPECT_EQ(FFGetComment(small, sizeof small), 1);
  EXPECT_STREQ(small, "built");
  EXPECT_EQ(FFSetComment(std::string(400, 'c').c_str()), 1);
  EXPECT_EQ(FFGetComment(buffer), 1);
  EXPECT_EQ(std::strlen(buffer), 263u);
  EXPECT_EQ(FFSetComment(""), 1);
  std::strcpy(buffer, "untouched");
  EXPECT_EQ(FFGetComment(buffer), 0);
  EXPECT_STREQ(buffer, "untouched");
  FFSetComment("VPProp.dll");

  EXPECT_EQ(FFSetError(77), 1);
  EXPECT_EQ(Error(), 77u);
}

TEST_F(ReaderTest, NothingToOpenGivesZeroAndTheCleanCode) {
  EXPECT_EQ(Read("", 0), 0);
  EXPECT_EQ(Error(), 5006u);
  EXPECT_EQ(Read("some text\n[NAM][5]Attic\n[LROW]\n", 0), 0);
  EXPECT_EQ(Error(), 5006u);
  EXPECT_EQ(Read("[WORL]\n[NAM][5]Attic\n[LROW]\n", 7), 0);
  EXPECT_EQ(Error(), 5006u);
  EXPECT_STREQ(world_.worldName, "");
}

TEST_F(ReaderTest, AModeOpensOnlyItsOwnKind) {
  const std::string world = "[WORL]\n[NAM][5]Attic\n[LROW]\n";
  EXPECT_EQ(Read(world, 1), 0);
  EXPECT_EQ(Error(), 5006u);
  EXPECT_STREQ(world_.worldName, "");

  const std::string file = "[ITEM]\n[INA][3]pen\n[METI]\n" + world + "[SECT]\n[RNA][4]Hall\n[TCES]\n";
  EXPECT_EQ(Read(file, 0), 1);
  EXPECT_STREQ(world_.worldName, "Attic");
  EXPECT_STREQ(item_.name, "");
  EXPECT_EQ(Read(file, 1), 1);
  EXPECT_STREQ(room_.roomName, "Hall");
  EXPECT_EQ(Read(file, 2), 1);
  EXPECT_STREQ(item_.name, "pen");
  EXPECT_EQ(Error(), 5006u);
}

TEST_F(ReaderTest, TagLinesOpenAndCloseWhateverFollowsThem) {
  EXPECT_EQ(Read("[WORL] and more [MAP][1]4\n[NAM][2]Ok\n[LROW][MAP][1]5\n", 0), 1);
  EXPECT_STREQ(world_.worldName, "Ok");
  EXPECT_EQ(world_.mapNumber, 0);
  // Only a head that is the whole tag opens a record.
  EXPECT_EQ(Read("[WOR\n[NAM][2]No\n[LROW]\n", 0), 0);
}

TEST_F(ReaderTest, OneMoreLineIsTakenAfterTheRecordThatEndsTheRead) {
  FILE* stream = Open("[WORL]\n[LROW]\nconsumed\nnext\n");
  EXPECT_EQ(FFReadTagFile(stream, &world_, nullptr, nullptr, nullptr, nullptr, nullptr, 0), 1);
  char line[32];
  ASSERT_NE(std::fgets(line, sizeof line, stream), nullptr);
  EXPECT_STREQ(line, "next\n");
}

TEST_F(ReaderTest, AnUnknownWorldTagDropsTheRestOfTheLine) {
  EXPECT_EQ(Read("[WORL]\n[MAP][1]7[ZZZ][1]1[ICN][1]2\n[NAM][3]Den\n[LROW]\n", 0), 1);
  EXPECT_EQ(world_.mapNumber, 7);
  EXPECT_EQ(world_.iconNumber, 0);
  EXPECT_STREQ(world_.worldName, "Den");
  EXPECT_EQ(Error(), 5014u);
}

TEST_F(ReaderTest, RoomsAndItemsSkipUnlistedFields) {
  EXPECT_EQ(Read("[SECT]\n[RIX][1]7[ZZZ][1]1[NSI][1]5\n[TCES]\n", 1), 1);
  EXPECT_EQ(room_.roomIndex, 7);
  EXPECT_EQ(room_.sideCount, 5);
  EXPECT_EQ(Error(), 5006u);
  EXPECT_EQ(Read("[ITEM]\n[ITI][1]4[Q-1][3]abc[SPT][1]2\n[METI]\n", 2), 1);
  EXPECT_EQ(item_.itemIndex, 4);
  EXPECT_EQ(item_.specialType, 2);
  EXPECT_EQ(Error(), 5006u);
  // Not bracketed: not a field at all.
  EXPECT_EQ(Read("[ITEM]\n[ITI][1]4ZZZZZ[1]1[SPT][1]3\n[METI]\n", 2), 1);
  EXPECT_EQ(item_.specialType, 2);
  EXPECT_EQ(Error(), 5014u);
  // A known tag framed by anything but its brackets is no field either.
  for (const char* line : {"[ITI][1]4(SPT][1]3", "[ITI][1]4[SPT)[1]3"}) {
    EXPECT_EQ(Read(std::string("[ITEM]\n") + line + "\n[METI]\n", 2), 1) << line;
    EXPECT_EQ(item_.specialType, 2) << line;
    EXPECT_EQ(Error(), 5014u) << line;
  }
}

TEST_F(ReaderTest, ValuesAreTakenByTheirDeclaredLength) {
  EXPECT_EQ(Read("[WORL]\n[NAM][3]a]b[RWN][4][x] \n[LROW]\n", 0), 1);
  EXPECT_STREQ(world_.worldName, "a]b");
  EXPECT_STREQ(world_.rwnText, "[x] ");
  EXPECT_EQ(Read("[WORL]\n[NAM][0][MAP][ 2]12\n[LROW]\n", 0), 1);
  EXPECT_STREQ(world_.worldName, "");
  EXPECT_EQ(world_.mapNumber, 12);
  EXPECT_EQ(Error(), 5006u);
  // A length of 0 in the number reader's other forms, and lengths with
  // every digit.
  EXPECT_EQ(Read("[WORL]\n[NAM][ 0][MAP][1]7[RWN][+0]\n[LROW]\n", 0), 1);
  EXPECT_STREQ(world_.worldName, "");
  EXPECT_EQ(world_.mapNumber, 7);
  EXPECT_EQ(Error(), 5006u);
  const std::string nineteen(19, 'n');
  const std::string longName(209, 'l');
  EXPECT_EQ(Read("[WORL]\n[NAM][19]" + nineteen + "[MAP][1]9\n[RWN][9]123456789\n[NAM][209]" + longName +
                     "[ICN][2]98\n[LROW]\n",
                 0),
            1);
  EXPECT_EQ(std::string(world_.worldName), longName);
  EXPECT_STREQ(world_.rwnText, "123456789");
  EXPECT_EQ(world_.mapNumber, 9);
  EXPECT_EQ(world_.iconNumber, 98);
  EXPECT_EQ(Error(), 5006u);
}

TEST_F(ReaderTest, EachMalformedFieldLeavesItsCode) {
  struct Case {
    const char* line;
    unsigned int code;
  } cases[] = {
      {" [MAP][1]1", 5014},                    // a space between fields
      {"[map][1]1", 5014},                     // tags are case-sensitive
      {"[MAP]1]1", 5013},                      // no "[" after the tag
      {"[MAP][1", 5011},                       // length not closed
      {"[MAP][266]1", 5012},                   // too long for any line
      {"[MAP][-1]1", 5014},                    // negative length
      {"[MAP][x]1", 5014},                     // no length
      {"[MAP][]", 5014},                       // an empty length
      {"[MAP][ 266]1", 5012},                  // too long, in another form
      {"[MAP][9]12", 5014},                    // value runs past the line
      {"[MA", 5014},                           // a tag cut short
      {"[MAP]", 5013},                         // a whole tag, and the line ends
  };
  for (const Case& c : cases) {
    world_.WPTerminate();
    world_.WPInitialise();
    std::string file = std::string("[WORL]\n[ICN][1]3") + c.line + "\n[NAM][2]Ok\n[LROW]\n";
    EXPECT_EQ(Read(file, 0), 1) << c.line;
    EXPECT_EQ(Error(), c.code) << c.line;
    EXPECT_EQ(world_.iconNumber, 3) << c.line;
    EXPECT_STREQ(world_.worldName, "Ok") << c.line;
    EXPECT_EQ(world_.mapNumber, 0) << c.line;
  }
}

TEST_F(ReaderTest, ALineLongerThan266CharactersGoesOnAsAFurtherLine) {
  std::string name(250, 'n');
  std::string file = "[WORL]\n[NAM][250]" + name + "[MAP][1]4\n[LROW]\n";
  // 260 characters before "[MAP][1]4": the tag is cut at 266 and its rest
  // read as a line of its own.
  EXPECT_EQ(Read(file, 0), 1);
  EXPECT_EQ(std::string(world_.worldName), name);
  EXPECT_EQ(world_.mapNumber, 0);
  EXPECT_EQ(Error(), 5014u);
}

// What a mode 3 read delivered and passed over.
struct Delivered {
  std::string world;
  int map = -1;
  std::vector<std::string> items;
  std::vector<std::pair<unsigned int, long>> damage;  // code, line
};

TEST_F(ReaderTest, ModeThreeReadsALongLineAnywhereInALargeFileAsModeZeroDoes) {
  // A line longer than the reader's buffer, wherever it lies in a file of
  // more than 64 KiB (the stream's own buffers end there), reads in mode 3
  // with its damage told on its line, and as mode 0 reads it.
  const std::string name(250, 'n');
  const std::string world = "[WORL]\n[NAM][250]" + name + "[MAP][1]4\n[NAM][250]" + name + "\n[LROW]\n";
  const std::string items = "\n[ITEM]\n[INA][3]cup\n[METI]\n\n[ITEM]\n[INA][3]pen\n[METI]\n";
  const size_t block = 1 << 16;
  for (size_t before : {size_t{1}, size_t{7}, size_t{100}, size_t{259}, size_t{260}, size_t{265}, size_t{266},
                        size_t{267}, size_t{268}, size_t{300}, size_t{520}, size_t{532}, size_t{533}}) {
    // Lines of 99 characters and their line feed, then one to make up the
    // rest, put the record's long line before bytes before a block's end.
    std::string padding;
    const size_t fill = block - before - world.find("[NAM]");
    while (padding.size() + 100 <= fill) padding += std::string(99, 'p') + "\n";
    if (padding.size() < fill) padding += std::string(fill - padding.size() - 1, 'q') + "\n";
    const long worldLine = static_cast<long>(std::count(padding.begin(), padding.end(), '\n')) + 1;
    const std::string file = padding + world + items;

    Delivered seen;
    FFReadHandlers handlers{};
    handlers.world = [](CWorldProp* w, void* context) {
      static_cast<Delivered*>(context)->world = w->worldName;
      static_cast<Delivered*>(context)->map = w->mapNumber;
      return 1;
    };
    handlers.item = [](CItemProp* i, void* context) {
      static_cast<Delivered*>(context)->items.push_back(i->name);
      return 1;
    };
    handlers.damage = [](int, unsigned int code, long line, void* context) {
      static_cast<Delivered*>(context)->damage.emplace_back(code, line);
    };
    handlers.context = &seen;
    EXPECT_EQ(FFReadTagFile(Open(file), &world_, &room_, &item_, handlers, 3), 1) << before;
    EXPECT_EQ(seen.world, name) << before;
    // The field cut at the 266th character is no field, nor is its rest,
    // both on the line where the long line began.
    EXPECT_EQ(seen.map, 0) << before;
    EXPECT_EQ(seen.damage, (std::vector<std::pair<unsigned int, long>>{{5014u, worldLine + 1}, {5014u, worldLine + 1}}))
        << before;
    EXPECT_EQ(seen.items, (std::vector<std::string>{"cup", "pen"})) << before;

    world_.WPTerminate();
    world_.WPInitialise();
    EXPECT_EQ(Read(file, 0), 1) << before;
    EXPECT_EQ(std::string(world_.worldName), name) << before;
    EXPECT_EQ(world_.mapNumber, 0) << before;
  }
}

TEST_F(ReaderTest, TextsOfEveryLengthReadWholeOrCutToTheirField) {
  // Around the length copied as one block, into fields wider and narrower
  // than it; then a short value that ends a line of 266 characters.
  const std::string filler(243, 'f');
  const std::string last = "[WDR][243]" + filler + "[CMD][5]short";
  ASSERT_EQ(last.size(), 266u);
  for (size_t length : {size_t{0}, size_t{1}, size_t{16}, size_t{17}, size_t{31}, size_t{32}, size_t{33}, size_t{64},
                        size_t{65}, size_t{250}}) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    const std::string size = "[" + std::to_string(length) + "]";
    item_.IPInitialise();
    ASSERT_EQ(Read("[ITEM]\n[INA]" + size + text + "\n[PIX]" + size + text + "\n" + last + "\n[METI]\n", 2), 1)
        << length;
    EXPECT_EQ(Error(), kFFErrorReadClean) << length;
    EXPECT_EQ(std::string(item_.name), text) << length;
    EXPECT_EQ(std::string(item_.textureIcon), text.substr(0, 16)) << length;
    EXPECT_EQ(std::string(item_.workingFolder), filler) << length;
    EXPECT_EQ(std::string(item_.commandLine), "short") << length;
  }
}

TEST_F(ReaderTest, WindowsLineEndsReadTheSame) {
  EXPECT_EQ(Read("\r\n[WORL]\r\n[NAM][5]Attic\r\n[LROW]\r\n", 0), 1);
  EXPECT_STREQ(world_.worldName, "Attic");
}

TEST_F(ReaderTest, ARecordCutOffByTheEndOfTheFileIsNotDelivered) {
  EXPECT_EQ(Read("[WORL]\n[NAM][5]Attic\n", 0), 0);
  EXPECT_EQ(Error(), kFFErrorRecordCut);
  EXPECT_STREQ(world_.worldName, "Attic");  // the fields read stay
}

// Mode 3 records what each callback saw.
struct Seen {
  std::vector<std::string> names;
  int refuseAt = -1;
};
Seen gSeen;

int Take(const char* name) {
  gSeen.names.push_back(name);
  return static_cast<int>(gSeen.names.size()) - 1 == gSeen.refuseAt ? 0 : 1;
}
int OnWorld(CWorldProp* w) { return Take(w->worldName); }
int OnRoom(CRoomProp* r) { return Take(r->roomName); }
int OnItem(CItemProp* i) { return Take(i->name); }

const char kWholeWorld[] =
    "\n[WORL]\n[NAM][5]Attic\n[LROW]\n"
    "\n[SECT]\n[RNA][4]Hall\n[TCES]\n"
    "\n[ITEM]\n[INA][3]pen\n[METI]\n"
    "\n[ITEM]\n[INA][3]cup\n[METI]\n";

TEST_F(ReaderTest, ModeThreeHandsEveryRecordToItsCallback) {
  gSeen = Seen();
  EXPECT_EQ(FFReadTagFile(Open(kWholeWorld), &world_, OnWorld, &room_, OnRoom, &item_, OnItem, 3), 1);
  EXPECT_EQ(gSeen.names, (std::vector<std::string>{"Attic", "Hall", "pen", "cup"}));
  EXPECT_EQ(Error(), 5006u);
  EXPECT_STREQ(world_.worldName, "");  // reset after each record
  EXPECT_STREQ(item_.name, "");
}

TEST_F(ReaderTest, ARefusalStopsTheReadAndResetsEveryRecord) {
  gSeen = Seen();
  gSeen.refuseAt = 1;
  EXPECT_EQ(FFReadTagFile(Open(kWholeWorld), &world_, OnWorld, &room_, OnRoom, &item_, OnItem, 3), 0);
  EXPECT_EQ(gSeen.names, (std::vector<std::string>{"Attic", "Hall"}));
  EXPECT_EQ(Error(), 5u);
  EXPECT_STREQ(world_.worldName, "");
  EXPECT_STREQ(room_.roomName, "");
  EXPECT_EQ(room_.vertices, nullptr);
}

TEST_F(ReaderTest, ModeThreeCountsTheRecordsBeforeACutOffOne) {
  gSeen = Seen();
  std::string file = std::string(kWholeWorld) + "[ITEM]\n[INA][3]lid\n";
  EXPECT_EQ(FFReadTagFile(Open(file), &world_, OnWorld, &room_, OnRoom, &item_, OnItem, 3), 1);
  EXPECT_EQ(gSeen.names.size(), 4u);
  EXPECT_STREQ(item_.name, "lid");
}

TEST_F(ReaderTest, ARecordCutShortCostsOnlyItself) {
  // A writer killed in the middle of a room (at a line's end, inside a
  // field, inside the opening tag); the next save starts on a fresh line.
  for (const char* cut : {"\n[SECT]\n[RNA][4]Hall\n", "\n[SECT]\n[RNA][4]Ha\n", "\n[SE\n", "\n[ITEM]\n[INA][3]p\n"}) {
    gSeen = Seen();
    std::string file = "\n[WORL]\n[NAM][5]Attic\n[LROW]\n" + std::string(cut) +
                       "\n[SECT]\n[RNA][5]Study\n[TCES]\n\n[ITEM]\n[INA][3]cup\n[METI]\n";
    EXPECT_EQ(FFReadTagFile(Open(file), &world_, OnWorld, &room_, OnRoom, &item_, OnItem, 3), 1) << cut;
    EXPECT_EQ(gSeen.names, (std::vector<std::string>{"Attic", "Study", "cup"})) << cut;
    // Told through the error slot, unless the cut left no record open.
    EXPECT_EQ(Error(), std::string(cut) == "\n[SE\n" ? 5006u : kFFErrorRecordCut) << cut;
  }
  // The same in the single-record modes: the cut room's fields are gone.
  EXPECT_EQ(Read("\n[SECT]\n[RNA][4]Hall\n[PIX][1]7\n[SECT]\n[RNA][5]Study\n[TCES]\n", 1), 1);
  EXPECT_STREQ(room_.roomName, "Study");
  EXPECT_EQ(Error(), kFFErrorRecordCut);
  room_.RPInitialise();
  // A record of another kind opening ends the cut one too.
  EXPECT_EQ(Read("\n[SECT]\n[RNA][4]Hall\n[ITEM]\n[INA][3]pen\n[METI]\n\n[SECT]\n[RNA][5]Study\n[TCES]\n", 1), 1);
  EXPECT_STREQ(room_.roomName, "Study");
  // So does a world record.
  gSeen = Seen();
  std::string file = "\n[ITEM]\n[INA][3]pen\n[WORL]\n[NAM][5]Attic\n[LROW]\n\n[ITEM]\n[INA][3]cup\n[METI]\n";
  EXPECT_EQ(FFReadTagFile(Open(file), &world_, OnWorld, &room_, OnRoom, &item_, OnItem, 3), 1);
  EXPECT_EQ(gSeen.names, (std::vector<std::string>{"Attic", "cup"}));
  EXPECT_EQ(Error(), kFFErrorRecordCut);
}

TEST_F(ReaderTest, NullObjectsDropFieldsAndMissingCallbacksSkipRecords) {
  gSeen = Seen();
  // The second form: no world record; the world's fields are dropped.
  EXPECT_EQ(FFReadTagFile(Open(kWholeWorld), &room_, OnRoom, nullptr, OnItem, 3), 1);
  // Items have no object: they are read and skipped, not delivered.
  ASSERT_EQ(gSeen.names.size(), 1u);
  EXPECT_EQ(gSeen.names[0], "Hall");
}

TEST_F(ReaderTest, RecordsWithoutACallbackAloneGiveZero) {
  gSeen = Seen();
  EXPECT_EQ(FFReadTagFile(Open(kWholeWorld), &world_, nullptr, &room_, nullptr, &item_, nullptr, 3), 0);
  EXPECT_EQ(Error(), 5006u);
}

TEST_F(ReaderTest, TwoSavesLeaveTwoRecordsAndALoadReadsTheFirst) {
  std::string path = scratch_.Path("two.vwq");
  std::strcpy(world_.worldName, "first");
  ASSERT_EQ(FFSaveWorldProp(path.c_str(), &world_), 1);
  std::strcpy(world_.worldName, "second");
  ASSERT_EQ(FFSaveWorldProp(path.c_str(), &world_), 1);
  EXPECT_EQ(Error(), 5u);

  CWorldProp loaded;
  loaded.WPInitialise();
  EXPECT_EQ(FFLoadWorldProp(path.c_str(), &loaded), 1);
  EXPECT_STREQ(loaded.worldName, "first");
  std::string text = vesta::testing::ReadTextFile(path);
  EXPECT_EQ(text.rfind("\n[WORL]\n", 0), 0u);
  EXPECT_NE(text.find("second"), std::string::npos);
}

TEST_F(ReaderTest, LoadsAndSavesReportFilesThatCannotBeOpened) {
  std::string missing = scratch_.Path("none.vwq");
  std::string badFolder = scratch_.Path("no\\such\\folder.vwq");
  EXPECT_EQ(FFLoadWorldProp(missing.c_str(), &world_), 0);
  EXPECT_EQ(Error(), 5053u);
  EXPECT_EQ(FFLoadRoomProp(missing.c_str(), &room_), 0);
  EXPECT_EQ(Error(), 5000u);
  EXPECT_EQ(FFLoadItemProp(missing.c_str(), &item_), 0);
  EXPECT_EQ(Error(), 5002u);
  EXPECT_EQ(FFSaveWorldProp(badFolder.c_str(), &world_), 0);
  EXPECT_EQ(Error(), 5054u);
  EXPECT_EQ(FFSaveRoomProp(badFolder.c_str(), &room_), 0);
  EXPECT_EQ(Error(), 5001u);
  EXPECT_EQ(FFSaveItemProp(badFolder.c_str(), &item_), 0);
  EXPECT_EQ(Error(), 5003u);
}

}  // namespace
