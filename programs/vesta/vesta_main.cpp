// vesta: worlds, file types, packages, the registry and shortcuts of a VESTA
// installation, from the command line. See "vesta --help".
#include <iostream>
#include <string>
#include <vector>

#include "programs/vesta/console.h"
#include "vesta/vsetu.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vesta::tool::Console console{std::cout, std::cerr, std::cin, VSIsTerminal(2) == 1, VSTerminalWidth(2)};
  VSetuInitialise();
  int status = vesta::tool::RunVesta(args, console);
  VSetuTerminate();
  return status;
}
