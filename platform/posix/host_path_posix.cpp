#include "platform/posix/host_path.h"

#include <dirent.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/process_state.h"
#include "platform/windows_names.h"

namespace vesta::platform::posix {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string FoldedName(const std::string& name) { return FoldName(name); }

// A folder unchanged for this long is settled: its listing can be kept and
// trusted while its change time stays the same. A folder changed more
// recently is read every time, since two changes within one tick of the
// clock leave the same time behind (git's "racily clean" entries).
constexpr time_t kSettledSeconds = 2;

// The key of a folder's listing: as spelled, without a closing slash.
std::string ListingKey(const std::string& folder) {
  std::string key = folder.empty() ? std::string(".") : folder;
  while (key.size() > 1 && key.back() == '/') key.pop_back();
  return key;
}

// Reads the names of the folder into listing, stopping at the first that
// matches name (when given and the listing is not wanted whole); the
// matching entry, or "".
std::string ReadListing(const std::string& folder, const std::string* name, bool whole,
                        state::FolderListings::Listing* listing) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return std::string();
  std::string found;
  while (dirent* entry = readdir(dir)) {
    if (name != nullptr && found.empty() && SameName(entry->d_name, *name)) {
      found = entry->d_name;
      if (!whole) break;
    }
    if (whole) listing->names.emplace(FoldedName(entry->d_name), entry->d_name);
  }
  closedir(dir);
  return found;
}

// The name in the listing that folds as name does, or "".
std::string NameIn(const state::FolderListings::Listing& listing, const std::string& name) {
  auto found = listing.names.find(FoldedName(name));
  return found != listing.names.end() ? found->second : std::string();
}

// Makes room for one more listing: those not held go first.
void MakeRoom(state::FolderListings& listings) {
  if (listings.folders.size() < state::FolderListings::kMostFolders) return;
  for (auto it = listings.folders.begin(); it != listings.folders.end();) {
    it = it->second.held > 0 ? std::next(it) : listings.folders.erase(it);
  }
}

// The entry of folder whose name equals name without regard to case, or ""
// when there is none. The names of a settled folder are read once and kept
// (by the letters folded, the first name in the folder's order), so that
// looking up many names that are not there (side files, say) costs one
// read of the folder rather than one each.
std::string FindCaseInsensitive(const std::string& folder, const std::string& name) {
  const std::string opened = ListingKey(folder);
  state::FolderListings& listings = state::Listings();
  {
    std::lock_guard<std::mutex> guard(listings.mutex);
    auto held = listings.folders.find(opened);
    if (held != listings.folders.end() && held->second.held > 0) return NameIn(held->second, name);
  }
  struct stat st;
  if (stat(opened.c_str(), &st) != 0) return std::string();
  const bool settled = st.st_ctime + kSettledSeconds < time(nullptr) && st.st_mtime + kSettledSeconds < time(nullptr);
  std::lock_guard<std::mutex> guard(listings.mutex);
  auto kept = listings.folders.find(opened);
  if (kept != listings.folders.end() && kept->second.held == 0) {
    const state::FolderListings::Listing& listing = kept->second;
    if (settled && listing.device == st.st_dev && listing.inode == st.st_ino &&
        listing.changed == st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec) {
      return NameIn(listing, name);
    }
    listings.folders.erase(kept);
  } else if (kept != listings.folders.end()) {
    return NameIn(kept->second, name);  // held since the look above
  }
  state::FolderListings::Listing listing;
  std::string found = ReadListing(opened, &name, settled, &listing);
  if (settled) {
    listing.device = st.st_dev;
    listing.inode = st.st_ino;
    listing.changed = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
    MakeRoom(listings);
    listings.folders.emplace(opened, std::move(listing));
  }
  return found;
}

std::string Join(const std::string& base, const std::string& name) {
  if (base.empty()) return name;
  if (base.back() == '/') return base + name;
  return base + '/' + name;
}

// Appends the slash-separated components of rest to base ("" for the
// current folder), matching each one that does not exist as spelled without
// regard to case.
std::string ResolveComponents(std::string base, const std::string& rest) {
  std::string whole = Join(base, rest);
  if (rest.empty() || Exists(whole)) return whole;
  // A name not there in a folder that is there as spelled (a file about to
  // be made, mostly): only that name is looked for.
  const size_t last = rest.rfind('/');
  if (last != std::string::npos && last + 1 < rest.size()) {
    const std::string name = rest.substr(last + 1);
    const std::string folder = Join(base, rest.substr(0, last));
    if (name != "." && name != ".." && Exists(folder)) {
      const std::string match = FindCaseInsensitive(folder, name);
      return Join(folder, match.empty() ? name : match);
    }
  }

  bool resolving = true;
  size_t pos = 0;
  while (pos < rest.size()) {
    size_t slash = rest.find('/', pos);
    if (slash == std::string::npos) slash = rest.size();
    std::string component = rest.substr(pos, slash - pos);
    pos = slash + 1;
    if (component.empty()) continue;
    std::string candidate = Join(base, component);
    if (resolving && component != "." && component != ".." && !Exists(candidate)) {
      std::string match = FindCaseInsensitive(base, component);
      if (match.empty()) {
        resolving = false;
      } else {
        candidate = Join(base, match);
      }
    }
    base = candidate;
  }
  if (rest.back() == '/' && (base.empty() || base.back() != '/')) base += '/';
  return base;
}

// The slash-separated names of text, empty ones left out.
std::vector<std::string> SplitNames(const std::string& text) {
  std::vector<std::string> names;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t slash = text.find('/', pos);
    if (slash == std::string::npos) slash = text.size();
    if (slash > pos) names.push_back(text.substr(pos, slash - pos));
    pos = slash + 1;
  }
  return names;
}

// Folds "." and ".." out of the names as Windows does, without looking at
// the disk: ".." takes away the name before it, and at the top of the
// drive or share it stays there.
std::string FoldDots(const std::string& rest) {
  std::vector<std::string> kept;
  for (std::string& name : SplitNames(rest)) {
    if (name == ".") continue;
    if (name == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(std::move(name));
  }
  std::string folded;
  for (const std::string& name : kept) {
    if (!folded.empty()) folded += '/';
    folded += name;
  }
  return folded;
}

std::string WithSlashes(const char* path) {
  std::string p(path);
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  return p;
}

// Splits a Windows path (p: the same with slashes for its back-slashes)
// into the host folder of its drive or share, above which nothing of the
// path reaches, and the rest below it with its dots folded. False for a
// share path without its server and share.
bool SplitWindowsPath(const char* path, const std::string& p, std::string* base, std::string* rest) {
  size_t restStart = 1;
  if (path[0] != '\\') {
    *base = VestaRoot() + "/drive_" + static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])));
    restStart = 2;
  } else if (path[1] == '\\') {
    *base = VestaRoot() + "/unc";
    restStart = 2;
    for (int part = 0; part < 2; ++part) {  // the server, then the share
      size_t begin = p.find_first_not_of('/', restStart);
      if (begin == std::string::npos) return false;
      restStart = std::min(p.find('/', begin), p.size());
      std::string name = p.substr(begin, restStart - begin);
      if (name == "." || name == "..") return false;
      *base += '/' + name;
    }
  } else {
    *base = VestaRoot() + "/drive_c";
  }
  *rest = FoldDots(p.substr(restStart));
  return true;
}

}  // namespace

std::string VestaRoot() {
  const char* root = std::getenv("VESTA_ROOT");
  if (root != nullptr && *root != '\0') return root;
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    const passwd* pw = getpwuid(getuid());
    home = pw != nullptr ? pw->pw_dir : "/tmp";
  }
  return std::string(home) + "/.vesta";
}

bool IsRootHostPath(const char* path) {
  if (path == nullptr || path[0] != '/') return false;
  std::string root = VestaRoot();
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  const size_t length = std::strlen(path);
  return length > root.size() + 1 && std::strncmp(path, root.c_str(), root.size()) == 0 && path[root.size()] == '/';
}

void HoldListing(const std::string& hostFolder) {
  const std::string key = ListingKey(hostFolder);
  state::FolderListings& listings = state::Listings();
  std::lock_guard<std::mutex> guard(listings.mutex);
  auto kept = listings.folders.find(key);
  if (kept != listings.folders.end() && kept->second.held > 0) {
    ++kept->second.held;
    return;
  }
  // Read afresh: a listing kept before may be older than the folder.
  state::FolderListings::Listing listing;
  ReadListing(key, nullptr, true, &listing);
  listing.held = 1;
  if (kept != listings.folders.end()) listings.folders.erase(kept);
  MakeRoom(listings);
  listings.folders.emplace(key, std::move(listing));
}

void ReleaseListing(const std::string& hostFolder) {
  state::FolderListings& listings = state::Listings();
  std::lock_guard<std::mutex> guard(listings.mutex);
  auto kept = listings.folders.find(ListingKey(hostFolder));
  if (kept != listings.folders.end() && kept->second.held > 0 && --kept->second.held == 0) {
    listings.folders.erase(kept);
  }
}

void NoteNewName(const std::string& hostFolder, const std::string& name) {
  state::FolderListings& listings = state::Listings();
  std::lock_guard<std::mutex> guard(listings.mutex);
  auto kept = listings.folders.find(ListingKey(hostFolder));
  if (kept != listings.folders.end() && kept->second.held > 0) kept->second.names.emplace(FoldedName(name), name);
}

bool IsWindowsPath(const char* path) {
  if (path == nullptr) return false;
  if (std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') return true;
  return path[0] == '\\';
}

std::string ResolveHostPath(const char* path) {
  if (path == nullptr) return std::string();
  const std::string p = WithSlashes(path);
  if (!IsWindowsPath(path)) {
    if (p.empty() || p[0] != '/') return p.empty() ? p : ResolveComponents(std::string(), p);
    size_t start = p.find_first_not_of('/');
    return start == std::string::npos ? std::string("/") : ResolveComponents("/", p.substr(start));
  }

  std::string base;
  std::string rest;
  if (!SplitWindowsPath(path, p, &base, &rest)) return std::string();
  if (rest.empty()) return base + '/';
  std::string host = ResolveComponents(base, rest);
  if (p.back() == '/' && host.back() != '/') host += '/';
  return host;
}

std::string MatchNameIn(const std::string& hostFolder, const std::string& name) {
  return FindCaseInsensitive(hostFolder, name);
}

std::string SpelledHostPath(const char* path) {
  if (!IsWindowsPath(path)) return std::string();
  const std::string p = WithSlashes(path);
  std::string base;
  std::string rest;
  if (!SplitWindowsPath(path, p, &base, &rest)) return std::string();
  return rest.empty() ? base + '/' : Join(base, rest);
}

}  // namespace vesta::platform::posix
