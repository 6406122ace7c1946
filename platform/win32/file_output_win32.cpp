// Temporary files and appends on Windows: a temporary beside the file,
// renamed over it with MoveFileEx (write-through); appends cut back with
// _chsize_s.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "platform/file_output_backend.h"
#include "platform/win32/win32_error.h"

namespace vesta::platform::backend {

struct Temporary {
  std::string path;
  std::string temporaryPath;
  FILE* stream = nullptr;
  bool renamed = false;
};

namespace {

std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos && path.size() >= 2 && path[1] == ':') cut = 1;
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Appends lock one byte far past any end a file reaches, so that the lock
// keeps other appenders out without standing in the way of readers.
constexpr DWORD kAppendLockOffset = 0xFFFFFFFEu;
constexpr DWORD kAppendLockOffsetHigh = 0x7FFFFFFFu;

bool LockAppendHandle(HANDLE handle) {
  OVERLAPPED at = {};
  at.Offset = kAppendLockOffset;
  at.OffsetHigh = kAppendLockOffsetHigh;
  return LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
}

}  // namespace

Temporary* CreateTemporary(const char* path, const std::string& temporaryName, FileMode mode,
                           bool /*followLinks*/, bool mustBeNew) {
  if (mustBeNew && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
    errno = EEXIST;
    win32::FailWithErrno(path);
    return nullptr;
  }
  auto* temporary = new Temporary;
  temporary->path = path;
  temporary->temporaryPath = FolderOf(path) + temporaryName;
  const bool text = mode == FileMode::kText;
  int fd = _open(temporary->temporaryPath.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | (text ? _O_TEXT : _O_BINARY),
                 _S_IREAD | _S_IWRITE);
  if (fd < 0) {
    win32::FailWithErrno(path);
    delete temporary;
    return nullptr;
  }
  temporary->stream = _fdopen(fd, text ? "w" : "wb");
  if (temporary->stream == nullptr) {
    win32::FailWithErrno(path);
    _close(fd);
    DiscardTemporary(temporary);
    return nullptr;
  }
  return temporary;
}

FILE* TemporaryStream(Temporary* temporary) { return temporary->stream; }

bool SyncStream(FILE* stream) {
  if (stream == nullptr) return false;
  return _commit(_fileno(stream)) == 0 || win32::FailWithErrno("");
}

bool CloseTemporaryStream(Temporary* temporary) {
  FILE* stream = temporary->stream;
  temporary->stream = nullptr;
  if (stream == nullptr) return false;
  return std::fclose(stream) == 0 || win32::FailWithErrno(temporary->path.c_str());
}

bool MoveTemporaryOver(Temporary* temporary, bool keepExisting, bool durable) {
  const DWORD flags = (durable ? MOVEFILE_WRITE_THROUGH : 0) | (keepExisting ? 0 : MOVEFILE_REPLACE_EXISTING);
  if (!MoveFileExA(temporary->temporaryPath.c_str(), temporary->path.c_str(), flags)) {
    return win32::FailWithLastError(temporary->path.c_str());
  }
  temporary->renamed = true;
  return true;
}

void DiscardTemporary(Temporary* temporary) {
  if (temporary == nullptr) return;
  if (temporary->stream != nullptr) std::fclose(temporary->stream);
  if (!temporary->renamed) DeleteFileA(temporary->temporaryPath.c_str());
  delete temporary;
}

bool OpenForAppend(const char* path, FileMode mode, AppendTarget* target) {
  if (path == nullptr || *path == '\0') {
    errno = ENOENT;
    return win32::FailWithErrno(path);
  }
  const bool text = mode == FileMode::kText;
  const int flags = _O_RDWR | _O_APPEND | (text ? _O_TEXT : _O_BINARY);
  int fd = _open(path, flags);
  if (fd < 0 && errno == ENOENT) {
    fd = _open(path, flags | _O_CREAT | _O_EXCL, _S_IREAD | _S_IWRITE);
    target->created = fd >= 0;
  }
  if (fd < 0) return win32::FailWithErrno(path);
  // Another process may append at the same time: the length, the last
  // byte and the way back hold only while the file is locked.
  if (!LockAppendHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd)))) {
    win32::FailWithLastError(path);
    _close(fd);
    return false;
  }
  // The length and the last byte, read as bytes.
  long long length = _filelengthi64(fd);
  char last = '\n';
  bool ok = length >= 0;
  if (ok && length > 0) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>((length - 1) & 0xFFFFFFFF);
    at.OffsetHigh = static_cast<DWORD>((length - 1) >> 32);
    DWORD read = 0;
    ok = ReadFile(handle, &last, 1, &read, &at) && read == 1;
    if (!ok) win32::FailWithLastError(path);
  } else if (!ok) {
    win32::FailWithErrno(path);
  }
  FILE* stream = ok ? _fdopen(fd, text ? "a" : "ab") : nullptr;
  if (stream == nullptr) {
    if (ok) win32::FailWithErrno(path);
    _close(fd);
    return false;
  }
  std::setvbuf(stream, nullptr, _IONBF, 0);
  target->stream = stream;
  target->length = length;
  target->endsLine = last == '\n';
  return true;
}

bool LockAppend(FILE* stream) { return LockAppendHandle(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)))); }

void UnlockAppend(FILE* stream) {
  OVERLAPPED at = {};
  at.Offset = kAppendLockOffset;
  at.OffsetHigh = kAppendLockOffsetHigh;
  UnlockFileEx(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), 0, 1, 0, &at);
}

bool CutBack(FILE* stream, long long length) {
  return stream != nullptr && _chsize_s(_fileno(stream), length) == 0;
}

void RemoveCreated(const char* path) { DeleteFileA(path); }

FILE* OpenMemoryStream(std::string*) { return nullptr; }

void RemoveSetAside() {}

int CopyInSystem(FILE*, FILE*) { return 0; }

bool SyncFiles(const std::vector<std::string>& paths) {
  // Each file's buffers flushed in turn, now that all are written: the
  // system has had the time to write most of them already.
  for (const std::string& path : paths) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) continue;
      return win32::FailWithLastError(path.c_str());
    }
    const bool flushed = FlushFileBuffers(file) != 0 || win32::FailWithLastError(path.c_str());
    CloseHandle(file);
    if (!flushed) return false;
  }
  return true;
}

// A file held open keeps other programs from deleting or renaming it: every
// append opens and closes its file.
KeptFile* KeepAppendTarget(FILE* /*stream*/) { return nullptr; }

bool StillAppendTarget(const KeptFile* /*kept*/, FILE* /*stream*/, long long /*length*/) { return false; }

void ForgetAppendTarget(KeptFile* /*kept*/) {}

}  // namespace vesta::platform::backend
