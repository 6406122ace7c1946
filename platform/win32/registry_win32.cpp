#include "platform/registry.h"

#include <windows.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_error.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/process_state.h"
#include "platform/registry_file/hive.h"
#include "platform/registry_file/hive_file.h"
#include "platform/registry_file/import_steps.h"

namespace vesta::platform {
namespace {

using regfile::Hive;
using regfile::HiveLine;
using regfile::HiveValue;

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
    ReportRegistryProblem(std::string("registry: ") + RegRootName(root) + "\\" + KeyPath(key) + ": error " +
           std::to_string(result));
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

// Reads a value's type and data through the ANSI API (text in the code
// page). False when it is missing or cannot be read.
bool QueryValue(RegRoot root, const char* key, const char* name, DWORD* type, std::string* data) {
  OpenKey open(root, key, KEY_QUERY_VALUE);
  if (!open.ok()) return false;
  std::vector<char> buffer(256);
  while (true) {
    DWORD size = static_cast<DWORD>(buffer.size());
    LONG result = RegQueryValueExA(open.get(), ValueName(name), nullptr, type,
                                   reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result == ERROR_MORE_DATA) {
      buffer.resize(size + 1);  // and again: the value may have grown meanwhile
      continue;
    }
    if (!Check(result, root, key)) return false;
    data->assign(buffer.data(), size);
    return true;
  }
}

std::wstring Wide(const std::string& utf8) {
  std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string Utf8(const wchar_t* text, size_t length) {
  return Utf16ToUtf8(std::u16string(text, text + length));
}

// The data of a value as the registry keeps it (text in UTF-16LE) and
// its name, from the value at index of an open key. False past the last.
bool EnumValue(HKEY handle, DWORD index, HiveValue* value, LONG* result) {
  std::vector<wchar_t> name(16384);  // the longest value name and its null
  std::vector<BYTE> data(256);
  while (true) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    *result = RegEnumValueW(handle, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (*result == ERROR_MORE_DATA) {
      data.resize(size + 2);
      continue;
    }
    if (*result != ERROR_SUCCESS) return false;
    value->name = Utf8(name.data(), nameLength);
    value->type = type;
    value->data.assign(reinterpret_cast<const char*>(data.data()), size);
    return true;
  }
}

// Adds the key's values to the file to export under keyName, and gives its
// subkeys' names. False, with the problem reported, when a part of it cannot
// be read or the file cannot hold it.
bool ExportOneKey(HKEY handle, const std::string& keyName, Hive* file, std::vector<std::wstring>* subkeys) {
  std::vector<HiveValue> values;
  LONG result = ERROR_SUCCESS;
  HiveValue value;
  for (DWORD i = 0; EnumValue(handle, i, &value, &result); ++i) values.push_back(value);
  if (result != ERROR_NO_MORE_ITEMS) {
    ReportRegistryProblem("registry: " + keyName + ": cannot read its values: error " + std::to_string(result));
    return false;
  }
  if (std::string problem = regfile::AppendExportKey(file, keyName, values); !problem.empty()) {
    ReportRegistryProblem("registry: " + problem + " (nothing written)");
    return false;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];  // the longest key name and its null
    DWORD length = 256;
    result = RegEnumKeyExW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) break;
    subkeys->emplace_back(name, length);
  }
  if (result != ERROR_NO_MORE_ITEMS) {
    ReportRegistryProblem("registry: " + keyName + ": cannot read its subkeys: error " + std::to_string(result));
    return false;
  }
  return true;
}

// Adds the open key, its values and its subkeys' to the file to export,
// each key after its parent, under keyName; without recursion, however deep
// the tree. False, with the problem reported, when a part of it cannot be
// read.
bool ExportKey(HKEY top, const std::string& keyName, Hive* file) {
  struct Pending {
    HKEY parent;  // null for top itself
    std::wstring name;
    std::string keyName;
  };
  // Every key still to add, the next one last; the handles of the keys
  // whose subkeys are still to come stay open.
  std::vector<Pending> pending{{nullptr, std::wstring(), keyName}};
  std::vector<HKEY> open;
  bool ok = true;
  while (ok && !pending.empty()) {
    Pending next = std::move(pending.back());
    pending.pop_back();
    HKEY handle = top;
    if (next.parent != nullptr) {
      const LONG result = RegOpenKeyExW(next.parent, next.name.c_str(), 0, KEY_READ, &handle);
      if (result != ERROR_SUCCESS) {
        ReportRegistryProblem("registry: " + next.keyName + ": cannot open: error " + std::to_string(result));
        ok = false;
        break;
      }
      open.push_back(handle);
    }
    std::vector<std::wstring> subkeys;
    ok = ExportOneKey(handle, next.keyName, file, &subkeys);
    for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) {
      pending.push_back({handle, *it, next.keyName + "\\" + Utf8(it->c_str(), it->size())});
    }
  }
  for (HKEY handle : open) RegCloseKey(handle);
  return ok;
}

// A key path and value name within the registry's limits; false, with the
// problem reported, beyond them.
bool WithinLimits(RegRoot root, const char* key, const char* name) {
  std::string path;
  for (const char* p = KeyPath(key); *p != '\0'; ++p) {
    if (*p == '\\' && (path.empty() || path.back() == '\\')) continue;
    path += *p;
  }
  if (!path.empty() && path.back() == '\\') path.pop_back();
  std::string problem = regfile::KeyPathProblem(Utf16ToUtf8(AnsiToUtf16(path)));
  if (problem.empty() && name != nullptr) problem = regfile::ValueNameProblem(Utf16ToUtf8(AnsiToUtf16(name)));
  if (problem.empty()) return true;
  ReportRegistryProblem(std::string("registry: ") + RegRootName(root) + "\\" + path.substr(0, 60) + (path.size() > 60 ? "..." : "") +
         ": " + problem);
  return false;
}

// Makes one step of a file to import. False, with the problem reported,
// when it cannot be made; a key or value to delete that is missing is no
// problem.
bool ApplyStep(const regfile::ImportStep& step) {
  const std::wstring path = Wide(step.path);
  const std::string where = std::string(RegRootName(step.root)) + (step.path.empty() ? "" : "\\" + step.path);
  auto check = [&where](LONG result) {
    if (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) return true;
    ReportRegistryProblem("registry: " + where + ": error " + std::to_string(result));
    return false;
  };
  HKEY handle;
  switch (step.kind) {
    case HiveLine::Kind::kDeleteKey:
      return check(RegDeleteTreeW(RootKey(step.root), path.c_str()));
    case HiveLine::Kind::kDeleteValue: {
      LONG result = RegOpenKeyExW(RootKey(step.root), path.c_str(), 0, KEY_SET_VALUE, &handle);
      if (result != ERROR_SUCCESS) return check(result);
      result = RegDeleteValueW(handle, Wide(step.value.name).c_str());
      RegCloseKey(handle);
      return check(result);
    }
    default: {
      LONG result = RegCreateKeyExW(RootKey(step.root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_SET_VALUE, nullptr, &handle, nullptr);
      if (result != ERROR_SUCCESS) return check(result);
      if (step.kind == HiveLine::Kind::kValue) {
        result = RegSetValueExW(handle, Wide(step.value.name).c_str(), 0, step.value.type,
                                reinterpret_cast<const BYTE*>(step.value.data.data()),
                                static_cast<DWORD>(step.value.data.size()));
      }
      RegCloseKey(handle);
      return check(result);
    }
  }
}

}  // namespace

bool RegistryReadString(RegRoot root, const char* key, const char* name, std::string* text) {
  DWORD type = 0;
  std::string data;
  if (text == nullptr || !QueryValue(root, key, name, &type, &data) || type != REG_SZ) return false;
  // The stored data need not end with a null.
  text->assign(data.c_str(), std::strlen(data.c_str()));
  return true;
}

bool RegistryWriteString(RegRoot root, const char* key, const char* name, const char* text) {
  if (text == nullptr || !WithinLimits(root, key, name)) return false;
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
  if (!WithinLimits(root, key, nullptr)) return false;
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

bool RegistryReadValue(RegRoot root, const char* key, const char* name, RegistryValue* value) {
  DWORD type = 0;
  std::string data;
  if (value == nullptr || !QueryValue(root, key, name, &type, &data)) return false;
  value->type = type;
  value->data = std::move(data);
  return true;
}

bool RegistryWriteValue(RegRoot root, const char* key, const char* name, const RegistryValue& value) {
  if (!WithinLimits(root, key, name)) return false;
  HKEY handle;
  if (!Check(RegCreateKeyExA(RootKey(root), KeyPath(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_SET_VALUE, nullptr, &handle, nullptr),
             root, key)) {
    return false;
  }
  LONG result = RegSetValueExA(handle, ValueName(name), 0, value.type,
                               reinterpret_cast<const BYTE*>(value.data.data()),
                               static_cast<DWORD>(value.data.size()));
  RegCloseKey(handle);
  return Check(result, root, key);
}

bool RegistryValueAt(RegRoot root, const char* key, int index, std::string* name) {
  if (name == nullptr || index < 0) return false;
  OpenKey open(root, key, KEY_QUERY_VALUE);
  if (!open.ok()) return false;
  std::vector<char> found(16384);  // the longest value name and its null
  DWORD length = static_cast<DWORD>(found.size());
  LONG result = RegEnumValueA(open.get(), static_cast<DWORD>(index), found.data(), &length, nullptr, nullptr,
                              nullptr, nullptr);
  if (result == ERROR_NO_MORE_ITEMS || !Check(result, root, key)) return false;
  name->assign(found.data(), length);
  return true;
}

bool RegistryDeleteTree(RegRoot root, const char* key) {
  if (IsRoot(key) || !RegistryKeyExists(root, key)) return false;
  return Check(RegDeleteTreeA(RootKey(root), key), root, key);
}

bool RegistryExportFile(RegRoot root, const char* key, const char* path, RegistryFileFormat format) {
  if (path == nullptr) return false;
  OpenKey open(root, key, KEY_READ);
  if (!open.ok()) return false;
  Hive file = regfile::NewExportFile(format == RegistryFileFormat::kVersion5);
  const std::string keyName = std::string(RegRootName(root)) + (IsRoot(key) ? "" : std::string("\\") + key);
  // The key's name in the system's code page, as the ANSI API takes it, in
  // UTF-8 as the file keeps it.
  std::wstring wide(keyName.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, keyName.data(), static_cast<int>(keyName.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  if (!ExportKey(open.get(), Utf8(wide.c_str(), wide.size()), &file)) return false;
  if (ReplaceWholeFile(path, regfile::WriteHive(file), FileMode::kBinary)) return true;
  ReportRegistryProblem(std::string("registry: ") + path + ": cannot write: " + LastFileError().reason);
  return false;
}

bool RegistryImportFile(const char* path) {
  std::string bytes;
  if (path == nullptr || !ReadWholeFile(path, &bytes, FileMode::kBinary, regfile::kMaxRegistryFileSize)) {
    ReportRegistryProblem(std::string("registry: ") + (path != nullptr ? path : "") + ": cannot read: " + LastFileError().reason);
    return false;
  }
  Hive file;
  regfile::HiveSyntaxError error;
  if (!regfile::ParseImportFile(bytes, &file, &error)) {
    ReportRegistryProblem(std::string("registry: ") + path + ":" + std::to_string(error.line) + ": " + error.what);
    return false;
  }
  regfile::ImportProblem problem;
  const std::vector<regfile::ImportStep> steps = regfile::ImportSteps(file, &problem);
  bool ok = true;
  for (const regfile::ImportStep& step : steps) ok = ApplyStep(step) && ok;
  if (problem.line != 0) {
    // Reported last, so that it is the problem the caller sees.
    ReportRegistryProblem(std::string("registry: ") + path + ":" + std::to_string(problem.line) + ": " + problem.what);
    ok = false;
  }
  return ok;
}

}  // namespace vesta::platform
