// The Start menu of the root's Windows folder.
#include "platform/shell_places.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/scratch.h"

namespace {

using vesta::platform::SpecialFolder;
using vesta::platform::SpecialFolderPath;

TEST(SpecialFoldersPosixTest, TheStartMenuFoldersAreTheWindowsFoldersWhenTheyExist) {
  vesta::testing::ScratchFolder scratch;
  const std::string windows = scratch.Path("Windows");
  vesta::platform::OverrideWindowsFolder(windows.c_str());
  std::string path = "untouched";
  EXPECT_FALSE(SpecialFolderPath(nullptr, SpecialFolder::kStartUp, &path));
  EXPECT_FALSE(SpecialFolderPath(nullptr, SpecialFolder::kPrograms, &path));
  EXPECT_EQ(path, "untouched");

  std::string folder = windows;
  for (const char* part : {"", "\\Start Menu", "\\Programs"}) {
    folder += part;
    ASSERT_TRUE(vesta::platform::MakeFolder(folder.c_str()));
  }
  ASSERT_TRUE(SpecialFolderPath(nullptr, SpecialFolder::kPrograms, &path));
  EXPECT_EQ(path, windows + "\\Start Menu\\Programs");
  EXPECT_FALSE(SpecialFolderPath(nullptr, SpecialFolder::kStartUp, &path));
  ASSERT_TRUE(vesta::platform::MakeFolder((folder + "\\Startup").c_str()));
  ASSERT_TRUE(SpecialFolderPath(nullptr, SpecialFolder::kStartUp, &path));
  EXPECT_EQ(path, windows + "\\Start Menu\\Programs\\Startup");

  // A test's own folder stands in front, and "" hides the folder.
  vesta::platform::OverrideSpecialFolder(SpecialFolder::kStartUp, "");
  EXPECT_FALSE(SpecialFolderPath(nullptr, SpecialFolder::kStartUp, &path));
  vesta::platform::OverrideSpecialFolder(SpecialFolder::kStartUp, nullptr);
  EXPECT_TRUE(SpecialFolderPath(nullptr, SpecialFolder::kStartUp, &path));
  vesta::platform::OverrideWindowsFolder(nullptr);
}

}  // namespace
