// vesta: worlds, file types, packages, the registry and shortcuts of a VESTA
// installation, from the command line. See "vesta --help".
#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "programs/vesta/console.h"
#include "programs/vesta/terminal.h"
#include "vesta/vsetu.h"

int main(int argc, char** argv) {
  // Text crosses between the terminal and the code page only here.
  vesta::tool::TerminalOutput outText(1);
  vesta::tool::TerminalOutput errText(2);
  std::ostream out(&outText);
  std::ostream err(&errText);
  vesta::tool::Console console{out, err, std::cin, VSIsTerminal(2) == 1, VSTerminalWidth(2)};
  std::vector<std::string> args;
  std::string problem;
  if (!vesta::tool::TerminalArguments(argc, argv, &args, &problem)) {
    vesta::tool::Fail(console, problem);
    err.flush();
    return vesta::tool::kExitFailed;
  }
  VSetuInitialise();
  int status = vesta::tool::RunVesta(args, console);
  VSetuTerminate();
  out.flush();
  err.flush();
  return status;
}
