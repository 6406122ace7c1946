#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/process_state.h"
#include "platform/file_error.h"
#include "platform/file_output.h"
#include "platform/posix/registry/hive.h"
#include "platform/posix/registry/hive_file.h"
#include "platform/posix/host_path.h"

namespace vesta::platform {
namespace {

using posix::Hive;
using posix::HiveKey;

// The longest key name that Windows accepts.
constexpr size_t kMaxKeyName = 255;


// Keeps the problem for RegistryLastProblem, where a program finds it to
// show.
void Report(const std::string& problem) {
  std::lock_guard<std::mutex> lock(state::Registry().mutex);
  state::Registry().last = problem;
}

void ReportSystemError(const std::string& file, const char* doing) {
  Report("registry: " + file + ": " + doing + ": " + std::strerror(errno));
}

bool HasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

// The key path as the hive keeps it: names joined by single back-slashes
// (doubled and trailing ones dropped, as Windows does). False, as on
// Windows, for a leading back-slash or a name longer than 255 characters;
// and for a line break, which a hive file cannot hold.
bool NormalKeyPath(const char* key, std::string* path) {
  path->clear();
  if (key == nullptr) return true;
  if (key[0] == '\\' || HasLineBreak(key)) return false;
  for (const char* p = key; *p != '\0';) {
    const char* end = std::strchr(p, '\\');
    if (end == nullptr) end = p + std::strlen(p);
    size_t length = static_cast<size_t>(end - p);
    if (length > kMaxKeyName) return false;
    if (length > 0) {
      if (!path->empty()) path->push_back('\\');
      path->append(p, length);
    }
    p = *end == '\0' ? end : end + 1;
  }
  return true;
}

// HKEY_CLASSES_ROOT lives in the file of HKEY_LOCAL_MACHINE.
RegRoot FileRoot(RegRoot root) { return root == RegRoot::kClassesRoot ? RegRoot::kLocalMachine : root; }

std::string PathInFile(RegRoot root, const std::string& path) {
  if (root != RegRoot::kClassesRoot) return path;
  return path.empty() ? std::string("Software\\Classes") : "Software\\Classes\\" + path;
}

std::string HiveFile(RegRoot fileRoot) {
  return posix::VestaRoot() + "/registry/" + RegRootName(fileRoot) + ".reg";
}

// Reads the hive of fileRoot; a missing file is an empty hive. False, with
// the problem reported, when the file cannot be read or does not parse.
bool LoadHive(RegRoot fileRoot, Hive* hive) {
  const std::string file = HiveFile(fileRoot);
  hive->keys.clear();
  std::string text;
  if (!ReadWholeFile(file.c_str(), &text)) {
    if (errno == ENOENT) return true;
    ReportSystemError(file, "cannot read");
    return false;
  }
  posix::HiveSyntaxError error;
  if (!posix::ParseHive(text, RegRootName(fileRoot), hive, &error)) {
    Report("registry: " + file + ":" + std::to_string(error.line) + ": " + error.what);
    return false;
  }
  return true;
}

// Writes text beside file and renames it over file, so that readers see
// the old hive or the new one, never half of one.
bool ReplaceHive(const std::string& file, const std::string& text) {
  if (ReplaceWholeFile(file.c_str(), text, FileMode::kBinary)) return true;
  Report("registry: " + file + ": cannot write: " + LastFileError().reason);
  return false;
}

enum class Outcome { kFailed, kUnchanged, kChanged };

// Applies change to a fresh read of the hive under the hive's lock, so that
// a change made by another process in between is never lost.
template <typename Change>
bool ChangeHive(RegRoot fileRoot, Change change) {
  const std::string folder = posix::VestaRoot() + "/registry";
  mkdir(posix::VestaRoot().c_str(), 0777);
  mkdir(folder.c_str(), 0777);
  const std::string file = HiveFile(fileRoot);
  int lock = open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (lock < 0) {
    ReportSystemError(file + ".lock", "cannot lock");
    return false;
  }
  while (flock(lock, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ReportSystemError(file + ".lock", "cannot lock");
      close(lock);
      return false;
    }
  }
  Hive hive;
  bool ok = LoadHive(fileRoot, &hive);
  if (ok) {
    Outcome outcome = change(&hive);
    ok = outcome != Outcome::kFailed;
    if (outcome == Outcome::kChanged) ok = ReplaceHive(file, posix::WriteHive(hive, RegRootName(fileRoot)));
  }
  close(lock);  // releases the lock
  return ok;
}

std::string ValueName(const char* name) { return name != nullptr ? std::string(name) : std::string(); }

}  // namespace

bool RegistryReadString(RegRoot root, const char* key, const char* name, std::string* text) {
  std::string path;
  Hive hive;
  if (text == nullptr || !NormalKeyPath(key, &path) || !LoadHive(FileRoot(root), &hive)) return false;
  const HiveKey* found = posix::FindKey(hive, PathInFile(root, path));
  if (found == nullptr) return false;
  const posix::HiveValue* value = posix::FindValue(*found, ValueName(name));
  if (value == nullptr || !value->isString) return false;
  *text = value->data;
  return true;
}

bool RegistryWriteString(RegRoot root, const char* key, const char* name, const char* text) {
  std::string path;
  if (text == nullptr || HasLineBreak(text) || (name != nullptr && HasLineBreak(name)) ||
      !NormalKeyPath(key, &path)) {
    return false;
  }
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    size_t index = posix::EnsureKey(hive, path);
    posix::SetString(&hive->keys[index], ValueName(name), text);
    return Outcome::kChanged;
  });
}

bool RegistryKeyExists(RegRoot root, const char* key) {
  std::string path;
  Hive hive;
  if (!NormalKeyPath(key, &path) || !LoadHive(FileRoot(root), &hive)) return false;
  return path.empty() || posix::KeyExists(hive, PathInFile(root, path));
}

bool RegistryCreateKey(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(key, &path)) return false;
  if (path.empty()) return RegistryKeyExists(root, key);
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    if (posix::FindKey(hive, path) != nullptr) return Outcome::kUnchanged;
    posix::EnsureKey(hive, path);
    return Outcome::kChanged;
  });
}

bool RegistrySubkeyAt(RegRoot root, const char* key, int index, std::string* name) {
  std::string path;
  Hive hive;
  if (name == nullptr || index < 0 || !NormalKeyPath(key, &path) || !LoadHive(FileRoot(root), &hive)) {
    return false;
  }
  std::vector<std::string> names = posix::Subkeys(hive, PathInFile(root, path));
  if (static_cast<size_t>(index) >= names.size()) return false;
  *name = names[static_cast<size_t>(index)];
  return true;
}

bool RegistryDeleteKey(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(key, &path) || path.empty()) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    return posix::RemoveKey(hive, path) ? Outcome::kChanged : Outcome::kFailed;
  });
}

bool RegistryDeleteValue(RegRoot root, const char* key, const char* name) {
  std::string path;
  if (!NormalKeyPath(key, &path)) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    HiveKey* found = posix::FindKey(hive, path);
    return found != nullptr && posix::RemoveValue(found, ValueName(name)) ? Outcome::kChanged
                                                                          : Outcome::kFailed;
  });
}

std::string RegistryLastProblem() {
  std::lock_guard<std::mutex> lock(state::Registry().mutex);
  return state::Registry().last;
}

}  // namespace vesta::platform
