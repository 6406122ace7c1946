#include "platform/special_folders.h"

#include <windows.h>

#include <shlobj.h>

namespace vesta::platform {
namespace {

struct Override {
  bool active = false;
  std::string path;
};

Override& OverrideOf(SpecialFolder folder) {
  static Override overrides[2];
  return overrides[folder == SpecialFolder::kStartUp ? 0 : 1];
}

}  // namespace

bool SpecialFolderPath(void* window, SpecialFolder folder, std::string* path) {
  if (path == nullptr) return false;
  const Override& override = OverrideOf(folder);
  if (override.active) {
    if (override.path.empty()) return false;
    *path = override.path;
    return true;
  }
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

void OverrideSpecialFolder(SpecialFolder folder, const char* path) {
  Override& override = OverrideOf(folder);
  override.active = path != nullptr;
  override.path = path != nullptr ? path : "";
}

}  // namespace vesta::platform
