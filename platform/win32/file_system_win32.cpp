#include "platform/file_system.h"

#include <windows.h>

#include <cerrno>

namespace vesta::platform {
namespace {

DWORD Attributes(const char* path) {
  if (path == nullptr || *path == '\0') return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesA(path);
}

}  // namespace

FILE* OpenStream(const char* path, const char* mode) {
  if (path == nullptr || *path == '\0' || mode == nullptr) {
    errno = ENOENT;
    return nullptr;
  }
  return std::fopen(path, mode);
}

bool FileExists(const char* path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const char* path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolder(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  if (CreateDirectoryA(path, nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && FolderExists(path);
}

bool RemoveFile(const char* path) {
  if (!FileExists(path)) return false;
  return DeleteFileA(path) != 0;
}

std::string HostPath(const char* path) { return path != nullptr ? std::string(path) : std::string(); }

}  // namespace vesta::platform
