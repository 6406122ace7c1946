// The shortcut in the user's Start-up folder, which starts the desktop
// with the system.
#include <string>

#include "common/paths.h"
#include "actions/start_folders.h"
#include "common/text.h"
#include "platform/system_info.h"
#include "vesta/vsetu.h"
#include "vesta/vsetu_shell.h"
#include "vsetu/services/install_paths.h"
#include "vsetu/services/shortcut_placing.h"

namespace {

const char kShortcutName[] = "\\VESTA 3D Desktop.LNK";

}  // namespace

int VSGetShortcutFile(VSWindow window, char* out) {
  if (out == nullptr) return 0;
  char folder[kVUPathBuffer];
  char file[kVSBuffer];
  if (VUGetStartUpFolder(window, folder)) {
    if (!vesta::vsetu::ComposePath(file, folder, kShortcutName)) return 0;
  } else if (!VSConstructShortcutFile(file, kVUMaxPath)) {
    return 0;
  }
  VUCopyN(out, file, kVSBuffer - 1);
  return 1;
}

int VSConstructShortcutFile(char* out, int size) {
  if (out == nullptr || size < 0) return 0;
  const std::string windows = vesta::platform::WindowsFolder();
  if (windows.empty()) return 0;
  std::string folder = windows + "\\Start Menu\\Programs\\Startup";
  std::string user;
  // A machine with user profiles keeps each user's Start menu apart.
  if (vesta::platform::UserName(&user) && !user.empty()) {
    std::string profile = windows + "\\Profiles\\" + user + "\\Start Menu\\Programs\\Startup";
    if (VUFolderExists(profile.c_str())) folder = profile;
  }
  return VUCopyN(out, (folder + kShortcutName).c_str(), size);
}

int VSIsShortcutInStartUp(VSWindow window) { return vesta::vsetu::ShortcutPlaced(window, VSGetShortcutFile); }

int VSAddShortcutToStartUp(VSWindow window) {
  vesta::vsetu::PlaceShortcut(window, VSGetShortcutFile, "\\VESTA.EXE", "VESTA 3D desktop");
  return 0;
}

int VSDeleteShortcutFromStartUp(VSWindow window) {
  return vesta::vsetu::RemoveShortcut(window, VSGetShortcutFile);
}
