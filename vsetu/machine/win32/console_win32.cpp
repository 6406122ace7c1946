// The machine's root and the console on Windows: the machine is the one the
// program runs on, and the console is the process's.
#include <windows.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "platform/code_page.h"
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

int VSGetArgument(int argc, char** argv, int index, char* out, int size, char* missing, int missingSize) {
  if (index < 0 || index >= argc) return 0;
  // The wide command line holds what was typed; argv holds it after the
  // system's best-fit mapping, which may have changed it.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr || index >= count) {
    if (wide != nullptr) LocalFree(wide);
    return argv != nullptr && argv[index] != nullptr ? vesta::vsetu::CopyOut(argv[index], out, size) : 0;
  }
  std::u16string text;
  for (const wchar_t* p = wide[index]; *p != L'\0'; ++p) text += static_cast<char16_t>(*p);
  LocalFree(wide);
  const std::string lacking = vesta::platform::FirstNotInCodePage(text);
  if (missing != nullptr && missingSize > 0) vesta::vsetu::CopyOut(lacking, missing, missingSize);
  if (!lacking.empty()) return 0;
  return vesta::vsetu::CopyOut(vesta::platform::Utf16ToAnsi(text), out, size);
}

int VSWriteToTerminal(int stream, const char* text, int length) {
  if (text == nullptr || length < 0) return 0;
  FILE* target = stream == 2 ? stderr : stdout;
  HANDLE handle = GetStdHandle(stream == 2 ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    // A console shows characters, not bytes of a code page.
    std::fflush(target);
    const std::u16string wide = vesta::platform::AnsiToUtf16(std::string(text, static_cast<size_t>(length)));
    DWORD written = 0;
    return wide.empty() || (WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) &&
                            written == wide.size())
               ? 1
               : 0;
  }
  return std::fwrite(text, 1, static_cast<size_t>(length), target) == static_cast<size_t>(length) ? 1 : 0;
}
