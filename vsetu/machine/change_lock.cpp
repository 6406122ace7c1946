#include "platform/file_lock.h"
#include "vesta/vsetu.h"

CVChangeLock::CVChangeLock() : held_(nullptr) {}

CVChangeLock::~CVChangeLock() { CLRelease(); }

int CVChangeLock::CLAcquire(const char* path) {
  CLRelease();
  auto* lock = new vesta::platform::FileLock;
  if (path == nullptr || !lock->Acquire(path)) {
    delete lock;
    return 0;
  }
  held_ = lock;
  return 1;
}

void CVChangeLock::CLRelease() {
  delete static_cast<vesta::platform::FileLock*>(held_);
  held_ = nullptr;
}
