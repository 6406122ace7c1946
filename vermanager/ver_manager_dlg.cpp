#include "vermanager/ver_manager_dlg.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <utility>

#include "common/text.h"
#include "platform/shell.h"
#include "vermanager/package_manager.h"
#include "vermanager/package_messages.h"
#include "vesta/vsetu.h"

using vesta::ui::MessageAnswer;
using vesta::ui::MessageButtons;

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
    Message(package_messages::kSelectToVerify, package_messages::kVerifyCaption);
    return;
  }
  char missing[261] = "";
  if (manifest_->FindMissingComponent(name, missing)) {
    Message(package_messages::kAllPresent, package_messages::kVerifyCaption);
  } else {
    Message(package_messages::Missing(missing), package_messages::kVerifyCaption);
  }
}

namespace {

// The whole-product question, asked in the dialog.
class DialogQuestions : public UninstallQuestions {
 public:
  explicit DialogQuestions(std::function<MessageAnswer(const std::string&, const std::string&, MessageButtons)> ask)
      : ask_(std::move(ask)) {}
  bool ConfirmWholeProduct() override {
    return ask_(package_messages::kWholeProduct, package_messages::kWholeProductCaption, MessageButtons::kYesNo) ==
           MessageAnswer::kYes;
  }

 private:
  std::function<MessageAnswer(const std::string&, const std::string&, MessageButtons)> ask_;
};

}  // namespace

void CVerManagerDlg::UninstallSelected() {
  char name[65];
  char title[261];
  if (manifest_ == nullptr || !manifest_->GetSelectedPackage(name, title)) {
    Message(package_messages::kSelectToUninstall, package_messages::kUninstallCaption);
    return;
  }
  if (Message(package_messages::ConfirmRemoval(title), package_messages::kUninstallCaption,
              MessageButtons::kYesNo) != MessageAnswer::kYes) {
    return;
  }

  // The uninstall works on the manifest as it is on disk now: another
  // process may have changed it since the list was filled.
  const std::string folder = view_ != nullptr ? view_->FolderText() : std::string();
  DialogQuestions questions([this](const std::string& text, const std::string& caption, MessageButtons buttons) {
    return Message(text, caption, buttons);
  });
  const UninstallResult result = PackageManager(manifestPath_, folder).Uninstall(name, &questions);
  switch (result.status) {
    case UninstallResult::Status::kBlocked:
      Message(package_messages::Blocked(result.blockingOwner), package_messages::kCannotCaption);
      return;
    case UninstallResult::Status::kViewerRunning:
      Message(package_messages::kViewerRunning, package_messages::kCannotCaption);
      return;
    case UninstallResult::Status::kDeclined:
      return;
    default:
      break;
  }
  // The list shows the manifest as the uninstall left it.
  if (OpenManifest(manifestPath_.c_str()) == 0) manifest_.reset(new (std::nothrow) CPackageManifest);
  std::string refused = package_messages::Refusals(result.refused);
  if (!refused.empty()) Message(refused, package_messages::kUninstallCaption);
  if (result.restartNeeded) {
    Message(package_messages::kRestart, package_messages::kUninstallCaption);
    OnCancel();
  } else {
    FillPackageList();
  }
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
