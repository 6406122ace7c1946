// The package manager's start-up: the manifest named by "-f" on the command
// line, the dialog run modally on it, everything freed when it ends.
#ifndef VESTA_VERMANAGER_VER_MANAGER_APP_H
#define VESTA_VERMANAGER_VER_MANAGER_APP_H

#include <string>

#include "platform/package_dialog.h"

class CVerManagerApp {
 public:
  using DialogRunner = bool (*)(vesta::platform::PackageDialogEvents* events);

  // Runs the program on the full command line (program path first), with
  // the platform's dialog unless another runner is given. Returns the
  // process's exit code; no window is shown when there is no "-f" value or
  // the manifest cannot be loaded.
  int Run(const std::string& commandLine, DialogRunner runDialog = vesta::platform::RunPackageDialog);

  // The manifest path once the command line is parsed (up to 259
  // characters).
  const char* ManifestPath() const { return manifestPath_; }

 private:
  char manifestPath_[260] = "";
};

#endif
