// Bulk removal on Windows: the whole machine is the installation and the
// system resolves each path itself, so each step is the single operation
// of file_system.h on the path kept.
#include "platform/bulk_removal.h"

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vesta::platform {
namespace backend {

struct BulkRemovalState {
  std::vector<std::string> paths;
};

}  // namespace backend

BulkRemoval::BulkRemoval() : state_(new backend::BulkRemovalState) {}

BulkRemoval::~BulkRemoval() { delete state_; }

int BulkRemoval::Add(const char* path, std::string* reason) {
  if (!IsInsideRoot(path, reason)) return -1;
  state_->paths.emplace_back(path);
  return static_cast<int>(state_->paths.size()) - 1;
}

BulkRemoval::FileRemoval BulkRemoval::RemoveIfFile(int item) {
  if (item < 0 || static_cast<size_t>(item) >= state_->paths.size()) return FileRemoval::kNotAFile;
  const char* path = state_->paths[static_cast<size_t>(item)].c_str();
  if (!FileExists(path)) return FileRemoval::kNotAFile;
  return platform::RemoveFile(path) ? FileRemoval::kRemoved : FileRemoval::kNotRemoved;
}

bool BulkRemoval::RemoveEmptyFolder(int item) {
  if (item < 0 || static_cast<size_t>(item) >= state_->paths.size()) return false;
  return platform::RemoveEmptyFolder(state_->paths[static_cast<size_t>(item)].c_str());
}

}  // namespace vesta::platform
