// The shortcut object: the shell's link object and its file interface,
// and the COM start that they need.
#include <cstdio>

#include "common/paths.h"
#include "common/text.h"
#include "platform/shell.h"
#include "platform/shell_link.h"
#include "vesta/vsetu.h"
#include "vesta/vsetu_shell.h"

namespace platform = vesta::platform;

CVShortcut::CVShortcut() : comStarted(0), shellLink(nullptr), persistFile(nullptr) {}

CVShortcut::~CVShortcut() { SHTerminate(); }

int CVShortcut::SHInitialise() {
  shellLink = nullptr;
  persistFile = nullptr;
  switch (platform::StartCom()) {
    case platform::ComStart::kStarted:
      comStarted = 1;  // only a start made here is ended here
      break;
    case platform::ComStart::kAlreadyStarted:
      break;
    case platform::ComStart::kFailed:
      return 0;
  }
  shellLink = platform::CreateShellLink();
  if (shellLink == nullptr) return 0;
  persistFile = platform::ShellLinkFileInterface(shellLink);
  if (persistFile == nullptr) {
    platform::ReleaseShellLinkInterface(shellLink);
    shellLink = nullptr;
    return 0;
  }
  return 1;
}

int CVShortcut::SHTerminate() {
  if (persistFile != nullptr) platform::ReleaseShellLinkInterface(persistFile);
  if (shellLink != nullptr) platform::ReleaseShellLinkInterface(shellLink);
  persistFile = nullptr;
  shellLink = nullptr;
  if (comStarted) platform::StopCom();
  comStarted = 0;
  return 1;
}

int CVShortcut::SHCreateShortcut(const char* target, const char* shortcutFile, const char* description) {
  if (shellLink == nullptr || persistFile == nullptr) return 0;
  // The shell keeps a target it cannot find yet; only the description's
  // answer counts.
  platform::ShellLinkSetPath(shellLink, target);
  if (!platform::ShellLinkSetDescription(shellLink, description)) return 0;
  return platform::ShellLinkSave(persistFile, shortcutFile) ? 1 : 0;
}

int CVShortcut::SHResolve(VSWindow owner, const char* shortcutFile, char* target, char* description,
                          char* iconFile, char* iconIndex) {
  if (shellLink == nullptr || persistFile == nullptr) return 0;
  // A file that cannot be read leaves no target, which is the failure.
  platform::ShellLinkLoad(persistFile, shortcutFile);
  platform::ShellLinkResolve(shellLink, owner);
  char text[kVUMaxPath];
  if (!platform::ShellLinkGetPath(shellLink, text, kVUMaxPath)) return 0;
  if (target != nullptr) VUCopyN(target, text, kVUMaxPath - 1);
  if (platform::ShellLinkGetDescription(shellLink, text, kVUMaxPath) && text[0] != '\0' && description != nullptr) {
    VUCopyN(description, text, kVUMaxPath - 1);
  }
  int index = 0;
  if (platform::ShellLinkGetIconLocation(shellLink, text, kVUMaxPath, &index)) {
    if (iconFile != nullptr) VUCopyN(iconFile, text, kVUMaxPath - 1);
    if (iconIndex != nullptr) std::snprintf(iconIndex, kVSBuffer, "%d", index);
  }
  return 1;
}
