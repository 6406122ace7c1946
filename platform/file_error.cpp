#include "platform/file_error.h"

#include "platform/process_state.h"

namespace vesta::platform {
namespace {

FileError& Last() { return state::LastFileError(); }

}  // namespace

const char kOutsideRootReason[] = "leads outside VESTA_ROOT";
const char kNotRegularReason[] = "not a regular file";

const FileError& LastFileError() { return Last(); }

std::string DescribeLastFileError() {
  const FileError& last = Last();
  if (last.reason.empty()) return std::string();
  return last.path + ": " + last.reason;
}

void SetFileError(const char* path, const std::string& reason) {
  Last().path = path != nullptr ? path : "";
  Last().reason = reason;
}

}  // namespace vesta::platform
