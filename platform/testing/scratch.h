// A scratch area for one test, so that no test touches the user's files or
// registry.
#ifndef VESTA_PLATFORM_TESTING_SCRATCH_H
#define VESTA_PLATFORM_TESTING_SCRATCH_H

#include <string>

namespace vesta::testing {

// POSIX: a fresh VESTA_ROOT in the host's temporary folder (with drive_c),
// holding the folder C:\scratch\; the registry's hive files land in its
// registry/ folder. Windows: a fresh folder in the user's temporary folder,
// and, while the scratch area lives, the process's predefined keys
// HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS and
// HKEY_CURRENT_CONFIG redirected to fresh keys under
// HKEY_CURRENT_USER\Software\VestaTest\<id>\. The destructor removes all of
// it and restores VESTA_ROOT and the predefined keys.
//
// A copy of the test program started by ChildProcess (child_process.h)
// joins its parent's area with ScratchFolder(kParents): the same files and
// registry keys, left for the parent to remove.
class ScratchFolder {
 public:
  enum Owner { kOwn, kParents };

  explicit ScratchFolder(Owner owner = kOwn);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder as a Windows path, ending with a back-slash.
  const std::string& Folder() const { return folder_; }
  // The folder followed by name.
  std::string Path(const std::string& name) const { return folder_ + name; }

 private:
  bool owns_ = true;
  std::string folder_;
  std::string hostRoot_;
  std::string savedRoot_;
  bool hadRoot_ = false;
  // The area's name in VESTA_TEST_SCRATCH, where a child finds it, and the
  // name there before.
  std::string id_;
  std::string savedId_;
};

}  // namespace vesta::testing

#endif
