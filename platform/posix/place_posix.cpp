#include "platform/posix/place.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__linux__) && __has_include(<linux/openat2.h>)
#include <linux/openat2.h>
#define VESTA_HAVE_OPENAT2 1
#endif

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

// Opens hostFolder when it is spelled inside the root, walking from the
// root's own folder with the kernel keeping every step beneath it, links
// included: what opens lies in the root without a look at where. -1 with
// errno set when it cannot be opened that way; ENOENT and ENOTDIR say that
// the folder is not there, anything else that the caller must look for
// itself (no openat2, an absolute link, a way up out of the root).
int OpenBeneathRoot(const std::string& hostFolder) {
#if defined(VESTA_HAVE_OPENAT2) && defined(SYS_openat2)
  const std::string root = VestaRoot();
  const int base = root.empty() || root.back() == '/' ? -1 : RootFolder();
  if (base < 0 || hostFolder.compare(0, root.size(), root) != 0 ||
      (hostFolder.size() > root.size() && hostFolder[root.size()] != '/')) {
    errno = EXDEV;
    return -1;
  }
  const size_t start = hostFolder.find_first_not_of('/', root.size());
  const char* rest = start == std::string::npos ? "." : hostFolder.c_str() + start;
  open_how how{};
  how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  return static_cast<int>(syscall(SYS_openat2, base, rest, &how, sizeof how));
#else
  errno = ENOSYS;
  return -1;
#endif
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
  // A name is most often spelled as it is on the disk: the folder so
  // spelled and the name in it are looked at first, and only a name not
  // found so is matched without regard to case.
  if (bounded_ && Split(SpelledHostPath(path), &folder, &name) && OpenSpelled(folder, name)) return true;
  if (!Split(ResolveHostPath(path), &folder, &name)) return Fail(EINVAL, "not a path to a file or folder");
  return OpenAt(folder, name);
}

bool Place::OpenSpelled(const std::string& hostFolder, const std::string& name) {
  if (folder_ >= 0) close(folder_);
  looked_ = false;
  folder_ = OpenBeneathRoot(hostFolder);
  if (folder_ < 0) return false;
  folderPath_ = hostFolder;
  name_ = name;
  if (fstatat(folder_, name.c_str(), &named_, AT_SYMLINK_NOFOLLOW) == 0) {
    looked_ = !S_ISLNK(named_.st_mode);
    lookError_ = 0;
    return true;
  }
  if (errno != ENOENT) {
    close(folder_);
    folder_ = -1;
    return false;
  }
  // The folder is there as spelled and the name is not (a file about to be
  // made, mostly): only the name is matched without regard to case, in the
  // folder already open.
  const std::string match = MatchNameIn(hostFolder, name);
  if (match.empty()) {
    looked_ = true;
    lookError_ = ENOENT;
  } else {
    name_ = match;
  }
  return true;
}

bool Place::OpenAt(const std::string& hostFolder, const std::string& name) {
  if (folder_ >= 0) close(folder_);
  looked_ = false;
  folderPath_ = hostFolder;
  name_ = name;
  if (bounded_) {
    folder_ = OpenBeneathRoot(hostFolder);
    if (folder_ >= 0) return true;
    if (errno == ENOENT || errno == ENOTDIR) return Fail(errno, std::strerror(errno));
  }
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
  if (looked_) return true;
  for (int links = 0; links < kMaxLinks; ++links) {
    looked_ = fstatat(folder_, name_.c_str(), &named_, AT_SYMLINK_NOFOLLOW) == 0;
    lookError_ = looked_ ? 0 : errno;
    if (!looked_ || !S_ISLNK(named_.st_mode)) {
      looked_ = true;
      return true;
    }
    looked_ = false;
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

bool Place::Look(struct stat* st) const {
  if (!looked_) return fstatat(folder_, name_.c_str(), st, 0) == 0;
  if (lookError_ != 0) {
    errno = lookError_;
    return false;
  }
  *st = named_;
  return true;
}

}  // namespace vesta::platform::posix
