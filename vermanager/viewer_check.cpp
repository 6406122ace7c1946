#include "vermanager/viewer_check.h"

#include <cstring>

#include "common/text.h"
#include "vermanager/removal_services.h"

namespace {

using vesta::platform::SharedBlock;

constexpr char kViewerKey[] = "Software\\vesta3d\\Vesta\\CurrentVersion";
constexpr char kNameValue[] = "SharedMemory";
constexpr char kDefaultName[] = "VShar.dll";

}  // namespace

int GetSharedMemoryName(char* out) {
  if (out == nullptr) return 0;
  VUCopyN(out, kDefaultName, kSharedMemoryNameBuffer - 1);
  char read[kRegistryStringBuffer];
  if (ReadRegistryString(vesta::platform::RegRoot::kCurrentUser, kViewerKey, kNameValue, read)) {
    VUCopyN(out, read, kSharedMemoryNameBuffer - 1);
  }
  return 1;
}

int ViewerBlock::OpenSharedBlock(const char* name) {
  if (name == nullptr || *name == '\0') return kEmptyName;
  switch (block_.Open(name, kViewerBlockSize)) {
    case SharedBlock::Opened::kFailed: return kCannotMake;
    case SharedBlock::Opened::kNotMapped: return kNotMapped;
    case SharedBlock::Opened::kCreated:
      std::memset(block_.Data(), 0, kViewerBlockSize);
      return kCreated;
    case SharedBlock::Opened::kAlreadyExisted: return kExisted;
  }
  return kCannotMake;
}

int ViewerBlock::ReadRunningWord(int32_t* word) {
  if (block_.Data() == nullptr) return 0;
  int32_t value = 0;
  std::memcpy(&value, block_.Data() + kRunningWordOffset, sizeof value);
  if (word != nullptr) *word = value;
  return value != 0 ? 1 : 0;
}

void ViewerBlock::CloseSharedBlock() { block_.Close(); }

int IsViewerRunning() {
  char name[kSharedMemoryNameBuffer];
  GetSharedMemoryName(name);
  ViewerBlock block;
  int opened = block.OpenSharedBlock(name);
  if (opened != ViewerBlock::kCreated && opened != ViewerBlock::kExisted) return 0;
  int32_t word = 0;
  int running = block.ReadRunningWord(&word);
  block.CloseSharedBlock();
  return running;
}
