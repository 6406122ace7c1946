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

bool RemoveEmptyFolder(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  return RemoveDirectoryA(path) != 0;
}

bool ShortPath(const char* path, std::string* shortPath) {
  if (path == nullptr || *path == '\0' || shortPath == nullptr) return false;
  char buffer[MAX_PATH];
  DWORD length = GetShortPathNameA(path, buffer, sizeof buffer);
  // A length of the buffer or more is the size that would have been needed.
  if (length == 0 || length >= sizeof buffer) return false;
  shortPath->assign(buffer, length);
  return true;
}

bool CopyOneFile(const char* from, const char* to, bool failIfExists) {
  if (from == nullptr || to == nullptr) return false;
  return CopyFileA(from, to, failIfExists ? TRUE : FALSE) != 0;
}

bool MoveOver(const char* from, const char* to) {
  if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') return false;
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::vector<std::string> FindFiles(const char* pattern) {
  std::vector<std::string> found;
  if (pattern == nullptr || *pattern == '\0') return found;
  std::string folder(pattern);
  size_t cut = folder.find_last_of("\\/:");
  folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern, &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) found.push_back(folder + entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

std::string HostPath(const char* path) { return path != nullptr ? std::string(path) : std::string(); }

}  // namespace vesta::platform
