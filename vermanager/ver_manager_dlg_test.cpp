// The package manager's dialog driven through a scripted view: the messages
// shown, the manifest rewritten, the files, folders and keys removed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/registry.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/boundary.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vermanager/restart_deletion.h"
#include "vermanager/test_package_manager.h"
#include "vermanager/ver_manager_app.h"
#include "vermanager/ver_manager_dlg.h"
#include "vesta/vsetu.h"
#include "vsetu/services/library_state.h"

namespace {

using vesta::ui::MessageAnswer;
using vesta::ui::MessageButtons;
using vesta::testing::ReadTextFile;
using vesta::testing::WriteTextFile;

class PackageManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vesta::vsetu::HomeCache()[0] = '\0';
    windows_ = scratch_.Path("Windows");
    ASSERT_TRUE(vesta::platform::MakeFolder(windows_.c_str()));
    vesta::platform::OverrideWindowsFolder(windows_.c_str());
    home_ = scratch_.Path("VESTA\\");
    ASSERT_TRUE(vesta::platform::MakeFolder(home_.c_str()));
    ASSERT_TRUE(vesta::platform::MakeFolder((home_ + "temp").c_str()));
    ASSERT_EQ(VSSetVESTAHome(home_.c_str()), 1);
    manifestPath_ = home_ + "packages.txt";
  }

  void TearDown() override {
    vesta::platform::OverrideWindowsFolder(nullptr);
    vesta::vsetu::HomeCache()[0] = '\0';
  }

  // A file of the installation, made now; returns its path.
  std::string File(const std::string& name) {
    std::string path = home_ + name;
    EXPECT_TRUE(WriteTextFile(path, "content"));
    return path;
  }

  static std::string Line(const char* tag, const std::string& value, const char* second,
                          const std::string& other) {
    return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value + second + "[" +
           std::to_string(other.size()) + "]" + other + "\n";
  }
  static std::string Package(const std::string& name, const std::string& title) {
    return Line("[NAM]", name, "[TYP]", title);
  }
  static std::string Component(const char* kind, const std::string& value, const std::string& owner) {
    return Line(kind, value, "[UBY]", owner);
  }

  void Open(const std::string& manifest) {
    ASSERT_TRUE(WriteTextFile(manifestPath_, manifest));
    dialog_ = std::make_unique<CVerManagerDlg>(manifestPath_);
    ASSERT_EQ(dialog_->OpenManifest(manifestPath_.c_str()), 1);
    dialog_->OnInitDialog(&view_);
  }

  void Select(int index) {
    view_.selection = index;
    dialog_->OnPackageSelChange();
  }

  // Selects the package and uninstalls it, answering Yes to every question.
  void Uninstall(int index) {
    Select(index);
    view_.answers.assign(4, MessageAnswer::kYes);
    dialog_->OnUninstall();
  }

  bool Exists(const std::string& path) { return vesta::platform::FileExists(path.c_str()); }

  std::string LastText() const { return view_.messages.empty() ? "" : view_.messages.back().text; }

  std::string Wininit() { return ReadTextFile(windows_ + "\\WININIT.INI"); }

  // The entry that defers a path to the restart (by its short form, which
  // is the path itself on POSIX).
  static std::string Deferred(const std::string& path) {
    std::string shortPath;
    EXPECT_TRUE(vesta::platform::ShortPath(path.c_str(), &shortPath)) << path;
    return "NUL=" + shortPath + "\n";
  }

  vesta::testing::ScratchFolder scratch_;
  std::string windows_;
  std::string home_;
  std::string manifestPath_;
  vesta::testing::ScriptedView view_;
  std::unique_ptr<CVerManagerDlg> dialog_;
};

TEST_F(PackageManagerTest, TheDialogOpensWithTheFolderAndTheVisiblePackages) {
  Open(Package("A", "Alpha") + Component("[FIL]", "x", "A") + Package("B", "Beta"));
  EXPECT_EQ(view_.folder, home_);
  EXPECT_EQ(view_.items, (std::vector<std::string>{"Alpha", "Beta"}));
  EXPECT_FALSE(view_.actionsEnabled);
  view_.selection = -1;
  dialog_->OnPackageSelChange();
  EXPECT_FALSE(view_.actionsEnabled);
  Select(1);
  EXPECT_TRUE(view_.actionsEnabled);
  dialog_->OnAbout();
  EXPECT_EQ(view_.about, "1.4.401");
  dialog_->OnCancel();
  EXPECT_TRUE(view_.ended);
}

TEST_F(PackageManagerTest, VerifyReportsTheFirstMissingComponent) {
  std::string present = File("present.dll");
  Open(Package("A", "Alpha") + Component("[DIR]", home_ + "NoFolder", "A") +
       Component("[NAM]", "NoPackage", "A") + Component("[FIL]", present, "A") +
       Component("[FIL]", home_ + "gone1.dll", "A") + Component("[FIL]", home_ + "gone2.dll", "A") +
       Package("B", "Beta") + Component("[FIL]", present, "B") +
       Component("[REG]", "HKEY_CURRENT_USER\\Software\\vesta3d", "B") +
       Package("C", "Gamma") + Component("[REG]", "HKEY_NOWHERE\\Software", "C"));
  dialog_->OnVerify();
  EXPECT_EQ(LastText(), "Please Select a Package to Verify.");
  EXPECT_EQ(view_.messages.back().caption, "VestaWare Verify");

  Select(0);
  dialog_->OnVerify();
  EXPECT_EQ(LastText(), "NOT OK. Components are missing from this package.\n\ne.g.  <" + home_ +
                            "gone1.dll>\n\nYou can download and re-install the package from the website.");

  Select(1);
  dialog_->OnVerify();
  EXPECT_EQ(LastText(), "NOT OK. Components are missing from this package.\n\ne.g.  "
                        "<HKEY_CURRENT_USER\\Software\\vesta3d>\n\nYou can download and re-install the "
                        "package from the website.");
  ASSERT_EQ(VURegSetString(VURegRoot::kCurrentUser, "Software\\vesta3d", "x", "1"), 1);
  dialog_->OnVerify();
  EXPECT_EQ(LastText(), "OK.  All package components are present.");

  Select(2);
  dialog_->OnVerify();
  EXPECT_NE(LastText().find("<HKEY_NOWHERE\\Software>"), std::string::npos);
}

TEST_F(PackageManagerTest, TheConfirmationNamesTheTitleAndNoStopsEverything) {
  std::string file = File("a.dll");
  Open(Package("A", "Alpha Package") + Component("[FIL]", file, "A"));
  dialog_->OnUninstall();
  EXPECT_EQ(LastText(), "Please Select a Package to UnInstall.");
  EXPECT_EQ(view_.messages.back().caption, "VestaWare UnInstall");
  Select(0);
  view_.answers = {MessageAnswer::kNo};
  dialog_->OnUninstall();
  EXPECT_EQ(LastText(), "You are about to remove:\n\" Alpha Package \"\nAre you sure you want to continue?");
  EXPECT_EQ(view_.messages.back().buttons, MessageButtons::kYesNo);
  EXPECT_TRUE(Exists(file));
  EXPECT_EQ(view_.items.size(), 1u);
}

TEST_F(PackageManagerTest, ASharedFileGoesWithTheLastPackageThatListsIt) {
  std::string shared = File("shared.dll");
  std::string own = File("own.dll");
  std::string base = File("base.dll");
  Open(Package("A", "Alpha") + Package("B", "Beta") + Component("[FIL]", shared, "A") +
       Component("[FIL]", own, "A") + Component("[FIL]", shared, "B") + Component("[FIL]", base, "BASEWARE"));
  Uninstall(0);
  EXPECT_TRUE(Exists(shared));
  EXPECT_FALSE(Exists(own));
  EXPECT_EQ(view_.items, (std::vector<std::string>{"Beta"}));
  EXPECT_FALSE(view_.actionsEnabled);
  EXPECT_EQ(ReadTextFile(manifestPath_), Package("B", "Beta") + Component("[FIL]", shared, "B") +
                                             Component("[FIL]", base, "BASEWARE"));
  std::string log = ReadTextFile(home_ + "temp\\VestaUpg.txt");
  EXPECT_NE(log.find("COMMENT: UnInstalling VESTA package: <Alpha>\n\n"), std::string::npos);
  EXPECT_EQ(log.rfind("DATE:    ", 0), 0u);

  // The last package: its file goes now, the base components at the restart.
  const std::string deferredBase = Deferred(base);
  Uninstall(0);
  EXPECT_FALSE(Exists(shared));
  EXPECT_TRUE(Exists(base));
  EXPECT_NE(Wininit().find(deferredBase), std::string::npos);
  EXPECT_EQ(view_.messages.back().text,
            "Please reboot your computer to complete VESTA UnInstall.\nYou need to delete by hand any "
            "VESTA files which you created.\nThese are stored under the VESTA installation folder.");
  EXPECT_TRUE(view_.ended);
  // The manifest was rewritten before the sweep: it still lists the base.
  EXPECT_EQ(ReadTextFile(manifestPath_), Component("[FIL]", base, "BASEWARE"));
}

TEST_F(PackageManagerTest, AnIncludedPackageWaitsForItsOwner) {
  std::string sub = File("sub.dll");
  std::string shared = File("third.dll");
  Open(Package("MAIN", "Main") + Package("SUB", "Sub") + Package("THIRD", "Third") +
       Component("[NAM]", "SUB", "MAIN") + Component("[FIL]", sub, "SUB") +
       Component("[NAM]", "THIRD", "MAIN") + Component("[NAM]", "THIRD", "OTHER") +
       Component("[FIL]", shared, "THIRD") + Package("OTHER", "Other"));
  Uninstall(1);
  EXPECT_EQ(view_.messages.back().text, "This package cannot be UnInstalled before:\n       <MAIN>");
  EXPECT_EQ(view_.messages.back().caption, "Cannot UnInstall");
  EXPECT_TRUE(Exists(sub));

  Uninstall(0);
  EXPECT_FALSE(Exists(sub));
  EXPECT_TRUE(Exists(shared));  // OTHER still includes THIRD
  EXPECT_EQ(view_.items, (std::vector<std::string>{"Third", "Other"}));
}

TEST_F(PackageManagerTest, TheWholeProductTakesEveryPackageAndEndsTheDialog) {
  std::string a = File("a.dll");
  std::string b = File("b.dll");
  std::string base = File("base.dll");
  ASSERT_TRUE(vesta::platform::MakeFolder((home_ + "bin").c_str()));
  ASSERT_EQ(VURegSetString(VURegRoot::kCurrentUser, "Software\\vesta3d\\Vesta\\Deep", "x", "1"), 1);
  Open(Package("A", "Alpha") + Package("FREEWARE", "Everything") + Component("[FIL]", a, "A") +
       Component("[FIL]", b, "FREEWARE") +
       Component("[REG]", "HKEY_CURRENT_USER\\Software\\vesta3d", "A") +
       Component("[FIL]", base, "BASEWARE") + Component("[DIR]", home_ + "bin", "BASEWARE"));
  Select(1);
  view_.answers = {MessageAnswer::kYes, MessageAnswer::kNo};
  dialog_->OnUninstall();
  EXPECT_EQ(view_.messages.back().caption, "UnInstall Whole Product");
  EXPECT_EQ(view_.messages.back().text,
            "The entire product will be un-installed if you uninstall this package.\nDo you want to "
            "continue with un-install?");
  EXPECT_TRUE(Exists(a));

  const std::string deferredBase = Deferred(base);
  const std::string deferredBin = Deferred(home_ + "bin");
  Uninstall(1);
  EXPECT_FALSE(Exists(a));
  EXPECT_FALSE(Exists(b));
  // The key went with its subkeys.
  EXPECT_FALSE(vesta::platform::RegistryKeyExists(VURegRoot::kCurrentUser, "Software\\vesta3d"));
  EXPECT_EQ(dialog_->Manifest()->CountPackages(), 0);
  EXPECT_TRUE(view_.ended);
  EXPECT_TRUE(Exists(base));
  // Deferred together, they stand as deferring one after the other leaves
  // them: the last one first.
  EXPECT_EQ(Wininit(), "[rename]\n" + deferredBin + deferredBase);
  EXPECT_EQ(view_.Captions().back(), "VestaWare UnInstall");
}

TEST_F(PackageManagerTest, AFolderThatStillHoldsFilesWaitsForTheRestart) {
  ASSERT_TRUE(vesta::platform::MakeFolder((home_ + "docs").c_str()));
  File("docs\\user.txt");
  ASSERT_TRUE(vesta::platform::MakeFolder((home_ + "empty").c_str()));
  Open(Package("A", "Alpha") + Package("B", "Beta") + Component("[DIR]", home_ + "docs", "A") +
       Component("[DIR]", home_ + "empty", "A"));
  const std::string deferredDocs = Deferred(home_ + "docs");
  Uninstall(0);
  EXPECT_TRUE(vesta::platform::FolderExists((home_ + "docs").c_str()));
  EXPECT_FALSE(vesta::platform::FolderExists((home_ + "empty").c_str()));
  EXPECT_NE(Wininit().find(deferredDocs), std::string::npos);
  EXPECT_EQ(Wininit().find("empty"), std::string::npos);
}

TEST_F(PackageManagerTest, ADoubleClickAsksToUninstall) {
  std::string file = File("a.dll");
  Open(Package("A", "Alpha") + Package("B", "Beta") + Component("[FIL]", file, "A"));
  view_.selection = 0;
  view_.answers = {MessageAnswer::kYes};
  dialog_->OnPackageDblClk();
  EXPECT_EQ(view_.messages.front().buttons, MessageButtons::kYesNo);
  EXPECT_FALSE(Exists(file));
  EXPECT_EQ(view_.items, (std::vector<std::string>{"Beta"}));
}

TEST_F(PackageManagerTest, MinimisedTheWindowShowsItsIcon) {
  Open(Package("A", "Alpha"));
  EXPECT_FALSE(dialog_->OnPaint());  // the window paints itself
  EXPECT_EQ(view_.iconsDrawn, 0);
  view_.minimised = true;
  EXPECT_TRUE(dialog_->OnPaint());
  EXPECT_EQ(view_.iconsDrawn, 1);
  EXPECT_EQ(dialog_->OnQueryDragIcon(), &view_.icon);
  // Opening what is not there fails, as the log does when it is missing.
  EXPECT_EQ(ShellOpen(scratch_.Path("absent.txt").c_str()), 0);
  EXPECT_EQ(ShellOpen(""), 0);
}

bool gDialogRan = false;
bool RecordRun(vesta::ui::PackageDialogEvents*) {
  gDialogRan = true;
  return true;
}

TEST_F(PackageManagerTest, NoDialogWithoutALoadableManifest) {
  ASSERT_TRUE(WriteTextFile(manifestPath_, Package("A", "Alpha")));
  CVerManagerApp app;
  gDialogRan = false;
  std::string problem;
  EXPECT_EQ(app.Run("VerManager.exe", RecordRun, &problem), 2);
  EXPECT_FALSE(gDialogRan);
  // The value begins with the blank: no such manifest.
  EXPECT_EQ(app.Run("VerManager.exe -f " + manifestPath_, RecordRun, &problem), 1);
  EXPECT_FALSE(gDialogRan);
  EXPECT_EQ(problem.rfind(" " + manifestPath_ + ": ", 0), 0u) << problem;
  EXPECT_EQ(app.Run("VerManager.exe -f\"\"", RecordRun), 2);
  EXPECT_EQ(app.Run("\"C:\\Program Files\\VerManager.exe\" --help -f" + manifestPath_, RecordRun), 2);
  EXPECT_TRUE(CVerManagerApp::AsksForHelp("\"C:\\Program Files\\VerManager.exe\" --help"));
  EXPECT_TRUE(CVerManagerApp::AsksForHelp("VerManager /?"));
  EXPECT_FALSE(CVerManagerApp::AsksForHelp("C:\\--help\\VerManager.exe -fx"));
  EXPECT_FALSE(gDialogRan);
  EXPECT_EQ(app.Run("VerManager.exe -f\"" + manifestPath_ + "\"", RecordRun), 0);
  EXPECT_TRUE(gDialogRan);
  EXPECT_EQ(std::string(app.ManifestPath()), manifestPath_);
}

TEST_F(PackageManagerTest, WhatLeadsOutsideTheInstallationIsLeftAndTold) {
  std::string own = File("own.dll");
  // A relative path depends on where the program runs; a path beginning
  // with "/" is no full Windows path either.
  Open(Package("A", "Alpha") + Package("B", "Beta") + Component("[FIL]", "relative\\x.dll", "A") +
       Component("[FIL]", own, "A") + Component("[DIR]", "/etc", "A") +
       Component("[FIL]", "relative\\base.dll", "BASEWARE"));
  Uninstall(0);
  EXPECT_FALSE(Exists(own));
  EXPECT_EQ(view_.messages.back().caption, "VestaWare UnInstall");
  EXPECT_EQ(view_.messages.back().text.rfind("2 items were left in place: the manifest names them outside the "
                                             "installation.\n\n<relative\\x.dll>: not a full path\n</etc>: ", 0),
            0u)
      << view_.messages.back().text;
  EXPECT_EQ(Wininit().find("relative"), std::string::npos);
  EXPECT_EQ(view_.items, (std::vector<std::string>{"Beta"}));

  // The last package: the base components refused are told before the
  // restart message.
  Uninstall(0);
  ASSERT_GE(view_.messages.size(), 2u);
  EXPECT_EQ(view_.messages[view_.messages.size() - 2].text.rfind("1 item was left in place", 0), 0u);
  EXPECT_EQ(view_.messages.back().text.rfind("Please reboot", 0), 0u);
}

TEST_F(PackageManagerTest, EachRemovalSaysWhetherItsItemIsGoneOrStays) {
  std::string shared = File("shared.dll");
  CPackageManifest manifest;
  manifest.AddComponent("[FIL]", shared.c_str(), "A");
  manifest.AddComponent("[FIL]", shared.c_str(), "B");
  // Marking needs a package record to mark.
  EXPECT_EQ(manifest.MarkPackageRemoved("A"), 0);
  manifest.AddPackage("Z", "Other");
  EXPECT_EQ(manifest.MarkPackageRemoved("A"), 1);
  // Two live components list the file: removing one is a success that
  // leaves it.
  ComponentRecord first{0, shared, "[FIL]", "A"};
  EXPECT_EQ(manifest.RemoveComponent(&first), 1);
  EXPECT_TRUE(Exists(shared));
  EXPECT_EQ(manifest.CountLiveComponents(shared.c_str()), 2);
  // Once A's own record is marked, B is the last to list it: it goes.
  EXPECT_EQ(manifest.RemoveOwnedComponents("A"), 1);
  EXPECT_TRUE(Exists(shared));
  EXPECT_EQ(manifest.CountLiveComponents(shared.c_str()), 1);
  ComponentRecord last{0, shared, "[FIL]", "B"};
  EXPECT_EQ(manifest.RemoveComponent(&last), 1);
  EXPECT_FALSE(Exists(shared));
  EXPECT_TRUE(manifest.Refusals().empty());
  // What leads outside the installation is neither gone nor deferred.
  ComponentRecord outside{0, "relative\\y.dll", "[FIL]", "A"};
  EXPECT_EQ(manifest.RemoveComponent(&outside), 0);
  EXPECT_EQ(manifest.Refusals().size(), 1u);
  // A base component removed on its own waits for the restart, written
  // into WININIT.INI at once.
  std::string base = File("base.dll");
  ComponentRecord kept{0, base, "[FIL]", "BASEWARE"};
  EXPECT_EQ(manifest.RemoveComponent(&kept), 1);
  EXPECT_TRUE(Exists(base));
  EXPECT_NE(Wininit().find(Deferred(base)), std::string::npos);
}

TEST(PackageManagerBoundaryTest, UninstallAndTheRestartTouchNothingOutsideTheRoot) {
  vesta::testing::RootBoundary boundary;
  if (!boundary.Supported()) GTEST_SKIP() << "the whole machine is the installation here";
  const std::string windows = boundary.Folder() + "Windows";
  ASSERT_TRUE(vesta::platform::MakeFolder(windows.c_str()));
  vesta::platform::OverrideWindowsFolder(windows.c_str());
  std::vector<std::string> names = {"C:\\scratch\\out", "C:\\scratch\\up\\outside"};
  for (const std::string& path : boundary.ClimbingPaths("gone.txt")) names.push_back(path);
  for (const std::string& path : boundary.LinkPaths("gone.txt")) names.push_back(path);
  for (const std::string& path : boundary.HostPaths("gone.txt")) names.push_back(path);

  // Each as a file of a package, removed now, and as a folder of the base,
  // which waits for the restart.
  for (const char* kind : {"[FIL]", "[DIR]"}) {
    CPackageManifest manifest;
    manifest.AddPackage("A", "Alpha");
    const char* owner = std::string(kind) == "[FIL]" ? "A" : "BASEWARE";
    for (const std::string& name : names) manifest.AddComponent(kind, name.c_str(), owner);
    manifest.SetSelection(0);
    manifest.RemoveSelectedPackage();
    manifest.RemoveOwnedComponents("BASEWARE");
    EXPECT_EQ(boundary.ChangesOutside(), "") << kind;
    // The three paths through links out of the root, and the host paths. (A
    // link to a file outside lies inside: it is the link that goes.)
    std::string refused;
    for (const RefusedPath& path : manifest.Refusals()) refused += path.path + ": " + path.reason + "\n";
    EXPECT_EQ(manifest.Refusals().size(), 3 + boundary.HostPaths("x").size()) << kind << "\n" << refused;
  }

  // WININIT.INI naming the same: refused, reported, and the lines kept.
  std::string ini = "[rename]\n";
  for (const std::string& name : names) ini += "NUL=" + name + "\n";
  ASSERT_TRUE(WriteTextFile(windows + "\\WININIT.INI", ini));
  RestartDeletionReport report;
  ApplyRestartDeletions((windows + "\\WININIT.INI").c_str(), &report);
  EXPECT_EQ(boundary.ChangesOutside(), "");
  std::string told;
  for (const RefusedPath& path : report.refused) told += path.path + ": " + path.reason + "\n";
  EXPECT_EQ(report.refused.size(), 3 + boundary.HostPaths("x").size()) << told;
  for (const RefusedPath& refused : report.refused) {
    EXPECT_NE(ReadTextFile(windows + "\\WININIT.INI").find("NUL=" + refused.path + "\n"), std::string::npos);
  }
  vesta::platform::OverrideWindowsFolder(nullptr);
}

}  // namespace
