#include "platform/shell.h"

#include <objbase.h>
#include <windows.h>

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

}  // namespace vesta::platform
