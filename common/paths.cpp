#include "common/paths.h"

#include <cstring>

#include "common/text.h"
#include "platform/file_system.h"

namespace {

// Index just after the last separator of path, 0 when there is none.
size_t NameStart(const char* path) {
  size_t start = 0;
  for (size_t i = 0; path[i] != '\0'; ++i) {
    if (path[i] == '\\' || path[i] == '/' || (i == 1 && path[i] == ':')) start = i + 1;
  }
  return start;
}

}  // namespace

int VUFileExists(const char* path) { return vesta::platform::FileExists(path) ? 1 : 0; }

int VUFolderExists(const char* path) { return vesta::platform::FolderExists(path) ? 1 : 0; }

int VUHasExtension(const char* path, const char* extension) {
  if (path == nullptr || extension == nullptr || *extension == '\0') return 0;
  size_t pathLength = std::strlen(path);
  bool dotted = extension[0] == '.';
  size_t extLength = std::strlen(extension);
  size_t wanted = dotted ? extLength : extLength + 1;
  if (pathLength < wanted) return 0;
  const char* tail = path + pathLength - wanted;
  if (!dotted) {
    if (*tail != '.') return 0;
    ++tail;
  }
  return VUCompareN(tail, extension, static_cast<int>(extLength));
}

int VUFindExtension(const char* path, int* position) {
  if (path == nullptr) return 0;
  size_t start = NameStart(path);
  const char* dot = std::strrchr(path + start, '.');
  if (dot == nullptr) return 0;
  if (position != nullptr) *position = static_cast<int>(dot - path);
  return 1;
}

int VUGetNamePart(char* out, const char* path, int size) {
  if (out == nullptr || path == nullptr || size <= 0) return 0;
  const char* name = path + NameStart(path);
  size_t length = std::strlen(name);
  if (length == 0 || length >= static_cast<size_t>(size)) return 0;
  std::memcpy(out, name, length + 1);
  return 1;
}

int VUGetFolderPart(char* out, const char* path, int size) {
  if (out == nullptr || path == nullptr || size <= 0) return 0;
  size_t length = NameStart(path);
  if (length >= static_cast<size_t>(size)) return 0;
  std::memcpy(out, path, length);
  out[length] = '\0';
  return 1;
}
