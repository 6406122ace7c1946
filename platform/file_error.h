// Why a file operation of the seam failed, kept for the caller to show.
//
// Every operation of file_system.h and file_output.h that fails records the
// path it was given and the reason: the system's own words ("No space left
// on device") or the seam's ("leads outside VESTA_ROOT"). Libraries report
// failures through their results and error slots; a program shows this to
// its user with the path.
#ifndef VESTA_PLATFORM_FILE_ERROR_H
#define VESTA_PLATFORM_FILE_ERROR_H

#include <string>

namespace vesta::platform {

struct FileError {
  std::string path;    // as the caller gave it
  std::string reason;  // "" when nothing has failed in this thread
};

// The last failure of this thread.
const FileError& LastFileError();

// "<path>: <reason>", or "" when nothing has failed.
std::string DescribeLastFileError();

// For the backends: records a failure.
void SetFileError(const char* path, const std::string& reason);

// The reason given for a path that leads outside VESTA_ROOT.
extern const char kOutsideRootReason[];
// The reason given for a pipe, device or socket where a file is read.
extern const char kNotRegularReason[];

}  // namespace vesta::platform

#endif
