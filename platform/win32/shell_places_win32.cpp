#include "platform/shell_places.h"

#include <windows.h>

#include <shlobj.h>

#include "platform/folder_overrides.h"

namespace vesta::platform {

bool SpecialFolderPath(void* window, SpecialFolder folder, std::string* path) {
  if (path == nullptr) return false;
  bool answered = false;
  if (overrides::SpecialFolder(folder, &answered, path)) return answered;
  char buffer[MAX_PATH + 1] = "";
  int csidl = folder == SpecialFolder::kStartUp ? CSIDL_STARTUP : CSIDL_PROGRAMS;
  if (!SHGetSpecialFolderPathA(static_cast<HWND>(window), buffer, csidl, FALSE) || buffer[0] == '\0') {
    return false;
  }
  std::string found = buffer;
  if (found.size() > 3 && found.back() == '\\') found.pop_back();
  *path = found;
  return true;
}

}  // namespace vesta::platform
