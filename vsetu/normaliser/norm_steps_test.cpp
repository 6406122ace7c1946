// The copy, relativise and save steps one by one, the side files, the log
// and the normalisation folders.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/path_tokens.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/fault_points.h"
#include "platform/file_output.h"
#include "platform/testing/fault_injection.h"
#include "vsetu/normaliser/test_normaliser.h"
#include "vsetu/services/saver_config.h"

namespace {

using vesta::testing::NormaliserTest;
using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

std::string Field(const char* tag, const std::string& value) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value;
}

int gClicks = 0;
int CountClick() { return ++gClicks; }

class NormStepsTest : public NormaliserTest {
 protected:
  void SetUp() override {
    NormaliserTest::SetUp();
    // A world without a catalogue of its own takes the installation's.
    ASSERT_TRUE(WriteTextFile(home_ + "worlds\\VESTA.vft", "[FTLS]\n[TYP][4]Text\n[SLTF]\n"));
  }

  void Load(const std::string& text) {
    source_ = scratch_.Path("w.vwq");
    ASSERT_TRUE(WriteTextFile(source_, text));
    ASSERT_EQ(builder_.NBLoadFile(source_.c_str()), 1);
  }
  CTheList* Head() {
    CTheList* head = nullptr;
    builder_.NBGetListHeadPointer(&head);
    return head;
  }
  std::string source_;
};

TEST_F(NormStepsTest, WithoutATargetFolderNothingIsCopiedOrRewritten) {
  const std::string wall = Media("wall.bmp");
  Load("[WORL]\n[LROW]\n[ITEM]\n" + Field("[PIF]", wall) + "\n[METI]\n");
  EXPECT_EQ(builder_.NBCopyList(), 1);
  EXPECT_EQ(builder_.NBRelativize(), 1);
  EXPECT_EQ(std::string(Head()->item->texture), wall);
  EXPECT_EQ(builder_.NBSaveWorld(), 0);
  EXPECT_EQ(LogText().find("Copying"), std::string::npos);
}

TEST_F(NormStepsTest, AnEmptyCatalogueFieldTakesTheDefaultCatalogue) {
  Load("[WORL]\n[NAM][1]w\n[LROW]\n[SECT]\n[RNA][1]r\n[TCES]\n");
  const std::string out = scratch_.Path("out\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(out.c_str()));
  builder_.NBSetTargetDirectory(out.c_str());
  ASSERT_EQ(builder_.NBCopyList(), 1);
  CWorldProp* world = nullptr;
  builder_.NBGetWorldPointer(&world);
  EXPECT_EQ(std::string(world->fileTypeCatalogue), out + "VESTA.vft");
  ASSERT_EQ(builder_.NBRelativize(), 1);
  EXPECT_STREQ(world->fileTypeCatalogue, "?VESTAVWQDIR?VESTA.vft");
  ASSERT_EQ(builder_.NBSaveWorld(), 1);
  EXPECT_NE(ReadTextFile(out + "w.vwq").find("[FTY][22]?VESTAVWQDIR?VESTA.vft"), std::string::npos);
}

TEST_F(NormStepsTest, AnEmptyElementStopsTheStepsAfterOneClick) {
  Load("[WORL]\n[LROW]\n[ITEM]\n[INA][1]a\n[METI]\n");
  CTheList* empty = new CTheList;
  empty->TLInitialise();
  Head()->next = empty;
  builder_.NBSetTargetDirectory(scratch_.Folder().c_str());
  builder_.NBSetClickCallback(CountClick);
  gClicks = 0;
  EXPECT_EQ(builder_.NBCopyList(), 0);
  EXPECT_EQ(gClicks, 2);
  EXPECT_EQ(builder_.NBRelativize(), 0);
  EXPECT_EQ(gClicks, 4);
  EXPECT_EQ(builder_.NBSaveWorld(), 0);
  const std::string log = LogText();
  EXPECT_NE(log.find("        ERROR: <Empty List Element>\n"), std::string::npos);
}

TEST_F(NormStepsTest, OneReadingWritesWhatTheStepsWriteAndLeavesTheListAlone) {
  const std::string wall = Media("wall.bmp");
  const std::string hit = Media("hit.wav");
  Load("[WORL]\n[LROW]\n[SECT]\n" + Field("[RNA]", "Hall") + Field("[WTX]", wall) + "\n[TCES]\n[ITEM]\n" +
       Field("[INA]", "Doc") + Field("[PIF]", wall) + Field("[COS]", hit) + "\n[METI]\n");
  CTheList* head = Head();
  const std::string steps = scratch_.Path("steps\\");
  const std::string once = scratch_.Path("once\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(steps.c_str()));
  ASSERT_TRUE(vesta::platform::MakeFolder(once.c_str()));
  builder_.NBSetTargetDirectory(steps.c_str());
  ASSERT_EQ(builder_.NBCopyList(), 1);
  ASSERT_EQ(builder_.NBRelativize(), 1);
  ASSERT_EQ(builder_.NBSaveWorld(), 1);

  builder_.NBSetTargetDirectory(once.c_str());
  builder_.NBSetClickCallback(CountClick);
  gClicks = 0;
  ASSERT_EQ(builder_.NBNormaliseFile(source_.c_str()), 1);
  EXPECT_EQ(gClicks, 2);  // one per room or item
  // The same fields, whatever line the writer's shared counter breaks at.
  auto fields = [](std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return text;
  };
  EXPECT_EQ(fields(ReadTextFile(once + "w.vwq")), fields(ReadTextFile(steps + "w.vwq")));
  EXPECT_NE(ReadTextFile(once + "w.vwq").find("?VESTAVWQDIR?wall.bmp"), std::string::npos);
  EXPECT_EQ(ReadTextFile(once + "hit.wav"), "media");
  EXPECT_EQ(Head(), head);

  // A file that is missing stops the run: no world file names what was
  // not copied.
  const std::string broken = scratch_.Path("broken\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(broken.c_str()));
  ASSERT_TRUE(WriteTextFile(source_, "[WORL]\n[LROW]\n[ITEM]\n" + Field("[PIF]", home_ + "media\\gone.bmp") +
                                         "\n[METI]\n"));
  builder_.NBSetTargetDirectory(broken.c_str());
  EXPECT_EQ(builder_.NBNormaliseFile(source_.c_str()), 0);
  EXPECT_FALSE(vesta::platform::FileExists((broken + "w.vwq").c_str()));
}

TEST_F(NormStepsTest, AWorldLargerThanABlockReachesTheFileWholeAndInOrder) {
  std::string text = "[WORL]\n[LROW]\n";
  const int items = 3000;  // some 2 MB once every field is written
  for (int i = 0; i < items; ++i) text += "[ITEM]\n" + Field("[INA]", "Item " + std::to_string(i)) + "\n[METI]\n";
  source_ = scratch_.Path("w.vwq");
  ASSERT_TRUE(WriteTextFile(source_, text));
  const std::string out = scratch_.Path("out\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(out.c_str()));
  builder_.NBSetTargetDirectory(out.c_str());
  ASSERT_EQ(builder_.NBNormaliseFile(source_.c_str()), 1);
  FILE* stream = vesta::platform::OpenStream((out + "w.vwq").c_str(), "r");
  ASSERT_NE(stream, nullptr);
  std::vector<std::string> names;
  FFReadHandlers handlers{};
  handlers.item = [](CItemProp* item, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(item->name);
    return 1;
  };
  handlers.context = &names;
  CItemProp item;
  item.IPInitialise();
  EXPECT_EQ(FFReadTagFile(stream, nullptr, nullptr, &item, handlers, kFFReadAll), 1);
  std::fclose(stream);
  ASSERT_EQ(names.size(), static_cast<size_t>(items));
  for (int i = 0; i < items; i += 997) EXPECT_EQ(names[static_cast<size_t>(i)], "Item " + std::to_string(i));
  EXPECT_EQ(names.back(), "Item " + std::to_string(items - 1));
}

TEST_F(NormStepsTest, AnExistingPreviewPictureStaysAndTheTargetsAreRewrittenButNotCopied) {
  const std::string out = scratch_.Path("out\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(out.c_str()));
  ASSERT_TRUE(WriteTextFile(out + "w.bmp", "BM kept"));
  ASSERT_TRUE(WriteTextFile(scratch_.Path("w.bmp"), "BM new"));
  const std::string target = windows_ + "\\notepad.exe";
  Load("[WORL]\n[LROW]\n[ITEM]\n" + Field("[TGT]", target) + Field("[CMD]", out + "run.bat") + "\n[METI]\n");
  builder_.NBSetTargetDirectory(out.c_str());
  ASSERT_EQ(builder_.NBCopyList(), 1);
  EXPECT_EQ(ReadTextFile(out + "w.bmp"), "BM kept");
  ASSERT_EQ(builder_.NBRelativize(), 1);
  EXPECT_STREQ(Head()->item->target, "?WINDIR?notepad.exe");
  EXPECT_STREQ(Head()->item->commandLine, "?VESTAVWQDIR?run.bat");
  EXPECT_FALSE(vesta::platform::FileExists((out + "notepad.exe").c_str()));
}

TEST_F(NormStepsTest, AMissingMediaFileStopsTheCopyAfterItsLine) {
  Load("[WORL]\n[LROW]\n[ITEM]\n" + Field("[PIF]", home_ + "media\\gone.bmp") + "\n[METI]\n");
  builder_.NBSetTargetDirectory(scratch_.Folder().c_str());
  EXPECT_EQ(builder_.NBCopyList(), 0);
  const std::string log = LogText();
  EXPECT_EQ(log.substr(log.size() - std::string("gone.bmp\n").size()), "gone.bmp\n");
  // A step called on its own that fails has its line in the file too.
  char copy[kVUPathBuffer] = "";
  EXPECT_EQ(builder_.NBCopyToTarget((home_ + "media\\lost.wav").c_str(), scratch_.Folder().c_str(), copy), 0);
  EXPECT_EQ(LogText(), log + "        Copying: " + home_ + "media\\lost.wav\n");
}

TEST_F(NormStepsTest, APathWhoseRelativeFormDoesNotFitIsLeftAndReported) {
  builder_.NBSetTargetDirectory("C:\\W\\");
  char path[kVUPathBuffer] = "C:\\W\\a.bmp";
  EXPECT_EQ(builder_.NBConvertToRelative(path), 1);
  EXPECT_STREQ(path, "?VESTAVWQDIR?a.bmp");
  // The token is longer than the folder it stands for.
  const std::string longer = "C:\\W\\" + std::string(250, 'a');
  std::strcpy(path, longer.c_str());
  EXPECT_EQ(builder_.NBConvertToRelative(path), 0);
  EXPECT_EQ(std::string(path), longer);
  // The room or item that holds such a path fails its step.
  CRoomProp room;
  room.RPInitialise();
  std::strcpy(room.folder, longer.c_str());
  EXPECT_EQ(builder_.NBRevRoom(&room), 0);
  std::strcpy(room.folder, "C:\\W\\room");
  EXPECT_EQ(builder_.NBRevRoom(&room), 1);
  EXPECT_STREQ(room.folder, "?VESTAVWQDIR?room");
  CItemProp item;
  item.IPInitialise();
  for (char* field : {item.target, item.workingFolder, item.commandLine, item.texture, item.kolbFile,
                      item.unselectedShape, item.selectedShape, item.collideSound, item.selectedSound,
                      item.openSound, item.deleteSound}) {
    std::strcpy(field, longer.c_str());
    EXPECT_EQ(builder_.NBRevItem(&item), 0);
    field[0] = '\0';
  }
  EXPECT_EQ(builder_.NBRevItem(&item), 1);
  EXPECT_EQ(builder_.NBRevWorld(nullptr), 0);
  EXPECT_EQ(builder_.NBRevRoom(nullptr), 0);
  EXPECT_EQ(builder_.NBRevItem(nullptr), 0);
  EXPECT_EQ(builder_.NBCopyWorld(nullptr), 0);
  EXPECT_EQ(builder_.NBCopyRoom(nullptr), 0);
  EXPECT_EQ(builder_.NBCopyItem(nullptr), 0);
}

TEST_F(NormStepsTest, AMissingRoomOrItemMediaFileStopsTheCopy) {
  for (const char* tag : {"[CTX]", "[FTX]", "[WTX]", "[DTX]"}) {
    Load("[WORL]\n[LROW]\n[SECT]\n" + Field(tag, home_ + "media\\gone.bmp") + "\n[TCES]\n");
    builder_.NBSetTargetDirectory(scratch_.Folder().c_str());
    EXPECT_EQ(builder_.NBCopyList(), 0) << tag;
  }
  for (const char* tag : {"[SSS]", "[XFL]", "[COS]", "[SES]", "[OPS]", "[XDS]"}) {
    Load("[WORL]\n[LROW]\n[ITEM]\n" + Field(tag, home_ + "media\\gone.x") + "\n[METI]\n");
    builder_.NBSetTargetDirectory(scratch_.Folder().c_str());
    EXPECT_EQ(builder_.NBCopyList(), 0) << tag;
  }
}

TEST_F(NormStepsTest, SideFilesAreRewrittenFromTheirFirstLineOrNotAtAll) {
  builder_.NBSetTargetDirectory(scratch_.Folder().c_str());
  const std::string nss = scratch_.Path("x.nss");
  ASSERT_TRUE(WriteTextFile(nss, scratch_.Path("a.vss") + "\nline two\n"));
  ASSERT_EQ(builder_.NBConvertNSSToRelative(nss.c_str()), 1);
  EXPECT_EQ(ReadTextFile(nss), "?VESTAVWQDIR?a.vss\n");
  ASSERT_TRUE(WriteTextFile(nss, ""));
  EXPECT_EQ(builder_.NBConvertNSSToRelative(nss.c_str()), 0);
  // An empty first line names nothing: the file keeps every line.
  ASSERT_TRUE(WriteTextFile(nss, "\nsecond\n"));
  EXPECT_EQ(builder_.NBConvertNSSToRelative(nss.c_str()), 0);
  EXPECT_EQ(ReadTextFile(nss), "\nsecond\n");
  EXPECT_EQ(builder_.NBConvertNSSToRelative(""), 0);

  // A journey that is neither ".vvc" nor ".vkp" stays; the world is rewritten.
  const std::string vss = scratch_.Path("y.vss");
  ASSERT_TRUE(WriteTextFile(vss, Field("[JFN]", "C:\\Journeys\\j.txt") + "\n" +
                                     Field("[WOR]", scratch_.Path("world.vwq")) + "\n"));
  ASSERT_EQ(builder_.NBConvertVSSToRelative(vss.c_str()), 1);
  SaverConfig config;
  VSLoadSaverConfig("", &config);
  VSReadSaverConfigFile(&config, vss.c_str());
  EXPECT_STREQ(config.journeyFile, "C:\\Journeys\\j.txt");
  EXPECT_STREQ(config.world, "?VESTAVWQDIR?world.vwq");

  // A journey that cannot be copied leaves the file as it was.
  const std::string before = Field("[JFN]", "C:\\Journeys\\gone.vkp") + "\n";
  ASSERT_TRUE(WriteTextFile(vss, before));
  EXPECT_EQ(builder_.NBConvertVSSToRelative(vss.c_str()), 0);
  EXPECT_EQ(ReadTextFile(vss), before);

  EXPECT_EQ(builder_.NBConvertVFTToRelative(scratch_.Path("none.vft").c_str()), 1);
  EXPECT_FALSE(vesta::platform::FileExists(scratch_.Path("none.vft").c_str()));
}

std::string WithoutLineFeeds(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  return text;
}

// How many calls point gets in one run of write that nothing fails.
int CallsOf(vesta::platform::FaultPoint point, const std::function<void()>& write) {
  vesta::testing::FailingOutput never(point, 1 << 30);
  write();
  return vesta::platform::FaultCalls(point);
}

TEST_F(NormStepsTest, ASideFileOrWorldThatCannotBeWrittenWholeStaysAsItWas) {
  using vesta::testing::FaultCase;
  const std::string out = scratch_.Path("out\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(out.c_str()));
  builder_.NBSetTargetDirectory(out.c_str());
  auto where = [](const FaultCase& run) {
    return std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
  };

  // The side file: the log's lines wait until the step returns and reach
  // its file in one append after the side file, and a log line lost is no
  // reason to fail.
  const std::string nss = out + "x.nss";
  const std::string before = out + "a.vss\nline two\n";
  auto prepareNss = [&] { ASSERT_TRUE(WriteTextFile(nss, before)); };
  auto convert = [&] { return builder_.NBConvertNSSToRelative(nss.c_str()) == 1; };
  prepareNss();
  const int writes = CallsOf(vesta::platform::FaultPoint::kWrite, convert);
  ASSERT_EQ(writes, 2);
  const int nssFlushes = CallsOf(vesta::platform::FaultPoint::kFlush, convert);
  ASSERT_EQ(nssFlushes, 2);
  const int closes = CallsOf(vesta::platform::FaultPoint::kClose, convert);
  ASSERT_EQ(closes, 2);
  int fired = vesta::testing::ForEveryFault(prepareNss, convert, [&](const FaultCase& run, bool converted) {
    const bool logLine = (run.point == vesta::platform::FaultPoint::kWrite && run.nth == writes) ||
                         (run.point == vesta::platform::FaultPoint::kFlush && run.nth == nssFlushes) ||
                         (run.point == vesta::platform::FaultPoint::kClose && run.nth == closes);
    EXPECT_EQ(converted, !run.fired || logLine) << where(run);
    EXPECT_EQ(ReadTextFile(nss), converted ? "?VESTAVWQDIR?a.vss\n" : before) << where(run);
  });
  EXPECT_EQ(fired, 8);

  // The world: a record a write and a flush, then the commit; where the
  // records are gathered in memory, one flush more hands them to the file.
  // The step logs nothing of its own.
  Load("[WORL]\n[NAM][1]w\n[LROW]\n[SECT]\n[RNA][1]r\n[TCES]\n[ITEM]\n[INA][1]a\n[METI]\n");
  const std::string world = out + "w.vwq";
  ASSERT_EQ(builder_.NBSaveWorld(), 1);
  const std::string saved = WithoutLineFeeds(ReadTextFile(world));
  ASSERT_EQ(saved.rfind("[WORL]", 0), 0u);
  ASSERT_NE(saved.find("[LROW][SECT]"), std::string::npos);
  ASSERT_NE(saved.find("[TCES][ITEM]"), std::string::npos);
  const std::string old = "[WORL]\n[NAM][3]old\n[LROW]\n";
  auto prepareWorld = [&] { ASSERT_TRUE(WriteTextFile(world, old)); };
  auto save = [&] { return builder_.NBSaveWorld() == 1; };
  prepareWorld();
  const int flushes = CallsOf(vesta::platform::FaultPoint::kFlush, save);
  const bool gathered = vesta::platform::MemoryStream().Stream() != nullptr;
  ASSERT_EQ(flushes, gathered ? 5 : 4);
  fired = vesta::testing::ForEveryFault(prepareWorld, save, [&](const FaultCase& run, bool written) {
    EXPECT_EQ(written, !run.fired) << where(run);
    const std::string text = ReadTextFile(world);
    if (written) {
      EXPECT_EQ(WithoutLineFeeds(text), saved) << where(run);
    } else {
      EXPECT_EQ(text, old) << where(run);
    }
  });
  EXPECT_EQ(fired, gathered ? 12 : 10);  // one write and one flush more

  // Without a folder, or without a source to name the world after, nothing
  // is written.
  EXPECT_EQ(builder_.NBSaveWorld(nullptr, Head()), 0);
  CVNormBuilder unnamed;
  unnamed.NBInitialise();
  EXPECT_EQ(unnamed.NBSaveWorld(out.c_str(), Head()), 0);
  std::vector<std::string> files = vesta::platform::FindFiles((out + "*").c_str());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{world, nss}));
}

TEST_F(NormStepsTest, AMissingWorldFileIsNotNormalisedAndNotLogged) {
  EXPECT_EQ(NUNormaliseVIQFile(scratch_.Path("none.vwq").c_str(), scratch_.Path("out\\").c_str()), 0);
  EXPECT_EQ(LogText(), "<missing>");
}

TEST_F(NormStepsTest, TheLogLivesInTheTempFolderOrAtTheRootOfDriveC) {
  // Nothing to append still makes the file.
  EXPECT_EQ(VSAppendNormaliserLog(nullptr, 1), 1);
  EXPECT_EQ(LogText(), "");
  // What a caller appends is in the file when the call returns.
  EXPECT_EQ(VSAppendNormaliserLog("one ", 1), 1);
  EXPECT_EQ(LogText(), "one ");
  EXPECT_EQ(VSAppendNormaliserLog("two\n", 1), 1);
  EXPECT_EQ(LogText(), "one two\n");
  // An append the file did not take is told.
  vesta::platform::ArmFault(vesta::platform::FaultPoint::kWrite, 1);
  EXPECT_EQ(VSAppendNormaliserLog("three\n", 1), 0);
  vesta::platform::ArmFault(vesta::platform::FaultPoint::kWrite, 0);
  EXPECT_EQ(LogText(), "one two\n");

  // Without an installation the log goes to C:\VESTNORM.LOG, fixed for good.
  ForgetNormaliser();
  ForgetState();
  ASSERT_TRUE(vesta::platform::RegistryDeleteValue(vesta::platform::RegRoot::kLocalMachine,
                                                   "SOFTWARE\\vesta3d\\VESTA\\CurrentVersion", "Home"));
  VSAppendNormaliserLog("", 1);
  EXPECT_STREQ(vesta::vsetu::NormaliserLogFile(), "C:\\VESTNORM.LOG");
  ForgetNormaliser();
}

TEST_F(NormStepsTest, TheFoldersFallBackToTheirDefaults) {
  ForgetState();
  ASSERT_TRUE(vesta::platform::RegistryDeleteValue(vesta::platform::RegRoot::kLocalMachine,
                                                   "SOFTWARE\\vesta3d\\VESTA\\CurrentVersion", "Home"));
  EXPECT_EQ(VSSetNormalisationVariables(), 1);
  EXPECT_STREQ(VUInstallationFolder(), "C:\\Program Files\\vesta3d\\vesta\\");
  char path[kVUPathBuffer] = "C:\\Program Files\\Tools\\t.exe";
  VUNormalisePath(path);
  EXPECT_STREQ(path, "?PROGDIR?Tools\\t.exe");
  std::strcpy(path, "?WINDIR?x.ini");
  VUExpandPath(path, kVUFolderToken, "D:\\");
  EXPECT_EQ(std::string(path), windows_ + "\\x.ini");
}

}  // namespace
