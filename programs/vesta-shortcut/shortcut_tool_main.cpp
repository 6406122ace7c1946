// vesta-shortcut: the shortcut command of vesta under its old name and
// command line, which the cross-platform check of tools/test uses.
//
//   vesta-shortcut write FILE TARGET DESCRIPTION ICON INDEX
//   vesta-shortcut read FILE
//
// read prints "target=", "description=", "icon=" and "index=" lines.
// Exits 0 on success, 1 when the file cannot be written or read, 2 on a
// wrong command line.
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "programs/vesta/console.h"
#include "vesta/vsetu.h"

namespace {

const char kUsage[] =
    "usage: vesta-shortcut write FILE TARGET DESCRIPTION ICON INDEX\n"
    "       vesta-shortcut read FILE\n"
    "Writes a shortcut (.LNK) with this platform's link object, or reads one and prints\n"
    "its target=, description=, icon= and index= lines. The same as \"vesta shortcut\n"
    "create\" and \"vesta shortcut show\".\n"
    "Exit status: 0 on success, 1 when the file cannot be written or read, 2 for a\n"
    "wrong command line.\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  if (argc == 7 && std::strcmp(argv[1], "write") == 0) {
    args = {"shortcut", "create", argv[2], argv[3], std::string("--description=") + argv[4],
            std::string("--icon=") + argv[5] + "," + argv[6]};
  } else if (argc == 3 && std::strcmp(argv[1], "read") == 0) {
    args = {"shortcut", "show", argv[2]};
  } else if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
    std::cout << kUsage;
    return std::cout.flush() ? 0 : 1;
  } else {
    std::cerr << kUsage;
    return 2;
  }
  // "write" prints nothing on success, as it always has.
  std::ostringstream quiet;
  std::ostream& out = args[1] == "create" ? static_cast<std::ostream&>(quiet) : std::cout;
  vesta::tool::Console console{out, std::cerr, std::cin};
  VSetuInitialise();
  int status = vesta::tool::RunVesta(args, console);
  VSetuTerminate();
  return status;
}
