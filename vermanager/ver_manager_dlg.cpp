#include "vermanager/ver_manager_dlg.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "common/text.h"
#include "platform/shell.h"
#include "vermanager/upgrade_log.h"
#include "vermanager/viewer_check.h"
#include "vesta/vsetu.h"

using vesta::ui::MessageAnswer;
using vesta::ui::MessageButtons;

namespace {

const char kVerifyCaption[] = "VestaWare Verify";
const char kUninstallCaption[] = "VestaWare UnInstall";
const char kCannotCaption[] = "Cannot UnInstall";
// At most this many refused items are named in one message.
constexpr size_t kRefusalsShown = 10;

std::string Format(const char* format, const char* a, const char* b, const char* c = "") {
  char text[1024];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

}  // namespace

CVerManagerDlg::CVerManagerDlg(std::string manifestPath) : manifestPath_(std::move(manifestPath)) {}

int CVerManagerDlg::OpenManifest(const char* path) {
  CloseManifest();
  manifest_.reset(new (std::nothrow) CPackageManifest);
  if (manifest_ == nullptr) return 0;
  manifest_->ClearSelection();
  return manifest_->LoadManifest(path);
}

void CVerManagerDlg::CloseManifest() { manifest_.reset(); }

MessageAnswer CVerManagerDlg::Message(const std::string& text, const std::string& caption,
                                      MessageButtons buttons) {
  return view_ != nullptr ? view_->ShowMessage(text, caption, buttons) : MessageAnswer::kNo;
}

void CVerManagerDlg::FillPackageList() {
  if (view_ == nullptr || manifest_ == nullptr) return;
  view_->ClearList();
  char name[65];
  char title[261];
  int removed = 0;
  for (int more = manifest_->FirstPackage(name, title, &removed); more;
       more = manifest_->NextPackage(name, title, &removed)) {
    if (!removed) view_->AddListItem(title);
  }
  manifest_->ClearSelection();
  view_->EnableActionButtons(false);
}

void CVerManagerDlg::VerifySelected() {
  char name[65];
  char title[261];
  if (manifest_ == nullptr || !manifest_->GetSelectedPackage(name, title)) {
    Message("Please Select a Package to Verify.", kVerifyCaption);
    return;
  }
  char missing[261] = "";
  if (manifest_->FindMissingComponent(name, missing)) {
    Message("OK.  All package components are present.", kVerifyCaption);
  } else {
    Message(Format("%s\n\ne.g.  <%s>\n\n%s", "NOT OK. Components are missing from this package.",
                   missing, "You can download and re-install the package from the website."),
            kVerifyCaption);
  }
}

void CVerManagerDlg::UninstallSelected() {
  char name[65];
  char title[261];
  if (manifest_ == nullptr || !manifest_->GetSelectedPackage(name, title)) {
    Message("Please Select a Package to UnInstall.", kUninstallCaption);
    return;
  }
  std::string confirm = Format("%s %s %s", "You are about to remove:\n\"", title,
                               "\"\nAre you sure you want to continue?");
  if (Message(confirm, kUninstallCaption, MessageButtons::kYesNo) != MessageAnswer::kYes) return;

  char owner[65] = "";
  if (!manifest_->FindBlockingOwner(name, owner)) {
    Message(Format("%s       <%s>", "This package cannot be UnInstalled before:\n", owner), kCannotCaption);
    return;
  }
  if (IsViewerRunning()) {
    Message("Please shutdown VESTA. You cannot un-install\nthis package while VESTA is runing.",
            kCannotCaption);
    return;
  }
  if (CPackageManifest::IsWholeProduct(name) &&
      Message("The entire product will be un-installed if you uninstall this package.\nDo you want "
              "to continue with un-install?",
              "UnInstall Whole Product", MessageButtons::kYesNo) != MessageAnswer::kYes) {
    return;
  }

  manifest_->ClearRefusals();
  if (manifest_->RemoveSelectedPackage() == 1) manifest_->SaveManifest(manifestPath_.c_str());
  if (manifest_->CountPackages() > 0) {
    ShowRefusals();
    FillPackageList();
  } else if (manifest_->RemoveOwnedComponents(kBaseOwner) == 1) {
    ShowRefusals();
    Message("Please reboot your computer to complete VESTA UnInstall.\nYou need to delete by hand any "
            "VESTA files which you created.\nThese are stored under the VESTA installation folder.",
            kUninstallCaption);
    OnCancel();
  } else {
    ShowRefusals();
    FillPackageList();
  }

  char comment[400];
  std::snprintf(comment, sizeof comment, "UnInstalling VESTA package: <%s>", title);
  std::string folder = view_ != nullptr ? view_->FolderText() : std::string();
  AppendUpgradeLog(folder.c_str(), comment);
}

void CVerManagerDlg::ShowRefusals() {
  const std::vector<RefusedPath>& refused = manifest_->Refusals();
  if (refused.empty()) return;
  std::string text = std::to_string(refused.size()) +
                     (refused.size() == 1 ? " item was" : " items were") +
                     " left in place: the manifest names them outside the installation.\n";
  for (size_t i = 0; i < refused.size() && i < kRefusalsShown; ++i) {
    text += "\n<" + refused[i].path + ">: " + refused[i].reason;
  }
  if (refused.size() > kRefusalsShown) text += "\n... and " + std::to_string(refused.size() - kRefusalsShown) + " more";
  Message(text, kUninstallCaption);
}

void CVerManagerDlg::OnInitDialog(vesta::ui::PackageDialogView* view) {
  view_ = view;
  char home[kVSBuffer] = "";
  if (!VSGetVESTAHome(home)) home[0] = '\0';
  view_->SetFolderText(home);
  FillPackageList();
}

void CVerManagerDlg::OnPackageSelChange() {
  if (view_ == nullptr || manifest_ == nullptr) return;
  int index = view_->ListSelection();
  if (index < 0) return;
  view_->EnableActionButtons(true);
  manifest_->SetSelection(index);
}

void CVerManagerDlg::OnPackageDblClk() {
  OnPackageSelChange();
  UninstallSelected();
}

void CVerManagerDlg::OnVerify() { VerifySelected(); }

void CVerManagerDlg::OnUninstall() { UninstallSelected(); }

void CVerManagerDlg::OnAbout() {
  CVerManagerAboutDlg about;
  if (view_ != nullptr) view_->ShowAbout(about.version, about.subRelease, about.build);
}

void CVerManagerDlg::OnHelpButton() {
  char help[kVSBuffer];
  if (!VSGetVESTAHelpFile(help)) return;
  vesta::platform::OpenHelp(help, "Version manager");
}

void CVerManagerDlg::OnLog() {
  if (view_ == nullptr) return;
  char folder[261];
  VUCopyN(folder, view_->FolderText().c_str(), 260);
  std::string path = std::string(folder) + "\\" + "temp" + "\\VestaUpg.txt";
  std::fflush(nullptr);
  ShellOpen(path.c_str());
}

bool CVerManagerDlg::OnPaint() {
  if (view_ == nullptr || !view_->IsMinimised()) return false;
  view_->DrawIconCentred();
  return true;
}

void* CVerManagerDlg::OnQueryDragIcon() { return view_ != nullptr ? view_->Icon() : nullptr; }

int ShellOpen(const char* path) { return vesta::platform::OpenDocument(path) ? 1 : 0; }

void CVerManagerDlg::OnCancel() {
  if (view_ != nullptr) view_->EndDialog();
}
