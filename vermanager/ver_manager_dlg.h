// The package manager's main dialog: its state and what its controls do.
// The window itself is the platform's (platform/package_dialog.h).
#ifndef VESTA_VERMANAGER_VER_MANAGER_DLG_H
#define VESTA_VERMANAGER_VER_MANAGER_DLG_H

#include <memory>
#include <string>

#include "vermanager/ui/package_dialog.h"
#include "vermanager/manifest.h"

// The about box's data: the program's version 1.0.4.401 without its second
// number.
struct CVerManagerAboutDlg {
  std::string version = "1";
  std::string subRelease = "4";
  int build = 401;
};

// Opens path with the program the desktop associates with it (the verb
// "open"). 1 when the platform reports success (on Windows a result above
// 32).
int ShellOpen(const char* path);

class CVerManagerDlg : public vesta::ui::PackageDialogEvents {
 public:
  // manifestPath: the manifest given on the command line, which an
  // uninstall rewrites.
  explicit CVerManagerDlg(std::string manifestPath);

  // Frees an earlier manifest and loads one. 0 when it cannot be loaded.
  int OpenManifest(const char* path);
  void CloseManifest();
  CPackageManifest* Manifest() { return manifest_.get(); }

  // The list rebuilt from the manifest, no selection, actions disabled.
  void FillPackageList();
  void VerifySelected();
  void UninstallSelected();

  void OnInitDialog(vesta::ui::PackageDialogView* view) override;
  void OnPackageSelChange() override;
  void OnPackageDblClk() override;
  void OnVerify() override;
  void OnUninstall() override;
  void OnAbout() override;
  void OnHelpButton() override;
  void OnLog() override;
  void OnCancel() override;
  // While minimised, the client area shows the icon, centred; the icon is
  // also what a drag of the minimised window shows. Only the window on
  // Windows minimises; the terminal front end never asks.
  bool OnPaint() override;
  void* OnQueryDragIcon() override;

 private:
  vesta::ui::MessageAnswer Message(const std::string& text, const std::string& caption,
                                         vesta::ui::MessageButtons buttons =
                                             vesta::ui::MessageButtons::kOk);
  std::string manifestPath_;
  std::unique_ptr<CPackageManifest> manifest_;
  vesta::ui::PackageDialogView* view_ = nullptr;
};

#endif
