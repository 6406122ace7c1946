// A catalogue saved to travel and loaded back where it arrived.
#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "vsetu/normaliser/test_normaliser.h"

namespace {

using vesta::testing::NormaliserTest;
using vesta::testing::ReadTextFile;

class CatalogueNormaliseTest : public NormaliserTest {
 protected:
  void SetUp() override {
    NormaliserTest::SetUp();
    out_ = scratch_.Path("out\\");
    ASSERT_TRUE(vesta::platform::MakeFolder(out_.c_str()));
    list_.FLInitialise();
    ASSERT_EQ(list_.FLPrepare(), 1);
    type_ = new CVFileType;
    type_->FTInitialise();
    type_->FTSetFileType("?VESTAVWQDIR?name");  // looks like a path, is a name
    type_->FTSetFileEnding(".txt");
    type_->FTSetIconIndex("?VESTAVWQDIR?3");
    type_->FTSetCommandLine((windows_ + "\\notepad.exe %1").c_str());
    type_->FTSetExecutable((windows_ + "\\notepad.exe").c_str());
    type_->FTSetTexture(Media("wall.bmp").c_str());
    type_->FTSetSelectedSound(Media("sel.wav").c_str());
    type_->FTSetUnSelectedShape("http://www.vesta3d.com/shape");
    ASSERT_EQ(list_.FLAddFileType(type_), 1);
  }

  std::string out_;
  CVFileTypeList list_;
  CVFileType* type_ = nullptr;
};

TEST_F(CatalogueNormaliseTest, ANormalisedSaveCopiesMediaAndLeavesTheRecordsAlone) {
  const std::string before = type_->texture;
  EXPECT_EQ(list_.FLSetNormaliseOnSave(1), 1);
  ASSERT_EQ(list_.FLSaveFileTypeList((out_ + "types.vft").c_str()), 1);
  EXPECT_EQ(std::string(type_->texture), before);
  const std::string text = ReadTextFile(out_ + "types.vft");
  EXPECT_NE(text.find("[TXT][21]?VESTAVWQDIR?wall.bmp\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[SND][20]?VESTAVWQDIR?sel.wav\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[EXC][19]?WINDIR?notepad.exe\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[CMD][22]?WINDIR?notepad.exe %1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[TYP][17]?VESTAVWQDIR?name\n"), std::string::npos);
  EXPECT_NE(text.find("[USH][28]http://www.vesta3d.com/shape\n"), std::string::npos);
  EXPECT_TRUE(vesta::platform::FileExists((out_ + "wall.bmp").c_str()));

  // Moved elsewhere and loaded there: the paths name the moved copies; the
  // type name, the ending, the command line and the icon index stay.
  ASSERT_TRUE(vesta::platform::MoveOver(scratch_.Path("out").c_str(), scratch_.Path("moved").c_str()));
  CVFileTypeList loaded;
  loaded.FLInitialise();
  EXPECT_EQ(loaded.FLSetDeRelativiseOnLoad(1), 1);
  ASSERT_EQ(loaded.FLLoadFileTypeList(scratch_.Path("moved\\types.vft").c_str()), 1);
  CVFileType* back = nullptr;
  ASSERT_EQ(loaded.FLGetFirstFileType(&back), 1);
  EXPECT_EQ(std::string(back->texture), scratch_.Path("moved\\wall.bmp"));
  EXPECT_EQ(std::string(back->selectedSound), scratch_.Path("moved\\sel.wav"));
  EXPECT_EQ(std::string(back->executable), windows_ + "\\notepad.exe");
  EXPECT_STREQ(back->commandLine, "?WINDIR?notepad.exe %1");
  EXPECT_STREQ(back->typeName, "?VESTAVWQDIR?name");
  EXPECT_STREQ(back->iconIndex, "?VESTAVWQDIR?3");
}

TEST_F(CatalogueNormaliseTest, AValueOfTheLongestLengthTravelsWhole) {
  const std::string shape = "http://" + std::string(253, 's');
  type_->FTSetUnSelectedShape(shape.c_str());
  list_.FLSetNormaliseOnSave(1);
  ASSERT_EQ(list_.FLSaveFileTypeList((out_ + "types.vft").c_str()), 1);
  EXPECT_NE(ReadTextFile(out_ + "types.vft").find("[USH][260]" + shape + "\n"), std::string::npos);
}

TEST_F(CatalogueNormaliseTest, WithBothFlagsClearValuesAreWrittenAndReadAsTheyAre) {
  ASSERT_EQ(list_.FLSaveFileTypeList((out_ + "types.vft").c_str()), 1);
  EXPECT_FALSE(vesta::platform::FileExists((out_ + "wall.bmp").c_str()));
  CVFileTypeList loaded;
  loaded.FLInitialise();
  ASSERT_EQ(loaded.FLLoadFileTypeList((out_ + "types.vft").c_str()), 1);
  CVFileType* back = nullptr;
  ASSERT_EQ(loaded.FLGetFirstFileType(&back), 1);
  EXPECT_STREQ(back->texture, type_->texture);
  EXPECT_STREQ(back->typeName, "?VESTAVWQDIR?name");
}

}  // namespace
