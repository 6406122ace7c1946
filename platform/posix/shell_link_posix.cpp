#include "platform/shell_link.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/link_file/shell_link_format.h"
#include "platform/system_info.h"

namespace vesta::platform {
namespace {

// One object stands behind both interfaces, counted as the shell counts
// its references.
struct LinkObject {
  int references = 1;
  link_file::ShellLinkFields fields;
  std::string file;  // the file it was loaded from
};

// A shortcut is small; anything larger is no shortcut.
constexpr size_t kMaxLinkFile = 1 << 20;

LinkObject* Object(void* anyInterface) { return static_cast<LinkObject*>(anyInterface); }

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The user's profile: the Windows folder's Profiles\<user> where the
// installation has one, else the Windows folder itself, as on a machine
// without user profiles.
std::string UserProfile() {
  std::string user;
  std::string profile = WindowsFolder() + "\\Profiles\\";
  if (UserName(&user) && FolderExists((profile + user).c_str())) return profile + user;
  return WindowsFolder();
}

// The installation's environment, as a link's target sees it: the folders
// of the Windows side of the machine, then the process's own variables.
bool InstallationVariable(const std::string& name, std::string* value) {
  const std::string upper = Upper(name);
  if (upper == "SYSTEMROOT" || upper == "WINDIR") {
    *value = WindowsFolder();
  } else if (upper == "PROGRAMFILES") {
    *value = "C:\\Program Files";
  } else if (upper == "SYSTEMDRIVE") {
    *value = "C:";
  } else if (upper == "USERPROFILE" || upper == "HOMEDRIVE" || upper == "HOMEPATH") {
    const std::string profile = UserProfile();
    const bool onDrive = profile.size() >= 2 && profile[1] == ':';
    if (upper == "USERPROFILE") {
      *value = profile;
    } else if (upper == "HOMEDRIVE") {
      *value = onDrive ? profile.substr(0, 2) : "C:";
    } else {
      *value = onDrive ? profile.substr(2) : profile;
    }
  } else if (const char* set = std::getenv(name.c_str())) {
    *value = set;
  } else {
    return false;
  }
  return true;
}

bool CopyOut(const std::string& text, char* out, int size) {
  if (out == nullptr || size <= 0) return false;
  size_t length = text.size() < static_cast<size_t>(size - 1) ? text.size() : static_cast<size_t>(size - 1);
  text.copy(out, length);
  out[length] = '\0';
  return true;
}

}  // namespace

void* CreateShellLink() { return new LinkObject; }

void* ShellLinkFileInterface(void* link) {
  if (link == nullptr) return nullptr;
  ++Object(link)->references;
  return link;
}

void ReleaseShellLinkInterface(void* anyInterface) {
  if (anyInterface != nullptr && --Object(anyInterface)->references == 0) delete Object(anyInterface);
}

bool ShellLinkSetPath(void* link, const char* target) {
  if (link == nullptr || target == nullptr) return false;
  Object(link)->fields.target = target;
  return true;
}

bool ShellLinkSetDescription(void* link, const char* text) {
  if (link == nullptr || text == nullptr) return false;
  Object(link)->fields.description = text;
  return true;
}

bool ShellLinkSetIconLocation(void* link, const char* iconFile, int index) {
  if (link == nullptr || iconFile == nullptr) return false;
  Object(link)->fields.iconFile = iconFile;
  Object(link)->fields.iconIndex = index;
  return true;
}

namespace {

bool SetText(void* link, std::string link_file::ShellLinkFields::*field, const char* text) {
  if (link == nullptr || text == nullptr) return false;
  Object(link)->fields.*field = text;
  return true;
}

}  // namespace

bool ShellLinkSetRelativePath(void* link, const char* relative) {
  return SetText(link, &link_file::ShellLinkFields::relativePath, relative);
}

bool ShellLinkSetArguments(void* link, const char* arguments) {
  return SetText(link, &link_file::ShellLinkFields::arguments, arguments);
}

bool ShellLinkSetWorkingDirectory(void* link, const char* folder) {
  return SetText(link, &link_file::ShellLinkFields::workingFolder, folder);
}

bool ShellLinkSave(void* file, const char* path) {
  if (file == nullptr || path == nullptr || *path == '\0') return false;
  // Written beside itself and renamed over, so that a failed save leaves
  // the old shortcut whole.
  return ReplaceWholeFile(path, link_file::WriteShellLink(Object(file)->fields), FileMode::kBinary);
}

bool ShellLinkLoad(void* file, const char* path) {
  if (file == nullptr) return false;
  link_file::ShellLinkFields& fields = Object(file)->fields;
  fields = link_file::ShellLinkFields();
  Object(file)->file.clear();
  std::string bytes;
  if (path == nullptr || !ReadWholeFile(path, &bytes, FileMode::kBinary, kMaxLinkFile) ||
      !link_file::ReadShellLink(bytes, &fields, InstallationVariable)) {
    return false;
  }
  Object(file)->file = path;
  return true;
}

bool ShellLinkResolve(void* link, void* /*owner*/) {
  if (link == nullptr) return false;
  // A link that names its target only relative to itself is resolved
  // against the folder it was loaded from.
  LinkObject* object = Object(link);
  if (object->fields.target.empty() && !object->fields.relativePath.empty() && !object->file.empty()) {
    object->fields.target = link_file::ResolveRelativePath(object->file, object->fields.relativePath);
  }
  return true;
}

bool ShellLinkGetPath(void* link, char* out, int size) {
  if (link == nullptr || Object(link)->fields.target.empty()) return false;
  return CopyOut(Object(link)->fields.target, out, size);
}

bool ShellLinkGetDescription(void* link, char* out, int size) {
  return link != nullptr && CopyOut(Object(link)->fields.description, out, size);
}

bool ShellLinkGetIconLocation(void* link, char* out, int size, int* index) {
  if (link == nullptr || index == nullptr || !CopyOut(Object(link)->fields.iconFile, out, size)) return false;
  *index = Object(link)->fields.iconIndex;
  return true;
}

bool ShellLinkGetArguments(void* link, char* out, int size) {
  return link != nullptr && CopyOut(Object(link)->fields.arguments, out, size);
}

bool ShellLinkGetWorkingDirectory(void* link, char* out, int size) {
  return link != nullptr && CopyOut(Object(link)->fields.workingFolder, out, size);
}

}  // namespace vesta::platform
