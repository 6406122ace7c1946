// The package manager's list, verify and uninstall for tools: the dialog's
// own logic, driven through a view that hands its questions and messages
// to the caller.
#include <cctype>
#include <string>

#include "vermanager/manifest.h"
#include "vermanager/removal_services.h"
#include "vermanager/ver_manager_dlg.h"
#include "vesta/vsetu.h"

namespace {

bool SameName(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b))) return false;
  }
  return *a == *b;
}

// The place of the package among the installed ones (as the dialog lists
// them), with its name as the manifest spells it; -1 when it is not
// installed.
int FindPackage(CPackageManifest* manifest, const char* name, std::string* spelled) {
  char packageName[65];
  char title[261];
  int removed = 0;
  int index = 0;
  for (int more = manifest->FirstPackage(packageName, title, &removed); more;
       more = manifest->NextPackage(packageName, title, &removed)) {
    if (removed) continue;
    if (SameName(packageName, name)) {
      *spelled = packageName;
      return index;
    }
    ++index;
  }
  return -1;
}

// The dialog's window, for a caller without one.
class CallbackView : public vesta::ui::PackageDialogView {
 public:
  CallbackView(VSPackageQuestion ask, VSPackageMessage tell, void* context)
      : ask_(ask), tell_(tell), context_(context) {}

  void Select(int index) { selection_ = index; }
  bool Ended() const { return ended_; }

  void ClearList() override {}
  void AddListItem(const std::string&) override {}
  int ListSelection() override { return selection_; }
  void EnableActionButtons(bool) override {}
  void SetFolderText(const std::string& text) override { folder_ = text; }
  std::string FolderText() override { return folder_; }
  vesta::ui::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                       vesta::ui::MessageButtons buttons) override {
    if (buttons == vesta::ui::MessageButtons::kYesNo) {
      return ask_ != nullptr && ask_(text.c_str(), caption.c_str(), context_) == 1 ? vesta::ui::MessageAnswer::kYes
                                                                                  : vesta::ui::MessageAnswer::kNo;
    }
    if (tell_ != nullptr) tell_(text.c_str(), caption.c_str(), context_);
    return vesta::ui::MessageAnswer::kOk;
  }
  void ShowAbout(const std::string&, const std::string&, int) override {}
  void EndDialog() override { ended_ = true; }

 private:
  VSPackageQuestion ask_;
  VSPackageMessage tell_;
  void* context_;
  int selection_ = -1;
  bool ended_ = false;
  std::string folder_;
};

}  // namespace

int VSListPackages(const char* manifest, VSPackageCallback callback, void* context) {
  if (manifest == nullptr) return 0;
  CPackageManifest packages;
  if (!packages.LoadManifest(manifest)) return 0;
  char name[65];
  char title[261];
  int removed = 0;
  for (int more = packages.FirstPackage(name, title, &removed); more;
       more = packages.NextPackage(name, title, &removed)) {
    if (!removed && callback != nullptr && callback(name, title, context) != 1) break;
  }
  return 1;
}

int VSVerifyPackage(const char* manifest, const char* name, VSComponentCallback callback, void* context) {
  if (manifest == nullptr || name == nullptr) return -1;
  CPackageManifest packages;
  if (!packages.LoadManifest(manifest)) return -1;
  std::string spelled;
  if (FindPackage(&packages, name, &spelled) < 0) return -2;
  // The dialog's test, component by component, so that every missing one
  // is named and not only the first.
  char value[261];
  char kind[65];
  char owner[65];
  int removed = 0;
  int result = 1;
  for (int more = packages.FirstComponent(value, kind, owner, &removed); more;
       more = packages.NextComponent(value, kind, owner, &removed)) {
    if (removed || spelled != owner) continue;
    bool present = true;
    if (std::string(kind) == "[FIL]") {
      present = FileIsReadable(value) != 0;
    } else if (std::string(kind) == "[REG]") {
      present = RegistryKeyExists(value) != 0;
    }
    if (!present) result = 0;
    if (callback != nullptr && callback(kind, value, present ? 1 : 0, context) != 1) break;
  }
  return result;
}

int VSUninstallPackage(const char* manifest, const char* name, VSPackageQuestion ask, VSPackageMessage tell,
                       void* context) {
  if (manifest == nullptr || name == nullptr) return -1;
  CVerManagerDlg dialog(manifest);
  if (!dialog.OpenManifest(manifest)) return -1;
  std::string spelled;
  int index = FindPackage(dialog.Manifest(), name, &spelled);
  if (index < 0) return -2;
  CallbackView view(ask, tell, context);
  dialog.OnInitDialog(&view);
  view.Select(index);
  dialog.OnPackageSelChange();
  dialog.OnUninstall();
  // The package is gone when the manifest as it now lies on the disk no
  // longer lists it: an uninstall whose manifest could not be rewritten
  // has not taken place, whatever was deleted.
  CPackageManifest after;
  if (!after.LoadManifest(manifest)) return 0;
  std::string stillThere;
  return FindPackage(&after, spelled.c_str(), &stillThere) < 0 ? 1 : 0;
}
