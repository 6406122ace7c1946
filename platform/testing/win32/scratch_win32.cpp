#include <windows.h>

#include <stdexcept>
#include <string>

#include "platform/testing/scratch.h"

namespace vesta::testing {
namespace {

// Names the scratch area for the test program's children.
const char kShareVariable[] = "VESTA_TEST_SCRATCH";
// Below HKEY_CURRENT_USER: one key per scratch area.
const char kTestKeys[] = "Software\\VestaTest";

struct PredefinedKey {
  HKEY key;
  const char* name;
};

const PredefinedKey kRedirected[] = {
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"}, {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},   {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
};
constexpr int kRedirectedCount = sizeof kRedirected / sizeof kRedirected[0];

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// Through the Win32 environment, which CreateProcessA hands to children.
std::string GetVariable(const char* name) {
  char value[1024];
  DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

void SetVariable(const char* name, const std::string& value) {
  SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

std::string FolderOf(const std::string& id) {
  char temp[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
  return std::string(temp) + "vesta-test-" + id + "\\";
}

std::string KeysOf(const std::string& id) { return std::string(kTestKeys) + "\\" + id; }

void RestorePredefinedKeys() {
  for (const PredefinedKey& predefined : kRedirected) RegOverridePredefKey(predefined.key, nullptr);
}

// Points the predefined keys at the area's keys (made first when create):
// all of them, or none.
bool RedirectPredefinedKeys(const std::string& id, bool create) {
  RestorePredefinedKeys();  // the area's keys are in the real HKEY_CURRENT_USER
  HKEY opened[kRedirectedCount] = {};
  bool ok = true;
  for (int i = 0; i < kRedirectedCount && ok; ++i) {
    std::string path = KeysOf(id) + "\\" + kRedirected[i].name;
    LONG result = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS, nullptr, &opened[i], nullptr)
                         : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &opened[i]);
    if (result != ERROR_SUCCESS) {
      opened[i] = nullptr;
      ok = false;
    }
  }
  for (int i = 0; i < kRedirectedCount && ok; ++i) {
    ok = RegOverridePredefKey(kRedirected[i].key, opened[i]) == ERROR_SUCCESS;
  }
  // The redirection keeps a handle of its own.
  for (HKEY key : opened) {
    if (key != nullptr) RegCloseKey(key);
  }
  if (!ok) RestorePredefinedKeys();
  return ok;
}

void RemoveKeys(const std::string& id) {
  RegDeleteTreeA(HKEY_CURRENT_USER, KeysOf(id).c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, kTestKeys);  // fails while another area is left
}

}  // namespace

ScratchFolder::ScratchFolder(Owner owner) : owns_(owner == kOwn) {
  savedId_ = GetVariable(kShareVariable);
  if (!owns_) {
    if (savedId_.empty()) throw std::runtime_error("no scratch area of a parent");
    id_ = savedId_;
    folder_ = FolderOf(id_);
    hostRoot_ = folder_;
    if (!RedirectPredefinedKeys(id_, false)) throw std::runtime_error("cannot open the parent's scratch keys");
    return;
  }

  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000 && folder_.empty(); ++attempt) {
    std::string id = std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    std::string candidate = FolderOf(id);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      id_ = id;
      folder_ = candidate;
      hostRoot_ = candidate;
    }
  }
  if (folder_.empty()) throw std::runtime_error("cannot make a scratch folder");
  // A few tries: another test program may be removing the empty parent key.
  bool redirected = false;
  for (int attempt = 0; attempt < 5 && !redirected; ++attempt) redirected = RedirectPredefinedKeys(id_, true);
  if (!redirected) {
    RemoveKeys(id_);
    RemoveTree(hostRoot_);
    if (!savedId_.empty()) RedirectPredefinedKeys(savedId_, false);
    throw std::runtime_error("cannot make the scratch registry keys");
  }
  SetVariable(kShareVariable, id_);
}

ScratchFolder::~ScratchFolder() {
  RestorePredefinedKeys();
  if (!owns_) return;
  RemoveKeys(id_);
  RemoveTree(hostRoot_);
  SetVariable(kShareVariable, savedId_);
  if (!savedId_.empty()) RedirectPredefinedKeys(savedId_, false);
}

}  // namespace vesta::testing
