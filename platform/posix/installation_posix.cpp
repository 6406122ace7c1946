#include "platform/posix/installation.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/file_error.h"
#include "platform/posix/host_path.h"
#include "platform/process_state.h"

namespace vesta::platform::posix {
namespace {

// The folders of a fresh installation, parents before children.
const char* const kFolders[] = {
    "C:\\",
    "C:\\Windows",
    "C:\\Windows\\System32",
    "C:\\Windows\\Temp",
    "C:\\Windows\\Desktop",
    "C:\\Windows\\Start Menu",
    "C:\\Windows\\Start Menu\\Programs",
    "C:\\Windows\\Start Menu\\Programs\\Startup",
    "C:\\Program Files",
};

bool MakeOne(const std::string& folder) {
  if (mkdir(folder.c_str(), 0777) == 0) return true;
  const int error = errno;
  struct stat st;
  if (error == EEXIST && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  SetFileError(folder.c_str(), error == EEXIST ? "there is something else there, not a folder" : std::strerror(error));
  return false;
}

// Makes folder and the parents it lacks.
bool MakeWithParents(const std::string& folder) {
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    MakeOne(folder.substr(0, slash));
  }
  return MakeOne(folder);
}

state::Installation& State() { return state::MadeInstallation(); }

}  // namespace

bool EnsureInstallation() {
  state::Installation& known = State();
  const std::string root = VestaRoot();
  std::lock_guard<std::mutex> lock(known.mutex);
  if (known.root == root && !known.real.empty()) return true;
  bool made = MakeWithParents(root);
  // A name of the letter case used here may exist in another case: keep it.
  for (const char* folder : kFolders) made = MakeOne(ResolveHostPath(folder)) && made;
  char real[PATH_MAX];
  if (!made || realpath(root.c_str(), real) == nullptr) return false;
  known.root = root;
  known.real = real;
  if (known.folder >= 0) close(known.folder);
  known.folder = open(real, O_PATH | O_DIRECTORY | O_CLOEXEC);
  return true;
}

std::string RealRoot() {
  if (!EnsureInstallation()) {
    // The folders could not all be made; the root may still be there.
    char real[PATH_MAX];
    return realpath(VestaRoot().c_str(), real) != nullptr ? std::string(real) : std::string();
  }
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().real;
}

int RootFolder() {
  if (!EnsureInstallation()) return -1;
  std::lock_guard<std::mutex> lock(State().mutex);
  return State().folder;
}

bool LiesInRoot(const std::string& real) {
  const std::string root = RealRoot();
  if (root.empty() || real.compare(0, root.size(), root) != 0) return false;
  return real.size() == root.size() || real[root.size()] == '/' || root == "/";
}

}  // namespace vesta::platform::posix
