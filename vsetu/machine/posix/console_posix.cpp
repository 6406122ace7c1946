// The machine's root and the console on POSIX: VESTA_ROOT, and the
// terminal of the standard streams.
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/code_page.h"
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

int VSGetArgument(int argc, char** argv, int index, char* out, int size, char* missing, int missingSize) {
  if (argv == nullptr || index < 0 || index >= argc || argv[index] == nullptr) return 0;
  return VSUtf8ToCodePage(argv[index], out, size, missing, missingSize);
}

int VSWriteToTerminal(int stream, const char* text, int length) {
  if (text == nullptr || length < 0) return 0;
  std::string utf8 =
      vesta::platform::Utf16ToUtf8(vesta::platform::AnsiToUtf16(std::string(text, static_cast<size_t>(length))));
  FILE* target = stream == 2 ? stderr : stdout;
  return std::fwrite(utf8.data(), 1, utf8.size(), target) == utf8.size() ? 1 : 0;
}
