// The installation's screensaver: installing, testing and removing it, and
// pointing it at the sample world.
#include <cstdio>

#include "actions/registry.h"
#include "actions/screensaver.h"
#include "vesta/vsetu.h"
#include "vsetu/services/install_paths.h"

namespace {

// bin + "\Zentrix-3D.scr"; false when the bin folder is unknown.
bool SaverFile(char (&path)[kVSBuffer]) {
  return VSGetBinDir(path) && vesta::vsetu::ComposePath(path, path, "\\Zentrix-3D.scr");
}

}  // namespace

int VSIsScreensaverInstalled() {
  char file[kVSBuffer];
  return SaverFile(file) ? VUIsScreensaverInstalled(file) : 0;
}

int VSInstallScreensaver() {
  char file[kVSBuffer];
  return SaverFile(file) ? VUInstallScreensaver(file) : 0;
}

int VSUnInstallScreensaver() {
  char file[kVSBuffer];
  return SaverFile(file) ? VUUnInstallScreensaver(file) : 0;
}

int VSSetDefaultScreensaver() {
  char world[kVSBuffer];
  if (!VSGetVESTAHome(world) || !vesta::vsetu::ComposePath(world, world, "worlds\\freeware\\Lunari.vwq")) {
    return 0;
  }
  char key[kVSBuffer];
  std::snprintf(key, sizeof key, "Software\\%s\\Screensaver\\Settings", "Zentrix-3D");
  return VURegSetString(VURegRoot::kCurrentUser, key, "UseWorld", world);
}
