// The names of the registry's root keys, the same on every platform.
#include "platform/registry.h"
#include "platform/windows_names.h"

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

namespace {

constexpr RegRoot kAllRoots[] = {RegRoot::kClassesRoot,  RegRoot::kCurrentConfig,    RegRoot::kCurrentUser,
                                 RegRoot::kLocalMachine, RegRoot::kUsers,            RegRoot::kPerformanceData,
                                 RegRoot::kDynData};

// The short names that the registry's console tool takes.
const struct {
  const char* name;
  RegRoot root;
} kShortNames[] = {
    {"HKCR", RegRoot::kClassesRoot}, {"HKCC", RegRoot::kCurrentConfig}, {"HKCU", RegRoot::kCurrentUser},
    {"HKLM", RegRoot::kLocalMachine}, {"HKU", RegRoot::kUsers},
};

}  // namespace

bool RegRootNamed(const std::string& name, RegRoot* root) {
  for (RegRoot candidate : kAllRoots) {
    if (SameName(name, RegRootName(candidate))) {
      *root = candidate;
      return true;
    }
  }
  return false;
}

bool RegRootTyped(const std::string& name, RegRoot* root) {
  for (const auto& known : kShortNames) {
    if (SameName(name, known.name) || SameName(name, RegRootName(known.root))) {
      *root = known.root;
      return true;
    }
  }
  return false;
}

}  // namespace vesta::platform
