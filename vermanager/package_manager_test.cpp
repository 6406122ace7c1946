// The package manager's logic without its dialog: several processes
// uninstalling from one manifest at once, and every step of an uninstall
// that fails, reported and left so that the uninstall can run again.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "actions/registry.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/testing/blocked_registry.h"
#include "platform/testing/child_process.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vermanager/package_manager.h"
#include "vermanager/restart_deletion.h"

namespace {

namespace platform = vesta::platform;
using vesta::testing::ReadTextFile;
using vesta::testing::ScratchFolder;
using vesta::testing::WriteTextFile;
using Status = UninstallResult::Status;

constexpr int kPackagesEach = 20;
const char kKey[] = "HKEY_CURRENT_USER\\Software\\Zentrix-3D";

std::string Line(const char* tag, const std::string& value, const char* second, const std::string& other) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value + second + "[" +
         std::to_string(other.size()) + "]" + other + "\n";
}

// The installation in a scratch area, as the parent and its children see it.
struct Installation {
  explicit Installation(ScratchFolder::Owner owner) : scratch(owner) {
    windows = scratch.Path("Windows");
    home = scratch.Path("VESTA\\");
    manifest = home + "Packages.txt";
    platform::MakeFolder(windows.c_str());
    platform::MakeFolder(home.c_str());
    platform::OverrideWindowsFolder(windows.c_str());
  }
  ~Installation() { platform::OverrideWindowsFolder(nullptr); }

  // Package name: a file, and a folder holding it and a file of the
  // user's own (so that the folder waits for the restart).
  std::string Package(const std::string& name) {
    const std::string folder = home + name;
    platform::MakeFolder(folder.c_str());
    WriteTextFile(folder + "\\" + name + ".dll", "dll");
    WriteTextFile(folder + "\\mine.txt", "the user's");
    return Line("[NAM]", name, "[TYP]", "Package " + name) + Line("[FIL]", folder + "\\" + name + ".dll", "[UBY]", name) +
           Line("[DIR]", folder, "[UBY]", name);
  }
  std::string Wininit() const { return ReadTextFile(windows + "\\WININIT.INI"); }
  PackageManager Manager() const { return PackageManager(manifest, home); }
  std::vector<InstalledPackage> Listed() const {
    std::vector<InstalledPackage> packages;
    EXPECT_TRUE(Manager().List(&packages, nullptr));
    return packages;
  }

  ScratchFolder scratch;
  std::string windows;
  std::string home;
  std::string manifest;
};

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

const RemovedComponent* Find(const UninstallResult& result, const std::string& kind) {
  for (const RemovedComponent& c : result.components) {
    if (c.kind == kind) return &c;
  }
  return nullptr;
}

TEST(PackageManagerProcessTest, TwoProcessesUninstallingFromOneManifestLoseNothing) {
  Installation machine(ScratchFolder::kOwn);
  std::string manifest;
  for (int i = 0; i < 2 * kPackagesEach; ++i) manifest += machine.Package("P" + std::to_string(i));
  ASSERT_TRUE(WriteTextFile(machine.manifest, manifest));
  ASSERT_TRUE(platform::MakeFolder((machine.home + "temp").c_str()));
  const std::string logA = platform::HostPath(machine.scratch.Path("a.log").c_str());
  const std::string logB = platform::HostPath(machine.scratch.Path("b.log").c_str());
  vesta::testing::ChildProcess a("PackageManagerProcessTest.Uninstaller", "0", logA);
  vesta::testing::ChildProcess b("PackageManagerProcessTest.Uninstaller", "1", logB);
  ASSERT_TRUE(WriteTextFile(machine.scratch.Path("go"), "go\n"));
  ASSERT_TRUE(a.Started() && b.Started());
  EXPECT_TRUE(a.Wait()) << ReadTextFile(machine.scratch.Path("a.log"));
  EXPECT_TRUE(b.Wait()) << ReadTextFile(machine.scratch.Path("b.log"));

  EXPECT_TRUE(machine.Listed().empty()) << ReadTextFile(machine.manifest);
  EXPECT_EQ(Count(machine.Wininit(), "NUL="), 2 * kPackagesEach) << machine.Wininit();
  EXPECT_FALSE(platform::FileExists((machine.home + "P7\\P7.dll").c_str()));
  // Every uninstall has its entry in the upgrade log.
  EXPECT_EQ(Count(ReadTextFile(machine.home + "temp\\VestaUpg.txt"), "COMMENT: "), 2 * kPackagesEach);
}

// The uninstaller of TwoProcessesUninstallingFromOneManifestLoseNothing:
// job "0" takes the even packages, "1" the odd ones.
TEST(PackageManagerProcessTest, Uninstaller) {
  const std::string job = vesta::testing::ChildJob();
  if (job.empty()) GTEST_SKIP() << "runs only as a child";
  Installation machine(ScratchFolder::kParents);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!platform::FileExists(machine.scratch.Path("go").c_str())) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  for (int i = job == "0" ? 0 : 1; i < 2 * kPackagesEach; i += 2) {
    const UninstallResult result = machine.Manager().Uninstall("P" + std::to_string(i), nullptr);
    ASSERT_EQ(result.status, Status::kUninstalled) << i << " " << result.problem;
    ASSERT_NE(Find(result, "[DIR]"), nullptr);
    EXPECT_EQ(Find(result, "[DIR]")->fate, ComponentFate::kDeferred);
  }
}

class PackageManagerFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    manifest_ = machine_.Package("SAVER") + Line("[REG]", kKey, "[UBY]", "SAVER");
    ASSERT_TRUE(WriteTextFile(machine_.manifest, manifest_));
    ASSERT_EQ(VURegSetString(platform::RegRoot::kCurrentUser, "Software\\Zentrix-3D\\Screensaver", "UseWorld", "w"), 1);
  }
  bool KeyExists() const { return platform::RegistryKeyExists(platform::RegRoot::kCurrentUser, "Software\\Zentrix-3D"); }

  Installation machine_{ScratchFolder::kOwn};
  std::string manifest_;
};

TEST_F(PackageManagerFailureTest, AKeyThatCannotBeDeletedStaysListedUntilTheUninstallRunsAgain) {
  {
    vesta::testing::BlockedRegistry blocked(platform::RegRoot::kCurrentUser);
    if (!blocked.Supported()) GTEST_SKIP() << "the system's registry cannot be blocked";
    const UninstallResult first = machine_.Manager().Uninstall("saver", nullptr);
    EXPECT_EQ(first.status, Status::kIncomplete);
    ASSERT_EQ(first.NotRemoved().size(), 1u);
    EXPECT_EQ(first.NotRemoved()[0]->value, kKey);
    EXPECT_NE(first.NotRemoved()[0]->reason.find("HKEY_CURRENT_USER.reg.lock"), std::string::npos)
        << first.NotRemoved()[0]->reason;
    EXPECT_EQ(Find(first, "[FIL]")->fate, ComponentFate::kDeleted);
    EXPECT_EQ(Find(first, "[DIR]")->fate, ComponentFate::kDeferred);
    // The package stays, with the key alone.
    EXPECT_EQ(ReadTextFile(machine_.manifest),
              Line("[NAM]", "SAVER", "[TYP]", "Package SAVER") + Line("[REG]", kKey, "[UBY]", "SAVER"));
    EXPECT_EQ(Count(machine_.Wininit(), "NUL="), 1);
    EXPECT_TRUE(KeyExists());
  }
  const UninstallResult again = machine_.Manager().Uninstall("SAVER", nullptr);
  EXPECT_EQ(again.status, Status::kUninstalled);
  EXPECT_FALSE(KeyExists());
  EXPECT_TRUE(machine_.Listed().empty());
}

TEST_F(PackageManagerFailureTest, WhatCannotWaitForTheRestartStaysListed) {
  const std::string ini = machine_.windows + "\\WININIT.INI";
  ASSERT_TRUE(platform::MakeFolder(ini.c_str()));
  const UninstallResult first = machine_.Manager().Uninstall("SAVER", nullptr);
  EXPECT_EQ(first.status, Status::kIncomplete);
  ASSERT_EQ(first.NotRemoved().size(), 1u);
  EXPECT_EQ(first.NotRemoved()[0]->kind, "[DIR]");
  EXPECT_NE(first.NotRemoved()[0]->reason.find("WININIT.INI"), std::string::npos) << first.NotRemoved()[0]->reason;
  EXPECT_FALSE(KeyExists());
  ASSERT_EQ(machine_.Listed().size(), 1u);

  ASSERT_TRUE(platform::RemoveEmptyFolder(ini.c_str()));
  const UninstallResult again = machine_.Manager().Uninstall("SAVER", nullptr);
  EXPECT_EQ(again.status, Status::kUninstalled);
  EXPECT_EQ(Find(again, "[DIR]")->fate, ComponentFate::kDeferred);
  EXPECT_EQ(Count(machine_.Wininit(), "NUL="), 1);
  EXPECT_TRUE(machine_.Listed().empty());
}

TEST_F(PackageManagerFailureTest, AManifestThatCannotBeRewrittenSchedulesNothing) {
  // No key: the manifest's is the first file replaced.
  manifest_ = manifest_.substr(0, manifest_.find("[REG]"));
  ASSERT_TRUE(WriteTextFile(machine_.manifest, manifest_));
  UninstallResult failed;
  {
    vesta::testing::FailingOutput rename(platform::FaultPoint::kRename, 1);
    failed = machine_.Manager().Uninstall("SAVER", nullptr);
  }
  EXPECT_EQ(failed.status, Status::kNotRewritten);
  EXPECT_NE(failed.problem.find(machine_.manifest), std::string::npos) << failed.problem;
  EXPECT_EQ(Find(failed, "[DIR]")->fate, ComponentFate::kNotRemoved);
  EXPECT_FALSE(platform::FileExists((machine_.windows + "\\WININIT.INI").c_str()));
  EXPECT_EQ(ReadTextFile(machine_.manifest), manifest_);
  // Run again, it finishes: what is gone already counts as removed.
  EXPECT_EQ(machine_.Manager().Uninstall("SAVER", nullptr).status, Status::kUninstalled);
  EXPECT_EQ(Count(machine_.Wininit(), "NUL="), 1);
}

TEST_F(PackageManagerFailureTest, APackageThatIncludesOneThatStaysStaysToo) {
  // SUITE includes SAVER, whose folder cannot wait for the restart.
  ASSERT_TRUE(WriteTextFile(machine_.manifest, Line("[NAM]", "SUITE", "[TYP]", "Suite") + manifest_ +
                                                   Line("[NAM]", "SAVER", "[UBY]", "SUITE")));
  ASSERT_TRUE(platform::MakeFolder((machine_.windows + "\\WININIT.INI").c_str()));
  const UninstallResult result = machine_.Manager().Uninstall("SUITE", nullptr);
  EXPECT_EQ(result.status, Status::kIncomplete);
  const RemovedComponent* included = Find(result, "[NAM]");
  ASSERT_NE(included, nullptr);
  EXPECT_EQ(included->fate, ComponentFate::kNotRemoved);
  EXPECT_NE(included->reason.find("SAVER"), std::string::npos);
  EXPECT_EQ(machine_.Listed().size(), 2u);
  EXPECT_EQ(machine_.Manager().Uninstall("SAVER", nullptr).status, Status::kBlocked);
}

}  // namespace
