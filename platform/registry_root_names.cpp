// The names of the registry's root keys, the same on every platform.
#include "platform/registry.h"

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

}  // namespace vesta::platform
