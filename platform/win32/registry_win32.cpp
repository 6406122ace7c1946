#include "platform/registry.h"

#include <windows.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/process_state.h"

namespace vesta::platform {
namespace {


HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegRoot::kCurrentConfig: return HKEY_CURRENT_CONFIG;
    case RegRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case RegRoot::kUsers: return HKEY_USERS;
    case RegRoot::kPerformanceData: return HKEY_PERFORMANCE_DATA;
    case RegRoot::kDynData: return HKEY_DYN_DATA;
  }
  return HKEY_CURRENT_USER;
}

const char* KeyPath(const char* key) { return key != nullptr ? key : ""; }
const char* ValueName(const char* name) { return name != nullptr ? name : ""; }
bool IsRoot(const char* key) { return key == nullptr || *key == '\0'; }

// A missing key or value is an answer, not a problem; anything else is
// kept for RegistryLastProblem. Returns whether result is a success.
bool Check(LONG result, RegRoot root, const char* key) {
  if (result == ERROR_SUCCESS) return true;
  if (result != ERROR_FILE_NOT_FOUND) {
    std::lock_guard<std::mutex> lock(state::Registry().mutex);
    state::Registry().last = std::string("registry: ") + RegRootName(root) + "\\" + KeyPath(key) + ": error " +
                   std::to_string(result);
  }
  return false;
}

// An open key, closed when it goes out of scope.
class OpenKey {
 public:
  OpenKey(RegRoot root, const char* key, REGSAM access) {
    ok_ = Check(RegOpenKeyExA(RootKey(root), KeyPath(key), 0, access, &key_), root, key);
  }
  ~OpenKey() {
    if (ok_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  bool ok() const { return ok_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  bool ok_ = false;
};

}  // namespace

bool RegistryReadString(RegRoot root, const char* key, const char* name, std::string* text) {
  if (text == nullptr) return false;
  OpenKey open(root, key, KEY_QUERY_VALUE);
  if (!open.ok()) return false;
  std::vector<char> buffer(256);
  while (true) {
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size());
    LONG result = RegQueryValueExA(open.get(), ValueName(name), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result == ERROR_MORE_DATA) {
      buffer.resize(size + 1);  // and again: the value may have grown meanwhile
      continue;
    }
    if (!Check(result, root, key) || type != REG_SZ) return false;
    // The stored data need not end with a null.
    size_t length = 0;
    while (length < size && buffer[length] != '\0') ++length;
    text->assign(buffer.data(), length);
    return true;
  }
}

bool RegistryWriteString(RegRoot root, const char* key, const char* name, const char* text) {
  if (text == nullptr) return false;
  HKEY handle;
  if (!Check(RegCreateKeyExA(RootKey(root), KeyPath(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_SET_VALUE, nullptr, &handle, nullptr),
             root, key)) {
    return false;
  }
  LONG result = RegSetValueExA(handle, ValueName(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                               static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(handle);
  return Check(result, root, key);
}

bool RegistryKeyExists(RegRoot root, const char* key) {
  if (IsRoot(key)) return true;
  return OpenKey(root, key, KEY_QUERY_VALUE).ok();
}

bool RegistryCreateKey(RegRoot root, const char* key) {
  if (IsRoot(key)) return true;
  HKEY handle;
  if (!Check(RegCreateKeyExA(RootKey(root), key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE,
                             nullptr, &handle, nullptr),
             root, key)) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

bool RegistrySubkeyAt(RegRoot root, const char* key, int index, std::string* name) {
  if (name == nullptr || index < 0) return false;
  OpenKey open(root, key, KEY_ENUMERATE_SUB_KEYS);
  if (!open.ok()) return false;
  char found[256];  // the longest key name and its null
  DWORD length = sizeof found;
  LONG result = RegEnumKeyExA(open.get(), static_cast<DWORD>(index), found, &length, nullptr, nullptr,
                              nullptr, nullptr);
  if (result == ERROR_NO_MORE_ITEMS || !Check(result, root, key)) return false;
  name->assign(found, length);
  return true;
}

bool RegistryDeleteKey(RegRoot root, const char* key) {
  if (IsRoot(key)) return false;
  DWORD subkeys = 0;
  {
    OpenKey open(root, key, KEY_QUERY_VALUE);
    if (!open.ok()) return false;
    LONG result = RegQueryInfoKeyA(open.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!Check(result, root, key)) return false;
  }
  // Checked here: some versions of RegDeleteKey remove the whole subtree.
  if (subkeys > 0) return false;
  return Check(RegDeleteKeyA(RootKey(root), key), root, key);
}

bool RegistryDeleteValue(RegRoot root, const char* key, const char* name) {
  OpenKey open(root, key, KEY_SET_VALUE);
  return open.ok() && Check(RegDeleteValueA(open.get(), ValueName(name)), root, key);
}

std::string RegistryLastProblem() {
  std::lock_guard<std::mutex> lock(state::Registry().mutex);
  return state::Registry().last;
}

}  // namespace vesta::platform
