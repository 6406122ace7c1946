// vesta package list | verify | uninstall, end to end.
#include <gtest/gtest.h>

#include <string>

#include "platform/testing/blocked_registry.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "programs/vesta/test_vesta.h"

namespace vesta::testing {
namespace {

class PackageCommandTest : public VestaToolTest {
 protected:
  void SetUp() override {
    VestaToolTest::SetUp();
    manifest_ = home_ + "bin\\Packages.txt";
    shared_ = home_ + "media\\shared.bmp";
    own_ = home_ + "media\\own.wav";
    Write(shared_, "shared");
    Write(own_, "own");
    Write(manifest_, Field("[NAM]", "MEDIA") + Field("[TYP]", "Media pack") + "\n" + Field("[NAM]", "SAVER") +
                         Field("[TYP]", "Screensaver") + "\n" + Field("[FIL]", shared_) + Field("[UBY]", "MEDIA") +
                         "\n" + Field("[FIL]", own_) + Field("[UBY]", "MEDIA") + "\n" + Field("[FIL]", shared_) +
                         Field("[UBY]", "SAVER") + "\n" + Field("[REG]", "HKEY_CURRENT_USER\\Software\\Gone") +
                         Field("[UBY]", "SAVER") + "\n");
  }
  std::string manifest_;
  std::string shared_;
  std::string own_;
};

TEST_F(PackageCommandTest, ListAndVerifyNameEveryMissingComponent) {
  RunResult listed = RunTool({"package", "list"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("  MEDIA       Media pack\n  SAVER       Screensaver\n2 packages"), std::string::npos)
      << listed.out;
  EXPECT_EQ(RunTool({"package", "verify", "media"}).status, 0);
  RunResult saver = RunTool({"package", "verify", "SAVER"});
  EXPECT_EQ(saver.status, 1);
  EXPECT_NE(saver.out.find("MISSING  [REG] HKEY_CURRENT_USER\\Software\\Gone"), std::string::npos) << saver.out;
  EXPECT_NE(saver.out.find("1 of 2 components missing"), std::string::npos);
  ASSERT_TRUE(platform::RemoveFile(own_.c_str()));
  RunResult media = RunTool({"package", "verify", "MEDIA"});
  EXPECT_EQ(media.status, 1);
  EXPECT_NE(media.out.find("MISSING  [FIL] " + own_), std::string::npos) << media.out;
  EXPECT_NE(media.out.find("ok       [FIL] " + shared_), std::string::npos) << media.out;
  RunResult unknown = RunTool({"package", "verify", "NONE"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find(manifest_ + ": lists no installed package NONE"), std::string::npos);
  EXPECT_EQ(RunTool({"package", "-m", scratch_.Path("nothing.txt"), "list"}).status, 1);
}

TEST_F(PackageCommandTest, UninstallAsksFirstKeepsSharedFilesAndLogs) {
  RunResult declined = RunTool({"package", "uninstall", "MEDIA"}, "n\n");
  EXPECT_EQ(declined.status, 1);
  EXPECT_NE(declined.out.find("[VestaWare UnInstall] You are about to remove:"), std::string::npos) << declined.out;
  EXPECT_NE(declined.err.find("MEDIA: not uninstalled, as answered"), std::string::npos) << declined.err;
  EXPECT_TRUE(platform::FileExists(own_.c_str()));
  // The end of the input answers no.
  EXPECT_EQ(RunTool({"package", "uninstall", "MEDIA"}, "").status, 1);
  EXPECT_TRUE(platform::FileExists(own_.c_str()));

  RunResult agreed = RunTool({"package", "uninstall", "MEDIA"}, "y\n");
  ASSERT_EQ(agreed.status, 0) << agreed.out << agreed.err;
  EXPECT_FALSE(platform::FileExists(own_.c_str()));
  EXPECT_TRUE(platform::FileExists(shared_.c_str())) << "SAVER still lists it";
  EXPECT_EQ(RunTool({"package", "list"}).out.find("MEDIA"), std::string::npos);
  EXPECT_NE(ReadTextFile(home_ + "temp\\VestaUpg.txt").find("UnInstalling VESTA package: <Media pack>"),
            std::string::npos);

  RunResult yes = RunTool({"package", "uninstall", "SAVER", "--yes"});
  EXPECT_EQ(yes.status, 0) << yes.out << yes.err;
  EXPECT_NE(yes.out.find("yes (--yes)"), std::string::npos);
  EXPECT_FALSE(platform::FileExists(shared_.c_str()));
}

TEST_F(PackageCommandTest, AnUninstallWhoseManifestCannotBeRewrittenIsAFailure) {
  const std::string before = ReadTextFile(manifest_);
  RunResult failed;
  {
    FailingOutput full(platform::FaultPoint::kRename, 1);
    failed = RunTool({"package", "uninstall", "MEDIA", "--yes"});
  }
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("MEDIA: not uninstalled ("), std::string::npos) << failed.err;
  EXPECT_EQ(ReadTextFile(manifest_), before);
}

TEST_F(PackageCommandTest, AnUninstallNamesWhatStaysAndFinishesWhenRunAgain) {
  ASSERT_EQ(RunTool({"reg", "set", "HKEY_CURRENT_USER\\Software\\Gone", "v", "1"}).status, 0);
  {
    BlockedRegistry blocked(platform::RegRoot::kCurrentUser);
    if (!blocked.Supported()) GTEST_SKIP() << "the system's registry cannot be blocked";
    RunResult stays = RunTool({"package", "uninstall", "SAVER", "--yes"});
    EXPECT_EQ(stays.status, 1);
    EXPECT_NE(stays.err.find("not removed: [REG] HKEY_CURRENT_USER\\Software\\Gone: "), std::string::npos)
        << stays.err;
    EXPECT_NE(stays.err.find("SAVER: 1 component stays in " + manifest_), std::string::npos) << stays.err;
    EXPECT_NE(RunTool({"package", "list"}).out.find("SAVER"), std::string::npos);
  }
  RunResult again = RunTool({"package", "uninstall", "SAVER", "--yes"});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(RunTool({"reg", "query", "HKEY_CURRENT_USER\\Software\\Gone"}).status, 1);
}

}  // namespace
}  // namespace vesta::testing
