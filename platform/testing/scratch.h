// A scratch area for one test, so that no test touches the user's files.
#ifndef VESTA_PLATFORM_TESTING_SCRATCH_H
#define VESTA_PLATFORM_TESTING_SCRATCH_H

#include <string>

namespace vesta::testing {

// POSIX: a fresh VESTA_ROOT in the host's temporary folder (with drive_c),
// holding the folder C:\scratch\. Windows: a fresh folder in the user's
// temporary folder. Removed with everything in it by the destructor, which
// also restores VESTA_ROOT.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder as a Windows path, ending with a back-slash.
  const std::string& Folder() const { return folder_; }
  // The folder followed by name.
  std::string Path(const std::string& name) const { return folder_ + name; }

 private:
  std::string folder_;
  std::string hostRoot_;
  std::string savedRoot_;
  bool hadRoot_ = false;
};

}  // namespace vesta::testing

#endif
