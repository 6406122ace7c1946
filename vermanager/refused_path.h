// A path that the package manager read from a file (the manifest,
// WININIT.INI) and left alone because it leads outside the installation.
#ifndef VESTA_VERMANAGER_REFUSED_PATH_H
#define VESTA_VERMANAGER_REFUSED_PATH_H

#include <string>

struct RefusedPath {
  std::string path;
  std::string reason;  // as the seam gives it: "a host path, outside VESTA_ROOT", ...
};

#endif
