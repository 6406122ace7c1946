// The system's words for a Win32 error, for LastFileError.
#ifndef VESTA_PLATFORM_WIN32_WIN32_ERROR_H
#define VESTA_PLATFORM_WIN32_WIN32_ERROR_H

#include <string>

namespace vesta::platform::win32 {

// The message of error (a GetLastError code), without its line end.
std::string ErrorText(unsigned long error);

// Records the calling thread's last Win32 error for path; returns false.
bool FailWithLastError(const char* path);

// Records the C library's errno for path; returns false.
bool FailWithErrno(const char* path);

}  // namespace vesta::platform::win32

#endif
