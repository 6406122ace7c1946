#include "platform/shell.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

namespace vesta::platform {

ComStart StartCom() {
  HRESULT result = CoInitialize(nullptr);
  if (result == S_OK) return ComStart::kStarted;
  if (result == S_FALSE) return ComStart::kAlreadyStarted;
  return ComStart::kFailed;
}

void StopCom() { CoUninitialize(); }

bool SetDesktopWallpaper(const char* path) {
  if (path == nullptr) return false;
  return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path),
                               SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) != 0;
}

bool OpenDocument(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  HINSTANCE result = ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool OpenHelp(const char* helpFile, const char* keyword) {
  if (helpFile == nullptr || keyword == nullptr) return false;
  return WinHelpA(nullptr, helpFile, HELP_KEY, reinterpret_cast<ULONG_PTR>(keyword)) != 0;
}

std::string CommandLine() {
  const char* line = GetCommandLineA();
  return line != nullptr ? std::string(line) : std::string();
}

}  // namespace vesta::platform
