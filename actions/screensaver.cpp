#include "actions/screensaver.h"

#include <string>

#include "common/paths.h"
#include "actions/registry.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char kSaverValue[] = "SCRNSAVE.EXE";

// The copy of file in the system folder; false when the file has no name.
bool CopyPath(const char* file, std::string* copy) {
  char name[kVUPathBuffer];
  if (file == nullptr || !VUGetNamePart(name, file)) return false;
  std::string folder = vesta::platform::SystemFolder();
  if (folder.empty()) return false;
  *copy = folder + "\\" + name;
  return copy->size() <= static_cast<size_t>(kVUMaxPath);
}

// True when the user's screensaver value names copy.
bool ValueNames(const std::string& copy) {
  char value[kVURegBuffer];
  if (!VURegGetString(VURegRoot::kCurrentUser, kDesktopKey, kSaverValue, value)) return false;
  return copy.size() < sizeof value && VUCompareN(value, copy.c_str(), static_cast<int>(copy.size()) + 1);
}

}  // namespace

int VUInstallScreensaver(const char* file) {
  std::string copy;
  if (!CopyPath(file, &copy) || !VUFileExists(file)) return 0;
  if (!vesta::platform::CopyOneFile(file, copy.c_str(), false)) return 0;
  return VURegSetString(VURegRoot::kCurrentUser, kDesktopKey, kSaverValue, copy.c_str());
}

int VUIsScreensaverInstalled(const char* file) {
  std::string copy;
  if (!CopyPath(file, &copy)) return 0;
  return ValueNames(copy) && VUFileExists(copy.c_str()) ? 1 : 0;
}

int VUUnInstallScreensaver(const char* file) {
  std::string copy;
  if (!CopyPath(file, &copy)) return 0;
  if (ValueNames(copy) && !VURegSetString(VURegRoot::kCurrentUser, kDesktopKey, kSaverValue, "")) return 0;
  if (VUFileExists(copy.c_str())) vesta::platform::RemoveFile(copy.c_str());
  return VUFileExists(copy.c_str()) ? 0 : 1;
}
