#include "platform/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/host_path.h"

namespace vesta::platform {

FILE* OpenStream(const char* path, const char* mode) {
  if (path == nullptr || *path == '\0' || mode == nullptr) {
    errno = ENOENT;
    return nullptr;
  }
  std::string host = posix::ResolveHostPath(path);
  return std::fopen(host.c_str(), mode);
}

bool FileExists(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  struct stat st;
  std::string host = posix::ResolveHostPath(path);
  return stat(host.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  struct stat st;
  std::string host = posix::ResolveHostPath(path);
  return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  std::string host = posix::ResolveHostPath(path);
  if (mkdir(host.c_str(), 0777) == 0) return true;
  struct stat st;
  return errno == EEXIST && stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  std::string host = posix::ResolveHostPath(path);
  struct stat st;
  if (stat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return unlink(host.c_str()) == 0;
}

std::string HostPath(const char* path) { return posix::ResolveHostPath(path); }

}  // namespace vesta::platform
