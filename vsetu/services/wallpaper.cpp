// The user's wallpaper bitmap in the media folder.
#include <cstring>
#include <string>

#include "platform/shell.h"
#include "platform/system_info.h"
#include "vesta/vsetu.h"
#include "vsetu/services/install_paths.h"

int VSGetUserWallPaperFileName(char* out) {
  std::string user;
  // The length of the name as the system gives it counts its terminator.
  size_t userLength = 0;
  if (vesta::platform::UserName(&user)) {
    userLength = user.size() + 1;
  } else {
    user.clear();
  }
  char path[kVSBuffer];
  if (out == nullptr || !VSGetMediaDir(path)) return 0;
  if (std::strlen(path) + userLength + 16 > 260) return 0;
  std::string suffix = "\\_" + user + "_VESTA3D.bmp";
  if (!vesta::vsetu::ComposePath(path, path, suffix.c_str())) return 0;
  std::memcpy(out, path, std::strlen(path) + 1);
  return 1;
}

int VSApplyUserWallPaperFile(const char* path) {
  return vesta::platform::SetDesktopWallpaper(path) ? 1 : 0;
}
