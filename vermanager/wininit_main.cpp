// vesta-wininit [INI]: deletes what WININIT.INI (by default the Windows
// folder's) schedules for deletion at the next restart, and clears those
// entries. Nothing on POSIX reads the file at start-up; this command stands
// in for the restart.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/file_system.h"
#include "vermanager/restart_deletion.h"

int main(int argc, char** argv) {
  if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0))) {
    std::fprintf(stderr, "usage: vesta-wininit [INI]\n");
    return 2;
  }
  std::string ini = argc == 2 ? argv[1] : RestartIniPath();
  if (ini.empty() || !vesta::platform::FileExists(ini.c_str())) {
    std::printf("vesta-wininit: no %s, nothing to delete\n", ini.empty() ? "WININIT.INI" : ini.c_str());
    return 0;
  }
  RestartDeletionReport report;
  if (ApplyRestartDeletions(ini.c_str(), &report) < 0) {
    std::fprintf(stderr, "vesta-wininit: cannot read %s\n", ini.c_str());
    return 1;
  }
  if (report.deleted.empty() && report.notDeleted.empty()) std::printf("vesta-wininit: nothing to delete\n");
  for (const std::string& item : report.deleted) std::printf("deleted %s\n", item.c_str());
  for (const std::string& item : report.notDeleted) std::printf("could not delete %s\n", item.c_str());
  if (!report.cleared) std::fprintf(stderr, "vesta-wininit: cannot rewrite %s\n", ini.c_str());
  return report.notDeleted.empty() && report.cleared ? 0 : 1;
}
