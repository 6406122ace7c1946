// The names of the registry's root keys, the same on every platform.
#include "platform/registry.h"

#include <cctype>

namespace vesta::platform {

const char* RegRootName(RegRoot root) {
  switch (root) {
    case RegRoot::kClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegRoot::kCurrentConfig: return "HKEY_CURRENT_CONFIG";
    case RegRoot::kCurrentUser: return "HKEY_CURRENT_USER";
    case RegRoot::kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case RegRoot::kUsers: return "HKEY_USERS";
    case RegRoot::kPerformanceData: return "HKEY_PERFORMANCE_DATA";
    case RegRoot::kDynData: return "HKEY_DYN_DATA";
  }
  return "";
}

bool RegRootNamed(const std::string& name, RegRoot* root) {
  for (RegRoot candidate : {RegRoot::kClassesRoot, RegRoot::kCurrentConfig, RegRoot::kCurrentUser,
                            RegRoot::kLocalMachine, RegRoot::kUsers, RegRoot::kPerformanceData, RegRoot::kDynData}) {
    const char* known = RegRootName(candidate);
    size_t i = 0;
    while (i < name.size() && known[i] != '\0' &&
           std::toupper(static_cast<unsigned char>(name[i])) == static_cast<unsigned char>(known[i])) {
      ++i;
    }
    if (i == name.size() && known[i] == '\0') {
      *root = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace vesta::platform
