// The package manager's dialog in a terminal, driven by typed lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "vermanager/ui/posix/terminal_dialog.h"

namespace {

using vesta::ui::MessageAnswer;
using vesta::ui::MessageButtons;
using vesta::ui::PackageDialogView;

// Behaves as the package manager's logic does, and records what it heard.
class RecordingEvents : public vesta::ui::PackageDialogEvents {
 public:
  void OnInitDialog(PackageDialogView* view) override {
    view_ = view;
    view->SetFolderText("C:\\VESTA\\");
    view->ClearList();
    for (const char* title : {"Alpha", "Beta"}) view->AddListItem(title);
    view->EnableActionButtons(false);
    heard.push_back("init");
  }
  void OnPackageSelChange() override {
    heard.push_back("select " + std::to_string(view_->ListSelection()));
    view_->EnableActionButtons(true);
  }
  void OnPackageDblClk() override { heard.push_back("double " + std::to_string(view_->ListSelection())); }
  void OnVerify() override {
    heard.push_back("verify");
    view_->ShowMessage("OK.  All package components are present.", "VestaWare Verify", MessageButtons::kOk);
  }
  void OnUninstall() override {
    MessageAnswer answer = view_->ShowMessage("You are about to remove:\n\" Beta \"", "VestaWare UnInstall",
                                              MessageButtons::kYesNo);
    heard.push_back(answer == MessageAnswer::kYes ? "uninstall yes" : "uninstall no");
  }
  void OnAbout() override {
    heard.push_back("about");
    view_->ShowAbout("1", "4", 401);
  }
  void OnHelpButton() override { heard.push_back("help"); }
  void OnLog() override { heard.push_back("log"); }
  void OnCancel() override {
    heard.push_back("close");
    view_->EndDialog();
  }

  std::vector<std::string> heard;

 private:
  PackageDialogView* view_ = nullptr;
};

// Runs the dialog on the typed input; returns what it printed.
std::string RunTyped(const std::string& typed, RecordingEvents* events) {
  FILE* in = std::tmpfile();
  FILE* out = std::tmpfile();
  std::fputs(typed.c_str(), in);
  std::rewind(in);
  vesta::ui::posix::TerminalPackageDialog dialog(in, out);
  EXPECT_TRUE(dialog.Run(events));
  std::rewind(out);
  std::string printed;
  int c;
  while ((c = std::fgetc(out)) != EOF) printed += static_cast<char>(c);
  std::fclose(in);
  std::fclose(out);
  return printed;
}

TEST(TerminalDialogTest, ShowsTheFolderTheInstructionAndTheNumberedPackages) {
  RecordingEvents events;
  std::string printed = RunTyped("c\n", &events);
  EXPECT_NE(printed.find("== UnInstall VestaWare =="), std::string::npos);
  EXPECT_NE(printed.find("[C:\\VESTA\\]"), std::string::npos);
  EXPECT_NE(printed.find("To un-install a VestaWare package, select the package name from the list, then "
                         "press the \"Un-Install Package\" button."),
            std::string::npos);
  EXPECT_NE(printed.find("  1  Alpha\n    2  Beta\n"), std::string::npos);
  EXPECT_EQ(events.heard, (std::vector<std::string>{"init", "close"}));
}

TEST(TerminalDialogTest, ActionsWaitForASelection) {
  RecordingEvents events;
  std::string printed = RunTyped("v\n7\n2\nv\n\nu\ny\n1!\na\n\nh\nl\nq\n", &events);
  EXPECT_NE(printed.find("Select a package first."), std::string::npos);
  EXPECT_NE(printed.find("There is no package 7."), std::string::npos);
  EXPECT_NE(printed.find("+-- VestaWare Verify --\n| OK.  All package components are present.\n+-- [OK]"),
            std::string::npos);
  EXPECT_NE(printed.find("| You are about to remove:\n| \" Beta \"\n+-- [Yes] [No]"), std::string::npos);
  EXPECT_NE(printed.find("| Build:       401"), std::string::npos);
  EXPECT_EQ(events.heard, (std::vector<std::string>{"init", "select 1", "verify", "uninstall yes",
                                                    "double 0", "about", "help", "log", "close"}));
}

TEST(TerminalDialogTest, TheEndOfTheInputClosesAndAnswersNo) {
  RecordingEvents events;
  RunTyped("2\nu\n", &events);
  EXPECT_EQ(events.heard, (std::vector<std::string>{"init", "select 1", "uninstall no", "close"}));
  RecordingEvents again;
  RunTyped("", &again);
  EXPECT_EQ(again.heard, (std::vector<std::string>{"init", "close"}));
}

}  // namespace
