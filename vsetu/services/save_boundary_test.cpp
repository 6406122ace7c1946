// The setup library's writers never write outside VESTA_ROOT, whatever the
// path climbs through or links to.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "actions/file_copy.h"
#include "platform/testing/boundary.h"
#include "platform/testing/files.h"
#include "vesta/vsetu.h"
#include "vesta/vsetu_normaliser.h"
#include "vesta/vsetu_shell.h"
#include "vsetu/services/saver_config.h"

namespace {

TEST(SetupBoundaryTest, CataloguesShortcutsSetupFilesAndWorldsStayInsideTheRoot) {
  vesta::testing::RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  CVFileTypeList catalogue;
  catalogue.FLInitialise();
  ASSERT_EQ(catalogue.FLPrepare(), 1);
  auto* type = new CVFileType;
  type->FTInitialise();
  type->FTSetFileEnding(".txt");
  ASSERT_EQ(catalogue.FLAddFileType(type), 1);
  VSetuInitialise();
  CVShortcut shortcut;
  shortcut.SHInitialise();
  SaverConfig config;
  VSClearSaverConfig(&config);
  VSSetSaverConfigDefaults(&config);
  const std::string nss = boundary.Folder() + "world.nss";
  ASSERT_TRUE(vesta::testing::WriteTextFile(nss, "C:\\scratch\\saver.vss\n"));
  CVNormBuilder builder;
  builder.NBInitialise();
  builder.NBSetSourceFile("C:\\scratch\\world.vwq");
  CWorldProp world;
  world.WPInitialise();
  builder.NBSetWorldPointer(&world);

  const std::vector<std::pair<const char*, std::function<int(const std::string&)>>> writers = {
      {"catalogue", [&](const std::string& path) { return catalogue.FLSaveFileTypeList(path.c_str()); }},
      {"shortcut", [&](const std::string& path) { return shortcut.SHCreateShortcut("C:\\x.exe", path.c_str(), "x"); }},
      {"setup file", [&](const std::string& path) { return VSWriteSaverConfigFile(&config, path.c_str()); }},
      {"world",
       [&](const std::string& path) {
         // The world goes into the folder that the path names.
         return builder.NBSaveWorld(path.substr(0, path.find_last_of("\\/") + 1).c_str(), nullptr);
       }},
  };
  for (const auto& [what, write] : writers) {
    for (const std::string& path : boundary.ClimbingPaths("written")) {
      write(path);
      EXPECT_EQ(boundary.ChangesOutside(), "") << what << " " << path;
    }
    for (const std::string& path : boundary.LinkPaths("written")) {
      // The links to a file outside name no folder to save a world into.
      if (std::string(what) == "world" && path.find("\\out\\") == std::string::npos &&
          path.find("\\up\\") == std::string::npos) {
        continue;
      }
      EXPECT_EQ(write(path), 0) << what << " " << path;
      EXPECT_EQ(boundary.ChangesOutside(), "") << what << " " << path;
    }
  }
  // A copy to a folder outside is refused too.
  char copied[261] = "";
  EXPECT_EQ(VUCopyFileToFolder(nss.c_str(), "C:\\scratch\\out\\", copied), 0);
  EXPECT_EQ(boundary.ChangesOutside(), "");
  builder.NBSetWorldPointer(nullptr);
  VSetuTerminate();
}

}  // namespace
