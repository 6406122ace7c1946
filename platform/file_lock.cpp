#include "platform/file_lock.h"

#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/file_lock_backend.h"

namespace vesta::platform {

namespace backend {
// A lock this object holds: which entry of the process's table.
struct HeldLock {
  std::string identity;
  std::thread::id thread;
};
}  // namespace backend

namespace {

// The locks this process holds, by lock file and thread: a thread that
// takes a lock it holds already only counts, since a second flock() of the
// same file from the same process would wait for itself.
struct LockTable {
  struct Entry {
    backend::LockFile* file = nullptr;
    int count = 0;
  };
  std::mutex mutex;
  std::map<std::pair<std::string, std::thread::id>, Entry> held;
};

LockTable& Table() {
  static LockTable* table = new LockTable;  // outlives every static FileLock
  return *table;
}

}  // namespace

std::string LockFileOf(const char* path) { return std::string(path != nullptr ? path : "") + ".lock"; }

bool FileLock::Acquire(const char* path) {
  Release();
  backend::LockFile* file = backend::OpenLockFile(LockFileOf(path));
  if (file == nullptr) return false;
  auto key = std::make_pair(backend::LockIdentity(file), std::this_thread::get_id());
  LockTable& table = Table();
  {
    std::lock_guard<std::mutex> guard(table.mutex);
    auto found = table.held.find(key);
    if (found != table.held.end()) {
      ++found->second.count;
      backend::CloseLockFile(file);  // never locked: the held one stays
      held_ = new backend::HeldLock{key.first, key.second};
      return true;
    }
  }
  if (!backend::WaitForLock(file)) {
    backend::CloseLockFile(file);
    return false;
  }
  {
    std::lock_guard<std::mutex> guard(table.mutex);
    table.held[key] = LockTable::Entry{file, 1};
  }
  held_ = new backend::HeldLock{key.first, key.second};
  return true;
}

void FileLock::Release() {
  if (held_ == nullptr) return;
  LockTable& table = Table();
  backend::LockFile* closing = nullptr;
  {
    std::lock_guard<std::mutex> guard(table.mutex);
    auto found = table.held.find(std::make_pair(held_->identity, held_->thread));
    if (found != table.held.end() && --found->second.count == 0) {
      closing = found->second.file;
      table.held.erase(found);
    }
  }
  backend::CloseLockFile(closing);
  delete held_;
  held_ = nullptr;
}

}  // namespace vesta::platform
