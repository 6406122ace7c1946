// Free names for temporary and user-data files in the installation's temp
// folder, and their bulk deletion.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/stamp.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"
#include "vsetu/services/install_paths.h"

namespace {

// Deletes every temp + prefix + "*" + extension; 1 when one was found.
int DeleteAll(const char* prefix, const char* extension) {
  char folder[kVSBuffer];
  if (!VSGetTempDir(folder)) return 0;
  std::string pattern = std::string(folder) + prefix + "*" + extension;
  std::vector<std::string> found = vesta::platform::FindFiles(pattern.c_str());
  if (found.empty()) return 0;
  char path[kVUPathBuffer];
  for (const std::string& file : found) {
    VUCopyN(path, file.c_str(), kVUMaxPath);
    vesta::platform::RemoveFile(path);  // one that stays is skipped
  }
  return 1;
}

}  // namespace

int VSGetTempName(char* out) {
  char prefix[kVSBuffer];
  if (out == nullptr || !VSGetTempDir(prefix) || !vesta::vsetu::ComposePath(prefix, prefix, "\\Vt")) {
    return 0;
  }
  char candidate[kVSBuffer + 16];
  for (int n = 0; n <= 9998; ++n) {
    std::snprintf(candidate, sizeof candidate, "%s%04d%s", prefix, n, ".tmp");
    if (std::strlen(candidate) >= static_cast<size_t>(kVSBuffer)) return 0;
    if (!VUFileExists(candidate)) {
      std::memcpy(out, candidate, std::strlen(candidate) + 1);
      return 1;
    }
  }
  return 0;
}

int VSGetVUDName(char* out) {
  char name[kVSBuffer];
  char stamp[kVUStampText + 1];
  VUMakeNameStamp(stamp);
  std::string suffix = std::string("\\World") + stamp + ".vud";
  if (out == nullptr || !VSGetTempDir(name) || !vesta::vsetu::ComposePath(name, name, suffix.c_str())) {
    return 0;
  }
  if (VUFileExists(name)) return 0;
  std::memcpy(out, name, std::strlen(name) + 1);
  return 1;
}

int VSDeleteAllTempFiles() { return DeleteAll("\\Vt", ".tmp"); }

int VSDeleteAllVUDFiles() { return DeleteAll("\\World", ".vud"); }
