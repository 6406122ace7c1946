#include "platform/posix/registry/hive_cache.h"

#include <map>
#include <mutex>

namespace vesta::platform::posix {
namespace {

// Hives of as many files as this are kept; the one used longest ago goes
// first. A process uses a few (one a root key); a test program, a few in
// each scratch root.
constexpr size_t kKept = 16;

struct Entry {
  FileStamp stamp;
  std::shared_ptr<const LoadedHive> hive;
  unsigned long long used = 0;
};

struct Cache {
  std::mutex mutex;
  std::map<std::string, Entry> entries;
  unsigned long long clock = 0;
};

Cache& TheCache() {
  static Cache* cache = new Cache;  // never destroyed: used until the process ends
  return *cache;
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

}  // namespace

FileStamp FileStamp::Of(const struct stat& status) {
  FileStamp stamp;
  stamp.device = status.st_dev;
  stamp.inode = status.st_ino;
  stamp.size = status.st_size;
  stamp.modified = status.st_mtim;
  stamp.changed = status.st_ctim;
  return stamp;
}

bool FileStamp::operator==(const FileStamp& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

std::shared_ptr<const LoadedHive> CachedHive(const std::string& file, const FileStamp& stamp) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  auto found = cache.entries.find(file);
  if (found == cache.entries.end() || !(found->second.stamp == stamp)) return nullptr;
  found->second.used = ++cache.clock;
  return found->second.hive;
}

void KeepHive(const std::string& file, const FileStamp& stamp, std::shared_ptr<const LoadedHive> hive) {
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  if (cache.entries.size() >= kKept && cache.entries.count(file) == 0) {
    auto oldest = cache.entries.begin();
    for (auto it = cache.entries.begin(); it != cache.entries.end(); ++it) {
      if (it->second.used < oldest->second.used) oldest = it;
    }
    cache.entries.erase(oldest);
  }
  cache.entries[file] = Entry{stamp, std::move(hive), ++cache.clock};
}

}  // namespace vesta::platform::posix
