// Matching files to records, filling items, and merging catalogues.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/ptr_list.h"
#include "platform/testing/failing_allocation.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"

namespace {

class MatchingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.FLInitialise();
    ASSERT_EQ(list_.FLPrepare(), 1);
  }

  CVFileType* Add(const char* name, const char* ending) {
    CVFileType* type = new CVFileType;
    type->FTInitialise();
    type->FTSetFileType(name);
    type->FTSetFileEnding(ending);
    EXPECT_EQ(list_.FLAddFileType(type), 1);
    return type;
  }

  std::vector<std::string> Names() {
    std::vector<std::string> names;
    CVFileType* type = nullptr;
    for (int more = list_.FLGetFirstFileType(&type); more; more = list_.FLGetNextFileType(&type)) {
      names.push_back(type->typeName);
    }
    return names;
  }

  std::string Match(const char* file) {
    CVFileType* found = nullptr;
    return list_.FLFindFileMatch(file, &found) ? found->typeName : "<none>";
  }

  CVFileTypeList list_;
};

TEST_F(MatchingTest, TheLongestEndingWinsWhateverTheOrder) {
  Add("Gzip", ".gz");
  Add("Tarball", ".tar.gz");
  EXPECT_EQ(Match("backup.tar.gz"), "Tarball");
  EXPECT_EQ(Match("notes.gz"), "Gzip");

  CVFileTypeList other;
  other.FLInitialise();
  // Not prepared yet: no list to search.
  CVFileType* found = nullptr;
  EXPECT_EQ(other.FLFindFileMatch("backup.tar.gz", &found), 0);
  EXPECT_EQ(other.FLFindFileEnding(".gz", &found), 0);
  EXPECT_EQ(other.FLFindFileType(".gz", &found), 0);
  EXPECT_EQ(found, nullptr);
  other.FLPrepare();
  for (const char* ending : {".tar.gz", ".gz"}) {
    CVFileType* type = new CVFileType;
    type->FTInitialise();
    type->FTSetFileType(ending);
    type->FTSetFileEnding(ending);
    other.FLAddFileType(type);
  }
  ASSERT_EQ(other.FLFindFileMatch("backup.tar.gz", &found), 1);
  EXPECT_STREQ(found->typeName, ".tar.gz");
}

TEST_F(MatchingTest, EndingsMatchWithoutCaseAndNeverPastTheName) {
  Add("Text", ".txt");
  Add("Exe", "exe");  // an ending need not begin with a dot
  EXPECT_EQ(Match("C:\\DOCS\\REPORT.TXT"), "Text");
  Add("Data", ".dAz");  // the letters at both ends of the alphabet
  EXPECT_EQ(Match("SAVED.DAZ"), "Data");
  EXPECT_EQ(Match("saved.daz"), "Data");
  EXPECT_EQ(Match("setup.exe"), "Exe");
  EXPECT_EQ(Match("txt"), "<none>");
  EXPECT_EQ(Match("C:\\txt\\folder"), "<none>");
  CVFileType* untouched = reinterpret_cast<CVFileType*>(0x1);
  EXPECT_EQ(list_.FLFindFileMatch("picture.bmp", &untouched), 0);
  EXPECT_EQ(untouched, reinterpret_cast<CVFileType*>(0x1));
}

TEST_F(MatchingTest, DuplicatesGiveTheFirstMatchTheLastEndingAndTheFirstOrLastType) {
  // An empty catalogue has no type of any name, and leaves the out value.
  CVFileType* found = reinterpret_cast<CVFileType*>(0x1);
  EXPECT_EQ(list_.FLFindFileType("Plain", &found), 0);
  EXPECT_EQ(list_.FLFindFileType("", &found), 0);
  EXPECT_EQ(found, reinterpret_cast<CVFileType*>(0x1));
  CVFileType* first = Add("Plain", ".txt");
  CVFileType* second = Add("Notes", ".txt");
  EXPECT_EQ(list_.FLFindFileType("Other", &found), 0);
  EXPECT_EQ(list_.FLFindFileType("Plain", nullptr), 0);
  ASSERT_EQ(list_.FLFindFileMatch("a.txt", &found), 1);
  EXPECT_EQ(found, first);
  ASSERT_EQ(list_.FLFindFileEnding(".txt", &found), 1);
  EXPECT_EQ(found, second);
  EXPECT_EQ(list_.FLFindFileEnding(".TXT", &found), 0);  // exact

  CVFileType* third = Add("Plain", ".text");
  ASSERT_EQ(list_.FLFindFileType("Plain", &found), 1);
  EXPECT_EQ(found, first);  // the first record carries the name
  CVFileType* fourth = Add("Notes", ".note");
  ASSERT_EQ(list_.FLFindFileType("Notes", &found), 1);
  EXPECT_EQ(found, fourth);  // otherwise the last one that does
  (void)third;
}

// The searches look in an index by ending: it must follow every change of
// the list and of the records in it.
TEST_F(MatchingTest, TheIndexFollowsAdditionsAndDeletions) {
  EXPECT_EQ(Match("a.txt"), "<none>");  // empty catalogue
  Add("Text", ".txt");
  EXPECT_EQ(Match("a.txt"), "Text");
  Add("Longer", "a.txt");
  EXPECT_EQ(Match("data.txt"), "Longer");
  EXPECT_EQ(Match("b.txt"), "Text");
  ASSERT_EQ(list_.FLDeleteFileType("Longer"), 1);
  EXPECT_EQ(Match("data.txt"), "Text");
  // Of two records of one ending the first is matched; with it deleted,
  // the one after it.
  Add("Second", ".TXT");
  Add("Third", ".txt");
  EXPECT_EQ(Match("x.txt"), "Text");
  ASSERT_EQ(list_.FLDeleteFileType("Text"), 1);
  EXPECT_EQ(Match("x.txt"), "Second");
  CVFileType* found = nullptr;
  ASSERT_EQ(list_.FLFindFileEnding(".TXT", &found), 1);
  EXPECT_STREQ(found->typeName, "Second");  // letter case counts here
  ASSERT_EQ(list_.FLFindFileEnding(".txt", &found), 1);
  EXPECT_STREQ(found->typeName, "Third");
  ASSERT_EQ(list_.FLDeleteFileType("Third"), 1);
  EXPECT_EQ(list_.FLFindFileEnding(".txt", &found), 0);

  // Emptied and made anew, the catalogue matches nothing of before.
  ASSERT_EQ(list_.FLPrepare(), 1);
  EXPECT_EQ(Match("x.txt"), "<none>");
  Add("Again", ".txt");
  EXPECT_EQ(Match("x.txt"), "Again");
  ASSERT_EQ(list_.FLDeleteAllFileTypes(), 1);
  EXPECT_EQ(list_.FLFindFileMatch("x.txt", &found), 0);
  EXPECT_EQ(list_.FLFindFileEnding(".txt", &found), 0);
}

TEST_F(MatchingTest, TheIndexFollowsEndingsChangedInPlace) {
  CVFileType* text = Add("Text", ".txt");
  CVFileType* none = Add("None", "");
  EXPECT_EQ(Match("a.txt"), "Text");
  text->FTSetFileEnding(".doc");
  EXPECT_EQ(Match("a.txt"), "<none>");
  EXPECT_EQ(Match("a.doc"), "Text");
  none->FTSetFileEnding(".txt");
  EXPECT_EQ(Match("a.txt"), "None");
  none->FTInitialise();
  EXPECT_EQ(Match("a.txt"), "<none>");
  CVFileType other;
  other.FTInitialise();
  other.FTSetFileEnding(".bmp");
  none->FTCopyFrom(&other);
  none->FTSetFileType("None");
  EXPECT_EQ(Match("a.bmp"), "None");
  // A record changed after it came in is still deleted cleanly.
  ASSERT_EQ(list_.FLDeleteFileType("Text"), 1);
  EXPECT_EQ(Match("a.doc"), "<none>");
  EXPECT_EQ(Names(), (std::vector<std::string>{"None"}));
  // So is one whose ending was written straight into its field.
  CVFileType* page = Add("Page", ".htm");
  EXPECT_EQ(Match("a.htm"), "Page");
  std::strcpy(page->ending, ".html");
  ASSERT_EQ(list_.FLDeleteFileType("Page"), 1);
  EXPECT_EQ(Match("a.htm"), "<none>");
  EXPECT_EQ(Match("a.html"), "<none>");
  // Records that are in no catalogue change nothing in one.
  other.FTSetFileEnding(".doc");
  EXPECT_EQ(Match("a.bmp"), "None");
}

// A catalogue's records are known by their catalogue only while in it: a
// record deleted, or a catalogue emptied or gone, leaves nothing behind; a
// copy of a record is in no catalogue; a record its owner takes out and
// deletes leaves the index.
TEST_F(MatchingTest, RecordsAreForgottenWhenTheyLeaveTheirCatalogue) {
  CVFileType* text = Add("Text", ".txt");
  CVFileType* picture = Add("Picture", ".bmp");
  ASSERT_NE(text->catalogue.index, nullptr);
  CVFileType copy = *text;
  EXPECT_EQ(copy.catalogue.index, nullptr);
  copy.FTSetFileEnding(".doc");
  EXPECT_EQ(Match("a.doc"), "<none>");
  {
    CVFileTypeList other;
    other.FLInitialise();
    other.FLPrepare();
    CVFileType* theirs = new CVFileType;
    theirs->FTInitialise();
    other.FLAddFileType(theirs);
    EXPECT_NE(theirs->catalogue.index, nullptr);
    EXPECT_NE(theirs->catalogue.index, text->catalogue.index);
  }
  text->FTSetFileEnding(".doc");  // its index is rebuilt at the next search
  EXPECT_EQ(Match("a.doc"), "Text");
  // Taken out behind the catalogue's back and deleted.
  VUListRemove(list_.types, picture);
  delete picture;
  EXPECT_EQ(Match("a.bmp"), "<none>");
  EXPECT_EQ(Match("a.doc"), "Text");
  ASSERT_EQ(list_.FLDeleteFileType("Text"), 1);
  EXPECT_EQ(Match("a.doc"), "<none>");
  Add("Kept", ".k");
  ASSERT_EQ(list_.FLPrepare(), 1);
  EXPECT_EQ(Match("a.k"), "<none>");
}

// A list put in the catalogue's place is the one searched.
TEST_F(MatchingTest, AListPutInTheCataloguesPlaceIsSearched) {
  Add("Text", ".txt");
  VUList* own = list_.types;
  VUList theirs;
  VUListConstruct(&theirs);
  ASSERT_TRUE(VUListPrepare(&theirs));
  CVFileType page;
  page.FTInitialise();
  page.FTSetFileType("Page");
  page.FTSetFileEnding(".htm");
  ASSERT_TRUE(VUListAdd(&theirs, &page, 0));
  list_.types = &theirs;
  CVFileType* found = nullptr;
  EXPECT_EQ(list_.FLFindFileMatch("a.htm", &found), 1);
  EXPECT_EQ(found, &page);
  EXPECT_EQ(list_.FLFindFileMatch("a.txt", &found), 0);
  list_.types = own;
  EXPECT_EQ(Match("a.txt"), "Text");
  EXPECT_EQ(Match("a.htm"), "<none>");
  VUListDestroy(&theirs);
}

TEST_F(MatchingTest, ASearchLeavesTheCursorPastTheLastRecordAsAWalkWould) {
  Add("Text", ".txt");
  Add("Picture", ".bmp");
  CVFileType* record = nullptr;
  ASSERT_EQ(list_.FLGetFirstFileType(&record), 1);
  CVFileType* found = nullptr;
  ASSERT_EQ(list_.FLFindFileMatch("a.txt", &found), 1);
  EXPECT_EQ(list_.FLGetNextFileType(&record), 0);
  ASSERT_EQ(list_.FLGetFirstFileType(&record), 1);
  ASSERT_EQ(list_.FLFindFileEnding(".bmp", &found), 1);
  EXPECT_EQ(list_.FLGetNextFileType(&record), 0);
}

TEST_F(MatchingTest, TwoCataloguesKeepTheirOwnIndex) {
  Add("Mine", ".txt");
  {
    CVFileTypeList other;
    other.FLInitialise();
    other.FLPrepare();
    CVFileType* theirs = new CVFileType;
    theirs->FTInitialise();
    theirs->FTSetFileType("Theirs");
    theirs->FTSetFileEnding(".txt");
    other.FLAddFileType(theirs);
    CVFileType* found = nullptr;
    ASSERT_EQ(other.FLFindFileMatch("a.txt", &found), 1);
    EXPECT_EQ(found, theirs);
  }
  EXPECT_EQ(Match("a.txt"), "Mine");
}

TEST_F(MatchingTest, FillingTakesTheTextureRule) {
  CVFileType* text = Add("Text", ".txt");
  text->FTSetCommandLine("notepad.exe %1");
  text->FTSetIconIndex("7");
  text->FTSetTiling(3);
  text->FTSetFootPrintDisabled(0);
  text->FTSetSelectedShape("C:\\m\\doc.x");
  text->FTSetExecutable("notepad.exe");

  CItemProp item;
  item.IPInitialise();
  std::strcpy(item.texture, "C:\\m\\own.bmp");
  std::strcpy(item.kolbFile, "C:\\m\\own.vvc");
  EXPECT_EQ(list_.FLMatchFillItemProp(&item), 0);  // no target
  EXPECT_STREQ(item.fileType, "");
  EXPECT_EQ(list_.FLMatchFillItemProp(nullptr), 0);
  EXPECT_EQ(text->FTType2Prop(nullptr), 0);
  EXPECT_EQ(text->FTProp2Type(nullptr), 0);
  std::strcpy(item.target, "C:\\Docs\\Report.txt");
  ASSERT_EQ(list_.FLMatchFillItemProp(&item), 1);
  EXPECT_STREQ(item.fileType, "Text");
  EXPECT_STREQ(item.commandLine, "notepad.exe %1");
  EXPECT_STREQ(item.selectedShape, "C:\\m\\doc.x");
  EXPECT_STREQ(item.kolbFile, "C:\\m\\own.vvc");  // not set in the record
  // Without a texture in the record, its icon index and tiling stay out.
  EXPECT_STREQ(item.texture, "C:\\m\\own.bmp");
  EXPECT_STREQ(item.textureIcon, "1");
  EXPECT_EQ(item.tiling, 1);
  EXPECT_EQ(item.footprintDisabled, 0);

  text->FTSetTexture("C:\\m\\txt.bmp");
  text->FTSetIconIndex("12345678901234567890");
  ASSERT_EQ(list_.FLMatchFillItemProp(&item), 1);
  EXPECT_STREQ(item.texture, "C:\\m\\txt.bmp");
  EXPECT_STREQ(item.textureIcon, "1234567890123456");
  EXPECT_EQ(item.tiling, 3);

  std::strcpy(item.target, "C:\\Docs\\picture.bmp");
  EXPECT_EQ(list_.FLMatchFillItemProp(&item), 0);
}

TEST_F(MatchingTest, AnItemGivesItsFieldsBackToARecord) {
  CVFileType type;
  type.FTInitialise();
  type.FTSetFileEnding(".txt");
  type.FTSetExecutable("notepad.exe");
  type.FTSetCommandLine("old %1");
  CItemProp item;
  item.IPInitialise();
  std::strcpy(item.fileType, "Text");
  std::strcpy(item.deleteSound, "C:\\s\\del.wav");
  item.tiling = -1;
  ASSERT_EQ(type.FTProp2Type(&item), 1);
  EXPECT_STREQ(type.typeName, "Text");
  EXPECT_STREQ(type.commandLine, "");  // an empty item text empties the field
  EXPECT_STREQ(type.deleteSound, "C:\\s\\del.wav");
  EXPECT_STREQ(type.iconIndex, "1");
  EXPECT_EQ(type.tiling, -1);
  EXPECT_EQ(type.footprintDisabled, 1);
  EXPECT_STREQ(type.ending, ".txt");
  EXPECT_STREQ(type.executable, "notepad.exe");
}

TEST_F(MatchingTest, OnlyNewEndingsAreTakenFromAnotherCatalogue) {
  vesta::testing::ScratchFolder scratch;
  const std::string path = scratch.Path("more.vft");
  ASSERT_TRUE(vesta::testing::WriteTextFile(
      path,
      "[FTLS]\n[TYP][4]Mine\n[END][4].txt\n[SLTF]\n[FTLS]\n[TYP][3]Pic\n[END][4].bmp\n[SLTF]\n"
      "[FTLS]\n[TYP][7]NoEnd\n[SLTF]\n[FTLS]\n[TYP][4]Pic2\n[END][4].bmp\n[SLTF]\n"));
  Add("Text", ".txt");
  ASSERT_EQ(list_.FLLoadNewTypesFrom(path.c_str()), 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Text", "Pic"}));
  ASSERT_EQ(list_.FLLoadNewTypesFrom(path.c_str()), 1);  // nothing new
  EXPECT_EQ(Names(), (std::vector<std::string>{"Text", "Pic"}));

  // Without memory at any one point of the load, it fails.
  ASSERT_TRUE(vesta::testing::WriteTextFile(path, "[FTLS]\n[TYP][3]Doc\n[END][4].doc\n[SLTF]\n"));
  const int failures = vesta::testing::ForEveryFailingAllocation(
      1, [&] { return list_.FLLoadNewTypesFrom(path.c_str()); },
      [&](int result, bool failed, int allowed) {
        EXPECT_EQ(result, failed ? 0 : 1) << allowed;
        if (failed) {
          EXPECT_EQ(Names(), (std::vector<std::string>{"Text", "Pic"})) << allowed;
        }
      });
  EXPECT_GE(failures, 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Text", "Pic", "Doc"}));

  ASSERT_TRUE(vesta::testing::WriteTextFile(path, "no records\n"));
  EXPECT_EQ(list_.FLLoadNewTypesFrom(path.c_str()), 0);
  EXPECT_EQ(list_.FLLoadNewTypesFrom(scratch.Path("missing.vft").c_str()), 0);
}

}  // namespace
