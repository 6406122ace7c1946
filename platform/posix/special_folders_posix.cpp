#include "platform/special_folders.h"

#include "platform/file_system.h"
#include "platform/system_info.h"

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

bool SpecialFolderPath(void* /*window*/, SpecialFolder folder, std::string* path) {
  if (path == nullptr) return false;
  const Override& override = OverrideOf(folder);
  if (override.active) {
    if (override.path.empty()) return false;
    *path = override.path;
    return true;
  }
  // The root stands for a machine without user profiles: its Start menu is
  // the Windows folder's.
  std::string found = WindowsFolder() + "\\Start Menu\\Programs";
  if (folder == SpecialFolder::kStartUp) found += "\\Startup";
  if (!FolderExists(found.c_str())) return false;
  *path = found;
  return true;
}

void OverrideSpecialFolder(SpecialFolder folder, const char* path) {
  Override& override = OverrideOf(folder);
  override.active = path != nullptr;
  override.path = path != nullptr ? path : "";
}

}  // namespace vesta::platform
