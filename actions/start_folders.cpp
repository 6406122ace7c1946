#include "actions/start_folders.h"

#include <string>

#include "common/paths.h"
#include "common/text.h"
#include "platform/shell_places.h"

namespace {

int GetFolder(void* window, vesta::platform::SpecialFolder which, char* out) {
  std::string folder;
  if (out == nullptr || !vesta::platform::SpecialFolderPath(window, which, &folder)) return 0;
  if (folder.size() > static_cast<size_t>(kVUMaxPath)) return 0;
  return VUCopyN(out, folder.c_str(), kVUMaxPath);
}

}  // namespace

int VUGetStartUpFolder(void* window, char* out) {
  return GetFolder(window, vesta::platform::SpecialFolder::kStartUp, out);
}

int VUGetStartMenuFolder(void* window, char* out) {
  return GetFolder(window, vesta::platform::SpecialFolder::kPrograms, out);
}
