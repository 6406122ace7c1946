// The setup's shortcut in the Start menu's Programs folder.
#include "common/paths.h"
#include "actions/start_folders.h"
#include "common/text.h"
#include "vesta/vsetu.h"
#include "vesta/vsetu_shell.h"
#include "vsetu/services/install_paths.h"
#include "vsetu/services/shortcut_placing.h"

int VSGetCommonShortcutFile(VSWindow window, char* out) {
  char folder[kVUPathBuffer];
  char file[kVSBuffer];
  if (out == nullptr || !VUGetStartMenuFolder(window, folder) ||
      !vesta::vsetu::ComposePath(file, folder, "\\VESTA Setup and Start.LNK")) {
    return 0;
  }
  VUCopyN(out, file, kVSBuffer - 1);
  return 1;
}

int VSIsShortcutInStartMenu(VSWindow window) {
  return vesta::vsetu::ShortcutPlaced(window, VSGetCommonShortcutFile);
}

int VSAddShortcutToStartMenu(VSWindow window) {
  vesta::vsetu::PlaceShortcut(window, VSGetCommonShortcutFile, "\\VSETUP.EXE", "VESTA Setup and Start");
  return 0;
}

int VSDeleteShortcutFromStartMenu(VSWindow window) {
  return vesta::vsetu::RemoveShortcut(window, VSGetCommonShortcutFile);
}
