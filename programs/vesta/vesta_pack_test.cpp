// vesta world pack, end to end.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/crash.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "programs/vesta/test_world.h"
#include "vesta/vprop.h"
#include "vesta/vsetu_machine.h"

namespace vesta::testing {
namespace {

TEST_F(WorldCommandTest, PackRefusesAWorldWithMissingFilesAndChangesNothing) {
  MakeWorld(Media("gone.bmp"));
  const std::string out = scratch_.Path("Out");
  RunResult packed = RunTool({"world", "pack", world_, out});
  EXPECT_EQ(packed.status, 1);
  EXPECT_NE(packed.err.find("missing " + Media("gone.bmp") + " (item 3 \"Lamp\": texture [PIF])"), std::string::npos)
      << packed.err;
  EXPECT_NE(packed.err.find("nothing was packed"), std::string::npos);
  EXPECT_FALSE(platform::FolderExists(out.c_str()));
}

TEST_F(WorldCommandTest, ANestedWorldInTheTravellingFormTravelsWhole) {
  // The catalogue names a world packed before: its catalogue and media are
  // named from its own folder.
  const std::string inner = home_ + "Inner\\";
  ASSERT_TRUE(platform::MakeFolder(inner.c_str()));
  Write(inner + "Inner.vwq", "[WORL]\n" + Field("[NAM]", "Inner") + Field("[FTY]", "?VESTAVWQDIR?Inner.vft") +
                                "[LROW]\n[SECT]\n" + Field("[RNA]", "Cave") + Field("[CTX]", "?VESTAVWQDIR?stone.bmp") +
                                "[TCES]\n");
  Write(inner + "Inner.vft", "[FTLS]\n" + Field("[TYP]", "Note") + Field("[END]", ".not") +
                                Field("[TXT]", "?VESTAVWQDIR?moss.bmp") + "[SLTF]\n");
  Write(inner + "stone.bmp", "stone");
  Write(inner + "moss.bmp", "moss");
  Write(catalogue_, ReadTextFile(catalogue_) + "[FTLS]\n" + Field("[TYP]", "World") + Field("[END]", ".vwq") +
                        Field("[USH]", inner + "Inner.vwq") + "[SLTF]\n");
  MakeWorld(Media("lamp.bmp"));
  Write(Media("shade.bmp"), "shade");
  ASSERT_EQ(RunTool({"world", "check", world_}).status, 0);

  const std::string out = scratch_.Path("Out\\");
  RunResult packed = RunTool({"world", "pack", world_, out, "--quiet"});
  ASSERT_EQ(packed.status, 0) << packed.err;
  // Without the originals, the package holds all it names.
  for (const char* name : {"Inner.vwq", "Inner.vft", "stone.bmp", "moss.bmp"}) {
    ASSERT_TRUE(platform::RemoveFile((inner + name).c_str())) << name;
  }
  RunResult checked = RunTool({"world", "check", out + "Small.vwq"});
  EXPECT_EQ(checked.status, 0) << checked.out;
  for (const char* name : {"Inner.vft", "stone.bmp", "moss.bmp"}) {
    EXPECT_NE(checked.out.find("ok       " + out + name), std::string::npos) << name << "\n" << checked.out;
  }
}

TEST_F(WorldCommandTest, PackDryRunListsTheCopiesAndAPackTwiceReusesThem) {
  MakeWorld(Media("lamp.bmp"));
  Write(Media("shade.bmp"), "shade");
  const std::string out = scratch_.Path("Out\\");
  // A file of another content holds a name: the copy is numbered.
  ASSERT_TRUE(platform::MakeFolder(out.c_str()));
  Write(out + "wall.bmp", "another wall");

  RunResult dry = RunTool({"world", "pack", world_, out, "--dry-run"});
  ASSERT_EQ(dry.status, 0) << dry.err;
  EXPECT_NE(dry.out.find("rename  " + Media("wall.bmp") + " -> " + out + "wall_2.bmp"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("copy    " + Media("doc.bmp") + " -> " + out + "doc.bmp"), std::string::npos);
  EXPECT_NE(dry.out.find("nothing was changed"), std::string::npos);
  EXPECT_FALSE(platform::FileExists((out + "doc.bmp").c_str()));

  RunResult packed = RunTool({"world", "pack", world_, out});
  ASSERT_EQ(packed.status, 0) << packed.err;
  EXPECT_NE(packed.out.find("packed " + world_ + " into " + out + "Small.vwq"), std::string::npos) << packed.out;
  EXPECT_NE(packed.out.find("8 files: 7 copied, 0 reused, 1 renamed"), std::string::npos) << packed.out;
  EXPECT_NE(packed.out.find("log: " + home_ + "temp\\Normaliz.txt"), std::string::npos) << packed.out;
  // Not a terminal: plain progress lines, the last one whole.
  EXPECT_NE(packed.err.find("packing: 100%  8/8 files"), std::string::npos) << packed.err;
  // Between the first line and the last, the normaliser's walk moved it on.
  EXPECT_GE(std::count(packed.err.begin(), packed.err.end(), '\n'), 3) << packed.err;
  EXPECT_EQ(packed.err.find("\r"), std::string::npos);
  EXPECT_EQ(ReadTextFile(out + "wall.bmp"), "another wall");
  EXPECT_EQ(ReadTextFile(out + "wall_2.bmp"), "media wall.bmp");
  std::string stored = ReadTextFile(out + "Small.vwq");
  EXPECT_NE(stored.find("?VESTAVWQDIR?wall_2.bmp"), std::string::npos) << stored;
  EXPECT_EQ(stored.find(home_), std::string::npos) << stored;

  RunResult again = RunTool({"world", "pack", world_, out, "--quiet"});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.out, "");
  EXPECT_EQ(again.err, "");
  // Media that the pack did not rewrite are the same bytes: used again.
  RunResult dryAgain = RunTool({"world", "pack", world_, out, "-n"});
  EXPECT_NE(dryAgain.out.find("reuse   " + Media("doc.bmp") + " -> " + out + "doc.bmp\n"), std::string::npos)
      << dryAgain.out;
  EXPECT_NE(dryAgain.out.find("reuse   " + Media("wall.bmp") + " -> " + out + "wall_2.bmp\n"), std::string::npos);
  EXPECT_NE(dryAgain.out.find("0 to copy"), std::string::npos) << dryAgain.out;
}

TEST_F(WorldCommandTest, PackRefusesTheWorldsOwnFolder) {
  MakeWorld(Media("lamp.bmp"));
  Write(Media("shade.bmp"), "shade");
  std::string before = ReadTextFile(world_);
  RunResult packed = RunTool({"world", "pack", world_, home_ + "worlds"});
  EXPECT_EQ(packed.status, 1);
  EXPECT_NE(packed.err.find("the world's own folder"), std::string::npos) << packed.err;
  EXPECT_EQ(ReadTextFile(world_), before);
}

TEST_F(WorldCommandTest, APackThatFailsHalfWayTakesItsCopiesBackAndSaysWhy) {
  MakeWorld(Media("lamp.bmp"));
  Write(Media("shade.bmp"), "shade");
  const std::string out = scratch_.Path("Out\\");
  ASSERT_TRUE(platform::MakeFolder(out.c_str()));
  Write(out + "kept.txt", "was here before");
  RunResult failed;
  {
    // The first file put in place whole (a rewritten copy, the world) fails.
    FailingOutput full(platform::FaultPoint::kRename, 1);
    failed = RunTool({"world", "pack", world_, out, "--quiet"});
    EXPECT_TRUE(full.Fired());
  }
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("failed: "), std::string::npos) << failed.err;
  EXPECT_NE(failed.err.find("the copies it made are removed"), std::string::npos);
  std::vector<std::string> left = platform::FindFiles((out + "*").c_str());
  ASSERT_EQ(left.size(), 1u) << left.size();
  EXPECT_EQ(ReadTextFile(out + "kept.txt"), "was here before");

  // Each sync that fails (a rewritten copy's, the copies' together, the
  // world's) fails the pack the same way: no world file, no copies.
  int syncs = 0;
  for (int nth = 1; nth < 20; ++nth) {
    FailingOutput broken(platform::FaultPoint::kSync, nth);
    RunResult run = RunTool({"world", "pack", world_, out, "--quiet"});
    if (!broken.Fired()) {
      EXPECT_EQ(run.status, 0) << run.err;
      break;
    }
    ++syncs;
    EXPECT_EQ(run.status, 1) << nth;
    EXPECT_NE(run.err.find("the copies it made are removed"), std::string::npos) << nth << run.err;
    EXPECT_EQ(platform::FindFiles((out + "*").c_str()).size(), 1u) << nth;
  }
  EXPECT_GE(syncs, 2);
  EXPECT_TRUE(platform::FileExists((out + "Small.vwq").c_str()));
  // The pack after one that failed makes again what that one took back.
  const std::string again = scratch_.Path("Again\\");
  {
    FailingOutput broken(platform::FaultPoint::kSync, 1);
    EXPECT_EQ(RunTool({"world", "pack", world_, again, "--quiet"}).status, 1);
  }
  EXPECT_EQ(RunTool({"world", "pack", world_, again, "--quiet"}).status, 0);
  RunResult checked = RunTool({"world", "check", again + "Small.vwq"});
  EXPECT_EQ(checked.status, 0) << checked.out;

  // A world of no rooms has nothing the normaliser can save: said before
  // anything is made.
  CWorldProp bare;
  bare.WPInitialise();
  const std::string roomless = scratch_.Path("Roomless.vwq");
  ASSERT_EQ(FFSaveWorldProp(roomless.c_str(), &bare), 1);
  bare.WPTerminate();
  RunResult empty = RunTool({"world", "pack", roomless, scratch_.Path("Empty\\")});
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find(roomless + ": the world has no rooms"), std::string::npos) << empty.err;
  EXPECT_FALSE(platform::FolderExists(scratch_.Path("Empty").c_str()));
}

TEST_F(WorldCommandTest, APackKilledAtAnyPointLeavesNoWorldFileAndTheNextPackSucceeds) {
  if (!CanKillWriters()) GTEST_SKIP() << "no process can be killed mid-write here";
  MakeWorld(Media("lamp.bmp"));
  Write(Media("shade.bmp"), "shade");
  // Media large enough that a kill lands in the middle of a copy, each of
  // its own bytes.
  std::vector<std::pair<std::string, std::string>> media;
  for (const char* name : {"wall.bmp", "floor.bmp", "doc.bmp", "hit.wav", "lamp.bmp", "shade.bmp"}) {
    std::string bytes(1 << 20, name[0]);
    for (size_t i = 0; i < bytes.size(); i += 4093) bytes[i] = static_cast<char>(i % 251);
    ASSERT_TRUE(WriteBinaryFile(Media(name), bytes)) << name;
    media.emplace_back(name, bytes);
  }
  auto pack = [this](const std::string& folder) { return RunTool({"world", "pack", world_, folder, "--quiet"}); };
  // Every file under the name of a medium is a whole copy of it, and none
  // is numbered beside one (as one would be beside a copy cut short); a
  // temporary may stay only when allowed.
  auto expectWholeCopies = [&](const std::string& folder, bool temporariesAllowed, int round) {
    for (const auto& [name, bytes] : media) {
      const std::string copy = folder + name;
      if (platform::FileExists(copy.c_str())) {
        EXPECT_TRUE(ReadBinaryFile(copy) == bytes) << round << ": " << name << " is not whole";
      }
      char numbered[300];
      ASSERT_EQ(VSCopyName(name.c_str(), 2, numbered, sizeof numbered), 1);
      EXPECT_FALSE(platform::PathExists((folder + numbered).c_str())) << round << ": " << numbered;
    }
    if (temporariesAllowed) return;
    for (const std::string& file : platform::FindFiles((folder + "*").c_str())) {
      const std::string name = file.substr(folder.size());
      EXPECT_NE(name.rfind(".tmp"), name.size() - 4) << round << ": " << name;
    }
  };
  // A whole pack, as a child runs it, sets the span the kills are aimed
  // across: the shortest of three (the first also puts the media just
  // written on the disk).
  auto span = std::chrono::microseconds::max();
  for (int timed = 0; timed < 3; ++timed) {
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(RunInChild([&] { return pack(scratch_.Path("Timed" + std::to_string(timed) + "\\")).status == 0; }));
    span = std::min(span, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started));
  }
  constexpr int kRounds = 16;
  int killed = 0;
  for (int round = 0; round < kRounds; ++round) {
    const std::string folder = scratch_.Path("Out" + std::to_string(round) + "\\");
    const std::string packed = folder + "Small.vwq";
    // The child packs once and ends; killed while at it, or not.
    const bool caught = RunAndKill(
        [&] {
          pack(folder);
          return false;
        },
        span * round / kRounds);
    killed += caught ? 1 : 0;
    // A world file there is one that was put in place whole, with every
    // file it names beside it.
    if (platform::FileExists(packed.c_str())) {
      RunResult checked = RunTool({"world", "check", packed});
      EXPECT_EQ(checked.status, 0) << round << "\n" << checked.out;
    } else {
      EXPECT_TRUE(caught) << round << ": a pack that ended left no world file";
    }
    expectWholeCopies(folder, true, round);
    // The next pack into the folder succeeds, whatever the killed one left,
    // and takes away the temporaries it left.
    RunResult again = pack(folder);
    EXPECT_EQ(again.status, 0) << round << "\n" << again.err;
    RunResult checked = RunTool({"world", "check", packed});
    EXPECT_EQ(checked.status, 0) << round << "\n" << checked.out;
    expectWholeCopies(folder, false, round);
  }
  EXPECT_GE(killed, kRounds / 2);
}

}  // namespace
}  // namespace vesta::testing
