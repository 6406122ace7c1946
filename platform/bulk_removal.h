// Deleting many files and folders named by paths read from a file (the
// restart deletions), at a cost that grows with their number only.
//
// Each path is taken in and resolved once; the folder that holds it is
// opened (on POSIX: and checked to lie in VESTA_ROOT) once for a run of
// paths in the same folder, rather than once per path and per step. On
// POSIX the names of a folder that holds many of them are read once, so
// that a plain file goes with one call, and a missing name or one spelled
// in other letters is looked up without walking the folder again. The
// rules are those of IsInsideRoot, FileExists, RemoveFile and
// RemoveEmptyFolder (file_system.h), and a failure leaves its reason in
// LastFileError as theirs do.
#ifndef VESTA_PLATFORM_BULK_REMOVAL_H
#define VESTA_PLATFORM_BULK_REMOVAL_H

#include <string>

namespace vesta::platform {

namespace backend {
struct BulkRemovalState;
}

class BulkRemoval {
 public:
  BulkRemoval();
  ~BulkRemoval();
  BulkRemoval(const BulkRemoval&) = delete;
  BulkRemoval& operator=(const BulkRemoval&) = delete;

  // Takes path in as IsInsideRoot judges it: its number (0, 1, ... in the
  // order taken) when a change to it stays inside the installation; -1,
  // with *reason (if given) saying why, when it is refused.
  int Add(const char* path, std::string* reason);

  enum class FileRemoval { kRemoved, kNotRemoved, kNotAFile };
  // Removes the item when it is a file (FileExists), as RemoveFile does;
  // kNotAFile, nothing done, when it is a folder or missing.
  FileRemoval RemoveIfFile(int item);

  // As RemoveEmptyFolder for the item.
  bool RemoveEmptyFolder(int item);

 private:
  backend::BulkRemovalState* state_;
};

}  // namespace vesta::platform

#endif
