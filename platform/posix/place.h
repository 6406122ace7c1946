// Where a change to the file system lands on POSIX.
//
// A change (creating, writing, renaming or deleting a name) is made
// relative to the folder that holds the name, opened first: openat,
// mkdirat, renameat, unlinkat. For a Windows path that folder must lie in
// VESTA_ROOT where it really is, links followed; it is checked once it is
// open, so that nothing swapped in between can move the change elsewhere.
// So must a host path spelled inside VESTA_ROOT (the registry's hives and
// their locks). Any other host path ("/...") or a relative path is the
// caller's own choice and is not checked.
#ifndef VESTA_PLATFORM_POSIX_PLACE_H
#define VESTA_PLATFORM_POSIX_PLACE_H

#include <sys/stat.h>

#include <string>

namespace vesta::platform::posix {

class Place {
 public:
  Place() = default;
  ~Place();
  Place(const Place&) = delete;
  Place& operator=(const Place&) = delete;

  // Opens the folder of path. False, with the file error set for path and
  // errno set, when the path maps to nothing, the folder cannot be opened,
  // or it lies outside the root.
  bool Open(const char* path);

  // For a change made through the name (writing a file): while the name is
  // a symbolic link, moves to where it leads, checked as the path itself
  // was. False, as Open, for a link out of the root or a loop of links.
  bool FollowLinks();
  // What the name is, links followed, after FollowLinks: the look it took
  // at a name that was no link, else a fresh one. False, with errno set,
  // when nothing is there.
  bool Look(struct stat* st) const;
  // True when Open saw that nothing at all (not even a link) has the name.
  bool SeenMissing() const { return looked_ && lookError_ == ENOENT; }

  // The open folder, and the name in it.
  int Folder() const { return folder_; }
  const char* Name() const { return name_.c_str(); }
  // The folder as the host names it (links not resolved).
  const std::string& FolderPath() const { return folderPath_; }
  // True when the last Open or FollowLinks failed because the folder lies
  // outside the root.
  bool Outside() const { return outside_; }

 private:
  // Opens hostFolder, spelled inside the root, and finds name in it, as
  // spelled (a link or not) or else matched without regard to case; false,
  // with nothing set, when the folder cannot be opened so.
  bool OpenSpelled(const std::string& hostFolder, const std::string& name);
  // Opens hostFolder for name; given is the caller's path, for errors.
  bool OpenAt(const std::string& hostFolder, const std::string& name);
  bool Fail(int error, const std::string& reason);

  int folder_ = -1;
  bool bounded_ = false;
  bool looked_ = false;  // FollowLinks saw the name, or nothing, as named_ and lookError_
  int lookError_ = 0;
  struct stat named_ {};
  bool outside_ = false;
  std::string given_;
  std::string folderPath_;
  std::string name_;
};

// Where an open folder really lies (links resolved), "" when unknown.
// folderPath is the name it was opened by.
std::string FolderLocation(int folder, const std::string& folderPath);

}  // namespace vesta::platform::posix

#endif
