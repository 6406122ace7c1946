// The catalogue file: writing, reading back, and what the reader forgives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/failing_allocation.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"

namespace {

using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

class CatalogueFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.FLInitialise();
    path_ = scratch_.Path("types.vft");
  }

  CVFileType* Add(const char* name, const char* ending) {
    CVFileType* type = new CVFileType;
    type->FTInitialise();
    type->FTSetFileType(name);
    type->FTSetFileEnding(ending);
    EXPECT_EQ(list_.FLAddFileType(type), 1);
    return type;
  }

  std::vector<CVFileType*> Records(CVFileTypeList* list) {
    std::vector<CVFileType*> records;
    CVFileType* type = nullptr;
    for (int more = list->FLGetFirstFileType(&type); more; more = list->FLGetNextFileType(&type)) {
      records.push_back(type);
    }
    return records;
  }

  vesta::testing::ScratchFolder scratch_;
  CVFileTypeList list_;
  std::string path_;
};

TEST_F(CatalogueFileTest, ARecordIsWrittenFieldByFieldInItsOrder) {
  ASSERT_EQ(list_.FLPrepare(), 1);
  CVFileType* text = Add("Text", ".txt");
  text->FTSetDeleteSound("C:\\s\\del.wav");
  text->FTSetExecutable("notepad.exe");
  text->FTSetCommandLine("notepad.exe %1");
  text->FTSetTiling(0);
  text->FTSetIconIndex("3");
  ASSERT_EQ(list_.FLSaveFileTypeList(path_.c_str()), 1);
  EXPECT_EQ(ReadTextFile(path_),
            "[FTLS]\n[TYP][4]Text\n[END][4].txt\n[CMD][14]notepad.exe %1\n[EXC][11]notepad.exe\n"
            "[ICO][1]3\n[TIL][1]0\n[DEL][12]C:\\s\\del.wav\n[SLTF]\n");
  EXPECT_EQ(std::string(list_.cataloguePath), path_);
}

TEST_F(CatalogueFileTest, ACatalogueReadsBackRecordForRecord) {
  ASSERT_EQ(list_.FLPrepare(), 1);
  CVFileType* full = Add("Document", ".doc");
  const std::string long260(260, 'L');
  const char* texts[] = {"wordpad.exe", "wordpad.exe \"%1\"", "C:\\Docs", "C:\\m\\doc.vvc", "C:\\m\\u.x",
                         "C:\\m\\s.x", "C:\\m\\doc.bmp", "12", "C:\\m\\sel.wav", "C:\\m\\col.wav",
                         "C:\\m\\opn.wav"};
  full->FTSetExecutable(texts[0]);
  full->FTSetCommandLine(texts[1]);
  full->FTSetWorkingDir(texts[2]);
  full->FTSetKOLBFile(texts[3]);
  full->FTSetUnSelectedShape(texts[4]);
  full->FTSetSelectedShape(texts[5]);
  full->FTSetTexture(texts[6]);
  full->FTSetIconIndex(texts[7]);
  full->FTSetSelectedSound(texts[8]);
  full->FTSetCollideSound(texts[9]);
  full->FTSetOpenSound(texts[10]);
  full->FTSetDeleteSound(long260.c_str());
  full->FTSetTiling(2);
  full->FTSetFootPrintDisabled(0);
  Add("", "");  // a record with no field set
  Add("Picture", ".bmp")->FTSetTiling(-1);
  ASSERT_EQ(list_.FLSaveFileTypeList(path_.c_str()), 1);

  CVFileTypeList loaded;
  loaded.FLInitialise();
  ASSERT_EQ(loaded.FLLoadFileTypeList(path_.c_str()), 1);
  std::vector<CVFileType*> before = Records(&list_);
  std::vector<CVFileType*> after = Records(&loaded);
  ASSERT_EQ(after.size(), before.size());
  for (size_t k = 0; k < before.size(); ++k) {
    const char* fieldsA[] = {after[k]->typeName, after[k]->ending, after[k]->executable,
                             after[k]->commandLine, after[k]->workingFolder, after[k]->kolbFile,
                             after[k]->unselectedShape, after[k]->selectedShape, after[k]->texture,
                             after[k]->iconIndex, after[k]->selectedSound, after[k]->collideSound,
                             after[k]->openSound, after[k]->deleteSound};
    const char* fieldsB[] = {before[k]->typeName, before[k]->ending, before[k]->executable,
                             before[k]->commandLine, before[k]->workingFolder, before[k]->kolbFile,
                             before[k]->unselectedShape, before[k]->selectedShape, before[k]->texture,
                             before[k]->iconIndex, before[k]->selectedSound, before[k]->collideSound,
                             before[k]->openSound, before[k]->deleteSound};
    for (size_t f = 0; f < sizeof fieldsA / sizeof fieldsA[0]; ++f) EXPECT_STREQ(fieldsA[f], fieldsB[f]);
    EXPECT_EQ(after[k]->tiling, before[k]->tiling);
    EXPECT_EQ(after[k]->footprintDisabled, before[k]->footprintDisabled);
  }
  EXPECT_EQ(std::string(loaded.cataloguePath), path_);
}

TEST_F(CatalogueFileTest, TheReaderForgivesWhatLiesOutsideRecords) {
  ASSERT_TRUE(WriteTextFile(path_,
                            "header text\n[SLTF]\n[FTLS]\n[TYP][4]Text\n[FTLS]\n[END][4].txt\n"
                            "[TIL][x]1\n[FOO][1]0\n[ZZZ][1]q\n[ICO]\n[SLTF]\n\n[FTLS]\n[TYP][3]Cut\n"));
  ASSERT_EQ(list_.FLLoadFileTypeList(path_.c_str()), 1);
  std::vector<CVFileType*> records = Records(&list_);
  ASSERT_EQ(records.size(), 1u);  // the last record is not closed
  EXPECT_STREQ(records[0]->typeName, "Text");
  EXPECT_STREQ(records[0]->ending, ".txt");
  EXPECT_EQ(records[0]->tiling, -1);
  EXPECT_EQ(records[0]->footprintDisabled, 0);
  EXPECT_STREQ(records[0]->iconIndex, "");
}

TEST_F(CatalogueFileTest, AFailedLoadLeavesAnEmptyCatalogueAndThePathAsItWas) {
  ASSERT_EQ(list_.FLPrepare(), 1);
  Add("Text", ".txt");
  ASSERT_EQ(list_.FLSaveFileTypeList(path_.c_str()), 1);
  EXPECT_EQ(list_.FLLoadFileTypeList(scratch_.Path("missing.vft").c_str()), 0);
  EXPECT_TRUE(Records(&list_).empty());
  EXPECT_EQ(std::string(list_.cataloguePath), path_);
  EXPECT_EQ(list_.FLLoadFileTypeList(""), 0);
}

TEST_F(CatalogueFileTest, ALoadThatRunsOutOfMemoryFailsAndKeepsTheRecordsBeforeIt) {
  ASSERT_TRUE(WriteTextFile(path_, "[FTLS]\n[TYP][4]Text\n[END][4].txt\n[SLTF]\n"
                                   "[FTLS]\n[TYP][3]Pic\n[END][4].bmp\n[SLTF]\n"));
  ASSERT_EQ(list_.FLPrepare(), 1);
  const int failures = vesta::testing::ForEveryFailingAllocation(
      1 << 30, [&] { return list_.FLLoadFileTypeList(path_.c_str()); },
      [&](int result, bool failed, int allowed) {
        if (!failed) {
          EXPECT_EQ(result, 1);
          EXPECT_EQ(Records(&list_).size(), 2u);
          return;
        }
        EXPECT_EQ(result, 0) << allowed;
        EXPECT_LT(Records(&list_).size(), 2u) << allowed;
        EXPECT_STREQ(list_.cataloguePath, "") << allowed;
      });
  EXPECT_GE(failures, 2);
  EXPECT_EQ(std::string(list_.cataloguePath), path_);
}

TEST_F(CatalogueFileTest, AnEmptyCatalogueEmptiesTheFileAndReportsZero) {
  ASSERT_EQ(list_.FLPrepare(), 1);
  Add("Text", ".txt");
  ASSERT_EQ(list_.FLSaveFileTypeList(path_.c_str()), 1);
  ASSERT_EQ(list_.FLPrepare(), 1);
  EXPECT_EQ(list_.FLSaveFileTypeList(path_.c_str()), 0);
  EXPECT_EQ(ReadTextFile(path_), "");
}

TEST_F(CatalogueFileTest, ASaveThatFailsLeavesWhatWasThere) {
  ASSERT_EQ(list_.FLPrepare(), 1);
  Add("Text", ".txt");
  Add("Picture", ".bmp")->FTSetExecutable("paint.exe");
  const std::string before = "[FTLS]\n[TYP][3]Old\n[SLTF]\n";
  const std::string after =
      "[FTLS]\n[TYP][4]Text\n[END][4].txt\n[SLTF]\n[FTLS]\n[TYP][7]Picture\n[END][4].bmp\n[EXC][9]paint.exe\n[SLTF]\n";
  // Any write, flush, sync, close or rename that fails: the old catalogue.
  int fired = vesta::testing::ForEveryFault(
      [&] { ASSERT_TRUE(WriteTextFile(path_, before)); },
      [&] { return list_.FLSaveFileTypeList(path_.c_str()) == 1; },
      [&](const vesta::testing::FaultCase& run, bool saved) {
        const std::string where = std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
        EXPECT_EQ(saved, !run.fired) << where;
        EXPECT_EQ(ReadTextFile(path_), saved ? after : before) << where;
      });
  // Two lines a field: nine lines, eighteen writes.
  EXPECT_EQ(fired, 22);
  EXPECT_EQ(Records(&list_).size(), 2u);

  EXPECT_EQ(list_.FLSaveFileTypeList(scratch_.Path("no\\folder\\t.vft").c_str()), 0);
  // A folder where the catalogue should go: the written text cannot take
  // its place, and nothing of it is left behind.
  const std::string blocked = scratch_.Path("dir.vft");
  ASSERT_TRUE(vesta::platform::MakeFolder(blocked.c_str()));
  EXPECT_EQ(list_.FLSaveFileTypeList(blocked.c_str()), 0);
  EXPECT_TRUE(vesta::platform::FolderExists(blocked.c_str()));
  EXPECT_TRUE(vesta::platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty());
}

}  // namespace
