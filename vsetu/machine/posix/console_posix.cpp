// The machine's root and the console on POSIX: VESTA_ROOT, and the
// terminal of the standard streams.
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/posix/host_path.h"
#include "vesta/vsetu.h"
#include "vsetu/machine/text_out.h"

int VSGetMachineRoot(char* out, int size) {
  std::string root = vesta::platform::posix::VestaRoot();
  if (root.empty()) return 0;
  return vesta::vsetu::CopyOut(root, out, size);
}

int VSSetMachineRoot(const char* folder) {
  if (folder == nullptr || folder[0] == '\0') return 0;
  return setenv("VESTA_ROOT", folder, 1) == 0 ? 1 : 0;
}

int VSCanSetMachineRoot() { return 1; }

namespace {

int Descriptor(int stream) { return stream == 2 ? STDERR_FILENO : STDOUT_FILENO; }

}  // namespace

int VSIsTerminal(int stream) { return isatty(Descriptor(stream)) == 1 ? 1 : 0; }

int VSTerminalWidth(int stream) {
  winsize size{};
  if (ioctl(Descriptor(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  const char* columns = std::getenv("COLUMNS");
  int width = columns != nullptr ? std::atoi(columns) : 0;
  return width > 0 ? width : 0;
}
