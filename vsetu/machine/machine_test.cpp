// The setup library's services for tools, at their edges.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "vesta/vsetu.h"
#include "vsetu/services/test_installation.h"

namespace vesta::testing {
namespace {

using MachineServicesTest = InstallationTest;

TEST_F(MachineServicesTest, FoldersAreMadeAllTheWayDownAndFilesReplacedWhole) {
  const std::string deep = scratch_.Path("a\\b\\c\\");
  EXPECT_EQ(VSMakeFolders(deep.c_str()), 1);
  EXPECT_TRUE(platform::FolderExists(scratch_.Path("a\\b\\c").c_str()));
  EXPECT_EQ(VSMakeFolders(deep.c_str()), 1) << "a folder that exists is fine";
  EXPECT_EQ(VSMakeFolders(""), 0);

  const std::string file = deep + "f.bin";
  const char bytes[] = {'a', '\0', 'b'};
  ASSERT_EQ(VSReplaceFile(file.c_str(), bytes, 3), 1);
  int64_t size = 0;
  ASSERT_EQ(VSGetFileSize(file.c_str(), &size), 1);
  EXPECT_EQ(size, 3);
  EXPECT_EQ(ReadBinaryFile(file), std::string(bytes, 3));
  EXPECT_EQ(VSGetFileSize(scratch_.Path("none").c_str(), &size), 0);
  EXPECT_EQ(VSReplaceFile(file.c_str(), nullptr, 2), 0);
  EXPECT_EQ(VSDeleteFile(file.c_str()), 1);
  EXPECT_EQ(VSFileExists(file.c_str()), 0);
}

TEST_F(MachineServicesTest, TheLastFileProblemNamesThePathAndIsCutToTheBuffer) {
  VSClearLastFileProblem();
  char out[16] = "untouched";
  EXPECT_EQ(VSGetLastFileProblem(out, sizeof out), 0);
  EXPECT_STREQ(out, "");
  Touch(scratch_.Path("plain"));
  EXPECT_EQ(VSMakeFolders(scratch_.Path("plain\\below").c_str()), 0);
  char problem[1024];
  ASSERT_EQ(VSGetLastFileProblem(problem, sizeof problem), 1);
  EXPECT_NE(std::string(problem).find("plain"), std::string::npos) << problem;
  char small[8];
  EXPECT_EQ(VSGetLastFileProblem(small, sizeof small), 1);
  EXPECT_EQ(std::strlen(small), 7u);
}

TEST_F(MachineServicesTest, StoredPathsResolveAgainstTheWorldsFolderAndShapesNameTheirTextures) {
  Install();
  const std::string world = scratch_.Path("Out\\World.vwq");
  char out[kVSBuffer];
  ASSERT_EQ(VSResolveStoredPath("?VESTAVWQDIR?wall.bmp", world.c_str(), out), 1);
  EXPECT_EQ(std::string(out), scratch_.Path("Out\\wall.bmp"));
  ASSERT_EQ(VSResolveStoredPath("C:\\Other\\x.wav", world.c_str(), out), 1);
  EXPECT_STREQ(out, "C:\\Other\\x.wav");
  EXPECT_EQ(VSResolveStoredPath("", world.c_str(), out), 0);

  const std::string shape = home_ + "media\\lamp.x";
  ASSERT_TRUE(WriteTextFile(shape, "TextureFilename { \"shade.bmp\"; }\nTextureFilename { \"gone.bmp\"; }\n"
                                   "TextureFilename { }\n"));
  Touch(home_ + "media\\shade.bmp");
  std::vector<std::pair<std::string, std::string>> seen;
  auto collect = [](const char* written, const char* found, void* context) {
    static_cast<std::vector<std::pair<std::string, std::string>>*>(context)->emplace_back(written, found);
    return 1;
  };
  ASSERT_EQ(VSForEachShapeTexture(shape.c_str(), collect, &seen), 1);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, "shade.bmp");
  EXPECT_EQ(seen[0].second, home_ + "media\\shade.bmp");
  EXPECT_EQ(seen[1].second, "");
  EXPECT_EQ(VSForEachShapeTexture((home_ + "media\\none.x").c_str(), collect, &seen), 0);
  EXPECT_EQ(VSForEachShapeTexture((home_ + "media\\x.bmp").c_str(), collect, &seen), 1) << "a texture names none";
}

TEST_F(MachineServicesTest, CopyNamesAreTheFileOwnThenNumberedBeforeTheEnding) {
  char name[32];
  ASSERT_EQ(VSCopyName("C:\\VESTA\\media\\wall.tex.bmp", 1, name, sizeof name), 1);
  EXPECT_STREQ(name, "wall.tex.bmp");
  ASSERT_EQ(VSCopyName("C:\\VESTA\\media\\wall.tex.bmp", 2, name, sizeof name), 1);
  EXPECT_STREQ(name, "wall.tex_2.bmp");
  ASSERT_EQ(VSCopyName("C:\\VESTA\\media\\README", kVSMostCopyNames, name, sizeof name), 1);
  EXPECT_STREQ(name, "README_9999");
  EXPECT_EQ(VSCopyName("C:\\a.bmp", kVSMostCopyNames + 1, name, sizeof name), 0);
  EXPECT_EQ(VSCopyName("C:\\a.bmp", 0, name, sizeof name), 0);
  EXPECT_EQ(VSCopyName("C:\\a.bmp", 1, name, 5), 0) << "no room for the end of the text";
  EXPECT_EQ(VSCopyName("C:\\media\\", 1, name, sizeof name), 0);
  // Paths as Windows compares them.
  ASSERT_EQ(VSFoldPath("c:/Vesta\\Wall.bmp", name, sizeof name), 1);
  EXPECT_STREQ(name, "C:\\VESTA\\WALL.BMP");
  EXPECT_EQ(VSFoldPath("c:\\x", name, 4), 0);
}

TEST_F(MachineServicesTest, KeyPathsNeedAWholeRootNameAndValuesComeBackCut) {
  EXPECT_EQ(VSRegIsKeyPath("HKEY_CURRENT_USER"), 1);
  EXPECT_EQ(VSRegIsKeyPath("HKEY_CURRENT_USER\\Software"), 1);
  EXPECT_EQ(VSRegIsKeyPath("hkey_current_user\\Software"), 1) << "Windows ignores the case";
  EXPECT_EQ(VSRegIsKeyPath("HKEY_CURRENT_USERX\\Software"), 0);
  EXPECT_EQ(VSRegIsKeyPath("HKCUX\\Software"), 0);
  EXPECT_EQ(VSRegIsKeyPath("HKEY_PERFORMANCE_DATA"), 0) << "holds no keys";
  EXPECT_EQ(VSRegIsKeyPath("Software"), 0);
  EXPECT_EQ(VSRegIsKeyPath(nullptr), 0);
  // The short names reach the same keys as the whole ones.
  ASSERT_EQ(VSRegWriteValue("HKCU\\Software\\VestaShort", "A", kVSRegString, "1", 2), 1);
  ASSERT_EQ(VSRegWriteValue("hklm\\Software\\VestaShort", "B", kVSRegString, "2", 2), 1);
  for (const char* written : {"HKEY_CURRENT_USER\\Software\\VestaShort", "HKEY_LOCAL_MACHINE\\Software\\VestaShort"}) {
    EXPECT_EQ(VSRegKeyExists(written), 1) << written;
    EXPECT_EQ(VSRegDeleteKeyTree(written), 1) << written;
  }
  for (const char* shortName : {"HKCR", "HKCC", "HKU"}) EXPECT_EQ(VSRegIsKeyPath(shortName), 1) << shortName;

  const char* key = "HKEY_CURRENT_USER\\Software\\VestaMachineTest";
  ASSERT_EQ(VSRegWriteValue(key, "Text", kVSRegString, "abcdef", 7), 1);
  char data[4] = {'x', 'x', 'x', 'x'};
  unsigned type = 0;
  int length = 0;
  ASSERT_EQ(VSRegReadValue(key, "Text", &type, data, 3, &length), 1);
  EXPECT_EQ(type, kVSRegString);
  EXPECT_EQ(length, 7);
  EXPECT_EQ(std::string(data, 4), "abcx") << "at most size bytes";
  EXPECT_EQ(VSRegReadValue(key, "None", &type, data, 3, &length), 0);
  EXPECT_EQ(VSRegDeleteKeyTree("HKEY_CURRENT_USER"), 0) << "a root is never deleted";
  EXPECT_EQ(VSRegDeleteKeyTree(key), 1);
  EXPECT_EQ(VSRegKeyExists(key), 0);
}

// A request the registry cannot take says why; a missing value is an
// answer and leaves the last problem as it was.
TEST_F(MachineServicesTest, EveryRefusedRegistryRequestSaysWhy) {
  char problem[512];
  const auto told = [&problem]() {
    return VSRegGetLastProblem(problem, sizeof problem) ? std::string(problem) : std::string("<none>");
  };
  EXPECT_EQ(VSRegWriteValue("HKEY_CURRENT_USERX\\Software", "A", kVSRegString, "1", 2), 0);
  EXPECT_EQ(told().rfind("registry: \"HKEY_CURRENT_USERX\\Software\" is not a key path", 0), 0u) << told();
  EXPECT_EQ(VSRegReadValue("HKEY_CURRENT_USER\\Software\\VestaNone", "A", nullptr, nullptr, 0, nullptr), 0);
  EXPECT_EQ(told().rfind("registry: \"HKEY_CURRENT_USERX", 0), 0u) << "a missing value is no problem";
  EXPECT_EQ(VSRegWriteValue("HKCU\\Software\\VestaNone", "Bytes", kVSRegBinary, nullptr, 4), 0);
  EXPECT_EQ(told(), "registry: the data of value \"Bytes\" has no bytes for its length 4");
  EXPECT_EQ(VSRegDeleteKeyTree("HKLM\\"), 0);
  EXPECT_EQ(told(), "registry: a root key is never deleted: \"HKLM\\\"");
  EXPECT_EQ(VSRegExportFile("HKCU\\Software", "C:\\x.reg", 7), 0);
  EXPECT_EQ(told(), "registry: C:\\x.reg: 7 is not a registry file format");
  EXPECT_EQ(VSRegImportFile(nullptr), 0);
  EXPECT_EQ(told(), "registry: no file named to import");
  EXPECT_EQ(VSRegKeyExists("Software"), 0);
  EXPECT_EQ(told().rfind("registry: \"Software\" is not a key path", 0), 0u) << told();
}

TEST_F(MachineServicesTest, AFreshInstallationIsMadeAndRegisteredOnce) {
  VSInstallationReport report;
  ASSERT_EQ(VSInitialiseInstallation(home_.c_str(), &report), 1);
  EXPECT_EQ(report.homeWritten, 1);
  EXPECT_EQ(report.foldersMade, 0) << "the test's home has its folders";
  char home[kVSBuffer];
  ASSERT_EQ(VSGetVESTAHome(home), 1);
  EXPECT_EQ(home_, home);
  char title[kVSBuffer];
  char file[kVSBuffer];
  EXPECT_EQ(VSGetFirstVGXEntry(title, file), 1) << "the stock renderers are listed";

  const std::string other = scratch_.Path("Other");  // without its back-slash
  ASSERT_EQ(VSInitialiseInstallation(other.c_str(), &report), 1);
  EXPECT_EQ(report.homeWritten, 0) << "a registered home stays";
  EXPECT_EQ(report.foldersMade, 5);
  EXPECT_EQ(other + "\\", report.home);
  EXPECT_TRUE(platform::FolderExists((other + "\\worlds").c_str()));
}

}  // namespace
}  // namespace vesta::testing
