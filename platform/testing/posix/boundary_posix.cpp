#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/testing/boundary.h"

namespace vesta::testing {
namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); }

// The name the climbing paths use in the host's temporary folder.
std::string EscapeName(const std::string& name) {
  return "vesta-escape-" + std::to_string(getpid()) + "-" + name;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every entry under folder (the root left out), with its kind, size and
// contents, in order.
void Describe(const std::string& folder, const std::string& skip, std::string* out) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string path = folder + "/" + name;
    if (path == skip) continue;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) continue;
    if (S_ISLNK(st.st_mode)) {
      char target[4096];
      ssize_t length = readlink(path.c_str(), target, sizeof target - 1);
      *out += "link " + path + " -> " + std::string(target, length > 0 ? static_cast<size_t>(length) : 0) + "\n";
    } else if (S_ISDIR(st.st_mode)) {
      *out += "folder " + path + "\n";
      Describe(path, skip, out);
    } else {
      *out += "file " + path + " [" + Contents(path) + "]\n";
    }
  }
}

}  // namespace

RootBoundary::RootBoundary() {
  const char* saved = std::getenv("VESTA_ROOT");
  hadRoot_ = saved != nullptr;
  if (hadRoot_) savedRoot_ = saved;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vesta-boundary-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a boundary folder");
  outer_ = pattern;
  const std::string root = outer_ + "/root";
  const std::string scratch = root + "/drive_c/scratch";
  for (const std::string& folder : {root, root + "/drive_c", scratch, outer_ + "/outside"}) {
    mkdir(folder.c_str(), 0777);
  }
  std::ofstream(outer_ + "/outside/victim.txt") << "victim\n";
  bool linked = symlink((outer_ + "/outside").c_str(), (scratch + "/out").c_str()) == 0 &&
                symlink("../../..", (scratch + "/up").c_str()) == 0 &&
                symlink((outer_ + "/outside/victim.txt").c_str(), (scratch + "/outfile").c_str()) == 0 &&
                symlink((outer_ + "/outside/nothing.txt").c_str(), (scratch + "/dangling").c_str()) == 0;
  if (!linked) throw std::runtime_error("cannot make the links of a boundary folder");
  setenv("VESTA_ROOT", root.c_str(), 1);
  Describe(outer_, root, &snapshot_);
  supported_ = true;
}

RootBoundary::~RootBoundary() {
  nftw(outer_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  // Whatever escaped to the temporary folder goes too.
  const char* tmp = "/tmp";
  DIR* dir = opendir(tmp);
  const std::string prefix = EscapeName("");
  while (dir != nullptr) {
    dirent* entry = readdir(dir);
    if (entry == nullptr) break;
    std::string name = entry->d_name;
    if (name.compare(0, prefix.size(), prefix) == 0) nftw((std::string(tmp) + "/" + name).c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  }
  if (dir != nullptr) closedir(dir);
  if (hadRoot_) {
    setenv("VESTA_ROOT", savedRoot_.c_str(), 1);
  } else {
    unsetenv("VESTA_ROOT");
  }
}

std::vector<std::string> RootBoundary::ClimbingPaths(const std::string& name) const {
  return {
      "C:\\..\\..\\" + name,
      "c:/../../" + name,
      "\\..\\..\\" + name,
      "Z:\\..\\..\\" + name,
      "\\\\srv\\share\\..\\..\\..\\" + name,
      "C:\\VESTA\\..\\..\\..\\" + name,
      "C:\\scratch\\.\\..\\..\\..\\..\\" + name,
      "C:\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\tmp\\" + EscapeName(name),
  };
}

std::vector<std::string> RootBoundary::LinkPaths(const std::string& name) const {
  return {
      "C:\\scratch\\out\\" + name,
      "C:\\scratch\\up\\outside\\" + name,
      "C:\\scratch\\outfile",
      "C:\\scratch\\dangling",
  };
}

std::vector<std::string> RootBoundary::HostPaths(const std::string& name) const {
  return {outer_ + "/outside/" + name, outer_ + "/outside/victim.txt", "/tmp/" + EscapeName(name)};
}

std::string RootBoundary::ChangesOutside() const {
  std::string now;
  Describe(outer_, outer_ + "/root", &now);
  std::string changes;
  if (now != snapshot_) changes = "beside the root, before:\n" + snapshot_ + "after:\n" + now;
  DIR* dir = opendir("/tmp");
  const std::string prefix = EscapeName("");
  while (dir != nullptr) {
    dirent* entry = readdir(dir);
    if (entry == nullptr) break;
    if (std::string(entry->d_name).compare(0, prefix.size(), prefix) == 0) changes += std::string("/tmp/") + entry->d_name + "\n";
  }
  if (dir != nullptr) closedir(dir);
  return changes;
}

}  // namespace vesta::testing
