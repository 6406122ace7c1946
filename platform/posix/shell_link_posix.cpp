#include "platform/shell_link.h"

#include <cstdio>
#include <string>

#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/posix/shell_link_format.h"

namespace vesta::platform {
namespace {

// One object stands behind both interfaces, counted as the shell counts
// its references.
struct LinkObject {
  int references = 1;
  posix::ShellLinkFields fields;
};

// A shortcut is small; anything larger is no shortcut.
constexpr size_t kMaxLinkFile = 1 << 20;

LinkObject* Object(void* anyInterface) { return static_cast<LinkObject*>(anyInterface); }

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

bool ShellLinkSave(void* file, const char* path) {
  if (file == nullptr || path == nullptr || *path == '\0') return false;
  // Written beside itself and renamed over, so that a failed save leaves
  // the old shortcut whole.
  return ReplaceWholeFile(path, posix::WriteShellLink(Object(file)->fields), FileMode::kBinary);
}

bool ShellLinkLoad(void* file, const char* path) {
  if (file == nullptr) return false;
  posix::ShellLinkFields& fields = Object(file)->fields;
  fields = posix::ShellLinkFields();
  std::string bytes;
  if (path == nullptr || !ReadWholeFile(path, &bytes, FileMode::kBinary, kMaxLinkFile)) return false;
  return posix::ReadShellLink(bytes, &fields);
}

bool ShellLinkResolve(void* link, void* /*owner*/) { return link != nullptr; }

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

}  // namespace vesta::platform
