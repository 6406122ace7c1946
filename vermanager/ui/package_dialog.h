// The package manager's dialog, as the platform shows it: the real dialog
// of the program's resources on Windows, a terminal front end with the same
// texts, captions, buttons and order of events on POSIX.
//
// The dialog's logic (what the buttons do) lives with the package manager;
// it talks to the window through PackageDialogView and hears of the user's
// actions through PackageDialogEvents.
#ifndef VESTA_VERMANAGER_UI_PACKAGE_DIALOG_H
#define VESTA_VERMANAGER_UI_PACKAGE_DIALOG_H

#include <string>

#include "vermanager/ui/package_dialog_ids.h"

namespace vesta::ui {

// The buttons of a message box, and the answers.
enum class MessageButtons { kOk, kYesNo };
enum class MessageAnswer { kOk, kYes, kNo };

// What the logic asks of the window.
class PackageDialogView {
 public:
  virtual ~PackageDialogView() = default;
  // The package list: emptied, filled at its end, its selection (-1 none).
  virtual void ClearList() = 0;
  virtual void AddListItem(const std::string& title) = 0;
  virtual int ListSelection() = 0;
  // Verify and Un-Install together.
  virtual void EnableActionButtons(bool enabled) = 0;
  // The installation folder at the top.
  virtual void SetFolderText(const std::string& text) = 0;
  virtual std::string FolderText() = 0;
  // A plain message box owned by the dialog, without an icon.
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons) = 0;
  // The about box, modally.
  virtual void ShowAbout(const std::string& version, const std::string& subRelease, int build) = 0;
  // Ends the dialog once the running handler returns.
  virtual void EndDialog() = 0;
  // The window minimised: whether it is, drawing the dialog's icon centred
  // in its client area, and the icon itself (an HICON on Windows). A
  // terminal has no minimised window: not minimised, nothing drawn, no
  // icon.
  virtual bool IsMinimised() { return false; }
  virtual void DrawIconCentred() {}
  virtual void* Icon() { return nullptr; }
};

// What the window tells the logic.
class PackageDialogEvents {
 public:
  virtual ~PackageDialogEvents() = default;
  // The dialog is about to show; view stays valid until RunPackageDialog
  // returns.
  virtual void OnInitDialog(PackageDialogView* view) = 0;
  virtual void OnPackageSelChange() = 0;
  virtual void OnPackageDblClk() = 0;
  virtual void OnVerify() = 0;
  virtual void OnUninstall() = 0;
  virtual void OnAbout() = 0;
  virtual void OnHelpButton() = 0;
  virtual void OnLog() = 0;
  // Close, Escape, or an OK command.
  virtual void OnCancel() = 0;
  // The window needs painting: true when the handler painted it, false for
  // the window's own painting.
  virtual bool OnPaint() { return false; }
  // The minimised window is being dragged: the icon to show, or null for
  // the window's own.
  virtual void* OnQueryDragIcon() { return nullptr; }
};

// Shows the dialog modally and returns when it has ended. False when it
// could not be shown. An exception from a handler ends the dialog and
// comes out of RunPackageDialog.
bool RunPackageDialog(PackageDialogEvents* events);

}  // namespace vesta::ui

#endif
