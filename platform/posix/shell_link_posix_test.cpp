// The backend's link object: a relative path and the installation's
// environment, as a link read from the root sees them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/shell_link.h"
#include "platform/system_info.h"
#include "platform/testing/link_layout.h"
#include "platform/testing/scratch.h"

namespace {

using namespace vesta::testing::link_layout;  // NOLINT: the fixture pieces

class ShellLinkPosixTest : public ::testing::Test {
 protected:
  // The target of the file that bytes make, once resolved; "<none>" when
  // the link has none.
  std::string Resolved(const std::string& name, const std::string& bytes) {
    const std::string file = scratch_.Path(name);
    if (!vesta::platform::ReplaceWholeFile(file.c_str(), bytes, vesta::platform::FileMode::kBinary)) return "<unwritten>";
    void* link = vesta::platform::CreateShellLink();
    void* persist = vesta::platform::ShellLinkFileInterface(link);
    char target[1024] = "";
    bool loaded = vesta::platform::ShellLinkLoad(persist, file.c_str());
    bool resolved = vesta::platform::ShellLinkResolve(link, nullptr);
    bool found = vesta::platform::ShellLinkGetPath(link, target, sizeof target);
    vesta::platform::ReleaseShellLinkInterface(persist);
    vesta::platform::ReleaseShellLinkInterface(link);
    if (!loaded || !resolved) return "<unread>";
    return found ? target : "<none>";
  }

  std::string Environment(const std::string& target) {
    return Resolved("environment.lnk", Header(kExpString) + EnvironmentBlock(target, u"") + Terminal());
  }

  vesta::testing::ScratchFolder scratch_;
};

TEST_F(ShellLinkPosixTest, ALinkWithOnlyARelativePathNamesItsTargetFromItsFolder) {
  ASSERT_TRUE(vesta::platform::MakeFolder(scratch_.Path("Links").c_str()));
  const std::string relative = Header(kRelative | kUnicode) + WideString(u"..\\VESTA\\.\\x.exe") + Terminal();
  EXPECT_EQ(Resolved("Links\\relative.lnk", relative), scratch_.Path("VESTA\\x.exe"));
  // A target of its own comes first.
  EXPECT_EQ(Resolved("Links\\both.lnk", Header(kInfo | kRelative | kUnicode) +
                                            LinkInfo({"C:\\Own.exe", "", "", u"", u"", u""}) +
                                            WideString(u"..\\x.exe") + Terminal()),
            "C:\\Own.exe");
  EXPECT_EQ(Resolved("Links\\broken.lnk", relative.substr(0, relative.size() - 1)), "<unread>");
}

TEST_F(ShellLinkPosixTest, TextsAreCutToTheBufferAndABufferOfNoRoomTakesNothing) {
  void* link = vesta::platform::CreateShellLink();
  ASSERT_TRUE(vesta::platform::ShellLinkSetPath(link, "C:\\VESTA\\x.exe"));
  ASSERT_TRUE(vesta::platform::ShellLinkSetDescription(link, "Desktop"));
  char out[16] = "keep";
  EXPECT_FALSE(vesta::platform::ShellLinkGetPath(link, out, 0));
  EXPECT_FALSE(vesta::platform::ShellLinkGetDescription(link, out, 0));
  EXPECT_STREQ(out, "keep");
  EXPECT_TRUE(vesta::platform::ShellLinkGetPath(link, out, 4));
  EXPECT_STREQ(out, "C:\\");
  vesta::platform::ReleaseShellLinkInterface(link);
}

TEST_F(ShellLinkPosixTest, EnvironmentTargetsSeeTheInstallationsFolders) {
  const std::string windows = scratch_.Path("WINNT");
  ASSERT_TRUE(vesta::platform::MakeFolder(windows.c_str()));
  vesta::platform::OverrideWindowsFolder(windows.c_str());
  EXPECT_EQ(Environment("%SystemRoot%\\notepad.exe"), windows + "\\notepad.exe");
  EXPECT_EQ(Environment("%WINDIR%\\x"), windows + "\\x");
  EXPECT_EQ(Environment("%ProgramFiles%\\VESTA"), "C:\\Program Files\\VESTA");
  EXPECT_EQ(Environment("%SystemDrive%\\x"), "C:\\x");
  // Without user profiles the user's folder is the Windows folder.
  EXPECT_EQ(Environment("%USERPROFILE%\\Desktop"), windows + "\\Desktop");
  EXPECT_EQ(Environment("%HOMEDRIVE%%HOMEPATH%"), windows);
  std::string user;
  ASSERT_TRUE(vesta::platform::UserName(&user));
  const std::string profile = windows + "\\Profiles\\" + user;
  ASSERT_TRUE(vesta::platform::MakeFolder((windows + "\\Profiles").c_str()));
  ASSERT_TRUE(vesta::platform::MakeFolder(profile.c_str()));
  EXPECT_EQ(Environment("%UserProfile%\\Desktop"), profile + "\\Desktop");
  EXPECT_EQ(Environment("%HOMEDRIVE%|%HOMEPATH%"), "C:|" + profile.substr(2));
  vesta::platform::OverrideWindowsFolder("/host/windows");
  EXPECT_EQ(Environment("%HOMEDRIVE%|%HOMEPATH%"), "C:|/host/windows");
  vesta::platform::OverrideWindowsFolder("D:");  // the top of a drive
  EXPECT_EQ(Environment("%HOMEDRIVE%|%HOMEPATH%"), "D:|");
  vesta::platform::OverrideWindowsFolder(nullptr);

  // Other variables come from the process; unknown ones stay.
  ASSERT_EQ(setenv("VESTA_LINK_TEST_FOLDER", "D:\\Data", 1), 0);
  EXPECT_EQ(Environment("%VESTA_LINK_TEST_FOLDER%\\x"), "D:\\Data\\x");
  ASSERT_EQ(unsetenv("VESTA_LINK_TEST_FOLDER"), 0);
  EXPECT_EQ(Environment("%VESTA_LINK_TEST_FOLDER%\\x"), "%VESTA_LINK_TEST_FOLDER%\\x");
}

}  // namespace
