// The shell's folders and their listings, as the shell names their items.
//
// Win32: the shell's objects through COM: its allocator (IMalloc), folders
// (IShellFolder), listings (IEnumIDList) and item identifier lists. POSIX:
// objects of this backend that stand for them. There the desktop lists the
// folder WindowsFolder() + "\Desktop" (folders and files by full path;
// names that begin with "." are hidden, as Windows hides hidden files), the
// printers are the print queues the system knows, and the control panel
// lists nothing.
//
// Handles are opaque. Objects (allocator, folders, listings) are released
// with ReleaseShellObject; identifier lists are freed with FreeIdList.
#ifndef VESTA_PLATFORM_SHELL_FOLDER_H
#define VESTA_PLATFORM_SHELL_FOLDER_H

#include <string>

namespace vesta::platform {

// The shell's allocator; null when it cannot be had.
void* ShellAllocator();
// The desktop, the root of the shell's folders; null when it cannot be had.
void* DesktopFolder();
// The identifier list of a special folder by the shell's number (CSIDL:
// 3 the control panel, 4 the printers); null when the shell has no such
// folder. window is the owner of any question, or null.
void* SpecialFolderIdList(void* window, int number);
// The folder object of the list, bound from the desktop; null on failure.
void* BindToFolder(void* desktop, void* idList);
// A listing of the folder: folders and other items, or (withFolders
// false) the other items only. Null unless the shell answers S_OK.
void* ListFolder(void* folder, void* window, bool withFolders);
// Starts the listing again from its first item.
void ResetListing(void* listing);
// The listing's next item (an identifier list relative to the folder
// listed, to be freed); null at the end or when the shell fails.
void* NextListedItem(void* listing);
// The item's name into *name: the file-system path of folderIdList + item
// (folderIdList null: the item is the desktop's) when it has one, else its
// parsing name as folder gives it. False when it has neither.
bool ListedItemName(void* allocator, void* folder, void* folderIdList, void* item, std::string* name);

// Frees an identifier list with the allocator; null is ignored.
void FreeIdList(void* allocator, void* idList);
// Releases an allocator, folder or listing; null is ignored.
void ReleaseShellObject(void* object);

}  // namespace vesta::platform

#endif
