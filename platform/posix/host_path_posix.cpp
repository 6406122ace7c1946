#include "platform/posix/host_path.h"

#include <dirent.h>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

namespace vesta::platform::posix {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The entry of folder whose name equals name without regard to case, or ""
// when there is none.
std::string FindCaseInsensitive(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::string();
  std::string found;
  while (dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
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

std::string ResolveHostPath(const char* path) {
  if (path == nullptr) return std::string();
  std::string p(path);
  for (char& c : p) {
    if (c == '\\') c = '/';
  }

  std::string base;
  size_t restStart = 0;
  if (p.size() >= 2 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':') {
    base = VestaRoot() + "/drive_" +
           static_cast<char>(std::tolower(static_cast<unsigned char>(p[0])));
    restStart = 2;
  } else if (path[0] == '\\' && path[1] == '\\') {
    base = VestaRoot() + "/unc";
    restStart = 2;
  } else if (path[0] == '\\') {
    base = VestaRoot() + "/drive_c";
    restStart = 1;
  } else if (path[0] == '/') {
    base = "/";
    restStart = 1;
  }
  while (restStart < p.size() && p[restStart] == '/' && !base.empty()) ++restStart;
  std::string rest = p.substr(restStart);
  if (rest.empty()) return base.empty() || base.back() == '/' ? base : base + '/';
  return ResolveComponents(base, rest);
}

}  // namespace vesta::platform::posix
