#include "platform/windows_names.h"

#include <gtest/gtest.h>

namespace vesta::platform {
namespace {

TEST(WindowsNamesTest, LettersFoldAndOnlyPathsFoldTheirSeparators) {
  EXPECT_TRUE(SameName("Software\\Vesta3D", "SOFTWARE\\vesta3d"));
  EXPECT_FALSE(SameName("a/b", "a\\b")) << "a key's name may hold a '/'";
  EXPECT_FALSE(SameName("abc", "ab"));
  EXPECT_TRUE(SamePath("C:\\VESTA/media\\Doc.BMP", "c:/vesta\\MEDIA/doc.bmp"));
  EXPECT_FALSE(SamePath("C:\\a", "C:\\b"));
  EXPECT_FALSE(SamePath("C:\\a", "C:\\a\\"));
  // Only A to Z fold: the code page's other letters stay as they are.
  EXPECT_FALSE(SameName("Caf\xE9", "CAF\xC9"));
  EXPECT_EQ(FoldName("a_z[\\]"), "A_Z[\\]");
  EXPECT_EQ(FoldPath("c:/Win/x.ini"), "C:\\WIN\\X.INI");
  EXPECT_TRUE(NameStartsWith("vesta.exe", "VESTA."));
  EXPECT_FALSE(NameStartsWith("ves", "VESTA"));
  // Names sort by their capitals, as the registry sorts its keys.
  EXPECT_LT(FoldName("Zeta"), FoldName("_under"));
}

}  // namespace
}  // namespace vesta::platform
