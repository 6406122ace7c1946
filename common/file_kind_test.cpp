#include "common/file_kind.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/testing/scratch.h"

namespace {

TEST(FileKindTest, KindsComeFromTheFormAndTheEnding) {
  struct Case {
    const char* path;
    int kind;
  } cases[] = {
      {"", kVUKindEmpty},
      {"C:\\Docs\\", kVUKindFolder},
      {"C:\\m\\hit.WAV", kVUKindWave},
      {"C:\\m\\tune.midi", kVUKindMidi},
      {"C:\\m\\wall.Jpeg", kVUKindTexture},
      {"HTTP://www.vesta3d.com/", kVUKindAddress},
      {"mailto:a@b", kVUKindAddress},
      {"C:\\bin\\VESTA.EXE", kVUKindProgram},
      {"C:\\s\\x.lnk", kVUKindShortcut},
      {"C:", kVUKindRoot},
      {"D:\\", kVUKindRoot},
      {"\\\\server\\share", kVUKindRoot},
      {"C:\\Docs\\Report.txt", kVUKindDocument},
      {"?VESTAVWQDIR?doc.x", kVUKindShape},
      {"C:\\m\\_doorup.vvc", kVUKindKolb},
      {"C:\\m\\song.mp3", kVUKindAudio},
      {"C:\\bin\\VHelp.hlp", kVUKindHelp},
      {"C:\\bin\\VDXRM.dll", kVUKindLibrary},
      {"C:\\w\\Home.vwq", kVUKindWorld},
  };
  for (const Case& c : cases) EXPECT_EQ(VUClassifyFile(c.path), c.kind) << c.path;
}

TEST(FileKindTest, AnExistingFolderIsAFolder) {
  vesta::testing::ScratchFolder scratch;
  std::string folder = scratch.Path("Holiday");
  EXPECT_EQ(VUClassifyFile(folder.c_str()), kVUKindDocument);
  ASSERT_TRUE(vesta::platform::MakeFolder(folder.c_str()));
  EXPECT_EQ(VUClassifyFile(folder.c_str()), kVUKindFolder);
}

}  // namespace
