// The registry for tools: keys named by their full path, values of every
// type, trees and registry files.
#include <cstring>
#include <string>

#include "platform/registry.h"
#include "vesta/vsetu.h"
#include "vsetu/machine/text_out.h"

namespace platform = vesta::platform;
using vesta::vsetu::CopyOut;

namespace {

// The root and the rest of a key path: the root's name or short name, then
// nothing or a back-slash and the subkey. False for any other text.
bool SplitKeyPath(const char* keyPath, platform::RegRoot* root, std::string* subkey) {
  if (keyPath == nullptr) return false;
  const char* cut = std::strchr(keyPath, '\\');
  if (!platform::RegRootTyped(std::string(keyPath, cut != nullptr ? cut : keyPath + std::strlen(keyPath)), root)) {
    return false;
  }
  const char* rest = cut != nullptr ? cut : "";
  while (*rest == '\\') ++rest;
  *subkey = rest;
  while (!subkey->empty() && subkey->back() == '\\') subkey->pop_back();
  return true;
}

// The same for a request: a key path that is none is the problem told.
bool KeyOf(const char* keyPath, platform::RegRoot* root, std::string* subkey) {
  if (SplitKeyPath(keyPath, root, subkey)) return true;
  platform::ReportRegistryProblem(std::string("registry: \"") + (keyPath != nullptr ? keyPath : "") +
                                  "\" is not a key path: it begins with none of HKEY_CLASSES_ROOT, "
                                  "HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG "
                                  "(or HKCR, HKCU, HKLM, HKU, HKCC)");
  return false;
}

// A request refused before it reaches the registry.
int Refuse(const std::string& why) {
  platform::ReportRegistryProblem("registry: " + why);
  return 0;
}

}  // namespace

int VSRegIsKeyPath(const char* keyPath) {
  platform::RegRoot root;
  std::string subkey;
  return SplitKeyPath(keyPath, &root, &subkey) ? 1 : 0;
}

int VSRegKeyExists(const char* keyPath) {
  platform::RegRoot root;
  std::string subkey;
  return KeyOf(keyPath, &root, &subkey) && platform::RegistryKeyExists(root, subkey.c_str()) ? 1 : 0;
}

int VSRegReadValue(const char* keyPath, const char* name, unsigned* type, char* data, int size, int* length) {
  platform::RegRoot root;
  std::string subkey;
  platform::RegistryValue value;
  if (!KeyOf(keyPath, &root, &subkey) || !platform::RegistryReadValue(root, subkey.c_str(), name, &value)) {
    return 0;
  }
  if (type != nullptr) *type = value.type;
  if (length != nullptr) *length = static_cast<int>(value.data.size());
  if (data != nullptr && size > 0) {
    size_t copied = value.data.size() < static_cast<size_t>(size) ? value.data.size() : static_cast<size_t>(size);
    std::memcpy(data, value.data.data(), copied);
  }
  return 1;
}

int VSRegWriteValue(const char* keyPath, const char* name, unsigned type, const char* data, int length) {
  platform::RegRoot root;
  std::string subkey;
  if (length < 0 || (data == nullptr && length > 0)) {
    return Refuse("the data of value \"" + std::string(name != nullptr ? name : "") + "\" has no bytes for its length " +
                  std::to_string(length));
  }
  if (!KeyOf(keyPath, &root, &subkey)) return 0;
  platform::RegistryValue value;
  value.type = type;
  value.data.assign(data == nullptr ? "" : data, static_cast<size_t>(length));
  return platform::RegistryWriteValue(root, subkey.c_str(), name, value) ? 1 : 0;
}

int VSRegValueNameAt(const char* keyPath, int index, char* out, int size) {
  platform::RegRoot root;
  std::string subkey;
  std::string name;
  if (index < 0 || !KeyOf(keyPath, &root, &subkey) ||
      !platform::RegistryValueAt(root, subkey.c_str(), index, &name)) {
    return 0;
  }
  CopyOut(name, out, size);
  return 1;
}

int VSRegSubkeyAt(const char* keyPath, int index, char* out, int size) {
  platform::RegRoot root;
  std::string subkey;
  std::string name;
  if (index < 0 || !KeyOf(keyPath, &root, &subkey) ||
      !platform::RegistrySubkeyAt(root, subkey.c_str(), index, &name)) {
    return 0;
  }
  CopyOut(name, out, size);
  return 1;
}

int VSRegDeleteValue(const char* keyPath, const char* name) {
  platform::RegRoot root;
  std::string subkey;
  return KeyOf(keyPath, &root, &subkey) && platform::RegistryDeleteValue(root, subkey.c_str(), name) ? 1 : 0;
}

int VSRegDeleteKeyTree(const char* keyPath) {
  platform::RegRoot root;
  std::string subkey;
  if (!KeyOf(keyPath, &root, &subkey)) return 0;
  if (subkey.empty()) return Refuse(std::string("a root key is never deleted: \"") + keyPath + "\"");
  return platform::RegistryDeleteTree(root, subkey.c_str()) ? 1 : 0;
}

int VSRegImportFile(const char* path) {
  if (path == nullptr) return Refuse("no file named to import");
  return platform::RegistryImportFile(path) ? 1 : 0;
}

int VSRegExportFile(const char* keyPath, const char* path, int format) {
  platform::RegRoot root;
  std::string subkey;
  if (path == nullptr) return Refuse("no file named to export to");
  if (!KeyOf(keyPath, &root, &subkey)) return 0;
  if (format != kVSRegFileRegedit4 && format != kVSRegFileVersion5) {
    return Refuse(std::string(path) + ": " + std::to_string(format) + " is not a registry file format");
  }
  return platform::RegistryExportFile(root, subkey.c_str(), path,
                                      format == kVSRegFileVersion5 ? platform::RegistryFileFormat::kVersion5
                                                                   : platform::RegistryFileFormat::kRegedit4)
             ? 1
             : 0;
}

int VSRegGetLastProblem(char* out, int size) {
  std::string problem = platform::RegistryLastProblem();
  CopyOut(problem, out, size);
  return problem.empty() ? 0 : 1;
}
