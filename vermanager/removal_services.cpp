#include "vermanager/removal_services.h"

#include <cstdio>
#include <string>

#include "actions/registry.h"
#include "platform/file_system.h"
#include "vermanager/registry_path.h"

namespace {

namespace platform = vesta::platform;
using platform::RegRoot;

// Deletes the first subkey of key when its tree reaches at most levels
// below key. Windows deletes only keys without subkeys, so each subkey's
// own subkeys go first.
int DeleteFirstSubkeyWithin(RegRoot root, const std::string& key, int levels) {
  std::string name;
  if (levels <= 0 || !platform::RegistrySubkeyAt(root, key.c_str(), 0, &name)) return 0;
  std::string child = key + "\\" + name;
  while (DeleteFirstSubkeyWithin(root, child, levels - 1)) {
  }
  return platform::RegistryDeleteKey(root, child.c_str()) ? 1 : 0;
}

// The subkey without trailing back-slashes, which would double the one
// joined to a subkey's name.
std::string KeyWithoutTrailingSeparators(const char* subkey) {
  std::string key = subkey != nullptr ? subkey : "";
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

}  // namespace

int FileIsReadable(const char* path) {
  // A folder opens for reading on POSIX, never on Windows; what the
  // manifest names outside the installation is not looked at.
  if (path == nullptr || *path == '\0' || !platform::IsInsideRoot(path, nullptr) || platform::FolderExists(path)) {
    return 0;
  }
  FILE* stream = platform::OpenStream(path, "r");
  if (stream == nullptr) return 0;
  std::fclose(stream);
  return 1;
}

int RegistryKeyExists(const char* keyPath) {
  RegRoot root;
  const char* subkey = nullptr;
  if (!ParseRegistryPath(keyPath, &root, &subkey)) return 0;
  return platform::RegistryKeyExists(root, subkey) ? 1 : 0;
}

int DeleteRegistryKeyTree(const char* keyPath) {
  RegRoot root;
  const char* subkey = nullptr;
  if (!ParseRegistryPath(keyPath, &root, &subkey)) return 0;
  std::string key = KeyWithoutTrailingSeparators(subkey);
  if (key.empty()) return 0;
  while (DeleteFirstSubkeyWithin(root, key, kMaxKeyTreeDepth)) {
  }
  return platform::RegistryDeleteKey(root, key.c_str()) ? 1 : 0;
}

int DeleteFirstSubkey(RegRoot root, const char* subkey) {
  return DeleteFirstSubkeyWithin(root, KeyWithoutTrailingSeparators(subkey), kMaxKeyTreeDepth);
}

int ReadRegistryString(RegRoot root, const char* subkey, const char* name, char* out) {
  return VURegGetString(root, subkey != nullptr ? subkey : "", name, out, kRegistryStringBuffer);
}
