// Bulk removal on POSIX: a path's folder is resolved once for a run of
// paths in it, opened once and checked to lie in VESTA_ROOT where it
// really is; every change is made through that open folder, so that a
// Windows path never leads one out of the root.
#include "platform/bulk_removal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/file_error.h"
#include "platform/posix/host_path.h"
#include "platform/posix/installation.h"
#include "platform/posix/place.h"
#include "platform/windows_names.h"

namespace vesta::platform {
namespace backend {

struct BulkRemovalState {
  struct Item {
    std::string path;  // as given, for errors
    int folder;        // into folders
    std::string name;  // in that folder, as spelled until matched
    bool nameMatched;  // the name's letter case was looked up in the folder
  };
  std::vector<Item> items;
  std::vector<std::string> folders;  // host folders, as resolved
  std::vector<int> itemsIn;          // how many items each folder number holds
  // The Windows folder of the last path taken in, and where it led.
  std::string lastWindowsFolder;
  int lastFolder = -1;
  // The folder held open: its number, and its descriptor (-1 when it could
  // not be opened, with openError).
  int openFolder = -1;
  int openFd = -1;
  int openError = 0;
  bool openOutside = false;
  // The names in the open folder, read once when first needed: each name
  // with its type (DT_*), and by its letters folded the first name (in the
  // folder's order) that folds to them.
  bool listed = false;
  std::unordered_map<std::string, unsigned char> types;
  std::unordered_map<std::string, std::string> folded;

  ~BulkRemovalState() {
    if (openFd >= 0) close(openFd);
  }

  // Opens folder number index, checked to lie in the root, unless it is
  // open already. False when it could not be opened or lies outside.
  bool Open(int index) {
    if (index == openFolder) return openFd >= 0;
    if (openFolder >= 0 && folders[static_cast<size_t>(openFolder)] == folders[static_cast<size_t>(index)]) {
      openFolder = index;
      return openFd >= 0;
    }
    if (openFd >= 0) close(openFd);
    openFolder = index;
    openOutside = false;
    openError = 0;
    listed = false;
    const std::string& host = folders[static_cast<size_t>(index)];
    openFd = open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (openFd < 0) {
      openError = errno;
      return false;
    }
    if (!posix::LiesInRoot(posix::FolderLocation(openFd, host))) {
      close(openFd);
      openFd = -1;
      openOutside = true;
      openError = EACCES;
      return false;
    }
    return true;
  }

  // Opens the item's folder; on failure records why for the item's path.
  bool OpenFor(const Item& item) {
    if (Open(item.folder)) return true;
    SetFileError(item.path.c_str(), openOutside ? std::string(kOutsideRootReason) : std::strerror(openError));
    errno = openError;
    return false;
  }

  static std::string Fold(const char* name) { return FoldName(name); }

  // Reads the names of the open folder, unless they are read already
  // (once for each opening: a copy of the descriptor shares its place in
  // the folder, so that a second walk through another copy would find it
  // at the end).
  void List() {
    if (listed) return;
    listed = true;
    types.clear();
    folded.clear();
    const int copy = dup(openFd);
    DIR* dir = copy >= 0 ? fdopendir(copy) : nullptr;
    if (dir == nullptr) {
      if (copy >= 0) close(copy);
      return;
    }
    while (dirent* entry = readdir(dir)) {
      types.emplace(entry->d_name, entry->d_type);
      folded.emplace(Fold(entry->d_name), entry->d_name);
    }
    closedir(dir);
  }

  // When the item's name is not in its open folder as spelled, the first
  // entry that matches it without regard to letter case stands for it (as
  // ResolveHostPath does). True when the name changed.
  bool MatchName(Item* item) {
    if (item->nameMatched) return false;
    item->nameMatched = true;
    List();
    const auto match = folded.find(Fold(item->name.c_str()));
    if (match == folded.end()) return false;
    const bool changed = item->name != match->second;
    item->name = match->second;
    return changed;
  }

  // From the names read, the item's type, its name matched when it is
  // there in other letters. False when it is not there at all.
  bool Listed(Item* item, unsigned char* type) {
    List();
    auto found = types.find(item->name);
    if (found == types.end() && MatchName(item)) found = types.find(item->name);
    if (found == types.end()) return false;
    *type = found->second;
    return true;
  }

  // The folder number of a host folder (trailing slashes dropped).
  int AddFolder(std::string host) {
    while (host.size() > 1 && host.back() == '/') host.pop_back();
    folders.push_back(host);
    itemsIn.push_back(0);
    return static_cast<int>(folders.size()) - 1;
  }
};

}  // namespace backend

namespace {

// A folder with at least this many items has its names read once, rather
// than each item looked at on its own.
constexpr int kListedFolder = 16;

// Refuses path: -1.
int Refuse(const char* path, const char* why, std::string* reason) {
  if (reason != nullptr) *reason = why;
  SetFileError(path, why);
  return -1;
}

bool Fail(const std::string& path, int error) {
  SetFileError(path.c_str(), std::strerror(error));
  errno = error;
  return false;
}

// Where the last name of a Windows path begins: after its last separator,
// when that leaves a plain name (not "", "." or "..") after a drive letter
// and a colon; else 0.
size_t PlainNameStart(const char* path) {
  if (!std::isalpha(static_cast<unsigned char>(path[0])) || path[1] != ':') return 0;
  const char* last = nullptr;
  for (const char* p = path + 2; *p != '\0'; ++p) {
    if (*p == '\\' || *p == '/') last = p;
  }
  if (last == nullptr) return 0;
  const char* name = last + 1;
  if (*name == '\0' || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return 0;
  return static_cast<size_t>(name - path);
}

// Splits a host path into its folder and its last name, as Place does.
bool SplitHost(std::string host, std::string* folder, std::string* name) {
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  if (host.empty() || host == "/") return false;
  const size_t slash = host.rfind('/');
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

BulkRemoval::BulkRemoval() : state_(new backend::BulkRemovalState) {}

BulkRemoval::~BulkRemoval() { delete state_; }

int BulkRemoval::Add(const char* path, std::string* reason) {
  if (path == nullptr || *path == '\0') return Refuse(path, "an empty path", reason);
  if (!posix::IsWindowsPath(path)) {
    return Refuse(path, path[0] == '/' ? "a host path, outside VESTA_ROOT" : "not a full path", reason);
  }
  backend::BulkRemovalState& s = *state_;
  backend::BulkRemovalState::Item item{path, -1, std::string(), false};
  if (const size_t nameStart = PlainNameStart(path)) {
    // The folder is resolved once for a run of paths in it; the name is
    // matched in it when first used.
    const std::string windowsFolder(path, nameStart - 1);
    if (s.lastFolder < 0 || windowsFolder != s.lastWindowsFolder) {
      s.lastFolder = s.AddFolder(posix::ResolveHostPath(windowsFolder.c_str()));
      s.lastWindowsFolder = windowsFolder;
    }
    item.folder = s.lastFolder;
    item.name = path + nameStart;
  } else {
    std::string folder;
    if (!SplitHost(posix::ResolveHostPath(path), &folder, &item.name)) {
      return Refuse(path, "not a valid path", reason);
    }
    // Resolved whole: the name is as the resolution found it.
    item.folder = s.AddFolder(folder);
    item.nameMatched = true;
  }
  // A folder that is not there cannot lead anywhere.
  if (!s.Open(item.folder) && s.openOutside) return Refuse(path, kOutsideRootReason, reason);
  ++s.itemsIn[static_cast<size_t>(item.folder)];
  s.items.push_back(std::move(item));
  return static_cast<int>(s.items.size()) - 1;
}

BulkRemoval::FileRemoval BulkRemoval::RemoveIfFile(int index) {
  if (index < 0 || static_cast<size_t>(index) >= state_->items.size()) return FileRemoval::kNotAFile;
  backend::BulkRemovalState::Item& item = state_->items[static_cast<size_t>(index)];
  if (!state_->Open(item.folder)) return FileRemoval::kNotAFile;
  if (state_->itemsIn[static_cast<size_t>(item.folder)] >= kListedFolder) {
    // The folder's names are read once for all of its items: a name not
    // there is no file, and a plain file goes at once. A link, a folder, or
    // a name that changed since it was read is looked at as below.
    unsigned char type = DT_UNKNOWN;
    if (!state_->Listed(&item, &type)) return FileRemoval::kNotAFile;
    if (type == DT_REG && unlinkat(state_->openFd, item.name.c_str(), 0) == 0) return FileRemoval::kRemoved;
  }
  // A file, links followed (a link that leads to a folder is a folder, as
  // on Windows); then the name itself goes, never what it leads to.
  struct stat st;
  int found = fstatat(state_->openFd, item.name.c_str(), &st, 0);
  if (found != 0 && errno == ENOENT && state_->MatchName(&item)) {
    found = fstatat(state_->openFd, item.name.c_str(), &st, 0);
  }
  if (found != 0 || S_ISDIR(st.st_mode)) return FileRemoval::kNotAFile;
  if (unlinkat(state_->openFd, item.name.c_str(), 0) == 0) return FileRemoval::kRemoved;
  Fail(item.path, errno != 0 ? errno : EIO);
  return FileRemoval::kNotRemoved;
}

bool BulkRemoval::RemoveEmptyFolder(int index) {
  if (index < 0 || static_cast<size_t>(index) >= state_->items.size()) return false;
  backend::BulkRemovalState::Item& item = state_->items[static_cast<size_t>(index)];
  if (!state_->OpenFor(item)) return false;
  if (unlinkat(state_->openFd, item.name.c_str(), AT_REMOVEDIR) == 0) return true;
  if (errno == ENOENT && state_->MatchName(&item) && unlinkat(state_->openFd, item.name.c_str(), AT_REMOVEDIR) == 0) {
    return true;
  }
  return Fail(item.path, errno != 0 ? errno : EIO);
}

}  // namespace vesta::platform
