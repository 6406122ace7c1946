// The change lock of a file that several processes may change.
//
// A file that is read, changed and written back whole (the catalogue, the
// manifest, WININIT.INI, a registry hive) is changed only while its lock
// is held: the change starts from the file as it is on disk once the lock
// is held, and ends with the atomic replace of file_output.h before the
// lock is let go. Two processes never lose each other's change.
//
// The lock is the file's name with ".lock" added, beside the file (beside
// where a link at the path leads), made when missing and left in place.
// On POSIX it is an flock() of that file, on Windows a LockFileEx() of it:
// both are freed by the system when their process ends, killed or not, so
// a lock never outlives its holder. The lock file is made through the
// folder that holds it, as every change is (file_system.h): a path, or a
// lock file that is a link, leading out of VESTA_ROOT is refused, and so is
// a lock that is not a regular file.
//
// A thread that holds a file's lock may take it again (the lock counts);
// another thread of the same process waits as another process does.
#ifndef VESTA_PLATFORM_FILE_LOCK_H
#define VESTA_PLATFORM_FILE_LOCK_H

#include <string>

namespace vesta::platform {

namespace backend {
struct HeldLock;
}

class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Waits until the lock of the file at path is held. False, with the
  // lock file's path and the reason in LastFileError, when the lock file
  // cannot be made or locked. Releases a lock held before.
  bool Acquire(const char* path);
  void Release();
  bool Held() const { return held_ != nullptr; }

 private:
  backend::HeldLock* held_ = nullptr;
};

// The lock file of the file at path: path with ".lock" added.
std::string LockFileOf(const char* path);

}  // namespace vesta::platform

#endif
