// Test helpers for the package manager: a scripted dialog view that
// records what the logic shows and answers message boxes from a script.
#ifndef VESTA_VERMANAGER_TEST_PACKAGE_MANAGER_H
#define VESTA_VERMANAGER_TEST_PACKAGE_MANAGER_H

#include <deque>
#include <string>
#include <vector>

#include "vermanager/ui/package_dialog.h"

namespace vesta::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  ui::MessageButtons buttons;
};

class ScriptedView : public ui::PackageDialogView {
 public:
  void ClearList() override {
    items.clear();
    selection = -1;
  }
  void AddListItem(const std::string& title) override { items.push_back(title); }
  int ListSelection() override { return selection; }
  void EnableActionButtons(bool enabled) override { actionsEnabled = enabled; }
  void SetFolderText(const std::string& text) override { folder = text; }
  std::string FolderText() override { return folder; }
  ui::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      ui::MessageButtons buttons) override {
    messages.push_back({text, caption, buttons});
    if (buttons == ui::MessageButtons::kOk) return ui::MessageAnswer::kOk;
    if (answers.empty()) return ui::MessageAnswer::kNo;
    ui::MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowAbout(const std::string& v, const std::string& s, int b) override {
    about = v + "." + s + "." + std::to_string(b);
  }
  void EndDialog() override { ended = true; }
  bool IsMinimised() override { return minimised; }
  void DrawIconCentred() override { ++iconsDrawn; }
  void* Icon() override { return &icon; }

  // The captions of the messages shown, in order.
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const ShownMessage& m : messages) captions.push_back(m.caption);
    return captions;
  }

  std::vector<std::string> items;
  int selection = -1;
  bool actionsEnabled = true;
  std::string folder;
  std::vector<ShownMessage> messages;
  std::deque<ui::MessageAnswer> answers;
  std::string about;
  bool ended = false;
  bool minimised = false;
  int iconsDrawn = 0;
  int icon = 128;  // stands for the dialog's icon
};

}  // namespace vesta::testing

#endif
