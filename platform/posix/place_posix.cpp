#include "platform/posix/place.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/file_error.h"
#include "platform/posix/host_path.h"
#include "platform/posix/installation.h"

namespace vesta::platform::posix {
namespace {

// More links than this in a row are a loop, as for the kernel.
constexpr int kMaxLinks = 40;

// Splits a host path into its folder and its last name; trailing slashes
// do not count. False when there is no name ("/", "", or "." or ".." last).
bool Split(std::string host, std::string* folder, std::string* name) {
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  if (host.empty() || host == "/") return false;
  size_t slash = host.rfind('/');
  if (slash == std::string::npos) {
    *folder = ".";
    *name = host;
  } else {
    *folder = slash == 0 ? std::string("/") : host.substr(0, slash);
    *name = host.substr(slash + 1);
  }
  return *name != "." && *name != "..";
}

}  // namespace

std::string FolderLocation(int folder, const std::string& folderPath) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", folder);
  char real[PATH_MAX];
  ssize_t length = readlink(link, real, sizeof real - 1);
  if (length > 0 && real[0] == '/') return std::string(real, static_cast<size_t>(length));
  // Without /proc: resolve the name, and make sure it is the folder held.
  struct stat held;
  struct stat named;
  if (realpath(folderPath.c_str(), real) == nullptr || fstat(folder, &held) != 0 || stat(real, &named) != 0 ||
      held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
    return std::string();
  }
  return real;
}

Place::~Place() {
  if (folder_ >= 0) close(folder_);
}

bool Place::Fail(int error, const std::string& reason) {
  if (folder_ >= 0) close(folder_);
  folder_ = -1;
  SetFileError(given_.c_str(), reason);
  errno = error;
  return false;
}

bool Place::Open(const char* path) {
  given_ = path != nullptr ? path : "";
  outside_ = false;
  if (path == nullptr || *path == '\0') return Fail(ENOENT, std::strerror(ENOENT));
  bounded_ = IsWindowsPath(path) || IsRootHostPath(path);
  std::string folder;
  std::string name;
  if (!Split(ResolveHostPath(path), &folder, &name)) return Fail(EINVAL, "not a path to a file or folder");
  return OpenAt(folder, name);
}

bool Place::OpenAt(const std::string& hostFolder, const std::string& name) {
  if (folder_ >= 0) close(folder_);
  folderPath_ = hostFolder;
  name_ = name;
  folder_ = open(hostFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) {
    int error = errno;
    return Fail(error, std::strerror(error));
  }
  if (bounded_ && !LiesInRoot(FolderLocation(folder_, hostFolder))) {
    outside_ = true;
    return Fail(EACCES, kOutsideRootReason);
  }
  return true;
}

bool Place::FollowLinks() {
  for (int links = 0; links < kMaxLinks; ++links) {
    struct stat st;
    if (fstatat(folder_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode)) return true;
    char target[PATH_MAX];
    ssize_t length = readlinkat(folder_, name_.c_str(), target, sizeof target - 1);
    if (length <= 0) return Fail(errno, std::strerror(errno));
    target[length] = '\0';
    std::string whole = target;
    if (whole[0] != '/') {
      std::string here = FolderLocation(folder_, folderPath_);
      if (here.empty()) return Fail(ENOENT, "cannot tell where a link leads");
      whole = here + "/" + whole;
    }
    std::string folder;
    std::string name;
    if (!Split(whole, &folder, &name)) return Fail(EINVAL, "a link that leads to no file");
    if (!OpenAt(folder, name)) return false;
  }
  return Fail(ELOOP, std::strerror(ELOOP));
}

}  // namespace vesta::platform::posix
