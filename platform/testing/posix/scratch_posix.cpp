#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/testing/scratch.h"

namespace vesta::testing {
namespace {

// Names the scratch area for the test program's children.
const char kShareVariable[] = "VESTA_TEST_SCRATCH";

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  return std::remove(path);
}

void RestoreVariable(const char* name, bool had, const std::string& value) {
  if (had) {
    setenv(name, value.c_str(), 1);
  } else {
    unsetenv(name);
  }
}

}  // namespace

ScratchFolder::ScratchFolder(Owner owner) : owns_(owner == kOwn) {
  const char* saved = std::getenv("VESTA_ROOT");
  hadRoot_ = saved != nullptr;
  if (hadRoot_) savedRoot_ = saved;
  const char* shared = std::getenv(kShareVariable);
  if (shared != nullptr) savedId_ = shared;

  if (owns_) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vesta-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a scratch root");
    hostRoot_ = pattern;
    mkdir((hostRoot_ + "/drive_c").c_str(), 0777);
    mkdir((hostRoot_ + "/drive_c/scratch").c_str(), 0777);
  } else {
    if (savedId_.empty()) throw std::runtime_error("no scratch area of a parent");
    hostRoot_ = savedId_;
  }
  id_ = hostRoot_;
  setenv("VESTA_ROOT", hostRoot_.c_str(), 1);
  setenv(kShareVariable, id_.c_str(), 1);
  folder_ = "C:\\scratch\\";
}

ScratchFolder::~ScratchFolder() {
  if (owns_) nftw(hostRoot_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  RestoreVariable("VESTA_ROOT", hadRoot_, savedRoot_);
  RestoreVariable(kShareVariable, !savedId_.empty(), savedId_);
}

}  // namespace vesta::testing
