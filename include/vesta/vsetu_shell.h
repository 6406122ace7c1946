// VSetu's shell services: shortcuts in the Start-up and Start-menu folders,
// listings of the shell's folders, and the hyperlink control of the setup
// dialogs.
//
// Operations return 1 for success and 0 for failure unless said otherwise.
// Output buffers are the caller's and hold at least 264 bytes.
#ifndef VESTA_VSETU_SHELL_H
#define VESTA_VSETU_SHELL_H

#include <cstdint>

#include "vesta/export.h"

// A window of the desktop (a window handle on Windows), or null.
typedef void* VSWindow;

// ---------------------------------------------------------------------------
// A shortcut (.LNK file) through the shell's link object. Windows: the
// shell's own, through COM. POSIX: files of the same format, written and
// read here, so that a shortcut made on one platform opens on the other.

class VSETU_API CVShortcut {
 public:
  // Only makes destroying an object that was never initialised safe.
  CVShortcut();
  // Calls SHTerminate.
  ~CVShortcut();
  CVShortcut(const CVShortcut&) = delete;
  CVShortcut& operator=(const CVShortcut&) = delete;

  // Starts COM for the thread and makes the link object and its file
  // interface. 0 when COM cannot start or the object cannot be made.
  int SHInitialise();
  // Releases the link object and ends COM when SHInitialise started it.
  // Always 1; a second call does nothing more.
  int SHTerminate();
  // Writes the shortcut file: target and description. 1 when saved.
  int SHCreateShortcut(const char* target, const char* shortcutFile, const char* description);
  // Reads the shortcut file. target: its target (short form); description:
  // only when it has one; iconFile and iconIndex (decimal text): only when
  // its icon location can be read. Other outputs are left untouched. 1
  // when the target was read.
  int SHResolve(VSWindow owner, const char* shortcutFile, char* target, char* description,
                char* iconFile, char* iconIndex);

  int comStarted;     // set when SHInitialise started COM
  void* shellLink;    // the link object (IShellLinkA), or null
  void* persistFile;  // its file interface (IPersistFile), or null
};

// The Start-up shortcut: start-up folder + "\VESTA 3D Desktop.LNK" (without
// that folder: as VSConstructShortcutFile composes it).
VSETU_API int VSGetShortcutFile(VSWindow window, char* out);
// The start-up shortcut's name from the Windows folder: the user's profile
// "Windows\Profiles\<user>\Start Menu\Programs\Startup" when that folder
// exists, else "Windows\Start Menu\Programs\Startup", + "\VESTA 3D
// Desktop.LNK". At most size characters are copied (out holds size + 1
// bytes); 1 when the whole name fitted.
VSETU_API int VSConstructShortcutFile(char* out, int size);
// 1 when the Start-up shortcut exists.
VSETU_API int VSIsShortcutInStartUp(VSWindow window);
// Makes the Start-up shortcut to bin + "\VESTA.EXE". Always 0.
VSETU_API int VSAddShortcutToStartUp(VSWindow window);
// 1 when the Start-up shortcut was deleted.
VSETU_API int VSDeleteShortcutFromStartUp(VSWindow window);

// The Start-menu shortcut: start-menu folder + "\VESTA Setup and Start.LNK";
// 0 when the shell names no start-menu folder.
VSETU_API int VSGetCommonShortcutFile(VSWindow window, char* out);
VSETU_API int VSIsShortcutInStartMenu(VSWindow window);
// Makes the Start-menu shortcut to bin + "\VSETUP.EXE". Always 0.
VSETU_API int VSAddShortcutToStartMenu(VSWindow window);
VSETU_API int VSDeleteShortcutFromStartMenu(VSWindow window);

// ---------------------------------------------------------------------------
// A listing of one of the shell's folders: the desktop (folders and files),
// the printers or the control panel (items only).

class VSETU_API CVFolder {
 public:
  CVFolder();
  // Calls FOTerminate.
  ~CVFolder();
  CVFolder(const CVFolder&) = delete;
  CVFolder& operator=(const CVFolder&) = delete;

  // Clears every field (without releasing anything). Returns 1.
  int FOInitialise();
  // Releases everything held. 1 when a folder identifier list was held.
  int FOTerminate();
  // "_control_panel_", "_printers_" or "_desktop_" (exactly, letter case
  // counts). An unknown keyword: 0, the object as it was.
  int FOSetParentFolderName(VSWindow window, const char* keyword);
  // 0: the desktop; 3: the control panel; 4: the printers (the shell's
  // folder numbers). 1 when the listing is open.
  int FOSetParentFolderName(VSWindow window, int number);
  // The first item's name (out: 260 bytes; a longer name is cut).
  int FOGetFirstFolderName(char* out);
  // The next item's name: its file-system path when it has one, else its
  // parsing name. 0 at the end, and for an item without a name (the
  // listing goes on at the next call).
  int FOGetNextFolderName(char* out);

  void* allocator;      // the shell's allocator (IMalloc)
  void* desktopFolder;  // the desktop (IShellFolder)
  void* boundFolder;    // the folder listed, when not the desktop
  void* folderIdList;   // its identifier list
  void* enumerator;     // the listing (IEnumIDList)
};

// ---------------------------------------------------------------------------
// The hyperlink control: a static text of a dialog that opens a page of the
// product's web site, or a target of its own, when clicked, and shows in
// the link colour until it has been followed.

class VSETU_API CVHyperLink {
 public:
  CVHyperLink();
  // Deletes the link font and destroys the control's window.
  ~CVHyperLink();
  CVHyperLink(const CVHyperLink&) = delete;
  CVHyperLink& operator=(const CVHyperLink&) = delete;

  // 1: the product's home page; 2 and 3: its other pages; 4: the target.
  // Any value is stored. Always 1.
  int HPSetLinkType(int type);
  // 0 when the type is unset (-1); else 1 and the type.
  int HPGetLinkType(int* type);
  // 0 (nothing stored) when the type is unset; else 1 and the text, cut to
  // 263 characters.
  int HPSetLinkTarget(const char* text);
  int HPSetSubClassed();  // always 1
  int HPIsSubClassed();   // the flag
  // The cursor shown over the control (null: the window's own). Always 1.
  int HPSetCursor(void* cursor);
  // Makes the dialog's static control with this id the hyperlink (Windows;
  // 0 elsewhere, and when there is no such control or one is attached).
  int HPAttach(VSWindow dialog, int controlId);
  // A click: follows the link; once followed, shows as visited. 1 when
  // the link was followed.
  int HPOnClicked();

  int linkType;            // -1 marks it unset
  int subclassed;
  void* cursor;            // an icon or cursor handle, or null
  uint32_t linkColour;     // 0x00BBGGRR
  uint32_t visitedColour;  // 0x00BBGGRR
  int visited;
  char target[264];
  void* linkFont;          // the underlined font, made on first paint
  VSWindow window;         // the attached static control, or null
};

#endif
