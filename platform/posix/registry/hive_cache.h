// The hives this process has read, each parsed once and kept, with its
// index, while its file stays the same: the same device and inode, size,
// modification and change time. A change of the registry replaces the file
// (a new inode) and keeps what it wrote. What another process writes is
// seen by the next read: its file is a new one.
#ifndef VESTA_PLATFORM_POSIX_REGISTRY_HIVE_CACHE_H
#define VESTA_PLATFORM_POSIX_REGISTRY_HIVE_CACHE_H

#include <sys/stat.h>

#include <memory>
#include <string>

#include "platform/registry_file/hive.h"
#include "platform/registry_file/hive_index.h"

namespace vesta::platform::posix {

// What tells one version of a file from another.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  static FileStamp Of(const struct stat& status);
  bool operator==(const FileStamp& other) const;
};

// A hive as read from its file, with its index; never changed once made.
class LoadedHive {
 public:
  explicit LoadedHive(regfile::Hive hive) : hive_(std::move(hive)), index_(hive_) {}
  LoadedHive(const LoadedHive&) = delete;
  LoadedHive& operator=(const LoadedHive&) = delete;

  const regfile::Hive& hive() const { return hive_; }
  const regfile::HiveIndex& index() const { return index_; }

 private:
  const regfile::Hive hive_;
  const regfile::HiveIndex index_;
};

// The hive kept for the file at that stamp, or null.
std::shared_ptr<const LoadedHive> CachedHive(const std::string& file, const FileStamp& stamp);

// Keeps the hive for the file at that stamp, in place of any before.
void KeepHive(const std::string& file, const FileStamp& stamp, std::shared_ptr<const LoadedHive> hive);

}  // namespace vesta::platform::posix

#endif
