// A VESTA_ROOT with the rest of the machine beside it, for tests that no
// path leads a change out of the root.
//
// POSIX: a fresh folder in the host's temporary folder holding root/ (the
// VESTA_ROOT for as long as the object lives, with C:\scratch\) and
// outside/ (with a file victim.txt). In C:\scratch\ stand links that lead
// out: "out" to outside/, "up" to the folder above the root ("..\..\.."),
// "outfile" to outside/victim.txt and "dangling" to outside/nothing.txt.
// Windows: the whole machine is the installation; Supported() is false
// and the tests skip.
#ifndef VESTA_PLATFORM_TESTING_BOUNDARY_H
#define VESTA_PLATFORM_TESTING_BOUNDARY_H

#include <string>
#include <vector>

namespace vesta::testing {

class RootBoundary {
 public:
  RootBoundary();
  ~RootBoundary();
  RootBoundary(const RootBoundary&) = delete;
  RootBoundary& operator=(const RootBoundary&) = delete;

  bool Supported() const { return supported_; }

  // C:\scratch\ as a Windows path, ending with a back-slash.
  std::string Folder() const { return "C:\\scratch\\"; }

  // Windows paths ending in name that try to climb out of the root: ".."
  // past the top of a drive or a share, in every spelling.
  std::vector<std::string> ClimbingPaths(const std::string& name) const;
  // Windows paths that lead out through the links: a folder link, a link
  // up, and (whatever name is) the links to a file outside.
  std::vector<std::string> LinkPaths(const std::string& name) const;
  // Host paths outside the root, ending in name.
  std::vector<std::string> HostPaths(const std::string& name) const;

  // What changed outside the root since the object was made: every entry
  // added, removed or altered beside the root, and anything left in the
  // host's temporary folder under the name the climbing paths use. ""
  // when nothing did.
  std::string ChangesOutside() const;

 private:
  bool supported_ = false;
  std::string outer_;
  std::string savedRoot_;
  bool hadRoot_ = false;
  std::string snapshot_;
};

}  // namespace vesta::testing

#endif
