#include "platform/registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/process_state.h"
#include "platform/file_error.h"
#include "platform/file_lock.h"
#include "platform/file_output.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/posix/host_path.h"
#include "platform/posix/place.h"
#include "platform/posix/registry/hive_cache.h"
#include "platform/registry_file/hive.h"
#include "platform/registry_file/hive_file.h"
#include "platform/registry_file/import_steps.h"

namespace vesta::platform {
namespace {

using regfile::Hive;
using regfile::HiveLine;
using regfile::HiveValue;
using posix::LoadedHive;


bool HasLineBreak(const char* text) { return std::strpbrk(text, "\r\n") != nullptr; }

// The API's text (the code page) as the hives keep names.
std::string ToUtf8(const std::string& text) { return Utf16ToUtf8(AnsiToUtf16(text)); }

// The key path as the hive keeps it: names joined by single back-slashes
// (doubled and trailing ones dropped, as Windows does), in UTF-8. False, as
// on Windows, for a leading back-slash or a path beyond the registry's
// limits (reported); and for a line break, which a key line cannot hold.
bool NormalKeyPath(RegRoot root, const char* key, std::string* path) {
  path->clear();
  if (key == nullptr) return true;
  if (key[0] == '\\' || HasLineBreak(key)) return false;
  for (const char* p = key; *p != '\0';) {
    const char* end = std::strchr(p, '\\');
    if (end == nullptr) end = p + std::strlen(p);
    if (end > p) {
      if (!path->empty()) path->push_back('\\');
      path->append(p, end);
    }
    p = *end == '\0' ? end : end + 1;
  }
  *path = ToUtf8(*path);
  if (std::string problem = regfile::KeyPathProblem(*path); !problem.empty()) {
    // Named by its start: the whole may be long.
    const std::string start(key, std::min<size_t>(std::strlen(key), 60));
    ReportRegistryProblem(std::string("registry: ") + RegRootName(root) + "\\" + start + (start.size() < std::strlen(key) ? "..." : "") +
           ": " + problem);
    return false;
  }
  return true;
}

// A value name the registry takes: false (reported) beyond its limit, or
// with a line break, which a value line cannot hold.
bool GoodValueName(const char* name) {
  if (name == nullptr) return true;
  if (HasLineBreak(name)) return false;
  if (std::string problem = regfile::ValueNameProblem(ToUtf8(name)); !problem.empty()) {
    ReportRegistryProblem("registry: " + problem);
    return false;
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

void ReportLine(const std::string& file, int line, const std::string& what) {
  ReportRegistryProblem("registry: " + file + ":" + std::to_string(line) + ": " + what);
}

std::shared_ptr<const LoadedHive> EmptyHive(RegRoot fileRoot) {
  return std::make_shared<const LoadedHive>(regfile::NewHive(RegRootName(fileRoot)));
}

// What a registry file is when it is not a regular file.
const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder, not a file";
  if (S_ISFIFO(mode)) return "a named pipe, not a file";
  if (S_ISSOCK(mode)) return "a socket, not a file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a file";
  return "not a regular file";
}

// A registry file open to read.
class ReadFile {
 public:
  enum Result { kOpen, kMissing, kRefused };

  ReadFile() = default;
  ~ReadFile() {
    if (fd_ >= 0) close(fd_);
  }
  ReadFile(const ReadFile&) = delete;
  ReadFile& operator=(const ReadFile&) = delete;

  // Opens path through its folder (a path inside the root stays in it,
  // links followed), without waiting on a pipe: only a regular file, and
  // one no larger than the registry reads. kRefused with the reason.
  Result Open(const char* path) {
    posix::Place place;
    if (!place.Open(path) || !place.FollowLinks()) {
      const int error = errno;
      return Refuse(error, LastFileError().reason);
    }
    fd_ = openat(place.Folder(), place.Name(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0 || fstat(fd_, &status_) != 0) return Refuse(errno, std::strerror(errno));
    if (!S_ISREG(status_.st_mode)) return Refuse(EINVAL, KindOf(status_.st_mode));
    if (static_cast<unsigned long long>(status_.st_size) > regfile::kMaxRegistryFileSize) {
      return Refuse(EFBIG, "holds " + std::to_string(status_.st_size) + " bytes, more than the " +
                               std::to_string(regfile::kMaxRegistryFileSize) + " a registry file may hold");
    }
    return kOpen;
  }

  // The whole file; false, with the reason, when it cannot be read or
  // has grown past the limit.
  bool Read(std::string* bytes) {
    bytes->clear();
    char buffer[65536];
    for (;;) {
      const ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n == 0) return true;
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        Refuse(errno, std::strerror(errno));
        return false;
      }
      if (bytes->size() + static_cast<size_t>(n) > regfile::kMaxRegistryFileSize) {
        Refuse(EFBIG, "grew past the " + std::to_string(regfile::kMaxRegistryFileSize) +
                          " bytes a registry file may hold");
        return false;
      }
      bytes->append(buffer, static_cast<size_t>(n));
    }
  }

  const struct stat& status() const { return status_; }
  const std::string& reason() const { return reason_; }

 private:
  Result Refuse(int error, const std::string& reason) {
    reason_ = reason;
    return error == ENOENT ? kMissing : kRefused;
  }

  int fd_ = -1;
  struct stat status_ {};
  std::string reason_;
};

// The hive of fileRoot as its file holds it now, parsed once while the file
// stays the same; a missing file is an empty hive. Null, with the problem
// reported, when the file cannot be read or is not a registry file. A line
// that cannot be read is reported when the file is read, and counts for
// nothing.
std::shared_ptr<const LoadedHive> LoadHive(RegRoot fileRoot) {
  const std::string file = HiveFile(fileRoot);
  // A hive kept from an earlier read is used again while the file at its
  // name keeps the stamp it had then: one look at the name instead of an
  // opening of the folder and the file (a pack asks thousands of times).
  // What is used was read through the checked opening below.
  struct stat named;
  if (lstat(file.c_str(), &named) == 0 && S_ISREG(named.st_mode)) {
    if (std::shared_ptr<const LoadedHive> kept = posix::CachedHive(file, posix::FileStamp::Of(named))) return kept;
  }
  ReadFile reading;
  const ReadFile::Result opened = reading.Open(file.c_str());
  if (opened == ReadFile::kMissing) return EmptyHive(fileRoot);
  if (opened == ReadFile::kRefused) {
    ReportRegistryProblem("registry: " + file + ": cannot read: " + reading.reason());
    return nullptr;
  }
  // The stamp is of the file open: should another replace it meanwhile,
  // the next read sees another stamp, and reads again.
  const posix::FileStamp stamp = posix::FileStamp::Of(reading.status());
  if (std::shared_ptr<const LoadedHive> kept = posix::CachedHive(file, stamp)) return kept;
  std::string text;
  if (!reading.Read(&text)) {
    ReportRegistryProblem("registry: " + file + ": cannot read: " + reading.reason());
    return nullptr;
  }
  Hive hive;
  regfile::HiveSyntaxError error;
  if (!regfile::ParseHive(text, RegRootName(fileRoot), &hive, &error)) {
    ReportLine(file, error.line, error.what);
    return nullptr;
  }
  if (const HiveLine* bad = regfile::FirstProblem(hive)) ReportLine(file, bad->number, bad->problem);
  auto loaded = std::make_shared<const LoadedHive>(std::move(hive));
  posix::KeepHive(file, stamp, loaded);
  return loaded;
}

// Writes text beside file and renames it over file, so that readers see
// the old hive or the new one, never half of one.
bool ReplaceHive(const std::string& file, const std::string& text) {
  if (ReplaceWholeFile(file.c_str(), text, FileMode::kBinary)) return true;
  ReportRegistryProblem("registry: " + file + ": cannot write: " + LastFileError().reason);
  return false;
}

enum class Outcome { kFailed, kUnchanged, kChanged };

// Applies change to a fresh read of the hive under the hive's lock, so that
// a change made by another process in between is never lost.
template <typename Change>
bool ChangeHive(RegRoot fileRoot, Change change) {
  const std::string folder = posix::VestaRoot() + "/registry";
  mkdir(posix::VestaRoot().c_str(), 0777);
  // Through the seam: a folder that leads out of the root is refused with
  // the hive's lock.
  MakeFolder(folder.c_str());
  const std::string file = HiveFile(fileRoot);
  FileLock lock;
  if (!lock.Acquire(file.c_str())) {
    ReportRegistryProblem("registry: " + LockFileOf(file.c_str()) + ": cannot lock: " + LastFileError().reason);
    return false;
  }
  std::shared_ptr<const LoadedHive> loaded = LoadHive(fileRoot);
  bool ok = loaded != nullptr;
  if (ok) {
    Hive hive = loaded->hive();
    loaded.reset();
    Outcome outcome = change(&hive);
    ok = outcome != Outcome::kFailed;
    if (outcome == Outcome::kChanged) ok = ReplaceHive(file, regfile::WriteHive(hive));
    // What was written is what the next read finds, still under the lock.
    struct stat status;
    if (outcome == Outcome::kChanged && ok && stat(file.c_str(), &status) == 0) {
      posix::KeepHive(file, posix::FileStamp::Of(status), std::make_shared<const LoadedHive>(std::move(hive)));
    }
  }
  return ok;
}

std::string ValueName(const char* name) { return name != nullptr ? ToUtf8(name) : std::string(); }

// Makes the steps in the hive (whose paths are those in its file); kChanged
// when any changed it. A key, name or text that the hive cannot hold as it
// is refuses the whole file's steps for the hive, reported with its line of
// file, and leaves the hive as it was.
Outcome ApplyImport(Hive* hive, const std::vector<regfile::ImportStep>& steps, const std::string& file) {
  for (const regfile::ImportStep& step : steps) {
    std::string problem = regfile::KeyProblem(*hive, step.path);
    if (problem.empty() && step.kind == HiveLine::Kind::kValue) problem = regfile::ValueProblem(*hive, step.value);
    if (!problem.empty()) {
      ReportLine(file, step.line, problem + " (the hive " + HiveFile(FileRoot(step.root)) + " is left as it was)");
      return Outcome::kFailed;
    }
  }
  bool changed = false;
  for (const regfile::ImportStep& step : steps) {
    switch (step.kind) {
      case HiveLine::Kind::kKey:
        if (!regfile::HasKeyLine(*hive, step.path)) {
          regfile::EnsureKey(hive, step.path);
          changed = true;
        }
        break;
      case HiveLine::Kind::kDeleteKey:
        changed = regfile::RemoveKeyTree(hive, step.path) || changed;
        break;
      case HiveLine::Kind::kValue:
        regfile::SetValue(hive, step.path, step.value);
        changed = true;
        break;
      default:
        changed = regfile::RemoveValue(hive, step.path, step.value.name) || changed;
        break;
    }
  }
  return changed ? Outcome::kChanged : Outcome::kUnchanged;
}

bool IsTextType(unsigned type) {
  return type == regfile::kRegSz || type == regfile::kRegExpandSz || type == regfile::kRegMultiSz;
}

// Text of a hive (UTF-16) in the API's code page. False, reported, when the
// code page lacks a character of it: text is refused, never changed.
bool AnsiText(const std::u16string& text, const std::string& what, std::string* ansi) {
  bool lost = false;
  std::string converted = Utf16ToAnsi(text, &lost);
  if (!lost) {
    *ansi = std::move(converted);
    return true;
  }
  ReportRegistryProblem("registry: " + what + ": \"" + FirstNotInCodePage(text) + "\" is not in code page 1252, the API's text");
  return false;
}

// A value's data as the ANSI API gives it (text in the code page), from the
// hive's (text in UTF-16LE), and back.
bool AnsiData(const HiveValue& value, std::string* data) {
  if (!IsTextType(value.type)) {
    *data = value.data;
    return true;
  }
  return AnsiText(Utf16LeUnits(value.data), "the text of value \"" + value.name + "\"", data);
}
std::string HiveData(unsigned type, const std::string& data) {
  return IsTextType(type) ? Utf16LeBytes(AnsiToUtf16(data)) : data;
}

// Adds the key at path in the hive file, its values and its subkeys', to
// the file to export, under its name as the registry shows it, each key
// after its parent. "", or the problem of a key the file cannot hold.
std::string ExportKey(const regfile::HiveIndex& hive, const std::string& path, const std::string& keyName,
                      Hive* file) {
  // The keys still to add, the next one last.
  std::vector<std::pair<std::string, std::string>> pending{{path, keyName}};
  while (!pending.empty()) {
    const auto [at, name] = std::move(pending.back());
    pending.pop_back();
    std::vector<HiveValue> values;
    for (const std::string& valueName : hive.ValueNames(at)) values.push_back(*hive.FindValue(at, valueName));
    if (std::string problem = regfile::AppendExportKey(file, name, values); !problem.empty()) return problem;
    const std::vector<std::string>& subkeys = hive.Subkeys(at);
    const std::string prefix = at.empty() ? at : at + "\\";
    for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) pending.emplace_back(prefix + *it, name + "\\" + *it);
  }
  return std::string();
}

Outcome Refused(const std::string& problem) {
  ReportRegistryProblem("registry: " + problem);
  return Outcome::kFailed;
}

// Sets the value at path (as the API names it) in its hive.
bool SetHiveValue(RegRoot root, const std::string& apiPath, const HiveValue& value) {
  const std::string path = PathInFile(root, apiPath);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    if (regfile::SetValue(hive, path, value)) return Outcome::kChanged;
    const std::string problem = regfile::KeyProblem(*hive, path);
    return Refused(problem.empty() ? regfile::ValueProblem(*hive, value) : problem);
  });
}

}  // namespace

bool RegistryReadString(RegRoot root, const char* key, const char* name, std::string* text) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (text == nullptr || !NormalKeyPath(root, key, &path) || !(hive = LoadHive(FileRoot(root)))) return false;
  const HiveValue* value = hive->index().FindValue(PathInFile(root, path), ValueName(name));
  std::u16string found;
  if (value == nullptr || !regfile::StringOf(*value, &found)) return false;
  std::string ansi;
  if (!AnsiText(found, "the text of value \"" + value->name + "\"", &ansi)) return false;
  *text = std::move(ansi);
  return true;
}

bool RegistryWriteString(RegRoot root, const char* key, const char* name, const char* text) {
  std::string path;
  if (text == nullptr || !GoodValueName(name) || !NormalKeyPath(root, key, &path)) return false;
  return SetHiveValue(root, path, regfile::StringValue(ValueName(name), AnsiToUtf16(text)));
}

bool RegistryKeyExists(RegRoot root, const char* key) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (!NormalKeyPath(root, key, &path) || !(hive = LoadHive(FileRoot(root)))) return false;
  return path.empty() || hive->index().KeyExists(PathInFile(root, path));
}

bool RegistryCreateKey(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(root, key, &path)) return false;
  if (path.empty()) return RegistryKeyExists(root, key);
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    if (regfile::HasKeyLine(*hive, path)) return Outcome::kUnchanged;
    return regfile::EnsureKey(hive, path) ? Outcome::kChanged : Refused(regfile::KeyProblem(*hive, path));
  });
}

bool RegistrySubkeyAt(RegRoot root, const char* key, int index, std::string* name) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (name == nullptr || index < 0 || !NormalKeyPath(root, key, &path) || !(hive = LoadHive(FileRoot(root)))) {
    return false;
  }
  const std::vector<std::string>& names = hive->index().Subkeys(PathInFile(root, path));
  if (static_cast<size_t>(index) >= names.size()) return false;
  const std::string& found = names[static_cast<size_t>(index)];
  return AnsiText(Utf8ToUtf16(found), "key \"" + found + "\"", name);
}

bool RegistryDeleteKey(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(root, key, &path) || path.empty()) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    return regfile::RemoveKey(hive, path) ? Outcome::kChanged : Outcome::kFailed;
  });
}

bool RegistryDeleteValue(RegRoot root, const char* key, const char* name) {
  std::string path;
  if (!NormalKeyPath(root, key, &path)) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    return regfile::RemoveValue(hive, path, ValueName(name)) ? Outcome::kChanged : Outcome::kFailed;
  });
}

bool RegistryReadValue(RegRoot root, const char* key, const char* name, RegistryValue* value) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (value == nullptr || !NormalKeyPath(root, key, &path) || !(hive = LoadHive(FileRoot(root)))) return false;
  const HiveValue* found = hive->index().FindValue(PathInFile(root, path), ValueName(name));
  if (found == nullptr) return false;
  std::string data;
  if (!AnsiData(*found, &data)) return false;
  value->type = found->type;
  value->data = std::move(data);
  return true;
}

bool RegistryWriteValue(RegRoot root, const char* key, const char* name, const RegistryValue& value) {
  std::string path;
  if (!GoodValueName(name) || !NormalKeyPath(root, key, &path)) return false;
  HiveValue written;
  written.name = ValueName(name);
  written.type = value.type;
  written.data = HiveData(value.type, value.data);
  return SetHiveValue(root, path, written);
}

bool RegistryValueAt(RegRoot root, const char* key, int index, std::string* name) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (name == nullptr || index < 0 || !NormalKeyPath(root, key, &path) || !(hive = LoadHive(FileRoot(root)))) {
    return false;
  }
  const std::vector<std::string>& names = hive->index().ValueNames(PathInFile(root, path));
  if (static_cast<size_t>(index) >= names.size()) return false;
  const std::string& found = names[static_cast<size_t>(index)];
  return AnsiText(Utf8ToUtf16(found), "value \"" + found + "\"", name);
}

bool RegistryDeleteTree(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(root, key, &path) || path.empty()) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    return regfile::RemoveKeyTree(hive, path) ? Outcome::kChanged : Outcome::kFailed;
  });
}

bool RegistryExportFile(RegRoot root, const char* key, const char* path, RegistryFileFormat format) {
  std::string keyPath;
  std::shared_ptr<const LoadedHive> hive;
  if (path == nullptr || !NormalKeyPath(root, key, &keyPath) || !(hive = LoadHive(FileRoot(root)))) return false;
  const std::string inFile = PathInFile(root, keyPath);
  if (!hive->index().KeyExists(inFile)) return false;
  Hive file = regfile::NewExportFile(format == RegistryFileFormat::kVersion5);
  const std::string keyName = std::string(RegRootName(root)) + (keyPath.empty() ? "" : "\\" + keyPath);
  if (std::string problem = ExportKey(hive->index(), inFile, keyName, &file); !problem.empty()) {
    ReportRegistryProblem(std::string("registry: ") + path + ": " + problem + " (nothing written)");
    return false;
  }
  return ReplaceHive(path, regfile::WriteHive(file));
}

bool RegistryImportFile(const char* path) {
  if (path == nullptr) return false;
  std::string bytes;
  ReadFile reading;
  if (reading.Open(path) != ReadFile::kOpen || !reading.Read(&bytes)) {
    ReportRegistryProblem(std::string("registry: ") + path + ": cannot read: " + reading.reason());
    return false;
  }
  Hive file;
  regfile::HiveSyntaxError error;
  if (!regfile::ParseImportFile(bytes, &file, &error)) {
    ReportLine(path, error.line, error.what);
    return false;
  }
  regfile::ImportProblem problem;
  std::vector<regfile::ImportStep> steps = regfile::ImportSteps(file, &problem);
  if (problem.line != 0) ReportLine(path, problem.line, problem.what);
  // The steps, gathered by the hive file they go to (in the order the file
  // first names it), each hive's in the file's order, with its paths.
  std::vector<std::pair<RegRoot, std::vector<regfile::ImportStep>>> hives;
  for (regfile::ImportStep& step : steps) {
    const RegRoot fileRoot = FileRoot(step.root);
    step.path = PathInFile(step.root, step.path);
    auto found = std::find_if(hives.begin(), hives.end(), [&](const auto& hive) { return hive.first == fileRoot; });
    if (found == hives.end()) found = hives.insert(hives.end(), {fileRoot, {}});
    found->second.push_back(std::move(step));
  }
  bool ok = problem.line == 0;
  for (const auto& hiveSteps : hives) {
    ok = ChangeHive(hiveSteps.first, [&](Hive* hive) { return ApplyImport(hive, hiveSteps.second, path); }) && ok;
  }
  return ok;
}

}  // namespace vesta::platform
