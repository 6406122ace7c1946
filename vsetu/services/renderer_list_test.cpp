// The renderer list: numbered entries up to the first gap.
#include <cstring>
#include <string>

#include "actions/registry.h"
#include "vsetu/services/renderer_list.h"
#include "vsetu/services/test_installation.h"

namespace {

using RendererListTest = vesta::testing::InstallationTest;

std::string Entry(int n) {
  char title[kVSBuffer] = "";
  char file[kVSBuffer] = "";
  if (!VSReadVGXEntry(n, title, file)) return "<none>";
  return std::string(title) + "=" + file;
}

TEST_F(RendererListTest, AnEmptyListStartsAtEntryZero) {
  char title[kVSBuffer] = "untouched";
  char file[kVSBuffer] = "untouched";
  EXPECT_EQ(VSGetFirstVGXEntry(title, file), 0);
  EXPECT_EQ(VSGetNextVGXEntry(title, file), 0);
  EXPECT_EQ(VSNullifyCurrentVGXEntry(), 0);
  EXPECT_STREQ(title, "untouched");
  EXPECT_EQ(VSAddVGXEntry("Software", "VSoft.dll"), 1);
  EXPECT_EQ(Entry(0), "Software=VSoft.dll");
}

TEST_F(RendererListTest, StockEntriesAreAddedOnce) {
  EXPECT_EQ(VSSetStockVGXEntries(), 1);
  EXPECT_EQ(Entry(0), "OpenGL=VOpGL.dll");
  EXPECT_EQ(Entry(1), "DirectX=VDXRM.dll");
  EXPECT_EQ(VSSetStockVGXEntries(), 1);
  EXPECT_EQ(Entry(2), "<none>");

  char file[kVSBuffer] = "untouched";
  EXPECT_EQ(VSFindVGXEntry("DirectX", file), 1);
  EXPECT_STREQ(file, "VDXRM.dll");
  std::strcpy(file, "untouched");
  EXPECT_EQ(VSFindVGXEntry("opengl", file), 0);
  EXPECT_STREQ(file, "untouched");
}

TEST_F(RendererListTest, TheListEndsAtTheFirstGap) {
  VSWriteVGXEntry(0, "A", "a.dll");
  VSWriteVGXEntry(1, "B", "b.dll");
  VSWriteVGXEntry(3, "D", "d.dll");
  char title[kVSBuffer];
  char file[kVSBuffer];
  int count = 0;
  for (int more = VSGetFirstVGXEntry(title, file); more; more = VSGetNextVGXEntry(title, file)) ++count;
  EXPECT_EQ(count, 2);
  EXPECT_EQ(VSAddVGXEntry("C", "c.dll"), 1);
  EXPECT_EQ(Entry(2), "C=c.dll");
  EXPECT_EQ(Entry(3), "D=d.dll");

  // An entry whose file is missing ends the list, and reads as no title.
  ASSERT_EQ(VURegSetString(VURegRoot::kLocalMachine, "SOFTWARE\\vesta3d\\VESTA\\VGXLib_5", "LibTitle", "F"), 1);
  std::strcpy(title, "untouched");
  EXPECT_EQ(VSReadVGXEntry(5, title, file), 0);
  EXPECT_STREQ(title, "");
}

TEST_F(RendererListTest, TheFoundEntryCanBeBlanked) {
  VSSetStockVGXEntries();
  char file[kVSBuffer];
  ASSERT_EQ(VSFindVGXEntry("OpenGL", file), 1);
  EXPECT_EQ(VSNullifyCurrentVGXEntry(), 1);
  EXPECT_EQ(Entry(0), "=");
  // A blanked entry is still listed, so the walk goes on past it.
  EXPECT_EQ(VSFindVGXEntry("DirectX", file), 1);
}

}  // namespace
