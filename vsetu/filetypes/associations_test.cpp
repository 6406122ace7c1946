// The shell's associations of endings: program and icon.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "actions/registry.h"
#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"

namespace {

class AssociationsTest : public ::testing::Test {
 protected:
  void Classes(const std::string& key, const char* value) {
    ASSERT_EQ(VURegSetString(VURegRoot::kClassesRoot, key.c_str(), nullptr, value), 1) << key;
  }
  vesta::testing::ScratchFolder scratch_;
};

TEST_F(AssociationsTest, TheProgramIsCutAtItsEndingAndLosesItsQuotes) {
  Classes(".txt", "txtfile");
  Classes("txtfile\\shell\\open\\command", "\"C:\\Program Files\\Editor\\Edit.EXE\" /open \"%1\"");
  char program[261] = "";
  char command[261] = "";
  ASSERT_EQ(VSResolveAssociation(".txt", program, command), 1);
  EXPECT_STREQ(program, "C:\\Program Files\\Editor\\Edit.EXE");
  EXPECT_STREQ(command, "\"C:\\Program Files\\Editor\\Edit.EXE\" /open \"%1\"");

  // ".com" inside a folder name ends the program there.
  Classes(".web", "webfile");
  Classes("webfile\\shell\\open\\command", "C:\\Tools.com\\browser.exe %1");
  ASSERT_EQ(VSResolveAssociation(".web", program, command), 1);
  EXPECT_STREQ(program, "C:\\Tools.com");

  Classes(".doc", "docfile");
  Classes("docfile\\shell\\open\\command", "rundll32 shell32,OpenAs %1");
  EXPECT_EQ(VSResolveAssociation(".doc", program, command), 0);
  EXPECT_EQ(VSResolveAssociation(".none", program, command), 0);
  Classes(".bare", "barefile");
  EXPECT_EQ(VSResolveAssociation(".bare", program, command), 0);
}

TEST_F(AssociationsTest, TheIconIsSplitAtItsLastComma) {
  Classes(".txt", "txtfile");
  Classes("txtfile\\DefaultIcon", "C:\\Windows\\a,b.dll,-3");
  char file[261] = "";
  char index[261] = "";
  ASSERT_EQ(VSFindIconForEnding(".txt", file, index), 1);
  EXPECT_STREQ(file, "C:\\Windows\\a,b.dll");
  EXPECT_STREQ(index, "-3");

  Classes("bmpfile\\DefaultIcon", "C:\\Windows\\paint.exe");
  ASSERT_EQ(VSFindIconForFileType("bmpfile", file, index), 1);
  EXPECT_STREQ(file, "C:\\Windows\\paint.exe");
  EXPECT_STREQ(index, "1");

  std::strcpy(file, "untouched");
  std::strcpy(index, "untouched");
  EXPECT_EQ(VSFindIconForFileType("nofile", file, index), 0);
  EXPECT_EQ(VSFindIconForEnding(".none", file, index), 0);
  EXPECT_STREQ(file, "untouched");
  EXPECT_STREQ(index, "untouched");
}

}  // namespace
