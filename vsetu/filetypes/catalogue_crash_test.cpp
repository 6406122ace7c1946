// The catalogue's writer killed at random moments: after every kill the
// catalogue reads back as one whole version, the old one or the new one,
// and the temporaries of killed writers go with the next process's save.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/crash.h"
#include "platform/testing/crash_rounds.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"

namespace {

using vesta::testing::KillOutcome;
using vesta::testing::KillRound;
using vesta::testing::NumberedText;
using vesta::testing::ReadTextFile;

constexpr int kTypes = 100;

std::string Command(std::int64_t n) { return "open.exe \"%1\" /version " + std::to_string(n); }

// Version n: 100 file types, each with texts that follow from n.
bool SaveCatalogueVersion(const std::string& path, std::int64_t n) {
  CVFileTypeList list;
  list.FLInitialise();
  if (list.FLPrepare() != 1) return false;
  for (int k = 0; k < kTypes; ++k) {
    CVFileType* type = new CVFileType;
    type->FTInitialise();
    type->FTSetFileType(("Type " + std::to_string(k)).c_str());
    type->FTSetFileEnding((".e" + std::to_string(k)).c_str());
    type->FTSetCommandLine(Command(n).c_str());
    type->FTSetExecutable(("C:\\Programs\\" + NumberedText(n * kTypes + k, 200) + ".exe").c_str());
    type->FTSetTexture(("C:\\VESTA\\media\\" + NumberedText(n + k, 60) + ".bmp").c_str());
    type->FTSetTiling(k % 3);
    if (list.FLAddFileType(type) != 1) {
      delete type;
      return false;
    }
  }
  return list.FLSaveFileTypeList(path.c_str()) == 1;
}

TEST(CatalogueCrashTest, TheCatalogueIsAlwaysOneWholeVersion) {
  if (!vesta::testing::CanKillWriters()) GTEST_SKIP() << "writers cannot be killed here";
  vesta::testing::ScratchFolder scratch;
  const std::string folder = scratch.Path("Types\\");
  const std::string path = folder + "Crash.vft";
  ASSERT_TRUE(vesta::platform::MakeFolder(folder.c_str()));
  // Each version as the writer makes it when nothing stops it, in a folder
  // of its own.
  const std::string expected = scratch.Path("expected\\");
  ASSERT_TRUE(vesta::platform::MakeFolder(expected.c_str()));
  vesta::testing::MadeVersions text(expected, ".vft", SaveCatalogueVersion, ReadTextFile(path));
  vesta::testing::KillRewriterRepeatedly(
      "catalogue", path, folder, [&](std::int64_t n) { return SaveCatalogueVersion(path, n); }, text,
      [&](std::int64_t current) {
        // And the reader takes it whole.
        CVFileTypeList list;
        list.FLInitialise();
        EXPECT_EQ(list.FLLoadFileTypeList(path.c_str()), 1);
        int count = 0;
        CVFileType* type = nullptr;
        for (int more = list.FLGetFirstFileType(&type); more; more = list.FLGetNextFileType(&type)) {
          char command[261] = "";
          type->FTGetCommandLine(command);
          EXPECT_EQ(command, Command(current));
          ++count;
        }
        EXPECT_EQ(count, kTypes);
      });
}

}  // namespace
