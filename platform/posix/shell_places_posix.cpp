#include "platform/shell_places.h"

#include "platform/file_system.h"
#include "platform/folder_overrides.h"
#include "platform/system_info.h"

namespace vesta::platform {

bool SpecialFolderPath(void* /*window*/, SpecialFolder folder, std::string* path) {
  if (path == nullptr) return false;
  bool answered = false;
  if (overrides::SpecialFolder(folder, &answered, path)) return answered;
  // The root stands for a machine without user profiles: its Start menu is
  // the Windows folder's.
  std::string found = WindowsFolder() + "\\Start Menu\\Programs";
  if (folder == SpecialFolder::kStartUp) found += "\\Startup";
  if (!FolderExists(found.c_str())) return false;
  *path = found;
  return true;
}

}  // namespace vesta::platform
