// What a command of vesta talks to: its output, its errors, its input, and
// whether a person watches the errors' stream on a terminal.
#ifndef VESTA_PROGRAMS_VESTA_CONSOLE_H
#define VESTA_PROGRAMS_VESTA_CONSOLE_H

#include <iosfwd>
#include <string>
#include <vector>

namespace vesta::tool {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // an operation failed, or a check found problems
constexpr int kExitUsage = 2;   // a wrong command line

struct Console {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool errIsTerminal = false;  // progress is drawn as a bar
  int width = 0;               // of that terminal; 0 when unknown
};

// Runs "vesta ARGS..." (args without the program's name) and returns its
// exit status.
int RunVesta(const std::vector<std::string>& args, Console& console);

// Prints "vesta: " + text to the errors' stream; returns kExitFailed.
int Fail(Console& console, const std::string& text);

// The reason of the library's last failed file operation ("path: reason"),
// or fallback when it has none; Attempt forgets it before an operation
// whose failure is to be told.
std::string FileProblem(const std::string& fallback);
void Attempt();

// kExitOk, or kExitFailed with a message when the output could not all be
// written (a full disk, a closed pipe).
int Finish(Console& console, int status);

}  // namespace vesta::tool

#endif
