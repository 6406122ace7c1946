// Change locks on Windows: LockFileEx() of a lock file, which the system
// lets go of when the handle closes or the process ends.
#include <windows.h>

#include <string>

#include "platform/file_error.h"
#include "platform/file_lock_backend.h"
#include "platform/win32/win32_error.h"

namespace vesta::platform::backend {

struct LockFile {
  std::string path;
  HANDLE handle = INVALID_HANDLE_VALUE;
  bool locked = false;
};

LockFile* OpenLockFile(const std::string& lockPath) {
  auto* file = new LockFile;
  file->path = lockPath;
  // A link (a reparse point) where the lock file belongs is not followed.
  DWORD attributes = GetFileAttributesA(lockPath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    SetFileError(lockPath.c_str(), "a link where a lock file belongs");
    delete file;
    return nullptr;
  }
  file->handle = CreateFileA(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file->handle == INVALID_HANDLE_VALUE) {
    win32::FailWithLastError(lockPath.c_str());
    delete file;
    return nullptr;
  }
  if (GetFileType(file->handle) != FILE_TYPE_DISK) {
    SetFileError(lockPath.c_str(), "not a regular file");
    CloseLockFile(file);
    return nullptr;
  }
  return file;
}

std::string LockIdentity(const LockFile* file) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file->handle, &info)) return file->path;
  return std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(info.nFileIndexHigh) + ":" +
         std::to_string(info.nFileIndexLow);
}

bool WaitForLock(LockFile* file) {
  OVERLAPPED at = {};
  if (!LockFileEx(file->handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
    return win32::FailWithLastError(file->path.c_str());
  }
  file->locked = true;
  return true;
}

void CloseLockFile(LockFile* file) {
  if (file == nullptr) return;
  if (file->locked) {
    OVERLAPPED at = {};
    UnlockFileEx(file->handle, 0, 1, 0, &at);
  }
  if (file->handle != INVALID_HANDLE_VALUE) CloseHandle(file->handle);
  delete file;
}

}  // namespace vesta::platform::backend
