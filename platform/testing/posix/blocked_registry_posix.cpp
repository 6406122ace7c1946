#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/testing/blocked_registry.h"

namespace vesta::testing {

BlockedRegistry::BlockedRegistry(platform::RegRoot root) {
  const char* machine = std::getenv("VESTA_ROOT");
  if (machine == nullptr) return;
  const std::string folder = std::string(machine) + "/registry";
  mkdir(folder.c_str(), 0777);
  const std::string lock = folder + "/" + platform::RegRootName(root) + ".reg.lock";
  unlink(lock.c_str());
  if (mkdir(lock.c_str(), 0777) == 0) block_ = lock;
}

BlockedRegistry::~BlockedRegistry() {
  if (!block_.empty()) rmdir(block_.c_str());
}

}  // namespace vesta::testing
