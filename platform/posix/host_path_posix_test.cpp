// How the POSIX backend maps Windows paths into VESTA_ROOT.
#include "platform/posix/host_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

TEST(HostPathTest, HostAndRelativePathsStayAsTheyAre) {
  vesta::testing::ScratchFolder scratch;
  EXPECT_EQ(ResolveHostPath("/usr/share/doc"), "/usr/share/doc");
  EXPECT_EQ(ResolveHostPath("/tmp\\x"), "/tmp/x");
  EXPECT_EQ(ResolveHostPath("worlds\\a.vwq"), "worlds/a.vwq");
}

TEST(HostPathTest, CaseIsResolvedComponentByComponent) {
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(vesta::platform::MakeFolder("C:\\scratch\\Media"));
  const std::string root = VestaRoot();
  EXPECT_EQ(ResolveHostPath("C:\\SCRATCH\\media\\new\\File.TXT"),
            root + "/drive_c/scratch/Media/new/File.TXT");
}

TEST(HostPathTest, RootComesFromTheEnvironment) {
  const char* saved = std::getenv("VESTA_ROOT");
  std::string keep = saved != nullptr ? saved : "";
  setenv("VESTA_ROOT", "/some/where", 1);
  EXPECT_EQ(VestaRoot(), "/some/where");
  unsetenv("VESTA_ROOT");
  EXPECT_NE(VestaRoot().find("/.vesta"), std::string::npos);
  if (saved != nullptr) setenv("VESTA_ROOT", keep.c_str(), 1);
}

}  // namespace
