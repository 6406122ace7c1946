#include "platform/file_system.h"

#include <io.h>
#include <windows.h>

#include <cerrno>

#include "platform/file_error.h"
#include "platform/win32/win32_error.h"

namespace vesta::platform {
namespace {

using win32::FailWithErrno;
using win32::FailWithLastError;

DWORD Attributes(const char* path) {
  if (path == nullptr || *path == '\0') return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesA(path);
}

bool Missing(const char* path) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FailWithLastError(path);
}

}  // namespace

FILE* OpenStream(const char* path, const char* mode) {
  if (path == nullptr || *path == '\0' || mode == nullptr) {
    errno = ENOENT;
    FailWithErrno(path);
    return nullptr;
  }
  errno = 0;
  FILE* stream = std::fopen(path, mode);
  if (stream == nullptr) {
    FailWithErrno(path);
    return nullptr;
  }
  // Only a file on a disk: a pipe, the console or another device named
  // where a file is expected is refused before anything waits on it.
  if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)))) != FILE_TYPE_DISK) {
    std::fclose(stream);
    SetFileError(path, kNotRegularReason);
    errno = EINVAL;
    return nullptr;
  }
  return stream;
}

bool FileExists(const char* path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool PathExists(const char* path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool RegularFileSize(const char* path, int64_t* size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (size == nullptr || path == nullptr || !GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  *size = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  return true;
}

bool FolderExists(const char* path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolder(const char* path) {
  if (path == nullptr || *path == '\0') return Missing(path);
  if (CreateDirectoryA(path, nullptr)) return true;
  return (GetLastError() == ERROR_ALREADY_EXISTS && FolderExists(path)) || FailWithLastError(path);
}

bool RemoveFile(const char* path) {
  if (!FileExists(path)) return Missing(path);
  return DeleteFileA(path) != 0 || FailWithLastError(path);
}

bool RemoveEmptyFolder(const char* path) {
  if (path == nullptr || *path == '\0') return Missing(path);
  return RemoveDirectoryA(path) != 0 || FailWithLastError(path);
}

bool ShortPath(const char* path, std::string* shortPath) {
  if (path == nullptr || *path == '\0' || shortPath == nullptr) return Missing(path);
  char buffer[MAX_PATH];
  DWORD length = GetShortPathNameA(path, buffer, sizeof buffer);
  // A length of the buffer or more is the size that would have been needed.
  if (length == 0) return FailWithLastError(path);
  if (length >= sizeof buffer) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FailWithLastError(path);
  }
  shortPath->assign(buffer, length);
  return true;
}

bool CopyOneFile(const char* from, const char* to, bool failIfExists) {
  if (from == nullptr || to == nullptr) return Missing(from);
  return CopyFileA(from, to, failIfExists ? TRUE : FALSE) != 0 || FailWithLastError(to);
}

bool MoveOver(const char* from, const char* to) {
  if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') return Missing(to);
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 || FailWithLastError(to);
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

bool IsInsideRoot(const char* path, std::string* reason) {
  // The whole machine is the installation here; only a path that depends on
  // the current folder is refused.
  const bool full = path != nullptr && ((((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
                                         (path[2] == '\\' || path[2] == '/')) ||
                                        (path[0] == '\\' && path[1] == '\\'));
  if (full) return true;
  const char* why = path == nullptr || *path == '\0' ? "an empty path" : "not a full path";
  if (reason != nullptr) *reason = why;
  SetFileError(path, why);
  return false;
}

bool IsFileInsideRoot(const char* path) { return IsInsideRoot(path, nullptr) && FileExists(path); }

FILE* OpenFileInsideRoot(const char* path) { return IsInsideRoot(path, nullptr) ? OpenStream(path, "rb") : nullptr; }

FolderFill::FolderFill(const char*) {}
FolderFill::~FolderFill() = default;

}  // namespace vesta::platform
