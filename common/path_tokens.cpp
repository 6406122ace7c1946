#include "common/path_tokens.h"

#include <cstring>
#include <string>
#include <string_view>

#include "common/layer_state.h"
#include "common/text.h"

namespace {

using vesta::common::FolderToken;

vesta::common::PathTokens& State() { return vesta::common::Tokens(); }

// True when the text ends with a separator, which a folder's name then
// keeps; any other folder's name gets a back-slash.
bool EndsWithSeparator(std::string_view text) { return !text.empty() && (text.back() == '\\' || text.back() == '/'); }

std::string WithBackSlash(const char* folder) {
  std::string text = folder != nullptr ? folder : "";
  if (!text.empty() && !EndsWithSeparator(text)) text += '\\';
  return text;
}

// True when path begins with folder (which ends with a back-slash), or is
// the folder itself without it; *rest is what follows the back-slash.
bool InFolder(const char* path, const std::string& folder, const char** rest) {
  if (folder.empty()) return false;
  const size_t length = folder.size();
  if (VUCompareN(path, folder.c_str(), static_cast<int>(length))) {
    *rest = path + length;
    return true;
  }
  if (std::strlen(path) == length - 1 && VUCompareN(path, folder.c_str(), static_cast<int>(length - 1))) {
    *rest = path + length - 1;
    return true;
  }
  return false;
}

// Stores prefix + rest into path when it fits size.
int Replace(char* path, int size, const std::string& prefix, const char* rest) {
  std::string result = prefix + rest;
  if (result.size() >= static_cast<size_t>(size)) return 0;
  std::memcpy(path, result.c_str(), result.size() + 1);
  return 1;
}

// Replaces a leading token of the machine's folders.
int ExpandMachineTokens(char* path, int size) {
  for (const FolderToken& entry : State().folders) {
    const size_t length = std::strlen(entry.token);
    if (std::strncmp(path, entry.token, length) == 0 && !entry.folder.empty()) {
      return Replace(path, size, entry.folder, path + length);
    }
  }
  return 1;
}

}  // namespace

int VUSetNormalisationFolders(const char* windows, const char* system, const char* programs,
                              const char* installation) {
  vesta::common::PathTokens& state = State();
  state.folders[0].folder = WithBackSlash(windows);
  state.folders[1].folder = WithBackSlash(system);
  state.folders[2].folder = WithBackSlash(programs);
  state.folders[3].folder = WithBackSlash(installation);
  return 1;
}

bool VUIsRelativeBase(const char* folder) {
  // As WithBackSlash would make it, without making it.
  const std::string_view base = State().base;
  const std::string_view name = folder != nullptr ? folder : "";
  if (name.empty() || EndsWithSeparator(name)) return base == name;
  return base.size() == name.size() + 1 && base.back() == '\\' && base.substr(0, name.size()) == name;
}

std::string VUSetRelativeBase(const char* folder) {
  std::string previous = State().base;
  State().base = WithBackSlash(folder);
  return previous;
}

int VUNormalisePath(char* path, int size) {
  if (path == nullptr || size <= 0) return 0;
  const FolderToken* best = nullptr;
  const char* bestRest = nullptr;
  for (const FolderToken& entry : State().folders) {
    const char* rest = nullptr;
    if (InFolder(path, entry.folder, &rest) && (best == nullptr || entry.folder.size() > best->folder.size())) {
      best = &entry;
      bestRest = rest;
    }
  }
  if (best == nullptr) return 1;
  std::string rest = bestRest;
  return Replace(path, size, best->token, rest.c_str());
}

int VURelativisePath(char* path, int size) {
  if (path == nullptr || size <= 0) return 0;
  const char* rest = nullptr;
  if (InFolder(path, State().base, &rest)) {
    std::string tail = rest;
    return Replace(path, size, kVUFolderToken, tail.c_str());
  }
  return VUNormalisePath(path, size);
}

int VUExpandPath(char* path, const char* token, const char* folder, int size) {
  if (path == nullptr || size <= 0) return 0;
  if (token != nullptr && token[0] != '\0' && std::strncmp(path, token, std::strlen(token)) == 0) {
    std::string rest = path + std::strlen(token);
    return Replace(path, size, WithBackSlash(folder), rest.c_str());
  }
  return ExpandMachineTokens(path, size);
}

int VUExpandTexturePath(char* path, const char* token, const char* folder, int size) {
  if (!VUExpandPath(path, token, folder, size)) return 0;
  if (path[0] == '\0' || VUFileExists(path) || VUInstallationFolder()[0] == '\0') return 1;
  char name[kVUPathBuffer];
  if (!VUGetNamePart(name, path)) return 1;
  std::string media = std::string(VUInstallationFolder()) + "media\\" + name;
  if (!VUFileExists(media.c_str()) || media.size() >= static_cast<size_t>(size)) return 1;
  std::memcpy(path, media.c_str(), media.size() + 1);
  return 1;
}

int VUExpandLinkedPath(char* path, const char* token, const char* folder, int size) {
  return VUExpandPath(path, token, folder, size);
}

const char* VUInstallationFolder() { return State().folders[3].folder.c_str(); }
