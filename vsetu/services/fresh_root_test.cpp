// The installation services on a root that holds nothing yet: the Windows
// side of the machine gets its folders when they are first needed.
#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/testing/boundary.h"
#include "platform/testing/files.h"
#include "vesta/vsetu.h"
#include "vesta/vsetu_shell.h"
#include "vsetu/services/library_state.h"

namespace {

namespace platform = vesta::platform;

// The state a freshly loaded library has.
void ForgetState() {
  vesta::vsetu::HomeCache()[0] = '\0';
  *vesta::vsetu::RendererCursor() = -1;
}

TEST(FreshRootTest, EveryServiceWorksOnAnEmptyRoot) {
  vesta::testing::RootBoundary root;
  if (!root.Supported()) GTEST_SKIP() << "the machine's own Windows folders are used here";
  ForgetState();
  // What the setup program puts in place: the installation's own folders.
  const std::string home = "C:\\VESTA\\";
  ASSERT_TRUE(platform::MakeFolder(home.c_str()));
  for (const char* folder : {"bin", "media", "temp", "worlds"}) ASSERT_TRUE(platform::MakeFolder((home + folder).c_str()));
  ASSERT_TRUE(vesta::testing::WriteTextFile(home + "bin\\Zentrix-3D.scr", "saver"));
  ASSERT_EQ(VSSetVESTAHome(home.c_str()), 1);

  EXPECT_EQ(VSInstallScreensaver(), 1);
  EXPECT_EQ(VSIsScreensaverInstalled(), 1);
  EXPECT_TRUE(platform::FileExists("C:\\Windows\\System32\\Zentrix-3D.scr"));
  EXPECT_EQ(VSUnInstallScreensaver(), 1);
  EXPECT_EQ(VSSetDefaultScreensaver(), 1);

  VSetuInitialise();
  VSAddShortcutToStartUp(nullptr);
  EXPECT_EQ(VSIsShortcutInStartUp(nullptr), 1);
  EXPECT_EQ(VSDeleteShortcutFromStartUp(nullptr), 1);
  VSAddShortcutToStartMenu(nullptr);
  EXPECT_EQ(VSIsShortcutInStartMenu(nullptr), 1);
  EXPECT_EQ(VSDeleteShortcutFromStartMenu(nullptr), 1);
  VSetuTerminate();

  char out[kVSBuffer] = "";
  EXPECT_EQ(VSGetTempName(out), 1);
  EXPECT_EQ(VSGetVUDName(out), 1);
  EXPECT_EQ(VSAddVGXEntry("Software", "VSoft.dll"), 1);
  char title[kVSBuffer] = "";
  EXPECT_EQ(VSFindVGXEntry("Software", title), 1);
  EXPECT_EQ(VSSetMouseConfigCmd("Forward", 3), 1);
  for (const char* folder : {"C:\\Windows\\Temp", "C:\\Program Files", "C:\\Windows\\Desktop"}) {
    EXPECT_TRUE(platform::FolderExists(folder)) << folder;
  }
  EXPECT_EQ(root.ChangesOutside(), "");
  ForgetState();
}

}  // namespace
