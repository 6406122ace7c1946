// The seam's process-wide state, all in one place. The seam is built into
// each library and program, but its state is defined once in a process: in
// the property store's library, which the setup library and the programs
// over them load (a program without the libraries has its own).
#ifndef VESTA_PLATFORM_PROCESS_STATE_H
#define VESTA_PLATFORM_PROCESS_STATE_H

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fault_points.h"
#include "platform/file_error.h"
#include "vesta/export.h"

namespace vesta::platform::state {

// What tests put in place of the machine's folders (folder_overrides.h).
struct FolderOverrides {
  std::string windows;  // "" when none
  struct Special {
    bool active = false;
    std::string path;
  } special[2];  // Start-up, then Programs
};
VESTA_STATE_API FolderOverrides& Overrides();

// The last failure of a file operation, one for each thread (file_error.h).
VESTA_STATE_API FileError& LastFileError();

// The fault points that tests arm (fault_points.h): the call that is to
// fail, and the calls counted since arming.
struct FaultPoint {
  std::atomic<int> nth{0};
  std::atomic<int> calls{0};
};
VESTA_STATE_API FaultPoint& Fault(platform::FaultPoint point);

// Replacements (file_output.h): how many temporaries this process has
// named, the folders it has swept of dead processes' temporaries, and the
// old versions of fresh copies set aside until their batch ends.
struct Replacements {
  std::atomic<unsigned> temporariesNamed{0};
  std::mutex mutex;
  std::set<std::string> sweptFolders;  // folded as written
  std::vector<std::string> setAside;   // host paths
};
VESTA_STATE_API Replacements& Replacing();

// The POSIX backend's installation: VESTA_ROOT as it was when its folders
// were made, where it really lies, and that folder held open (-1 when it
// could not be).
struct Installation {
  std::mutex mutex;
  std::string root;
  std::string real;
  int folder = -1;
};
VESTA_STATE_API Installation& MadeInstallation();

// The POSIX backend's listings of settled folders, by host path, with
// what tells that a folder is still as it was listed (host_path_posix.cpp).
struct FolderListings {
  static constexpr size_t kMostFolders = 256;
  struct Listing {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long changed = 0;  // the change time, in nanoseconds
    int held = 0;           // FolderFills that keep it, whatever its times say
    std::unordered_map<std::string, std::string> names;  // folded -> as the folder spells it
  };
  std::mutex mutex;
  std::unordered_map<std::string, Listing> folders;
};
VESTA_STATE_API FolderListings& Listings();

// The last problem the registry met (RegistryLastProblem).
struct RegistryProblem {
  std::mutex mutex;
  std::string last;
};
VESTA_STATE_API RegistryProblem& Registry();

// How many times COM was started and not stopped on this thread (the POSIX
// backend counts as Windows would).
VESTA_STATE_API int& ComStarts();

}  // namespace vesta::platform::state

#endif
