// vesta world show | check | graph, and what pack shares with them, end to
// end.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "programs/vesta/test_world.h"

namespace vesta::testing {
namespace {

TEST_F(WorldCommandTest, ShowListsRoomsItemsAndTheirFilesMarkingWhatIsMissing) {
  MakeWorld(Media("gone.bmp"));
  RunResult shown = RunTool({"world", "show", world_});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.out.find("world \"Small\""), std::string::npos);
  EXPECT_NE(shown.out.find("room 0 \"Hall\""), std::string::npos);
  EXPECT_NE(shown.out.find("item 3 \"Lamp\""), std::string::npos);
  EXPECT_NE(shown.out.find("texture [PIF]: " + Media("gone.bmp") + "  [missing]"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("texture of the shape: shade.bmp  [missing]"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("1 room, 2 items; 2 files missing"), std::string::npos) << shown.out;

  RunResult json = RunTool({"world", "show", world_, "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  nlohmann::json document = nlohmann::json::parse(json.out);
  EXPECT_EQ(document["name"], "Small");
  ASSERT_EQ(document["rooms"].size(), 1u);
  ASSERT_EQ(document["rooms"][0]["items"].size(), 2u);
  const nlohmann::json& lamp = document["rooms"][0]["items"][1];
  EXPECT_EQ(lamp["name"], "Lamp");
  EXPECT_EQ(lamp["files"][0]["present"], false);
  EXPECT_EQ(lamp["files"][1]["dependants"][0]["stored"], "shade.bmp");
}

TEST_F(WorldCommandTest, ShowAndGraphTellItemsThatStrayFromTheirRoomInTheWorldsOrder) {
  // Read as a stream: an item before its room waits for it, an item of a
  // room the world lacks is listed at the end, and one whose room came
  // before another is told where it stands, with its room named.
  auto item = [](int index, int room, const std::string& name) {
    return "[ITEM]\n" + Field("[ITI]", std::to_string(index)) + Field("[IPS]", std::to_string(room)) +
           Field("[INA]", name) + "[METI]\n";
  };
  auto room = [](int index, const std::string& name, int parentItem) {
    return "[SECT]\n" + Field("[RIX]", std::to_string(index)) + Field("[RNA]", name) +
           Field("[PIX]", std::to_string(parentItem)) + "[TCES]\n";
  };
  Write(world_, "[WORL]\n" + Field("[NAM]", "Odd") + "[LROW]\n" + item(5, 1, "Early") + room(0, "Hall", -1) +
                    item(2, 0, "Desk") + item(9, 7, "Lost") + room(1, "Den", 2) + item(6, 1, "Chair") +
                    item(3, 0, "Late"));
  RunResult shown = RunTool({"world", "show", world_});
  ASSERT_EQ(shown.status, 0) << shown.err;
  const std::string expected =
      "world \"Odd\"  " + world_ + "\n  catalogue [FTY]: " + catalogue_ +
      "\n"
      "  room 0 \"Hall\" (8 sides)\n"
      "    item 2 \"Desk\"\n"
      "  room 1 \"Den\" (8 sides)\n"
      "    item 5 \"Early\"\n"
      "    item 6 \"Chair\"\n"
      "  item 3 \"Late\" in room 0\n"
      "  item 9 \"Lost\" in room 7, which the world lacks\n"
      "2 rooms, 5 items\n";
  EXPECT_EQ(shown.out, expected);

  RunResult json = RunTool({"world", "show", world_, "--json"});
  ASSERT_EQ(json.status, 0) << json.err;
  nlohmann::json document = nlohmann::json::parse(json.out);
  ASSERT_EQ(document["rooms"].size(), 2u);
  EXPECT_EQ(document["rooms"][0]["items"].size(), 2u);
  EXPECT_EQ(document["rooms"][1]["items"][0]["name"], "Early");
  EXPECT_EQ(document["items_without_room"][0]["name"], "Lost");

  // The room hangs from the item that leads into it, read after it.
  RunResult graph = RunTool({"world", "graph", world_});
  ASSERT_EQ(graph.status, 0) << graph.err;
  EXPECT_NE(graph.out.find("  w_i2 -> w_r1;\n"), std::string::npos) << graph.out;
  EXPECT_NE(graph.out.find("  w -> w_i9;\n"), std::string::npos) << graph.out;
  EXPECT_LT(graph.out.find("w_r1 [shape=house"), graph.out.find("w_i5 [shape=box"));
  RunResult checked = RunTool({"world", "check", world_});
  EXPECT_NE(checked.out.find("world \"Odd\", 2 rooms, 5 items"), std::string::npos) << checked.out;
}

TEST_F(WorldCommandTest, CheckFindsAMissingTextureAndNamesTheItem) {
  MakeWorld(Media("gone.bmp"));
  Write(Media("shade.bmp"), "shade");  // the shape's texture is found beside it
  RunResult checked = RunTool({"world", "check", world_});
  EXPECT_EQ(checked.status, 1);
  EXPECT_NE(checked.out.find("MISSING  " + Media("gone.bmp") + "  (item 3 \"Lamp\": texture [PIF])"),
            std::string::npos)
      << checked.out;
  EXPECT_NE(checked.out.find("ok       " + Media("shade.bmp")), std::string::npos) << checked.out;
  EXPECT_NE(checked.out.find("ok       " + Media("hit.wav") + "  (room 0 \"Hall\": hit sound [HSN], and 2 more)"),
            std::string::npos)
      << checked.out;
  EXPECT_NE(checked.out.find("ok       " + catalogue_), std::string::npos);
  EXPECT_NE(checked.out.find("1 missing"), std::string::npos);

  RunResult json = RunTool({"world", "check", world_, "--json"});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(nlohmann::json::parse(json.out)["missing"], 1);

  ASSERT_TRUE(platform::RemoveFile(world_.c_str()));
  MakeWorld(Media("lamp.bmp"));
  RunResult whole = RunTool({"world", "check", world_});
  EXPECT_EQ(whole.status, 0) << whole.out;
  EXPECT_NE(whole.out.find("0 missing"), std::string::npos);
}

TEST_F(WorldCommandTest, AWorldThatCannotBeReadIsNamedWithItsReason) {
  RunResult missing = RunTool({"world", "check", home_ + "worlds\\Nothing.vwq"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("Nothing.vwq"), std::string::npos) << missing.err;
  Write(world_, "this is no world\n");
  RunResult garbage = RunTool({"world", "show", world_});
  EXPECT_EQ(garbage.status, 1);
  EXPECT_NE(garbage.err.find(world_ + ": not a world file"), std::string::npos) << garbage.err;
}

TEST_F(WorldCommandTest, AHostPathInAWorldIsRefusedByCheckAndPack) {
  // A world from elsewhere names a file of the host: never read, never packed.
  MakeWorld("/etc/hostname");
  RunResult checked = RunTool({"world", "check", world_});
  EXPECT_EQ(checked.status, 1);
  // A host path here; on Windows, no full path.
  EXPECT_NE(checked.out.find("REFUSED  /etc/hostname  (item 3 \"Lamp\": texture [PIF]): "), std::string::npos)
      << checked.out;
  EXPECT_NE(checked.out.find(", 1 refused\n"), std::string::npos) << checked.out;
  EXPECT_EQ(nlohmann::json::parse(RunTool({"world", "check", world_, "--json"}).out)["refused"], 1);
  EXPECT_NE(RunTool({"world", "show", world_}).out.find("/etc/hostname  [refused: "), std::string::npos);

  const std::string out = scratch_.Path("Out");
  RunResult packed = RunTool({"world", "pack", world_, out});
  EXPECT_EQ(packed.status, 1);
  EXPECT_NE(packed.err.find("refused /etc/hostname (item 3 \"Lamp\": texture [PIF]): "), std::string::npos)
      << packed.err;
  EXPECT_FALSE(platform::FolderExists(out.c_str()));
}

TEST_F(WorldCommandTest, ADamagedWorldIsToldAndPackedOnlyWhenAsked) {
  MakeWorld(Media("lamp.bmp"));
  Write(Media("shade.bmp"), "shade");
  // A room cut short (its end tag lost) before the items, and a field that
  // declares more than its line holds.
  std::string text = ReadTextFile(world_);
  text.replace(text.find("[TCES]"), 6, "");
  const size_t name = text.find("[INA][6]Report");
  ASSERT_NE(name, std::string::npos);
  text.replace(name, 14, "[INA][60]Report");
  Write(world_, text);
  auto lineOf = [&text](const char* part) {
    return "line " + std::to_string(std::count(text.begin(), text.begin() + text.find(part), '\n') + 1) + ": ";
  };
  const std::string roomLine = lineOf("[SECT]");
  const std::string fieldLine = lineOf("[INA][60]");

  RunResult checked = RunTool({"world", "check", world_});
  EXPECT_EQ(checked.status, 1);
  EXPECT_NE(checked.out.find("PROBLEM  " + world_ + ": " + roomLine + "a room cut short was skipped"), std::string::npos)
      << checked.out;
  EXPECT_NE(checked.out.find(fieldLine + "a field of an item that cannot be read (code 5014)"), std::string::npos)
      << checked.out;
  RunResult shown = RunTool({"world", "show", world_});
  EXPECT_EQ(shown.status, 0);
  EXPECT_NE(shown.out.find("DAMAGED  " + world_ + ": " + roomLine + "a room cut short was skipped"), std::string::npos)
      << shown.out;
  EXPECT_EQ(nlohmann::json::parse(RunTool({"world", "show", world_, "--json"}).out)["damage"].size(), 2u);

  const std::string out = scratch_.Path("Out");
  RunResult refused = RunTool({"world", "pack", world_, out});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("the world is damaged (2 records or fields cannot be read)"), std::string::npos)
      << refused.err;
  EXPECT_FALSE(platform::FolderExists(out.c_str()));
  RunResult lenient = RunTool({"world", "pack", world_, out, "--damaged", "--quiet"});
  EXPECT_EQ(lenient.status, 0) << lenient.err;
  EXPECT_TRUE(platform::FileExists((out + "\\Small.vwq").c_str()));
}

TEST_F(WorldCommandTest, GraphDrawsWorldRoomsItemsAndFilesWithTheMissingDashed) {
  MakeWorld(Media("gone.bmp"));
  RunResult graph = RunTool({"world", "graph", world_});
  ASSERT_EQ(graph.status, 0) << graph.err;
  EXPECT_EQ(graph.out.rfind("digraph world {", 0), 0u);
  EXPECT_NE(graph.out.find("w -> w_r0;"), std::string::npos);
  EXPECT_NE(graph.out.find("w_r0 -> w_i3;"), std::string::npos);
  EXPECT_NE(graph.out.find("label=\"gone.bmp\\n(missing)\", tooltip="), std::string::npos) << graph.out;
  EXPECT_NE(graph.out.find("color=red"), std::string::npos);
  EXPECT_EQ(graph.out.back(), '\n');
  // A name that cannot go on dot's command line is refused, leaving nothing.
  RunResult refused = RunTool({"world", "graph", world_, "--svg", scratch_.Path("a\"b.svg")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_FALSE(platform::FileExists(scratch_.Path("a\"b.svg.dot").c_str()));
}

// The sample installation of examples/, where this test can reach it.
std::string SampleRoot() {
  for (std::string root : {std::string(VESTA_SOURCE_DIR) + "/examples/root", "Z:" + std::string(VESTA_SOURCE_DIR) + "/examples/root"}) {
    if (platform::FolderExists((root + "/drive_c/VESTA/media").c_str())) return root;
  }
  return std::string();
}

TEST_F(WorldCommandTest, TheSampleWorldPackedAndMovedToAnotherRootFindsEveryMediaFile) {
  const std::string sample = SampleRoot();
  if (sample.empty()) GTEST_SKIP() << "the examples folder cannot be reached from here";
  for (const char* folder : {"media", "worlds"}) {
    for (const std::string& file : platform::FindFiles((sample + "/drive_c/VESTA/" + folder + "/*").c_str())) {
      std::string name = file.substr(file.find_last_of("\\/") + 1);
      ASSERT_TRUE(platform::CopyOneFile(file.c_str(), (home_ + folder + "\\" + name).c_str(), false)) << file;
    }
  }
  // The sample names C:\VESTA\...: its paths are made this installation's.
  std::string world = ReadBinaryFile(home_ + "worlds\\Sample.vwq");
  std::string catalogue = ReadBinaryFile(home_ + "worlds\\VESTA.vft");
  for (std::string* text : {&world, &catalogue}) {
    std::string moved;
    for (size_t at = 0;;) {
      size_t tag = text->find("]C:\\VESTA\\", at);
      if (tag == std::string::npos) {
        moved += text->substr(at);
        break;
      }
      // Each field's length grows with the path: "[24]C:\VESTA\..." gets
      // the new length.
      size_t open = text->rfind('[', tag);
      size_t end = text->find_first_of("[\r\n", tag + 1);
      std::string path = home_ + text->substr(tag + 10, end - tag - 10);
      // On a line of its own: a long home would make the sample's lines too
      // long for the reader.
      // The field's tag ("[CTX]") stands before its length.
      moved += text->substr(at, open - 5 - at) + "\n" + text->substr(open - 5, 5) + "[" +
               std::to_string(path.size()) + "]" + path + "\n";
      at = end;
    }
    *text = moved;
  }
  ASSERT_TRUE(WriteBinaryFile(home_ + "worlds\\Sample.vwq", world));
  ASSERT_TRUE(WriteBinaryFile(home_ + "worlds\\VESTA.vft", catalogue));
  const std::string sampleWorld = home_ + "worlds\\Sample.vwq";
  RunResult checked = RunTool({"world", "check", sampleWorld});
  ASSERT_EQ(checked.status, 0) << checked.out << checked.err;
  ASSERT_NE(checked.out.find("26 files: 26 present, 0 missing"), std::string::npos) << checked.out;

  const std::string out = scratch_.Path("Travel\\");
  RunResult packed = RunTool({"world", "pack", sampleWorld, out});
  ASSERT_EQ(packed.status, 0) << packed.err;
  std::vector<std::pair<std::string, std::string>> files;
  for (const std::string& file : platform::FindFiles((out + "*").c_str())) {
    files.emplace_back(file.substr(file.find_last_of("\\/") + 1), ReadBinaryFile(file));
  }
  ASSERT_GT(files.size(), 20u);

  // Another machine: a fresh root without an installation.
  ScratchFolder other;
  Forget();
  const std::string moved = other.Path("Moved\\");
  ASSERT_TRUE(platform::MakeFolder(moved.c_str()));
  for (const auto& file : files) ASSERT_TRUE(WriteBinaryFile(moved + file.first, file.second));
  RunResult there = RunTool({"world", "check", moved + "Sample.vwq"});
  EXPECT_EQ(there.status, 0) << there.out << there.err;
  EXPECT_NE(there.out.find("26 files: 26 present, 0 missing"), std::string::npos) << there.out;
  EXPECT_EQ(there.out.find(home_), std::string::npos) << there.out;
  RunResult shown = RunTool({"world", "show", moved + "Sample.vwq"});
  EXPECT_NE(shown.out.find("ceiling texture [CTX]: " + moved + "FWC01.bmp\n"), std::string::npos) << shown.out;
}

}  // namespace
}  // namespace vesta::testing
