// The machine's root and the console on Windows: the machine is the one the
// program runs on, and the console is the process's.
#include <windows.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "platform/system_info.h"
#include "vesta/vsetu.h"
#include "vsetu/machine/text_out.h"

int VSGetMachineRoot(char* out, int size) {
  std::string windows = vesta::platform::WindowsFolder();
  if (windows.size() < 2 || windows[1] != ':') return 0;
  return vesta::vsetu::CopyOut(windows.substr(0, 2) + "\\", out, size);
}

int VSSetMachineRoot(const char*) { return 0; }

int VSCanSetMachineRoot() { return 0; }

int VSIsTerminal(int stream) { return _isatty(_fileno(stream == 2 ? stderr : stdout)) != 0 ? 1 : 0; }

int VSTerminalWidth(int stream) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  HANDLE handle = GetStdHandle(stream == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (handle == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(handle, &info)) return 0;
  int width = info.srWindow.Right - info.srWindow.Left + 1;
  return width > 0 ? width : 0;
}
