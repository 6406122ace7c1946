#include "vermanager/registry_path.h"

#include <cstring>

namespace {

using vesta::platform::RegRoot;

// In the order the names are tried.
constexpr RegRoot kRoots[] = {
    RegRoot::kClassesRoot, RegRoot::kCurrentConfig,   RegRoot::kCurrentUser, RegRoot::kLocalMachine,
    RegRoot::kUsers,       RegRoot::kPerformanceData, RegRoot::kDynData,
};

}  // namespace

int ParseRegistryPath(const char* path, RegRoot* root, const char** subkey) {
  if (path == nullptr || root == nullptr || subkey == nullptr) return 0;
  for (RegRoot candidate : kRoots) {
    const char* name = vesta::platform::RegRootName(candidate);
    size_t length = std::strlen(name);
    if (std::strncmp(path, name, length) != 0) continue;
    *root = candidate;
    *subkey = path[length] != '\0' ? path + length + 1 : path + length;
    return 1;
  }
  return 0;
}
