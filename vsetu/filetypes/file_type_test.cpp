// A file-type record and the catalogue's list.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <utility>
#include <string>
#include <vector>

#include "platform/testing/failing_allocation.h"
#include "vesta/vsetu.h"

namespace {

CVFileType* MakeType(const char* name, const char* ending) {
  CVFileType* type = new CVFileType;
  type->FTInitialise();
  type->FTSetFileType(name);
  type->FTSetFileEnding(ending);
  return type;
}

std::vector<std::string> Names(CVFileTypeList* list) {
  std::vector<std::string> names;
  CVFileType* type = nullptr;
  for (int more = list->FLGetFirstFileType(&type); more; more = list->FLGetNextFileType(&type)) {
    names.push_back(type->typeName);
  }
  return names;
}

TEST(FileTypeTest, UnsetFieldsAreNotGiven) {
  CVFileType type;
  ASSERT_EQ(type.FTInitialise(), 1);
  char out[261] = "untouched";
  int number = 99;
  EXPECT_EQ(type.FTGetTexture(out), 0);
  EXPECT_EQ(type.FTGetTiling(&number), 0);
  EXPECT_EQ(type.FTGetFootPrintDisabled(&number), 0);
  EXPECT_STREQ(out, "untouched");
  EXPECT_EQ(number, 99);

  EXPECT_EQ(type.FTSetTexture("C:\\media\\doc.bmp"), 1);
  EXPECT_EQ(type.FTGetTexture(out), 1);
  EXPECT_STREQ(out, "C:\\media\\doc.bmp");
  EXPECT_EQ(type.FTSetTiling(0), 1);
  EXPECT_EQ(type.FTGetTiling(&number), 1);
  EXPECT_EQ(number, 0);
  type.FTSetTiling(-1);
  EXPECT_EQ(type.FTGetTiling(&number), 0);
  type.FTSetTexture("");
  std::strcpy(out, "untouched");
  EXPECT_EQ(type.FTGetTexture(out), 0);

  type.FTSetCommandLine(std::string(300, 'c').c_str());
  EXPECT_EQ(std::strlen(type.commandLine), 260u);
}

TEST(FileTypeTest, CopyTakesEverySetField) {
  CVFileType source;
  source.FTInitialise();
  source.FTSetFileType("Text");
  source.FTSetExecutable("notepad.exe");
  source.FTSetDeleteSound("C:\\s\\del.wav");
  source.FTSetFootPrintDisabled(0);
  CVFileType copy;
  copy.FTInitialise();
  copy.FTSetTexture("stale.bmp");
  copy.FTSetTiling(4);
  EXPECT_EQ(copy.FTCopyFrom(&source), 1);
  EXPECT_STREQ(copy.typeName, "Text");
  EXPECT_STREQ(copy.executable, "notepad.exe");
  EXPECT_STREQ(copy.deleteSound, "C:\\s\\del.wav");
  EXPECT_STREQ(copy.texture, "");
  EXPECT_EQ(copy.tiling, -1);
  EXPECT_EQ(copy.footprintDisabled, 0);
}

TEST(FileTypeTest, TagsAreKnownInTheirOrderWithTheirCodes) {
  CVFileType type;
  type.FTInitialise();
  const char* tags[] = {"[TYP]", "[END]", "[CMD]", "[EXC]", "[DIR]", "[KOL]", "[USH]", "[SHP]",
                        "[TXT]", "[ICO]", "[TIL]", "[FOO]", "[SND]", "[COL]", "[OPN]", "[DEL]"};
  for (int i = 0; i < 16; ++i) {
    int code = -1;
    std::string line = std::string(tags[i]) + "[1]x";
    EXPECT_EQ(type.FTIsFileTypeTag(line.c_str(), &code), 1) << tags[i];
    EXPECT_EQ(code, i) << tags[i];
  }
  int code = 42;
  EXPECT_EQ(type.FTIsFileTypeTag("[typ][1]x", &code), 0);
  EXPECT_EQ(type.FTIsFileTypeTag("[FTLS]", &code), 0);
  EXPECT_EQ(code, 42);
}

// Every field that names a file is in the table once, with its own member;
// the others (name, ending, icon index) are not.
TEST(FileTypeTest, TheFieldsThatNameFilesAreInTheTable) {
  CVFileType type;
  type.FTInitialise();
  const std::pair<const char*, char*> expected[] = {
      {"[CMD]", type.commandLine},    {"[EXC]", type.executable},     {"[DIR]", type.workingFolder},
      {"[KOL]", type.kolbFile},       {"[USH]", type.unselectedShape}, {"[SHP]", type.selectedShape},
      {"[TXT]", type.texture},        {"[SND]", type.selectedSound},   {"[COL]", type.collideSound},
      {"[OPN]", type.openSound},      {"[DEL]", type.deleteSound},
  };
  int count = 0;
  const VSTypeFileField* fields = VSTypeFileFields(&count);
  ASSERT_EQ(count, static_cast<int>(std::size(expected)));
  for (int i = 0; i < count; ++i) {
    EXPECT_STREQ(fields[i].tag, expected[i].first);
    EXPECT_EQ(VSTypeFileFieldText(&type, &fields[i]), expected[i].second) << fields[i].tag;
    EXPECT_EQ(fields[i].kind == kVPFileProgram, i < 3) << fields[i].tag;
    EXPECT_NE(fields[i].what[0], '\0');
  }
  EXPECT_EQ(fields[3].kind, kVPFileKolb);
  EXPECT_EQ(fields[6].kind, kVPFileTexture);
  EXPECT_EQ(fields[10].kind, kVPFileSound);
  const VSTypeFileField outside{"[TYP]", "name", kVPFileProgram};
  EXPECT_EQ(VSTypeFileFieldText(&type, &outside), nullptr);
  EXPECT_EQ(VSTypeFileFieldText(nullptr, &fields[0]), nullptr);
  EXPECT_EQ(VSTypeFileFieldText(&type, fields + count), nullptr);
}

// A catalogue whose list or index cannot be made has none, and says so.
TEST(FileTypeListTest, ACatalogueWithoutMemoryHasNoList) {
  for (int allowed : {0, 1}) {
    CVFileTypeList list;
    list.FLInitialise();
    {
      vesta::testing::FailingAllocations noMemory(allowed);
      EXPECT_EQ(list.FLPrepare(), 0) << allowed;
    }
    EXPECT_EQ(list.types, nullptr) << allowed;
    ASSERT_EQ(list.FLPrepare(), 1);
    ASSERT_EQ(list.FLAddFileType(MakeType("Text", ".txt")), 1);
    CVFileType* found = nullptr;
    EXPECT_EQ(list.FLFindFileMatch("a.TXT", &found), 1);
  }
}

TEST(FileTypeListTest, NothingWorksWithoutAList) {
  CVFileTypeList list;
  list.FLInitialise();
  CVFileType* type = MakeType("Text", ".txt");
  EXPECT_EQ(list.FLAddFileType(type), 0);
  delete type;
  CVFileType* found = nullptr;
  EXPECT_EQ(list.FLGetFirstFileType(&found), 0);
  EXPECT_EQ(list.FLDeleteFileType("Text"), 0);
  EXPECT_EQ(list.FLFindFileMatch("a.txt", &found), 0);
  EXPECT_EQ(list.FLSaveFileTypeList("C:\\x.vft"), 0);
  EXPECT_EQ(list.FLDeleteAllFileTypes(), 1);
}

TEST(FileTypeListTest, DeletingAFirstRecordTakesOnlyIt) {
  CVFileTypeList list;
  list.FLInitialise();
  ASSERT_EQ(list.FLPrepare(), 1);
  EXPECT_EQ(list.FLDeleteFileType("Text"), 0);  // empty
  for (const char* name : {"Text", "Picture", "Text", "Sound", "Text"}) {
    ASSERT_EQ(list.FLAddFileType(MakeType(name, "")), 1);
  }
  EXPECT_EQ(list.FLDeleteFileType("Text"), 1);
  EXPECT_EQ(Names(&list), (std::vector<std::string>{"Picture", "Text", "Sound", "Text"}));
  EXPECT_EQ(list.FLDeleteFileType("Text"), 1);
  EXPECT_EQ(Names(&list), (std::vector<std::string>{"Picture", "Sound"}));
  EXPECT_EQ(list.FLDeleteFileType("text"), 0);
  EXPECT_EQ(list.FLDeleteFileType("Missing"), 0);
  list.FLDeleteAllFileTypes();
  EXPECT_EQ(list.types, nullptr);
  CVFileType* found = nullptr;
  EXPECT_EQ(list.FLGetFirstFileType(&found), 0);
}

}  // namespace
