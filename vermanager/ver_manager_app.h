// The package manager's start-up: the manifest named by "-f" on the command
// line, the dialog run modally on it, everything freed when it ends.
#ifndef VESTA_VERMANAGER_VER_MANAGER_APP_H
#define VESTA_VERMANAGER_VER_MANAGER_APP_H

#include <string>

#include "vermanager/ui/package_dialog.h"

class CVerManagerApp {
 public:
  using DialogRunner = bool (*)(vesta::ui::PackageDialogEvents* events);

  // Runs the program on the full command line (program path first), with
  // the platform's dialog unless another runner is given. Returns the
  // process's exit code: 0 when the dialog ran, 2 without a "-f" value
  // (or when asked for help), 1 when the manifest cannot be loaded. No
  // window is shown in those cases; *problem (if given) says why.
  int Run(const std::string& commandLine, DialogRunner runDialog = vesta::ui::RunPackageDialog,
          std::string* problem = nullptr);

  // True when the command line asks for help ("--help", "-h" or "/?"
  // after the program's path).
  static bool AsksForHelp(const std::string& commandLine);

  // The manifest path once the command line is parsed (up to 259
  // characters).
  const char* ManifestPath() const { return manifestPath_; }

 private:
  char manifestPath_[260] = "";
};

#endif
