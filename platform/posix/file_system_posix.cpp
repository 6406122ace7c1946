#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_error.h"
#include "platform/file_output.h"
#include "platform/posix/host_path.h"
#include "platform/posix/installation.h"
#include "platform/posix/place.h"

namespace vesta::platform {
namespace {

bool Fail(const char* path, int error) {
  SetFileError(path, std::strerror(error));
  errno = error;
  return false;
}

bool FailWithErrno(const char* path) { return Fail(path, errno != 0 ? errno : EIO); }

// What is at a path, links followed; false when nothing is. A Windows
// path is looked at through its folder, so that a link out of the root
// shows nothing (and says why).
bool LookAt(const char* path, struct stat* st) {
  if (path == nullptr || *path == '\0') return false;
  if (!posix::IsWindowsPath(path)) return stat(posix::ResolveHostPath(path).c_str(), st) == 0;
  const FileError before = LastFileError();
  posix::Place place;
  if (place.Open(path) && place.FollowLinks() && place.Look(st)) return true;
  // Only a way out is worth a word; a name that is not there is not news.
  if (!place.Outside()) SetFileError(before.path.c_str(), before.reason);
  return false;
}

// Opens the file at path to read: never waiting on a pipe, and only a
// regular file (a folder is refused as on Windows, with EISDIR).
FILE* OpenForReading(const char* path, const char* mode) {
  posix::Place place;
  if (!place.Open(path) || !place.FollowLinks()) return nullptr;
  int fd = openat(place.Folder(), place.Name(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    FailWithErrno(path);
    return nullptr;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool folder = S_ISDIR(st.st_mode);
    close(fd);
    if (folder) {
      Fail(path, EISDIR);
    } else {
      SetFileError(path, kNotRegularReason);
      errno = EINVAL;
    }
    return nullptr;
  }
  // O_NONBLOCK is the only status flag it was opened with.
  fcntl(fd, F_SETFL, 0);
  FILE* stream = fdopen(fd, mode);
  if (stream == nullptr) {
    FailWithErrno(path);
    close(fd);
  }
  return stream;
}

// The open(2) flags of an fopen mode that writes; 0 for a mode that only
// reads.
int WriteFlags(const char* mode) {
  const bool plus = std::strchr(mode, '+') != nullptr;
  const bool exclusive = std::strchr(mode, 'x') != nullptr;
  switch (mode[0]) {
    case 'w':
      return (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC | (exclusive ? O_EXCL : 0);
    case 'a':
      return (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
    case 'r':
      return plus ? O_RDWR : 0;
    default:
      return -1;
  }
}

// The mode for fdopen: the same without "x".
std::string StreamMode(const char* mode) {
  std::string plain;
  for (const char* p = mode; *p != '\0'; ++p) {
    if (*p != 'x') plain += *p;
  }
  return plain;
}

FILE* OpenForWriting(const char* path, const char* mode, int flags) {
  posix::Place place;
  if (!place.Open(path) || !place.FollowLinks()) return nullptr;
  int fd = openat(place.Folder(), place.Name(), flags | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    FailWithErrno(path);
    return nullptr;
  }
  FILE* stream = fdopen(fd, StreamMode(mode).c_str());
  if (stream == nullptr) {
    FailWithErrno(path);
    close(fd);
  }
  return stream;
}

}  // namespace

FILE* OpenStream(const char* path, const char* mode) {
  if (path == nullptr || *path == '\0' || mode == nullptr) {
    Fail(path, ENOENT);
    return nullptr;
  }
  const int flags = WriteFlags(mode);
  if (flags < 0) {
    Fail(path, EINVAL);
    return nullptr;
  }
  if (flags != 0) return OpenForWriting(path, mode, flags);
  return OpenForReading(path, mode);
}

bool FileExists(const char* path) {
  struct stat st;
  return LookAt(path, &st) && S_ISREG(st.st_mode);
}

bool PathExists(const char* path) {
  struct stat st;
  return LookAt(path, &st);
}

bool RegularFileSize(const char* path, int64_t* size) {
  struct stat st;
  if (size == nullptr || !LookAt(path, &st) || !S_ISREG(st.st_mode)) return false;
  *size = static_cast<int64_t>(st.st_size);
  return true;
}

bool FolderExists(const char* path) {
  struct stat st;
  return LookAt(path, &st) && S_ISDIR(st.st_mode);
}

bool MakeFolder(const char* path) {
  posix::Place place;
  if (!place.Open(path)) return false;
  if (mkdirat(place.Folder(), place.Name(), 0777) == 0) return true;
  const int error = errno;
  struct stat st;
  if (error == EEXIST && fstatat(place.Folder(), place.Name(), &st, 0) == 0 && S_ISDIR(st.st_mode)) return true;
  return Fail(path, error);
}

bool RemoveFile(const char* path) {
  posix::Place place;
  if (!place.Open(path)) return false;
  // A link is removed itself, never what it leads to; one that leads to a
  // folder is a folder, as on Windows.
  struct stat st;
  if (fstatat(place.Folder(), place.Name(), &st, AT_SYMLINK_NOFOLLOW) != 0) return FailWithErrno(path);
  struct stat target;
  if (S_ISDIR(st.st_mode) ||
      (S_ISLNK(st.st_mode) && fstatat(place.Folder(), place.Name(), &target, 0) == 0 && S_ISDIR(target.st_mode))) {
    return Fail(path, EISDIR);
  }
  return unlinkat(place.Folder(), place.Name(), 0) == 0 || FailWithErrno(path);
}

bool RemoveEmptyFolder(const char* path) {
  posix::Place place;
  if (!place.Open(path)) return false;
  return unlinkat(place.Folder(), place.Name(), AT_REMOVEDIR) == 0 || FailWithErrno(path);
}

bool ShortPath(const char* path, std::string* shortPath) {
  if (shortPath == nullptr) return false;
  if (!(FileExists(path) || FolderExists(path))) return Fail(path, ENOENT);
  *shortPath = path;
  return true;
}

bool CopyOneFile(const char* from, const char* to, bool failIfExists) {
  if (from == nullptr || to == nullptr) return Fail(from, ENOENT);
  if (!FileExists(from)) return Fail(from, ENOENT);
  // Anything at the destination, file or folder, in one look: a name not
  // there yet costs a walk of its folder for another letter case.
  struct stat st;
  if (failIfExists && LookAt(to, &st)) return Fail(to, EEXIST);
  FILE* in = OpenStream(from, "rb");
  if (in == nullptr) return false;
  // Written beside the destination and put in place whole: a copy that
  // fails leaves no half file, and an old destination as it was.
  Replacement copy;
  bool ok = copy.Begin(to, FileMode::kBinary);
  char buffer[1 << 15];
  size_t n;
  while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = copy.Write(std::string_view(buffer, n));
  if (ok && std::ferror(in)) ok = Fail(from, EIO);
  std::fclose(in);
  return ok && copy.Commit(failIfExists);
}

bool MoveOver(const char* from, const char* to) {
  posix::Place source;
  posix::Place target;
  if (!source.Open(from) || !target.Open(to) || !target.FollowLinks()) return false;
  return renameat(source.Folder(), source.Name(), target.Folder(), target.Name()) == 0 || FailWithErrno(to);
}

std::vector<std::string> FindFiles(const char* pattern) {
  std::vector<std::string> found;
  if (pattern == nullptr || *pattern == '\0') return found;
  const char* cut = std::strrchr(pattern, '\\');
  const char* slash = std::strrchr(pattern, '/');
  if (slash != nullptr && (cut == nullptr || slash > cut)) cut = slash;
  std::string folder = cut != nullptr ? std::string(pattern, cut + 1) : std::string();
  const char* names = cut != nullptr ? cut + 1 : pattern;
  std::string host = folder.empty() ? std::string(".") : posix::ResolveHostPath(folder.c_str());
  DIR* dir = opendir(host.c_str());
  if (dir == nullptr) return found;
  while (dirent* entry = readdir(dir)) {
    if (fnmatch(names, entry->d_name, FNM_CASEFOLD) != 0) continue;
    std::string path = folder + entry->d_name;
    if (FileExists(path.c_str())) found.push_back(path);
  }
  closedir(dir);
  return found;
}

std::string HostPath(const char* path) { return posix::ResolveHostPath(path); }

bool IsInsideRoot(const char* path, std::string* reason) {
  std::string why;
  if (path == nullptr || *path == '\0') {
    why = "an empty path";
  } else if (!posix::IsWindowsPath(path)) {
    why = path[0] == '/' ? "a host path, outside VESTA_ROOT" : "not a full path";
  } else {
    // A folder that is not there cannot lead anywhere.
    posix::Place place;
    if (place.Open(path) || (!place.Outside() && errno != EINVAL)) return true;
    why = place.Outside() ? kOutsideRootReason : "not a valid path";
  }
  if (reason != nullptr) *reason = why;
  SetFileError(path, why);
  return false;
}

bool IsFileInsideRoot(const char* path) {
  // A Windows path is looked at only inside the root, links followed.
  return path != nullptr && posix::IsWindowsPath(path) && FileExists(path);
}

FILE* OpenFileInsideRoot(const char* path) {
  return path != nullptr && posix::IsWindowsPath(path) ? OpenStream(path, "rb") : nullptr;
}

FolderFill::FolderFill(const char* folder) {
  if (folder == nullptr || !posix::IsWindowsPath(folder)) return;
  held_ = posix::ResolveHostPath(folder);
  if (!held_.empty()) posix::HoldListing(held_);
}

FolderFill::~FolderFill() {
  if (!held_.empty()) posix::ReleaseListing(held_);
}

}  // namespace vesta::platform
