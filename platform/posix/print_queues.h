// The print queues of a POSIX system, which stand for the shell's printers.
#ifndef VESTA_PLATFORM_POSIX_PRINT_QUEUES_H
#define VESTA_PLATFORM_POSIX_PRINT_QUEUES_H

#include <string>
#include <vector>

namespace vesta::platform::posix {

// The queues the print system names (`lpstat -e`), else those of
// /etc/printcap; none when neither knows any.
std::vector<std::string> PrintQueues();

// The queue names of a printcap file: the first name of each entry
// ("lp|Local printer:..."); comments and continuation lines are skipped.
std::vector<std::string> ParsePrintcap(const std::string& text);

}  // namespace vesta::platform::posix

#endif
