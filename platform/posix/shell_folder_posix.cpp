#include "platform/shell_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "platform/posix/host_path.h"
#include "platform/posix/print_queues.h"
#include "platform/system_info.h"
#include "platform/windows_names.h"

namespace vesta::platform {
namespace {

// The shell's numbers of the folders known here.
constexpr int kDesktopNumber = 0;
constexpr int kControlPanelNumber = 3;
constexpr int kPrintersNumber = 4;

// Allocator, folders and listings, released through one call.
struct ShellObject {
  virtual ~ShellObject() = default;
};

struct Allocator : ShellObject {};

struct Folder : ShellObject {
  explicit Folder(int n) : number(n) {}
  int number;  // the shell's number of the folder
};

// An identifier list: a special folder, or an item of a listing.
struct IdList {
  int folderNumber = -1;  // a special folder's number; -1 for an item
  std::string name;       // an item's full path, or a printer's queue name
};

struct Listing : ShellObject {
  std::vector<IdList> items;
  size_t next = 0;
};

// The desktop folder's entries by full path, in the order of their names
// without regard to case (folded as Windows compares names).
std::vector<IdList> DesktopItems(bool withFolders) {
  const std::string desktop = WindowsFolder() + "\\Desktop";
  const std::string host = posix::ResolveHostPath(desktop.c_str());
  std::vector<IdList> items;
  DIR* folder = opendir(host.c_str());
  if (folder == nullptr) return items;
  while (const dirent* entry = readdir(folder)) {
    std::string name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    struct stat status;
    if (stat((host + "/" + name).c_str(), &status) != 0) continue;
    if (S_ISDIR(status.st_mode) && !withFolders) continue;
    IdList item;
    item.name = desktop + "\\" + name;
    items.push_back(item);
  }
  closedir(folder);
  std::sort(items.begin(), items.end(),
            [](const IdList& a, const IdList& b) { return FoldName(a.name) < FoldName(b.name); });
  return items;
}

std::vector<IdList> PrinterItems() {
  std::vector<IdList> items;
  for (const std::string& queue : posix::PrintQueues()) {
    IdList item;
    item.name = queue;
    items.push_back(item);
  }
  return items;
}

}  // namespace

void* ShellAllocator() { return static_cast<ShellObject*>(new Allocator); }

void* DesktopFolder() { return static_cast<ShellObject*>(new Folder(kDesktopNumber)); }

void* SpecialFolderIdList(void* /*window*/, int number) {
  if (number != kControlPanelNumber && number != kPrintersNumber) return nullptr;
  IdList* list = new IdList;
  list->folderNumber = number;
  return list;
}

void* BindToFolder(void* desktop, void* idList) {
  if (desktop == nullptr || idList == nullptr) return nullptr;
  const IdList* list = static_cast<IdList*>(idList);
  if (list->folderNumber < 0) return nullptr;  // an item is no folder here
  return static_cast<ShellObject*>(new Folder(list->folderNumber));
}

void* ListFolder(void* folder, void* /*window*/, bool withFolders) {
  const Folder* listed = dynamic_cast<Folder*>(static_cast<ShellObject*>(folder));
  if (listed == nullptr) return nullptr;
  Listing* listing = new Listing;
  if (listed->number == kDesktopNumber) listing->items = DesktopItems(withFolders);
  if (listed->number == kPrintersNumber) listing->items = PrinterItems();
  return static_cast<ShellObject*>(listing);
}

void ResetListing(void* listing) {
  if (Listing* list = dynamic_cast<Listing*>(static_cast<ShellObject*>(listing))) list->next = 0;
}

void* NextListedItem(void* listing) {
  Listing* list = dynamic_cast<Listing*>(static_cast<ShellObject*>(listing));
  if (list == nullptr || list->next >= list->items.size()) return nullptr;
  return new IdList(list->items[list->next++]);
}

bool ListedItemName(void* /*allocator*/, void* /*folder*/, void* /*folderIdList*/, void* item,
                    std::string* name) {
  const IdList* list = static_cast<IdList*>(item);
  if (list == nullptr || name == nullptr || list->name.empty()) return false;
  *name = list->name;
  return true;
}

void FreeIdList(void* /*allocator*/, void* idList) { delete static_cast<IdList*>(idList); }

void ReleaseShellObject(void* object) { delete static_cast<ShellObject*>(object); }

}  // namespace vesta::platform
