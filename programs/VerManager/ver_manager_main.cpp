// VerManager -f MANIFEST: lists the installed packages and verifies or
// uninstalls them.
#include <cstdio>
#include <string>

#include "platform/shell.h"
#include "vermanager/ver_manager_app.h"

namespace {

const char kUsage[] =
    "usage: VerManager -fMANIFEST\n"
    "Lists the packages that the manifest names and verifies or uninstalls them.\n"
    "Exit status: 0 when the dialog ran, 1 when the manifest cannot be read, 2 for a\n"
    "wrong command line.\n";

}  // namespace

int main() {
  const std::string commandLine = vesta::platform::CommandLine();
  CVerManagerApp app;
  std::string problem;
  int code = app.Run(commandLine, vesta::ui::RunPackageDialog, &problem);
  // A dialog program shows no window for these; a terminal, where there is
  // one, gets the reason.
  if (code == 2) std::fputs(kUsage, CVerManagerApp::AsksForHelp(commandLine) ? stdout : stderr);
  if (code == 1) std::fprintf(stderr, "VerManager: cannot read the manifest %s\n", problem.c_str());
  return code == 2 && CVerManagerApp::AsksForHelp(commandLine) ? 0 : code;
}
