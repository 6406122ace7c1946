// Reading a whole file, the same on every platform, over the backend's
// streams.
#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/file_error.h"
#include "platform/file_system.h"

namespace vesta::platform {

bool ReadWholeFile(const char* path, std::string* contents, FileMode mode, size_t limit) {
  if (contents == nullptr) return false;
  contents->clear();
  FILE* stream = OpenStream(path, mode == FileMode::kText ? "r" : "rb");
  if (stream == nullptr) return false;
  char buffer[65536];
  size_t n;
  bool ok = true;
  while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
    if (contents->size() + n > limit) {
      errno = EFBIG;
      ok = false;
      break;
    }
    contents->append(buffer, n);
  }
  if (ok && std::ferror(stream)) {
    errno = EIO;
    ok = false;
  }
  const int error = errno;
  std::fclose(stream);
  if (!ok) {
    SetFileError(path, error == EFBIG ? "larger than it may be" : "cannot be read whole");
    errno = error;
  }
  return ok;
}

}  // namespace vesta::platform
