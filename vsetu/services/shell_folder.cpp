// Listing the shell's folders: the desktop, the printers, the control
// panel.
#include <cstring>
#include <string>

#include "common/paths.h"
#include "common/text.h"
#include "platform/shell_folder.h"
#include "vesta/vsetu_shell.h"

namespace platform = vesta::platform;

namespace {

struct Keyword {
  const char* text;
  int number;  // the shell's folder number (CSIDL)
};

// Compared in this order, exactly.
const Keyword kKeywords[] = {
    {"_control_panel_", 3},
    {"_printers_", 4},
    {"_desktop_", 0},
};

}  // namespace

CVFolder::CVFolder() { FOInitialise(); }

CVFolder::~CVFolder() { FOTerminate(); }

int CVFolder::FOInitialise() {
  allocator = nullptr;
  desktopFolder = nullptr;
  boundFolder = nullptr;
  folderIdList = nullptr;
  enumerator = nullptr;
  return 1;
}

int CVFolder::FOTerminate() {
  const int heldList = folderIdList != nullptr ? 1 : 0;
  platform::ReleaseShellObject(enumerator);
  platform::ReleaseShellObject(boundFolder);
  platform::ReleaseShellObject(desktopFolder);
  platform::FreeIdList(allocator, folderIdList);
  platform::ReleaseShellObject(allocator);
  FOInitialise();
  return heldList;
}

int CVFolder::FOSetParentFolderName(VSWindow window, const char* keyword) {
  if (keyword == nullptr) return 0;
  for (const Keyword& known : kKeywords) {
    if (std::strcmp(keyword, known.text) == 0) return FOSetParentFolderName(window, known.number);
  }
  return 0;
}

int CVFolder::FOSetParentFolderName(VSWindow window, int number) {
  FOTerminate();
  // What was had before a failure stays until FOTerminate.
  allocator = platform::ShellAllocator();
  if (allocator == nullptr) return 0;
  desktopFolder = platform::DesktopFolder();
  if (desktopFolder == nullptr) return 0;
  if (number == 0) {
    enumerator = platform::ListFolder(desktopFolder, window, true);
    return enumerator != nullptr ? 1 : 0;
  }
  folderIdList = platform::SpecialFolderIdList(window, number);
  if (folderIdList == nullptr) return 0;
  boundFolder = platform::BindToFolder(desktopFolder, folderIdList);
  if (boundFolder == nullptr) return 0;
  enumerator = platform::ListFolder(boundFolder, window, false);
  return enumerator != nullptr ? 1 : 0;
}

int CVFolder::FOGetFirstFolderName(char* out) {
  if (enumerator == nullptr) return 0;
  platform::ResetListing(enumerator);
  return FOGetNextFolderName(out);
}

int CVFolder::FOGetNextFolderName(char* out) {
  if (enumerator == nullptr || allocator == nullptr) return 0;
  void* item = platform::NextListedItem(enumerator);
  if (item == nullptr) return 0;
  void* listed = boundFolder != nullptr ? boundFolder : desktopFolder;
  std::string name;
  const bool named = platform::ListedItemName(allocator, listed, folderIdList, item, &name);
  if (named && out != nullptr) VUCopyN(out, name.c_str(), kVUMaxPath - 1);
  platform::FreeIdList(allocator, item);
  return named ? 1 : 0;
}
