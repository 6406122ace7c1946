// vesta-shortcut: the shortcut command of vesta under its old name and
// command line, which the cross-platform check of tools/test uses.
//
//   vesta-shortcut write FILE TARGET DESCRIPTION ICON INDEX
//   vesta-shortcut read FILE
//
// read prints "target=", "description=", "icon=" and "index=" lines.
// Exits 0 on success, 1 when the file cannot be written or read, 2 on a
// wrong command line.
#include <iostream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "programs/vesta/console.h"
#include "programs/vesta/terminal.h"
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
  // Text crosses between the terminal and the code page only here.
  vesta::tool::TerminalOutput outText(1);
  vesta::tool::TerminalOutput errText(2);
  std::ostream terminal(&outText);
  std::ostream err(&errText);
  std::vector<std::string> typed;
  std::string problem;
  if (!vesta::tool::TerminalArguments(argc, argv, &typed, &problem)) {
    err << "vesta-shortcut: " << problem << "\n";
    return 1;
  }
  std::vector<std::string> args;
  if (typed.size() == 6 && typed[0] == "write") {
    args = {"shortcut", "create", typed[1], typed[2], "--description=" + typed[3]};
    // No icon file: the link has no icon, whatever the index.
    if (!typed[4].empty()) args.push_back("--icon=" + typed[4] + "," + typed[5]);
  } else if (typed.size() == 2 && typed[0] == "read") {
    args = {"shortcut", "show", typed[1]};
  } else if (typed.size() == 1 && (typed[0] == "-h" || typed[0] == "--help")) {
    terminal << kUsage;
    return terminal.flush() ? 0 : 1;
  } else {
    err << kUsage;
    return 2;
  }
  // "write" prints nothing on success, as it always has.
  std::ostringstream quiet;
  std::ostream& out = args[1] == "create" ? static_cast<std::ostream&>(quiet) : terminal;
  vesta::tool::Console console{out, err, std::cin};
  VSetuInitialise();
  int status = vesta::tool::RunVesta(args, console);
  VSetuTerminate();
  terminal.flush();
  err.flush();
  return status;
}
