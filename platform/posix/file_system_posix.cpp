#include "platform/file_system.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/host_path.h"

namespace vesta::platform {

FILE* OpenStream(const char* path, const char* mode) {
  if (path == nullptr || *path == '\0' || mode == nullptr) {
    errno = ENOENT;
    return nullptr;
  }
  std::string host = posix::ResolveHostPath(path);
  FILE* stream = std::fopen(host.c_str(), mode);
  // A folder opens for reading here but not on Windows: refuse it alike.
  struct stat st;
  if (stream != nullptr && mode[0] == 'r' && fstat(fileno(stream), &st) == 0 && S_ISDIR(st.st_mode)) {
    std::fclose(stream);
    errno = EISDIR;
    return nullptr;
  }
  return stream;
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

bool RemoveEmptyFolder(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  std::string host = posix::ResolveHostPath(path);
  return rmdir(host.c_str()) == 0;
}

bool ShortPath(const char* path, std::string* shortPath) {
  if (shortPath == nullptr || !(FileExists(path) || FolderExists(path))) return false;
  *shortPath = path;
  return true;
}

bool CopyOneFile(const char* from, const char* to, bool failIfExists) {
  if (from == nullptr || to == nullptr || !FileExists(from)) return false;
  if (failIfExists && (FileExists(to) || FolderExists(to))) return false;
  FILE* in = OpenStream(from, "rb");
  if (in == nullptr) return false;
  FILE* out = OpenStream(to, "wb");
  if (out == nullptr) {
    std::fclose(in);
    return false;
  }
  char buffer[1 << 15];
  size_t n;
  bool ok = true;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
    if (std::fwrite(buffer, 1, n, out) != n) {
      ok = false;
      break;
    }
  }
  ok = !std::ferror(in) && ok;
  std::fclose(in);
  return std::fclose(out) == 0 && ok;
}

bool MoveOver(const char* from, const char* to) {
  if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') return false;
  std::string source = posix::ResolveHostPath(from);
  std::string target = posix::ResolveHostPath(to);
  return std::rename(source.c_str(), target.c_str()) == 0;
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

}  // namespace vesta::platform
