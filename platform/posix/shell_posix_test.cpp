// The POSIX shell: COM's answers without COM, and the wallpaper recorded
// in the user's profile.
#include "platform/shell.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/registry.h"
#include "platform/testing/scratch.h"

namespace {

using vesta::platform::ComStart;

TEST(ShellPosixTest, ComStartsOncePerThreadUntilItIsStopped) {
  EXPECT_EQ(vesta::platform::StartCom(), ComStart::kStarted);
  EXPECT_EQ(vesta::platform::StartCom(), ComStart::kAlreadyStarted);
  vesta::platform::StopCom();
  vesta::platform::StopCom();
  EXPECT_EQ(vesta::platform::StartCom(), ComStart::kStarted);
  vesta::platform::StopCom();
}

TEST(ShellPosixTest, TheWallpaperIsRecordedAsWindowsRecordsIt) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(vesta::platform::SetDesktopWallpaper("C:\\VESTA\\media\\_me_VESTA3D.bmp"));
  std::string value;
  ASSERT_TRUE(vesta::platform::RegistryReadString(vesta::platform::RegRoot::kCurrentUser,
                                                  "Control Panel\\Desktop", "Wallpaper", &value));
  EXPECT_EQ(value, "C:\\VESTA\\media\\_me_VESTA3D.bmp");
}

}  // namespace
