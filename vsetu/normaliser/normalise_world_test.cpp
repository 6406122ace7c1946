// Normalising a whole world: its media, shapes and their textures, side
// files, preview picture and catalogue (which names a second world) travel
// into one folder, which is then moved; everything resolves there again.
#include <cstring>
#include <string>
#include <vector>

#include "common/path_tokens.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "vsetu/normaliser/test_normaliser.h"
#include "vsetu/services/saver_config.h"

namespace {

using vesta::testing::NormaliserTest;
using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

std::string Field(const char* tag, const std::string& value) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value;
}

class NormaliseWorldTest : public NormaliserTest {
 protected:
  void SetUp() override {
    NormaliserTest::SetUp();
    src_ = scratch_.Path("src\\");
    out_ = scratch_.Path("out\\");
    ASSERT_TRUE(vesta::platform::MakeFolder(src_.c_str()));
    wall_ = Media("wall.bmp", "BM wall");
    stone_ = Media("stone.bmp", "BM stone");
    hit_ = Media("hit.wav", "RIFF hit");
    door_ = Media("door.vvc", "; door");
    shape_ = Media("doc.x", "xof 0302txt 0032\nMaterial m {\n TextureFilename { \"stone.bmp\"; }\n}\n");
    journey_ = home_ + "worlds\\journey.vkp";
    Touch(journey_);

    // The catalogue names a second world, whose own catalogue is the first's.
    catalogue_ = src_ + "types.vft";
    second_ = src_ + "Second.vwq";
    ASSERT_TRUE(WriteTextFile(catalogue_, "[FTLS]\n" + Field("[TYP]", "Text") + "\n" + Field("[END]", ".txt") +
                                              "\n" + Field("[USH]", shape_) + "\n" + Field("[TXT]", wall_) + "\n" +
                                              Field("[SND]", hit_) + "\n" + Field("[EXC]", windows_ + "\\notepad.exe") +
                                              "\n[SLTF]\n[FTLS]\n" + Field("[TYP]", "Portal") + "\n" +
                                              Field("[KOL]", second_) + "\n[SLTF]\n"));
    ASSERT_TRUE(WriteTextFile(second_, "\n[WORL]\n" + Field("[NAM]", "Second") + Field("[FTY]", catalogue_) +
                                           "\n[LROW]\n\n[ITEM]\n" + Field("[INA]", "Stone") + Field("[PIF]", stone_) +
                                           "\n[METI]\n"));

    world_ = src_ + "Home.vwq";
    ASSERT_TRUE(WriteTextFile(
        world_, "\n[WORL]\n" + Field("[NAM]", "Home") + Field("[FTY]", catalogue_) + "\n[LROW]\n\n[SECT]\n" +
                    Field("[RNA]", "Hall") + Field("[DNA]", "C:\\Users\\Public\\Desktop") + Field("[WTX]", wall_) +
                    Field("[DVA]", door_) + Field("[HSN]", hit_) + "\n[TCES]\n\n[ITEM]\n" + Field("[INA]", "Report") +
                    Field("[TGT]", "C:\\Users\\Public\\Desktop\\Report.txt") + Field("[XFL]", shape_) +
                    Field("[PIF]", wall_) + Field("[COS]", hit_) + "\n[METI]\n"));
    vss_ = src_ + "Home.vss";
    ASSERT_TRUE(WriteTextFile(vss_, Field("[WOR]", world_) + "\n" + Field("[JFN]", journey_) + "\n"));
    ASSERT_TRUE(WriteTextFile(src_ + "Home.nss", vss_ + "\nsecond line\n"));
    ASSERT_TRUE(WriteTextFile(src_ + "Home.txt", "About this world.\n"));
    ASSERT_TRUE(WriteTextFile(src_ + "Home.bmp", "BM preview"));
  }

  // The path a travelling value names once its folder is folder.
  static std::string Resolved(const char* value, const std::string& folder) {
    char path[kVUPathBuffer];
    VUCopyN(path, value, kVUMaxPath);
    VUExpandPath(path, kVUFolderToken, folder.c_str());
    return path;
  }

  void ExpectInside(const std::string& path, const std::string& folder) {
    EXPECT_EQ(path.compare(0, folder.size(), folder), 0) << path << " is not in " << folder;
    EXPECT_TRUE(vesta::platform::FileExists(path.c_str())) << path;
  }

  std::string src_, out_, wall_, stone_, hit_, door_, shape_, journey_, catalogue_, second_, world_, vss_;
};

TEST_F(NormaliseWorldTest, EverythingTravelsAndResolvesInTheMovedFolder) {
  ASSERT_EQ(NUNormaliseVIQFile(world_.c_str(), out_.c_str()), 1);
  for (const char* name : {"Home.vwq", "Home.nss", "Home.vss", "Home.txt", "Home.bmp", "types.vft", "Second.vwq",
                           "wall.bmp", "stone.bmp", "hit.wav", "door.vvc", "doc.x", "journey.vkp"}) {
    EXPECT_TRUE(vesta::platform::FileExists((out_ + name).c_str())) << name;
  }
  EXPECT_EQ(ReadTextFile(out_ + "Home.nss"), "?VESTAVWQDIR?Home.vss\n");
  // The shape names the copy of its texture, in the relative form.
  EXPECT_NE(ReadTextFile(out_ + "doc.x").find("{ \"?VESTAVWQDIR?stone.bmp\"; }"), std::string::npos);

  // Move the normalised world away and take the originals out of reach.
  const std::string moved = scratch_.Path("elsewhere\\");
  ASSERT_TRUE(vesta::platform::MoveOver(scratch_.Path("out").c_str(), scratch_.Path("elsewhere").c_str()));
  for (const std::string& original : {wall_, stone_, hit_, door_, shape_, journey_, catalogue_, second_, world_}) {
    ASSERT_TRUE(vesta::platform::RemoveFile(original.c_str())) << original;
  }

  CWorldProp world;
  world.WPInitialise();
  ASSERT_EQ(FFLoadWorldProp((moved + "Home.vwq").c_str(), &world), 1);
  CRoomProp room;
  room.RPInitialise();
  ASSERT_EQ(FFLoadRoomProp((moved + "Home.vwq").c_str(), &room), 1);
  CItemProp item;
  item.IPInitialise();
  ASSERT_EQ(FFLoadItemProp((moved + "Home.vwq").c_str(), &item), 1);
  for (const char* value : {world.fileTypeCatalogue, room.wallTexture, room.doorKolbFile, room.hitSound,
                            item.unselectedShape, item.texture, item.collideSound}) {
    EXPECT_EQ(std::strncmp(value, kVUFolderToken, std::strlen(kVUFolderToken)), 0) << value;
    ExpectInside(Resolved(value, moved), moved);
  }
  EXPECT_STREQ(item.target, "C:\\Users\\Public\\Desktop\\Report.txt");  // outside: as it was
  EXPECT_STREQ(room.folder, "C:\\Users\\Public\\Desktop");

  // The catalogue loads with its paths in the moved folder.
  CVFileTypeList types;
  types.FLInitialise();
  types.FLSetDeRelativiseOnLoad(1);
  ASSERT_EQ(types.FLLoadFileTypeList(Resolved(world.fileTypeCatalogue, moved).c_str()), 1);
  CVFileType* text = nullptr;
  ASSERT_EQ(types.FLFindFileType("Text", &text), 1);
  ExpectInside(text->unselectedShape, moved);
  ExpectInside(text->texture, moved);
  ExpectInside(text->selectedSound, moved);
  EXPECT_EQ(std::string(text->executable), windows_ + "\\notepad.exe");  // the machine's own folder
  // The shape names its texture in the moved folder too.
  EXPECT_NE(ReadTextFile(text->unselectedShape).find("\"" + moved + "stone.bmp\""), std::string::npos);
  CVFileType* portal = nullptr;
  ASSERT_EQ(types.FLFindFileType("Portal", &portal), 1);
  ExpectInside(portal->kolbFile, moved);

  // The second world was normalised too, and its screensaver setup follows.
  CItemProp stone;
  stone.IPInitialise();
  ASSERT_EQ(FFLoadItemProp(portal->kolbFile, &stone), 1);
  ExpectInside(Resolved(stone.texture, moved), moved);
  SaverConfig setup;
  VSLoadSaverConfig((moved + "Home.vss").c_str(), &setup);
  ExpectInside(setup.journeyFile, moved);
  EXPECT_EQ(std::string(setup.world), moved + "Home.vwq");
}

TEST_F(NormaliseWorldTest, TheLogTellsEachStepInOrder) {
  ASSERT_EQ(NUNormaliseVIQFile(world_.c_str(), out_.c_str()), 1);
  const std::string log = LogText();
  const std::vector<std::string> inOrder = {
      // The world record first: its catalogue, and the second world that
      // the catalogue names, normalised while the catalogue is rewritten.
      "        Copying: " + catalogue_ + "\n",
      "   Already being normalised: ",
      "   Adding ITEM: Stone\n",
      // Then each record as it is read: taken in, its files copied, its
      // paths rewritten.
      "   Adding ROOM: Hall\n",
      "        Copying: " + wall_ + "\n",
      out_ + "wall.bmp -> ?VESTAVWQDIR?wall.bmp\n",
      "   Adding ITEM: Report\n",
      // The side files last.
      out_ + "Home.nss -> ?VESTAVWQDIR?Home.nss\n",
  };
  size_t at = 0;
  for (const std::string& line : inOrder) {
    size_t found = log.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
    at = found + line.size();
  }
}

}  // namespace
