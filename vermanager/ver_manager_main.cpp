// VerManager -f MANIFEST: lists the installed packages and verifies or
// uninstalls them.
#include "platform/shell.h"
#include "vermanager/ver_manager_app.h"

int main() {
  CVerManagerApp app;
  return app.Run(vesta::platform::CommandLine());
}
