// What each backend provides under file_lock.h: the lock file opened (made
// when missing) through the folder that holds it, waited for, and closed.
// Used only by platform/file_lock.cpp.
#ifndef VESTA_PLATFORM_FILE_LOCK_BACKEND_H
#define VESTA_PLATFORM_FILE_LOCK_BACKEND_H

#include <string>

namespace vesta::platform::backend {

struct LockFile;

// Opens the lock file at lockPath, making it when missing. Null, with the
// file error set for lockPath, when it cannot be made or opened, is a link
// or not a regular file, or (POSIX) leads out of VESTA_ROOT.
LockFile* OpenLockFile(const std::string& lockPath);
// The same text for two opens of the same file, and different texts for
// different files.
std::string LockIdentity(const LockFile* file);
// Waits until this process holds the lock. False, with the file error set,
// when it cannot be locked.
bool WaitForLock(LockFile* file);
// Lets go of the lock (if held), closes the file and frees it.
void CloseLockFile(LockFile* file);

}  // namespace vesta::platform::backend

#endif
