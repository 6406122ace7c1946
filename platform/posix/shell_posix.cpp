#include "platform/shell.h"

#include "platform/registry.h"

namespace vesta::platform {
namespace {

// Starts of COM on this thread not yet ended.
thread_local int gComStarts = 0;

}  // namespace

ComStart StartCom() { return gComStarts++ == 0 ? ComStart::kStarted : ComStart::kAlreadyStarted; }

void StopCom() {
  if (gComStarts > 0) --gComStarts;
}

bool SetDesktopWallpaper(const char* path) {
  if (path == nullptr) return false;
  return RegistryWriteString(RegRoot::kCurrentUser, "Control Panel\\Desktop", "Wallpaper", path);
}

}  // namespace vesta::platform
