// Temporary files and appends on POSIX, made through the folder that holds
// them (place.h), so that a Windows path never leads a change out of
// VESTA_ROOT.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_error.h"
#include "platform/file_output_backend.h"
#include "platform/posix/host_path.h"
#include "platform/posix/place.h"
#include "platform/process_state.h"

namespace vesta::platform::backend {

struct Temporary {
  posix::Place place;  // the folder and the name of the file replaced
  std::string name;    // the temporary's name in that folder; "" for one without a name
  std::string path;    // the caller's path, for errors
  FILE* stream = nullptr;
  int unnamed = -1;  // the file without a name, held open until it is linked to one
  bool renamed = false;
};

namespace {

bool Fail(const std::string& path) {
  int error = errno;
  SetFileError(path.c_str(), std::strerror(error));
  errno = error;
  return false;
}

// True when a file made without a name can be given one later: through
// its entry in /proc, which an unprivileged process may link.
bool CanNameLater() {
  static const bool can = access("/proc/self/fd", X_OK) == 0;
  return can;
}

// Opens a file without a name in the temporary's folder, to be linked to
// the name once whole: a process that dies while it writes leaves nothing
// behind. False where the file system cannot (nothing is made then).
bool OpenUnnamed(Temporary* temporary) {
#ifdef O_TMPFILE
  if (!CanNameLater()) return false;
  const int fd = openat(temporary->place.Folder(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  temporary->unnamed = dup(fd);
  temporary->stream = temporary->unnamed >= 0 ? fdopen(fd, "w") : nullptr;
  if (temporary->stream != nullptr) {
    temporary->name.clear();
    return true;
  }
  close(fd);
  if (temporary->unnamed >= 0) close(temporary->unnamed);
  temporary->unnamed = -1;
#else
  (void)temporary;
#endif
  return false;
}

// Gives the unnamed temporary its name, never over a file there already.
bool LinkUnnamed(Temporary* temporary) {
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", temporary->unnamed);
  if (linkat(AT_FDCWD, self, temporary->place.Folder(), temporary->place.Name(), AT_SYMLINK_FOLLOW) != 0) {
    return Fail(temporary->path);
  }
  close(temporary->unnamed);
  temporary->unnamed = -1;
  return true;
}

// Swaps what two names in folder hold, atomically; false where nothing is
// at either or the file system cannot. For a file whose batch is synced
// later: a rename over a file makes ext4 write the new one out at once,
// an exchange does not.
bool ExchangeNames(int folder, const char* first, const char* second) {
#ifdef RENAME_EXCHANGE
  return renameat2(folder, first, folder, second, RENAME_EXCHANGE) == 0;
#else
  (void)folder;
  (void)first;
  (void)second;
  return false;
#endif
}

// Opens, emptied, an old version set aside in the temporary's folder, to
// be the temporary; -1 when there is none (or it is no longer a regular
// file of ours).
int TakeSetAside(Temporary* temporary) {
  const std::string folder = temporary->place.FolderPath() + "/";
  std::string name;
  {
    state::Replacements& replacing = state::Replacing();
    std::lock_guard<std::mutex> lock(replacing.mutex);
    for (auto it = replacing.setAside.begin(); it != replacing.setAside.end(); ++it) {
      if (it->compare(0, folder.size(), folder) == 0 && it->find('/', folder.size()) == std::string::npos) {
        name = it->substr(folder.size());
        replacing.setAside.erase(it);
        break;
      }
    }
  }
  if (name.empty()) return -1;
  // Emptied only once it is known to be a file with no other name.
  const int fd = openat(temporary->place.Folder(), name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 && ftruncate(fd, 0) == 0) {
    temporary->name = name;
    return fd;
  }
  if (fd >= 0) close(fd);
  return -1;
}

}  // namespace

Temporary* CreateTemporary(const char* path, const std::string& temporaryName, FileMode /*mode*/,
                           bool followLinks, bool mustBeNew) {
  auto* temporary = new Temporary;
  temporary->name = temporaryName;
  temporary->path = path;
  posix::Place& place = temporary->place;
  if (!place.Open(path) || (followLinks && !place.FollowLinks())) {
    delete temporary;
    return nullptr;
  }
  struct stat held;
  if (mustBeNew && !place.SeenMissing() && fstatat(place.Folder(), place.Name(), &held, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    Fail(path);
    delete temporary;
    return nullptr;
  }
  if (mustBeNew && OpenUnnamed(temporary)) return temporary;
  int fd = mustBeNew ? -1 : TakeSetAside(temporary);
  if (fd < 0) fd = openat(place.Folder(), temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    Fail(path);
    delete temporary;
    return nullptr;
  }
  // The new file keeps the old one's permissions.
  struct stat old;
  if (!mustBeNew && fstatat(place.Folder(), place.Name(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode)) {
    fchmod(fd, old.st_mode & 07777);
  }
  temporary->stream = fdopen(fd, "w");
  if (temporary->stream == nullptr) {
    Fail(path);
    close(fd);
    DiscardTemporary(temporary);
    return nullptr;
  }
  return temporary;
}

FILE* TemporaryStream(Temporary* temporary) { return temporary->stream; }

bool SyncStream(FILE* stream) {
  if (stream == nullptr) return false;
  if (fsync(fileno(stream)) == 0) return true;
  SetFileError("", std::strerror(errno));
  return false;
}

bool CloseTemporaryStream(Temporary* temporary) {
  FILE* stream = temporary->stream;
  temporary->stream = nullptr;
  if (stream == nullptr) return false;
  return std::fclose(stream) == 0 || Fail(temporary->path);
}

bool MoveTemporaryOver(Temporary* temporary, bool keepExisting, bool durable) {
  const int folder = temporary->place.Folder();
  const char* name = temporary->place.Name();
  if (temporary->unnamed >= 0) {
    // Made only for a new file; a link never replaces one.
    if (!LinkUnnamed(temporary)) return false;
  } else if (keepExisting) {
    // A link fails where a name exists already; then the temporary goes.
    // Where the file system has no links, a check has to do.
    if (linkat(folder, temporary->name.c_str(), folder, name, 0) == 0) {
      unlinkat(folder, temporary->name.c_str(), 0);
    } else {
      struct stat st;
      if (errno == EEXIST || (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS)) return Fail(temporary->path);
      if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return Fail(temporary->path);
      }
      if (renameat(folder, temporary->name.c_str(), folder, name) != 0) return Fail(temporary->path);
    }
  } else if (!durable && ExchangeNames(folder, temporary->name.c_str(), name)) {
    // The temporary's name now holds the old version: set aside, to be
    // written over by the folder's next such rewrite and removed when the
    // batch ends, so that the batch frees no inode while it makes files
    // (ext4 without a journal looks past each one freed of late).
    state::Replacements& replacing = state::Replacing();
    std::lock_guard<std::mutex> lock(replacing.mutex);
    replacing.setAside.push_back(temporary->place.FolderPath() + "/" + temporary->name);
  } else if (renameat(folder, temporary->name.c_str(), folder, name) != 0) {
    return Fail(temporary->path);
  }
  temporary->renamed = true;
  posix::NoteNewName(temporary->place.FolderPath(), name);
  // The rename itself reaches the disk with the folder. The new file is in
  // place either way, so it is what the caller is told.
  if (durable) fsync(folder);
  return true;
}

void DiscardTemporary(Temporary* temporary) {
  if (temporary == nullptr) return;
  if (temporary->stream != nullptr) std::fclose(temporary->stream);
  if (temporary->unnamed >= 0) close(temporary->unnamed);
  if (!temporary->renamed && !temporary->name.empty() && temporary->place.Folder() >= 0) {
    unlinkat(temporary->place.Folder(), temporary->name.c_str(), 0);
  }
  delete temporary;
}

FILE* OpenMemoryStream(std::string* text) {
  cookie_io_functions_t gather{};
  gather.write = [](void* cookie, const char* data, size_t size) -> ssize_t {
    try {
      static_cast<std::string*>(cookie)->append(data, size);
    } catch (const std::bad_alloc&) {
      errno = ENOMEM;
      return -1;
    }
    return static_cast<ssize_t>(size);
  };
  return fopencookie(text, "w", gather);
}

void RemoveSetAside() {
  std::vector<std::string> setAside;
  {
    state::Replacements& replacing = state::Replacing();
    std::lock_guard<std::mutex> lock(replacing.mutex);
    setAside.swap(replacing.setAside);
  }
  for (const std::string& path : setAside) RemoveFile(path.c_str());
}

int CopyInSystem(FILE* in, FILE* out) {
  if (std::fflush(out) != 0) return -1;
  bool copied = false;
  for (;;) {
    const ssize_t n = copy_file_range(fileno(in), nullptr, fileno(out), nullptr, size_t{1} << 30, 0);
    if (n > 0) {
      copied = true;
    } else if (n == 0) {
      return 1;
    } else if (errno != EINTR) {
      // Another file system, or one that cannot: the caller's own copy.
      const bool offered = errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP &&
                           errno != EPERM && errno != EBADF;
      return copied || offered ? -1 : 0;
    }
  }
}

bool SyncFiles(const std::vector<std::string>& paths) {
  // One syncfs for each file system: it takes every file written there and
  // every name made, in one pass rather than one wait per file.
  std::set<dev_t> synced;
  std::set<std::string> folders;  // as the paths spell them
  for (const std::string& path : paths) {
    const size_t cut = path.find_last_of("\\/");
    if (!folders.insert(cut == std::string::npos ? std::string() : path.substr(0, cut)).second) continue;
    posix::Place place;
    if (!place.Open(path.c_str())) {
      if (errno == ENOENT) continue;
      return false;
    }
    struct stat st;
    if (fstat(place.Folder(), &st) != 0) return Fail(path);
    if (!synced.insert(st.st_dev).second) continue;
    if (syncfs(place.Folder()) != 0) return Fail(path);
  }
  return true;
}

bool OpenForAppend(const char* path, FileMode mode, AppendTarget* target) {
  posix::Place place;
  if (!place.Open(path) || !place.FollowLinks()) return false;
  const int flags = O_RDWR | O_APPEND | O_NOFOLLOW | O_CLOEXEC;
  int fd = -1;
  // Two appenders may find the file missing at once: one makes it, the
  // other opens what it made.
  for (int tries = 0; fd < 0 && tries < 8; ++tries) {
    target->created = false;
    fd = openat(place.Folder(), place.Name(), flags);
    if (fd >= 0 || errno != ENOENT) break;
    fd = openat(place.Folder(), place.Name(), flags | O_CREAT | O_EXCL, 0666);
    target->created = fd >= 0;
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Fail(path);
  // Another process may append at the same time: the length, the last
  // byte and the way back hold only while the file is locked.
  while (flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      Fail(path);
      close(fd);
      return false;
    }
  }
  struct stat st;
  struct stat named;
  char last = '\n';
  bool ok = fstat(fd, &st) == 0;
  if (ok && !target->created &&
      (fstatat(place.Folder(), place.Name(), &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_dev != st.st_dev ||
       named.st_ino != st.st_ino)) {
    // Removed or replaced while this process waited: append to what is at
    // the name now.
    close(fd);
    return OpenForAppend(path, mode, target);
  }
  if (ok && !S_ISREG(st.st_mode)) {
    errno = EINVAL;  // a device or a pipe has no end to cut back to
    ok = false;
  }
  ok = ok && (st.st_size == 0 || pread(fd, &last, 1, st.st_size - 1) == 1);
  if (!ok) {
    Fail(path);
    close(fd);
    return false;
  }
  FILE* stream = fdopen(fd, "a");
  if (stream == nullptr) {
    Fail(path);
    close(fd);
    return false;
  }
  std::setvbuf(stream, nullptr, _IONBF, 0);
  target->stream = stream;
  target->length = st.st_size;
  target->endsLine = last == '\n';
  return true;
}

bool LockAppend(FILE* stream) {
  while (flock(fileno(stream), LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

void UnlockAppend(FILE* stream) { flock(fileno(stream), LOCK_UN); }

bool CutBack(FILE* stream, long long length) {
  return stream != nullptr && ftruncate(fileno(stream), static_cast<off_t>(length)) == 0;
}

void RemoveCreated(const char* path) {
  posix::Place place;
  if (place.Open(path) && place.FollowLinks()) unlinkat(place.Folder(), place.Name(), 0);
}

struct KeptFile {
  std::string root;  // VESTA_ROOT when it was kept
  dev_t device = 0;
  ino_t inode = 0;
  int folder = -1;   // the folder that holds it, to look its name up again
  std::string name;  // its name there
};

KeptFile* KeepAppendTarget(FILE* stream) {
  if (stream == nullptr) return nullptr;
  const int fd = fileno(stream);
  char real[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length = readlink(link.c_str(), real, sizeof real - 1);
  struct stat st;
  if (length <= 0 || real[0] != '/' || fstat(fd, &st) != 0) return nullptr;
  const std::string path(real, static_cast<size_t>(length));
  const size_t slash = path.rfind('/');
  const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
  const int folderFd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return nullptr;
  auto* kept = new KeptFile;
  kept->root = posix::VestaRoot();
  kept->device = st.st_dev;
  kept->inode = st.st_ino;
  kept->folder = folderFd;
  kept->name = path.substr(slash + 1);
  return kept;
}

bool StillAppendTarget(const KeptFile* kept, FILE* stream, long long length) {
  if (kept == nullptr || stream == nullptr || kept->root != posix::VestaRoot()) return false;
  // The name in its folder still gives the file held (not deleted, renamed
  // away or replaced since), and the file is as long as it was left.
  struct stat named;
  return fstatat(kept->folder, kept->name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         named.st_dev == kept->device && named.st_ino == kept->inode && S_ISREG(named.st_mode) &&
         named.st_size == static_cast<off_t>(length);
}

void ForgetAppendTarget(KeptFile* kept) {
  if (kept == nullptr) return;
  close(kept->folder);
  delete kept;
}

}  // namespace vesta::platform::backend
