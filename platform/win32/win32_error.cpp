#include "platform/win32/win32_error.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

#include "platform/file_error.h"

namespace vesta::platform::win32 {

std::string ErrorText(unsigned long error) {
  char buffer[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.')) text.pop_back();
  if (text.empty()) text = "system error " + std::to_string(error);
  return text;
}

bool FailWithLastError(const char* path) {
  DWORD error = GetLastError();
  SetFileError(path, ErrorText(error));
  SetLastError(error);
  return false;
}

bool FailWithErrno(const char* path) {
  int error = errno != 0 ? errno : EIO;
  SetFileError(path, std::strerror(error));
  errno = error;
  return false;
}

}  // namespace vesta::platform::win32
