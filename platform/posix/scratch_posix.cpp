#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/testing/scratch.h"

namespace vesta::testing {
namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  return std::remove(path);
}

}  // namespace

ScratchFolder::ScratchFolder() {
  const char* saved = std::getenv("VESTA_ROOT");
  hadRoot_ = saved != nullptr;
  if (hadRoot_) savedRoot_ = saved;

  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vesta-test-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch root");
  hostRoot_ = pattern;
  setenv("VESTA_ROOT", hostRoot_.c_str(), 1);
  mkdir((hostRoot_ + "/drive_c").c_str(), 0777);
  mkdir((hostRoot_ + "/drive_c/scratch").c_str(), 0777);
  folder_ = "C:\\scratch\\";
}

ScratchFolder::~ScratchFolder() {
  nftw(hostRoot_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  if (hadRoot_) {
    setenv("VESTA_ROOT", savedRoot_.c_str(), 1);
  } else {
    unsetenv("VESTA_ROOT");
  }
}

}  // namespace vesta::testing
