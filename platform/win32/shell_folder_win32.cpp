#include "platform/shell_folder.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <cstring>

namespace vesta::platform {
namespace {

IMalloc* Allocator(void* allocator) { return static_cast<IMalloc*>(allocator); }
IShellFolder* Folder(void* folder) { return static_cast<IShellFolder*>(folder); }
IEnumIDList* Listing(void* listing) { return static_cast<IEnumIDList*>(listing); }
LPITEMIDLIST List(void* idList) { return static_cast<LPITEMIDLIST>(idList); }

void FreeWith(void* allocator, void* memory) {
  if (memory == nullptr) return;
  if (allocator != nullptr) {
    Allocator(allocator)->Free(memory);
  } else {
    CoTaskMemFree(memory);
  }
}

// The 8-bit text of a display name, whatever form the shell gave it in.
bool StrRetText(void* allocator, STRRET* name, LPCITEMIDLIST item, std::string* text) {
  switch (name->uType) {
    case STRRET_WSTR: {
      int size = WideCharToMultiByte(CP_ACP, 0, name->pOleStr, -1, nullptr, 0, nullptr, nullptr);
      std::string converted(size > 0 ? static_cast<size_t>(size) : 1, '\0');
      if (size > 0) WideCharToMultiByte(CP_ACP, 0, name->pOleStr, -1, &converted[0], size, nullptr, nullptr);
      FreeWith(allocator, name->pOleStr);
      if (size <= 0) return false;
      converted.resize(static_cast<size_t>(size) - 1);
      *text = converted;
      return true;
    }
    case STRRET_OFFSET:
      *text = reinterpret_cast<const char*>(item) + name->uOffset;
      return true;
    case STRRET_CSTR:
      *text = std::string(name->cStr, strnlen(name->cStr, sizeof name->cStr));
      return true;
    default:
      return false;
  }
}

}  // namespace

void* ShellAllocator() {
  IMalloc* allocator = nullptr;
  return SUCCEEDED(SHGetMalloc(&allocator)) ? allocator : nullptr;
}

void* DesktopFolder() {
  IShellFolder* desktop = nullptr;
  return SUCCEEDED(SHGetDesktopFolder(&desktop)) ? desktop : nullptr;
}

void* SpecialFolderIdList(void* window, int number) {
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(static_cast<HWND>(window), number, &list) != S_OK) return nullptr;
  return list;
}

void* BindToFolder(void* desktop, void* idList) {
  void* folder = nullptr;
  if (desktop == nullptr || idList == nullptr ||
      Folder(desktop)->BindToObject(List(idList), nullptr, IID_IShellFolder, &folder) != S_OK) {
    return nullptr;
  }
  return folder;
}

void* ListFolder(void* folder, void* window, bool withFolders) {
  if (folder == nullptr) return nullptr;
  SHCONTF flags = withFolders ? SHCONTF_FOLDERS | SHCONTF_NONFOLDERS : SHCONTF_NONFOLDERS;
  IEnumIDList* listing = nullptr;
  HRESULT result = Folder(folder)->EnumObjects(static_cast<HWND>(window), flags, &listing);
  if (result == S_OK && listing != nullptr) return listing;
  if (listing != nullptr) listing->Release();
  return nullptr;
}

void ResetListing(void* listing) {
  if (listing != nullptr) Listing(listing)->Reset();
}

void* NextListedItem(void* listing) {
  LPITEMIDLIST item = nullptr;
  ULONG fetched = 0;
  if (listing == nullptr || Listing(listing)->Next(1, &item, &fetched) != S_OK || item == nullptr) {
    return nullptr;
  }
  return item;
}

bool ListedItemName(void* allocator, void* folder, void* folderIdList, void* item, std::string* name) {
  if (item == nullptr || name == nullptr) return false;
  LPITEMIDLIST relative = List(item);
  LPITEMIDLIST full = folderIdList != nullptr ? ILCombine(List(folderIdList), relative) : relative;
  char path[MAX_PATH] = "";
  bool hasPath = full != nullptr && SHGetPathFromIDListA(full, path) && path[0] != '\0';
  if (full != relative) FreeWith(allocator, full);
  if (hasPath) {
    *name = path;
    return true;
  }
  STRRET parsing;
  if (folder == nullptr || FAILED(Folder(folder)->GetDisplayNameOf(relative, SHGDN_FORPARSING, &parsing))) {
    return false;
  }
  std::string text;
  if (!StrRetText(allocator, &parsing, relative, &text) || text.empty()) return false;
  *name = text;
  return true;
}

void FreeIdList(void* allocator, void* idList) { FreeWith(allocator, idList); }

void ReleaseShellObject(void* object) {
  if (object != nullptr) static_cast<IUnknown*>(object)->Release();
}

}  // namespace vesta::platform
