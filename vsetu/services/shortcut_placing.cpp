#include "vsetu/services/shortcut_placing.h"

#include <new>

#include "common/paths.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"
#include "vsetu/services/install_paths.h"

namespace vesta::vsetu {

void PlaceShortcut(VSWindow window, ShortcutName name, const char* program, const char* description) {
  CVShortcut* shortcut = new (std::nothrow) CVShortcut;
  if (shortcut == nullptr) return;
  char file[kVSBuffer];
  char target[kVSBuffer];
  if (shortcut->SHInitialise() && name(window, file) && VSGetBinDir(target) &&
      ComposePath(target, target, program)) {
    shortcut->SHCreateShortcut(target, file, description);
  }
  delete shortcut;
}

int ShortcutPlaced(VSWindow window, ShortcutName name) {
  char file[kVSBuffer];
  return name(window, file) && VUFileExists(file) ? 1 : 0;
}

int RemoveShortcut(VSWindow window, ShortcutName name) {
  char file[kVSBuffer];
  return name(window, file) && platform::RemoveFile(file) ? 1 : 0;
}

}  // namespace vesta::vsetu
