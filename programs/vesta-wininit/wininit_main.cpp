// vesta-wininit [INI]: deletes what WININIT.INI (by default the Windows
// folder's) schedules for deletion at the next restart, and clears those
// entries. Nothing on POSIX reads the file at start-up; this command stands
// in for the restart. An entry that leads outside the installation is
// refused, and its line stays.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/file_error.h"
#include "platform/file_system.h"
#include "vermanager/restart_deletion.h"

namespace {

const char kUsage[] =
    "usage: vesta-wininit [INI]\n"
    "Deletes the files and folders that the \"NUL=\" lines of the [rename] section of INI\n"
    "(by default WININIT.INI in the Windows folder) name, as the next restart would,\n"
    "and removes those lines. Entries outside the installation are refused and kept.\n"
    "Exit status: 0 when everything named was deleted, 1 when something was not,\n"
    "2 for a wrong command line.\n";

// The path and the reason of the last failure, or the path alone.
std::string Problem(const std::string& path) {
  std::string described = vesta::platform::DescribeLastFileError();
  return described.empty() ? path : described;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc > 2 || (argc == 2 && argv[1][0] == '-' && argv[1][1] != '\0')) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string ini = argc == 2 ? argv[1] : RestartIniPath();
  if (ini.empty() || !vesta::platform::FileExists(ini.c_str())) {
    std::printf("vesta-wininit: no %s, nothing to delete\n", ini.empty() ? "WININIT.INI" : ini.c_str());
    return 0;
  }
  RestartDeletionReport report;
  if (ApplyRestartDeletions(ini.c_str(), &report) < 0) {
    std::fprintf(stderr, "vesta-wininit: cannot read %s\n", Problem(ini).c_str());
    return 1;
  }
  if (report.deleted.empty() && report.notDeleted.empty() && report.refused.empty()) {
    std::printf("vesta-wininit: nothing to delete\n");
  }
  for (const std::string& item : report.deleted) std::printf("deleted %s\n", item.c_str());
  for (const std::string& item : report.notDeleted) std::printf("could not delete %s\n", item.c_str());
  for (const RefusedPath& item : report.refused) {
    std::printf("refused %s: %s\n", item.path.c_str(), item.reason.c_str());
  }
  if (!report.refused.empty()) {
    std::printf("vesta-wininit: %zu %s outside the installation left alone; %s kept in %s\n", report.refused.size(),
                report.refused.size() == 1 ? "entry" : "entries", report.refused.size() == 1 ? "its line" : "their lines",
                ini.c_str());
  }
  if (!report.cleared) {
    std::fprintf(stderr, "vesta-wininit: cannot rewrite %s\n", Problem(ini).c_str());
  }
  return report.notDeleted.empty() && report.refused.empty() && report.cleared ? 0 : 1;
}
