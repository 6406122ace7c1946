// How the POSIX backend maps Windows paths into VESTA_ROOT.
#include "platform/posix/host_path.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/file_system.h"
#include "platform/testing/scratch.h"

namespace {

using vesta::platform::posix::ResolveHostPath;
using vesta::platform::posix::VestaRoot;

TEST(HostPathTest, DrivesMapIntoTheRootAndBackSlashesBecomeSlashes) {
  vesta::testing::ScratchFolder scratch;
  const std::string root = VestaRoot();
  EXPECT_EQ(ResolveHostPath("C:\\VESTA\\bin\\VHelp.hlp"), root + "/drive_c/VESTA/bin/VHelp.hlp");
  EXPECT_EQ(ResolveHostPath("d:\\Media"), root + "/drive_d/Media");
  EXPECT_EQ(ResolveHostPath("C:\\"), root + "/drive_c/");
  EXPECT_EQ(ResolveHostPath("\\Windows\\win.ini"), root + "/drive_c/Windows/win.ini");
  EXPECT_EQ(ResolveHostPath("\\\\server\\share\\a.txt"), root + "/unc/server/share/a.txt");
  EXPECT_EQ(ResolveHostPath("C:\\Docs\\"), root + "/drive_c/Docs/");
}

TEST(HostPathTest, DotsFoldAsOnWindowsAndNeverAboveTheDriveOrShare) {
  vesta::testing::ScratchFolder scratch;
  const std::string root = VestaRoot();
  EXPECT_EQ(ResolveHostPath("C:\\..\\..\\x"), root + "/drive_c/x");
  EXPECT_EQ(ResolveHostPath("c:/../../x"), root + "/drive_c/x");
  EXPECT_EQ(ResolveHostPath("\\..\\..\\x"), root + "/drive_c/x");
  EXPECT_EQ(ResolveHostPath("Z:\\..\\..\\x"), root + "/drive_z/x");
  EXPECT_EQ(ResolveHostPath("C:\\VESTA\\..\\..\\..\\x"), root + "/drive_c/x");
  EXPECT_EQ(ResolveHostPath("C:\\VESTA\\.\\bin\\..\\media\\.\\a.bmp"), root + "/drive_c/VESTA/media/a.bmp");
  EXPECT_EQ(ResolveHostPath("C:\\a\\b\\..\\"), root + "/drive_c/a/");
  EXPECT_EQ(ResolveHostPath("C:\\a\\.."), root + "/drive_c/");
  EXPECT_EQ(ResolveHostPath("C:..\\x"), root + "/drive_c/x");
  EXPECT_EQ(ResolveHostPath("\\\\srv\\share\\..\\x"), root + "/unc/srv/share/x");
  EXPECT_EQ(ResolveHostPath("\\\\srv\\share\\..\\..\\..\\x"), root + "/unc/srv/share/x");
  EXPECT_EQ(ResolveHostPath("\\\\srv\\share"), root + "/unc/srv/share/");
  // A share that is no share maps to nothing.
  EXPECT_EQ(ResolveHostPath("\\\\srv\\..\\x"), "");
  EXPECT_EQ(ResolveHostPath("\\\\..\\share\\x"), "");
  EXPECT_EQ(ResolveHostPath("\\\\srv"), "");
  // Names of more dots are names.
  EXPECT_EQ(ResolveHostPath("C:\\...\\x"), root + "/drive_c/.../x");
}

TEST(HostPathTest, HostAndRelativePathsStayAsTheyAre) {
  vesta::testing::ScratchFolder scratch;
  EXPECT_EQ(ResolveHostPath("/usr/share/doc"), "/usr/share/doc");
  EXPECT_EQ(ResolveHostPath("/tmp\\x"), "/tmp/x");
  EXPECT_EQ(ResolveHostPath("worlds\\a.vwq"), "worlds/a.vwq");
  // A host path is the caller's own: its dots are the host's to follow.
  EXPECT_EQ(ResolveHostPath("/tmp/../etc/x"), "/tmp/../etc/x");
  // Only a drive or a leading back-slash makes a Windows path.
  EXPECT_TRUE(vesta::platform::posix::IsWindowsPath("c:x"));
  EXPECT_TRUE(vesta::platform::posix::IsWindowsPath("\\\\server\\share"));
  EXPECT_FALSE(vesta::platform::posix::IsWindowsPath("/tmp/x"));
  EXPECT_FALSE(vesta::platform::posix::IsWindowsPath("1:x"));
  EXPECT_FALSE(vesta::platform::posix::IsWindowsPath(""));
  EXPECT_FALSE(vesta::platform::posix::IsWindowsPath(nullptr));
}

TEST(HostPathTest, CaseIsResolvedComponentByComponent) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(vesta::platform::MakeFolder("C:\\scratch\\Media"));
  const std::string root = VestaRoot();
  EXPECT_EQ(ResolveHostPath("C:\\SCRATCH\\media\\new\\File.TXT"),
            root + "/drive_c/scratch/Media/new/File.TXT");
  // A folder keeps its closing separator.
  EXPECT_EQ(ResolveHostPath("C:\\SCRATCH\\media\\"), root + "/drive_c/scratch/Media/");
  // A name in a folder spelled as it is: the name alone is matched.
  FILE* made = std::fopen((root + "/drive_c/scratch/Media/Old.txt").c_str(), "w");
  ASSERT_NE(made, nullptr);
  std::fclose(made);
  EXPECT_EQ(ResolveHostPath("C:\\scratch\\Media\\OLD.TXT"), root + "/drive_c/scratch/Media/Old.txt");
  EXPECT_EQ(ResolveHostPath("C:\\scratch\\Media\\New.txt"), root + "/drive_c/scratch/Media/New.txt");
}

TEST(HostPathTest, ASettledFolderListedOnceStillSeesWhatComesLater) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(vesta::platform::MakeFolder(scratch.Path("Media").c_str()));
  FILE* made = std::fopen(ResolveHostPath(scratch.Path("Media\\Alpha.txt").c_str()).c_str(), "w");
  ASSERT_NE(made, nullptr);
  std::fclose(made);
  // Settled: unchanged for longer than a tick of any clock.
  std::this_thread::sleep_for(std::chrono::milliseconds(2200));
  const std::string folder = ResolveHostPath(scratch.Path("Media\\").c_str());
  EXPECT_EQ(ResolveHostPath(scratch.Path("media\\ALPHA.TXT").c_str()), folder + "Alpha.txt");
  EXPECT_EQ(ResolveHostPath(scratch.Path("media\\beta.txt").c_str()), folder + "beta.txt");
  made = std::fopen((folder + "Beta.txt").c_str(), "w");
  ASSERT_NE(made, nullptr);
  std::fclose(made);
  EXPECT_EQ(ResolveHostPath(scratch.Path("media\\BETA.txt").c_str()), folder + "Beta.txt");
}

TEST(HostPathTest, RootComesFromTheEnvironment) {
  const char* saved = std::getenv("VESTA_ROOT");
  std::string keep = saved != nullptr ? saved : "";
  setenv("VESTA_ROOT", "/some/where", 1);
  EXPECT_EQ(VestaRoot(), "/some/where");
  unsetenv("VESTA_ROOT");
  EXPECT_NE(VestaRoot().find("/.vesta"), std::string::npos);
  // Without one, the user's home holds it.
  const char* savedHome = std::getenv("HOME");
  std::string keepHome = savedHome != nullptr ? savedHome : "";
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(VestaRoot(), "/home/someone/.vesta");
  if (savedHome != nullptr) setenv("HOME", keepHome.c_str(), 1);
  if (saved != nullptr) setenv("VESTA_ROOT", keep.c_str(), 1);
}

}  // namespace
