// A registry that cannot be changed, for tests of what a failed change
// leaves: while the object lives, every change under one root key fails.
// POSIX: a folder stands where the root's hive takes its lock. Windows:
// Supported() is false and the tests skip that part.
#ifndef VESTA_PLATFORM_TESTING_BLOCKED_REGISTRY_H
#define VESTA_PLATFORM_TESTING_BLOCKED_REGISTRY_H

#include <string>

#include "platform/registry.h"

namespace vesta::testing {

class BlockedRegistry {
 public:
  explicit BlockedRegistry(platform::RegRoot root);
  ~BlockedRegistry();
  BlockedRegistry(const BlockedRegistry&) = delete;
  BlockedRegistry& operator=(const BlockedRegistry&) = delete;

  bool Supported() const { return !block_.empty(); }

 private:
  std::string block_;  // the host path of what blocks it
};

}  // namespace vesta::testing

#endif
