// Change locks on POSIX: flock() of a lock file made through its folder.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file_error.h"
#include "platform/file_lock_backend.h"
#include "platform/posix/place.h"

namespace vesta::platform::backend {

struct LockFile {
  posix::Place place;
  std::string path;  // for errors
  int fd = -1;
};

namespace {

LockFile* Refuse(LockFile* file, const std::string& reason) {
  SetFileError(file->path.c_str(), reason);
  CloseLockFile(file);
  return nullptr;
}

// Opens the name in the folder as a lock file: never through a link, never
// waiting on a pipe, and only a regular file.
bool OpenIn(LockFile* file, std::string* reason) {
  file->fd = openat(file->place.Folder(), file->place.Name(),
                    O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (file->fd < 0) {
    *reason = errno == ELOOP ? "a link where a lock file belongs" : std::strerror(errno);
    return false;
  }
  struct stat st;
  if (fstat(file->fd, &st) != 0) {
    *reason = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    *reason = "not a regular file";
    return false;
  }
  return true;
}

}  // namespace

LockFile* OpenLockFile(const std::string& lockPath) {
  auto* file = new LockFile;
  file->path = lockPath;
  if (!file->place.Open(lockPath.c_str())) {
    CloseLockFile(file);
    return nullptr;
  }
  std::string reason;
  if (!OpenIn(file, &reason)) return Refuse(file, reason);
  return file;
}

std::string LockIdentity(const LockFile* file) {
  struct stat st;
  if (fstat(file->fd, &st) != 0) return "fd:" + std::to_string(file->fd);
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

bool WaitForLock(LockFile* file) {
  for (;;) {
    while (flock(file->fd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        SetFileError(file->path.c_str(), std::string("cannot lock: ") + std::strerror(errno));
        return false;
      }
    }
    // A lock file deleted while this process waited locks nothing that
    // the next process would see: take the one now at the name.
    struct stat held;
    struct stat named;
    if (fstat(file->fd, &held) == 0 &&
        fstatat(file->place.Folder(), file->place.Name(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      return true;
    }
    close(file->fd);
    std::string reason;
    if (!OpenIn(file, &reason)) {
      SetFileError(file->path.c_str(), reason);
      return false;
    }
  }
}

void CloseLockFile(LockFile* file) {
  if (file == nullptr) return;
  if (file->fd >= 0) close(file->fd);  // lets go of the lock
  delete file;
}

}  // namespace vesta::platform::backend
