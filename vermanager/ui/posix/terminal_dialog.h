// The package manager's dialog in a terminal: the same texts, captions and
// buttons as the window on Windows, one key or number a line.
#ifndef VESTA_VERMANAGER_UI_POSIX_TERMINAL_DIALOG_H
#define VESTA_VERMANAGER_UI_POSIX_TERMINAL_DIALOG_H

#include <cstdio>
#include <string>
#include <vector>

#include "vermanager/ui/package_dialog.h"

namespace vesta::ui::posix {

class TerminalPackageDialog : public PackageDialogView {
 public:
  TerminalPackageDialog(FILE* in, FILE* out) : in_(in), out_(out) {}

  // Runs the dialog until a handler ends it or the input ends (which
  // closes it, as Escape does).
  bool Run(PackageDialogEvents* events);

  void ClearList() override;
  void AddListItem(const std::string& title) override;
  int ListSelection() override { return selection_; }
  void EnableActionButtons(bool enabled) override { actionsEnabled_ = enabled; }
  void SetFolderText(const std::string& text) override { folder_ = text; }
  std::string FolderText() override { return folder_; }
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons) override;
  void ShowAbout(const std::string& version, const std::string& subRelease, int build) override;
  void EndDialog() override { ended_ = true; }
  // A terminal has no minimised window: the view's defaults (never
  // minimised, no icon) stand.

 private:
  void Show();
  bool ReadLine(std::string* line);
  void Press(PackageDialogEvents* events, const std::string& line);

  FILE* in_;
  FILE* out_;
  std::vector<std::string> items_;
  int selection_ = -1;
  bool actionsEnabled_ = true;
  std::string folder_;
  bool ended_ = false;
};

}  // namespace vesta::ui::posix

#endif
