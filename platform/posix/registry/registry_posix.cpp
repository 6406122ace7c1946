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
#include "platform/posix/host_path.h"
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

// The API's text (the code page) as the hives keep names, and back.
std::string ToUtf8(const std::string& text) { return Utf16ToUtf8(AnsiToUtf16(text)); }
std::string ToAnsi(const std::string& text) { return Utf16ToAnsi(Utf8ToUtf16(text)); }

// The key path as the hive keeps it: names joined by single back-slashes
// (doubled and trailing ones dropped, as Windows does), in UTF-8. False, as
// on Windows, for a leading back-slash or a name longer than 255
// characters; and for a line break, which a key line cannot hold.
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
  *path = ToUtf8(*path);
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
  Report("registry: " + file + ":" + std::to_string(line) + ": " + what);
}

std::shared_ptr<const LoadedHive> EmptyHive(RegRoot fileRoot) {
  return std::make_shared<const LoadedHive>(regfile::NewHive(RegRootName(fileRoot)));
}

// The hive of fileRoot as its file holds it now, parsed once while the file
// stays the same; a missing file is an empty hive. Null, with the problem
// reported, when the file cannot be read or is not a registry file. A line
// that cannot be read is reported when the file is read, and counts for
// nothing.
std::shared_ptr<const LoadedHive> LoadHive(RegRoot fileRoot) {
  const std::string file = HiveFile(fileRoot);
  // The stamp comes first: should the file be replaced before it is read,
  // the next read sees a stamp that is not the one kept, and reads again.
  struct stat status;
  if (stat(file.c_str(), &status) != 0) {
    if (errno == ENOENT) return EmptyHive(fileRoot);
    ReportSystemError(file, "cannot read");
    return nullptr;
  }
  const posix::FileStamp stamp = posix::FileStamp::Of(status);
  if (std::shared_ptr<const LoadedHive> kept = posix::CachedHive(file, stamp)) return kept;
  std::string text;
  if (!ReadWholeFile(file.c_str(), &text)) {
    if (errno == ENOENT) return EmptyHive(fileRoot);
    ReportSystemError(file, "cannot read");
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
  FileLock lock;
  if (!lock.Acquire(file.c_str())) {
    Report("registry: " + LockFileOf(file.c_str()) + ": cannot lock: " + LastFileError().reason);
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

// Makes the steps in the hive (whose paths are those in its file); true
// when any changed it.
bool ApplyImport(Hive* hive, const std::vector<regfile::ImportStep>& steps) {
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
  return changed;
}

bool IsTextType(unsigned type) {
  return type == regfile::kRegSz || type == regfile::kRegExpandSz || type == regfile::kRegMultiSz;
}

// A value's data as the ANSI API gives it (text in the code page), from the
// hive's (text in UTF-16LE), and back.
std::string AnsiData(const HiveValue& value) {
  return IsTextType(value.type) ? Utf16ToAnsi(Utf16LeUnits(value.data)) : value.data;
}
std::string HiveData(unsigned type, const std::string& data) {
  return IsTextType(type) ? Utf16LeBytes(AnsiToUtf16(data)) : data;
}

// Adds the key at path in the hive file, its values and its subkeys', to
// the file to export, under its name as the registry shows it.
void ExportKey(const regfile::HiveIndex& hive, const std::string& path, const std::string& keyName, Hive* file) {
  std::vector<HiveValue> values;
  for (const std::string& name : hive.ValueNames(path)) values.push_back(*hive.FindValue(path, name));
  regfile::AppendExportKey(file, keyName, values);
  const std::string prefix = path.empty() ? path : path + "\\";
  for (const std::string& subkey : hive.Subkeys(path)) {
    ExportKey(hive, prefix + subkey, keyName + "\\" + subkey, file);
  }
}

}  // namespace

bool RegistryReadString(RegRoot root, const char* key, const char* name, std::string* text) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (text == nullptr || !NormalKeyPath(key, &path) || !(hive = LoadHive(FileRoot(root)))) return false;
  const HiveValue* value = hive->index().FindValue(PathInFile(root, path), ValueName(name));
  std::u16string found;
  if (value == nullptr || !regfile::StringOf(*value, &found)) return false;
  *text = Utf16ToAnsi(found);
  return true;
}

bool RegistryWriteString(RegRoot root, const char* key, const char* name, const char* text) {
  std::string path;
  if (text == nullptr || (name != nullptr && HasLineBreak(name)) || !NormalKeyPath(key, &path)) return false;
  path = PathInFile(root, path);
  const HiveValue value = regfile::StringValue(ValueName(name), AnsiToUtf16(text));
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    regfile::SetValue(hive, path, value);
    return Outcome::kChanged;
  });
}

bool RegistryKeyExists(RegRoot root, const char* key) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (!NormalKeyPath(key, &path) || !(hive = LoadHive(FileRoot(root)))) return false;
  return path.empty() || hive->index().KeyExists(PathInFile(root, path));
}

bool RegistryCreateKey(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(key, &path)) return false;
  if (path.empty()) return RegistryKeyExists(root, key);
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    if (regfile::HasKeyLine(*hive, path)) return Outcome::kUnchanged;
    regfile::EnsureKey(hive, path);
    return Outcome::kChanged;
  });
}

bool RegistrySubkeyAt(RegRoot root, const char* key, int index, std::string* name) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (name == nullptr || index < 0 || !NormalKeyPath(key, &path) || !(hive = LoadHive(FileRoot(root)))) {
    return false;
  }
  const std::vector<std::string>& names = hive->index().Subkeys(PathInFile(root, path));
  if (static_cast<size_t>(index) >= names.size()) return false;
  *name = ToAnsi(names[static_cast<size_t>(index)]);
  return true;
}

bool RegistryDeleteKey(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(key, &path) || path.empty()) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    return regfile::RemoveKey(hive, path) ? Outcome::kChanged : Outcome::kFailed;
  });
}

bool RegistryDeleteValue(RegRoot root, const char* key, const char* name) {
  std::string path;
  if (!NormalKeyPath(key, &path)) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    return regfile::RemoveValue(hive, path, ValueName(name)) ? Outcome::kChanged : Outcome::kFailed;
  });
}

bool RegistryReadValue(RegRoot root, const char* key, const char* name, RegistryValue* value) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (value == nullptr || !NormalKeyPath(key, &path) || !(hive = LoadHive(FileRoot(root)))) return false;
  const HiveValue* found = hive->index().FindValue(PathInFile(root, path), ValueName(name));
  if (found == nullptr) return false;
  value->type = found->type;
  value->data = AnsiData(*found);
  return true;
}

bool RegistryWriteValue(RegRoot root, const char* key, const char* name, const RegistryValue& value) {
  std::string path;
  if ((name != nullptr && HasLineBreak(name)) || !NormalKeyPath(key, &path)) return false;
  path = PathInFile(root, path);
  HiveValue written;
  written.name = ValueName(name);
  written.type = value.type;
  written.data = HiveData(value.type, value.data);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    regfile::SetValue(hive, path, written);
    return Outcome::kChanged;
  });
}

bool RegistryValueAt(RegRoot root, const char* key, int index, std::string* name) {
  std::string path;
  std::shared_ptr<const LoadedHive> hive;
  if (name == nullptr || index < 0 || !NormalKeyPath(key, &path) || !(hive = LoadHive(FileRoot(root)))) {
    return false;
  }
  const std::vector<std::string>& names = hive->index().ValueNames(PathInFile(root, path));
  if (static_cast<size_t>(index) >= names.size()) return false;
  *name = ToAnsi(names[static_cast<size_t>(index)]);
  return true;
}

bool RegistryDeleteTree(RegRoot root, const char* key) {
  std::string path;
  if (!NormalKeyPath(key, &path) || path.empty()) return false;
  path = PathInFile(root, path);
  return ChangeHive(FileRoot(root), [&](Hive* hive) {
    return regfile::RemoveKeyTree(hive, path) ? Outcome::kChanged : Outcome::kFailed;
  });
}

bool RegistryExportFile(RegRoot root, const char* key, const char* path, RegistryFileFormat format) {
  std::string keyPath;
  std::shared_ptr<const LoadedHive> hive;
  if (path == nullptr || !NormalKeyPath(key, &keyPath) || !(hive = LoadHive(FileRoot(root)))) return false;
  const std::string inFile = PathInFile(root, keyPath);
  if (!hive->index().KeyExists(inFile)) return false;
  Hive file = regfile::NewExportFile(format == RegistryFileFormat::kVersion5);
  ExportKey(hive->index(), inFile, std::string(RegRootName(root)) + (keyPath.empty() ? "" : "\\" + keyPath), &file);
  return ReplaceHive(path, regfile::WriteHive(file));
}

bool RegistryImportFile(const char* path) {
  std::string bytes;
  if (path == nullptr || !ReadWholeFile(path, &bytes)) {
    ReportSystemError(path != nullptr ? path : "", "cannot read");
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
    ok = ChangeHive(hiveSteps.first, [&hiveSteps](Hive* hive) {
           return ApplyImport(hive, hiveSteps.second) ? Outcome::kChanged : Outcome::kUnchanged;
         }) && ok;
  }
  return ok;
}

}  // namespace vesta::platform
