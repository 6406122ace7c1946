// The manifest: its fields, its lines, loading and rewriting.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/failing_allocation.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vermanager/manifest.h"
#include "vermanager/manifest_format.h"

namespace {

using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

std::string Field(const char* tag, const char* line, int capacity = 260) {
  char out[300] = "untouched";
  return FindField(tag, line, out, capacity) ? std::string(out) : "<none>";
}

TEST(ManifestFormatTest, FieldsAreFoundByTheirLengths) {
  EXPECT_EQ(Field("[UBY]", "[FIL][13]C:\\Prog\\a.dll[UBY][5]Extra"), "Extra");
  EXPECT_EQ(Field("[FIL]", "[FIL][13]C:\\Prog\\a.dll[UBY][5]Extra"), "C:\\Prog\\a.dll");
  EXPECT_EQ(Field("[TYP]", "[NAM][4]a][b[TYP][6][x][y]"), "[x][y]");
  EXPECT_EQ(Field("[UBY]", "[NAM][4]abcd"), "<none>");
  EXPECT_EQ(Field("[UBY]", " [NAM][4]abcd[UBY][1]x"), "<none>");  // not at a field
  EXPECT_EQ(Field("[UBY]", "[NAM][40]abcd[UBY][1]x"), "<none>");  // runs past the end
  EXPECT_EQ(Field("[NAM]", "[NAM][40]abcd"), "abcd");              // the rest of the line
  EXPECT_EQ(Field("[NAM]", "[NAM][]abc"), "");                      // no digits: length 0
  EXPECT_EQ(Field("[UBY]", "[NAM][]ab[UBY][1]x"), "<none>");        // "ab" is no field
  EXPECT_EQ(Field("[NAM]", "[NAM]4]abcd"), "<none>");
  EXPECT_EQ(Field("[NAM]", "[NAM][4abcd"), "<none>");
  EXPECT_EQ(Field("[NAM]", "[NAM][10]0123456789", 4), "0123");
  EXPECT_EQ(Field("[NAM]", "[NAM][10]0123456789", 0), "");
  EXPECT_EQ(Field("[NAM]", "[NAM][10]0123456789", -1), "<none>");
  EXPECT_EQ(Field("[NAM]", ""), "<none>");

  std::string line;
  WriteField(&line, "[NAM]", "Core");
  WriteField(&line, "[TYP]", "");
  EXPECT_EQ(line, "[NAM][4]Core[TYP][0]");
}

TEST(ManifestFormatTest, LinesAreClassifiedByFourCharacters) {
  EXPECT_EQ(ClassifyLine("[FIL][1]a"), LineKind::kFile);
  EXPECT_EQ(ClassifyLine("[FILE][1]a"), LineKind::kFile);
  EXPECT_EQ(ClassifyLine("[REG]"), LineKind::kRegistry);
  EXPECT_EQ(ClassifyLine("[DIR]"), LineKind::kFolder);
  EXPECT_EQ(ClassifyLine("[NAM]"), LineKind::kName);
  EXPECT_EQ(ClassifyLine("[UBY][1]a"), LineKind::kNone);
  EXPECT_EQ(ClassifyLine(" [FIL]"), LineKind::kNone);
  EXPECT_EQ(ClassifyLine(""), LineKind::kNone);
  char line[] = "[NAM][1]a\r\n";
  StripLineEnd(line);
  EXPECT_STREQ(line, "[NAM][1]a");
}

class ManifestTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    path_ = scratch_.Path("packages.txt");
    ASSERT_TRUE(WriteTextFile(path_, text));
    ASSERT_EQ(manifest_.LoadManifest(path_.c_str()), 1);
  }

  std::vector<std::string> Packages() {
    std::vector<std::string> out;
    char name[65];
    char title[261];
    int removed = 0;
    for (int more = manifest_.FirstPackage(name, title, &removed); more;
         more = manifest_.NextPackage(name, title, &removed)) {
      out.push_back(std::string(name) + "=" + title + (removed ? " (removed)" : ""));
    }
    return out;
  }

  std::vector<std::string> Components() {
    std::vector<std::string> out;
    char value[261];
    char kind[65];
    char owner[65];
    int removed = 0;
    for (int more = manifest_.FirstComponent(value, kind, owner, &removed); more;
         more = manifest_.NextComponent(value, kind, owner, &removed)) {
      out.push_back(std::string(kind) + value + "<" + owner);
    }
    return out;
  }

  vesta::testing::ScratchFolder scratch_;
  std::string path_;
  CPackageManifest manifest_;
};

TEST_F(ManifestTest, LinesBecomePackagesAndComponents) {
  Load("[NAM][4]Core[TYP][12]Core program\n"
       "[FIL][13]C:\\Prog\\a.dll[UBY][4]Core\n"
       " [NAM][3]Bad[TYP][1]x\n"
       "\n"
       "[NAM][5]Extra\n"
       "[FILE][3]abc[UBY][4]Core\n"
       "[NAM][5]Extra[TYP][6]Extras[UBY][4]Core\n"
       "[REG][34]HKEY_CURRENT_USER\\Software\\vesta3d[UBY][4]Core\r\n"
       "[NAM][8]FREEWARE[TYP][10]Everything\n");
  EXPECT_EQ(Packages(), (std::vector<std::string>{"Core=Core program", "FREEWARE=Everything"}));
  EXPECT_EQ(Components(), (std::vector<std::string>{"[FIL]C:\\Prog\\a.dll<Core", "[NAM]Extra<Core",
                                                    "[REG]HKEY_CURRENT_USER\\Software\\vesta3d<Core"}));
  EXPECT_EQ(manifest_.CountPackages(), 2);
  EXPECT_EQ(CPackageManifest::IsWholeProduct("FREEWARE"), 1);
  EXPECT_EQ(CPackageManifest::IsWholeProduct("freeware"), 0);
}

TEST_F(ManifestTest, LongValuesAreCut) {
  std::string longName(70, 'n');
  std::string longText(270, 't');
  Load("[NAM][70]" + longName + "[TYP][270]" + longText + "\n[FIL][270]" + longText + "[UBY][70]" +
       longName + "\n");
  char name[65];
  char title[261];
  ASSERT_EQ(manifest_.FirstPackage(name, title, nullptr), 1);
  EXPECT_EQ(std::strlen(name), 64u);
  EXPECT_EQ(std::strlen(title), 260u);
  char value[261];
  char kind[65];
  char owner[65];
  ASSERT_EQ(manifest_.FirstComponent(value, kind, owner, nullptr), 1);
  EXPECT_EQ(std::strlen(value), 260u);
  EXPECT_EQ(std::strlen(owner), 64u);
}

TEST_F(ManifestTest, LinesLongerThanTheBufferArriveInPieces) {
  std::string title(600, 't');
  // The longest line taken whole: 519 characters, its owner last. One
  // character more and the owner's last letter is the next piece.
  std::string whole = "[FIL][497]" + std::string(497, 'v') + "[UBY][4]Core";
  std::string over = "[FIL][498]" + std::string(498, 'w') + "[UBY][4]Core";
  ASSERT_EQ(whole.size(), 519u);
  Load("[NAM][1]A[TYP][600]" + title + "\n[NAM][1]B[TYP][1]b\n" + whole + "\n" + over + "\n");
  EXPECT_EQ(Packages().size(), 2u);
  EXPECT_EQ(Packages()[1], "B=b");
  EXPECT_EQ(Components(), (std::vector<std::string>{"[FIL]" + std::string(260, 'v') + "<Core",
                                                    "[FIL]" + std::string(260, 'w') + "<Cor"}));
}

TEST_F(ManifestTest, TheSelectionCountsOnlyVisiblePackages) {
  Load("[NAM][1]A[TYP][1]a\n[NAM][1]B[TYP][1]b\n[NAM][1]C[TYP][1]c\n");
  char name[65];
  char title[261];
  EXPECT_EQ(manifest_.GetSelectedPackage(name, title), 0);
  manifest_.SetSelection(1);
  ASSERT_EQ(manifest_.GetSelectedPackage(name, title), 1);
  EXPECT_STREQ(name, "B");
  manifest_.MarkPackageRemoved("A");
  ASSERT_EQ(manifest_.GetSelectedPackage(name, title), 1);
  EXPECT_STREQ(name, "C");
  manifest_.SetSelection(2);
  EXPECT_EQ(manifest_.GetSelectedPackage(name, title), 0);
  manifest_.ClearSelection();
  EXPECT_EQ(manifest_.GetSelectedPackage(name, title), 0);
  // Nothing selected: nothing is removed.
  EXPECT_EQ(manifest_.RemoveSelectedPackage(), 0);
  EXPECT_EQ(manifest_.CountPackages(), 2);
}

TEST_F(ManifestTest, ARewriteGroupsPackagesBeforeComponentsAndDropsRemovedOnes) {
  Load("[FIL][1]x[UBY][1]A\n[NAM][1]A[TYP][1]a\ngarbage\n[DIR][1]y[UBY][1]B\n[NAM][1]B[TYP][1]b\n");
  manifest_.MarkPackageRemoved("B");
  ASSERT_EQ(manifest_.SaveManifest(path_.c_str()), 1);
  EXPECT_EQ(ReadTextFile(path_), "[NAM][1]A[TYP][1]a\n[FIL][1]x[UBY][1]A\n[DIR][1]y[UBY][1]B\n");
  EXPECT_TRUE(vesta::platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty());
}

TEST_F(ManifestTest, AFailedRewriteLeavesTheOldManifestWhole) {
  const std::string before = "[NAM][1]A[TYP][1]a\n[NAM][1]B[TYP][1]b\n[FIL][1]x[UBY][1]A\n";
  Load(before);
  manifest_.MarkPackageRemoved("A");
  const std::string after = "[NAM][1]B[TYP][1]b\n[FIL][1]x[UBY][1]A\n";
  int failures = vesta::testing::ForEveryFault(
      [&] { ASSERT_TRUE(WriteTextFile(path_, before)); }, [&] { return manifest_.SaveManifest(path_.c_str()) == 1; },
      [&](const vesta::testing::FaultCase& run, bool saved) {
        EXPECT_EQ(saved, !run.fired) << vesta::testing::FaultName(run.point) << " " << run.nth;
        EXPECT_EQ(ReadTextFile(path_), saved ? after : before) << vesta::testing::FaultName(run.point) << " " << run.nth;
      });
  EXPECT_GE(failures, 5);
  EXPECT_TRUE(vesta::platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty());
  EXPECT_EQ(manifest_.SaveManifest(scratch_.Path("no\\such\\folder.txt").c_str()), 0);
  EXPECT_EQ(manifest_.SaveManifest(nullptr), 0);
  EXPECT_EQ(manifest_.SaveManifest(""), 0);
}

TEST_F(ManifestTest, ALoadThatRunsOutOfMemoryFails) {
  path_ = scratch_.Path("packages.txt");
  ASSERT_TRUE(WriteTextFile(path_, "[NAM][4]Core[TYP][4]Main\n[FIL][5]a.dll[UBY][4]Core\n"));
  // Each package and component takes a record and a place in its list; any
  // one of them failing fails the load, whatever comes after it.
  const int failures = vesta::testing::ForEveryFailingAllocation(
      1,
      [&] {
        CPackageManifest manifest;
        return manifest.LoadManifest(path_.c_str());
      },
      [](int result, bool failed, int allowed) { EXPECT_EQ(result, failed ? 0 : 1) << allowed; });
  EXPECT_EQ(failures, 4);
}

TEST_F(ManifestTest, AManifestWithoutPackagesLoadsEmptyAndAMissingOneDoesNot) {
  Load("[FIL][1]x[UBY][1]A\n");
  EXPECT_TRUE(Packages().empty());
  EXPECT_EQ(manifest_.CountPackages(), 0);
  CPackageManifest other;
  EXPECT_EQ(other.LoadManifest(scratch_.Path("missing.txt").c_str()), 0);
}

}  // namespace
