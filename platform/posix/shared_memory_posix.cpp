#include "platform/shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vesta::platform {
namespace {

// The object's name: "/" + name, with "/" and "%" written as "%2F" and
// "%25", since shm_open takes no slash after the first and two names must
// not meet. False when that does not fit.
bool ObjectName(const char* name, char* out, size_t size) {
  size_t used = 0;
  auto put = [&](const char* text) {
    size_t length = std::strlen(text);
    if (used + length >= size) return false;
    std::memcpy(out + used, text, length);
    used += length;
    return true;
  };
  if (!put("/")) return false;
  for (const char* c = name; *c != '\0'; ++c) {
    char one[2] = {*c, '\0'};
    const char* piece = *c == '/' ? "%2F" : *c == '%' ? "%25" : one;
    if (!put(piece)) return false;
  }
  out[used] = '\0';
  return true;
}

// Opens the object, making it when it does not exist; *made tells which.
// Retried, since its maker may remove it between the two attempts.
int OpenOrMake(const char* objectName, bool* made) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    int fd = shm_open(objectName, O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
      *made = true;
      return fd;
    }
    if (errno != EEXIST) return -1;
    fd = shm_open(objectName, O_RDWR, 0600);
    if (fd >= 0) {
      *made = false;
      return fd;
    }
    if (errno != ENOENT) return -1;
  }
  return -1;
}

}  // namespace

SharedBlock::Opened SharedBlock::Open(const char* name, size_t size) {
  Close();
  if (name == nullptr || *name == '\0' || size == 0) return Opened::kFailed;
  if (!ObjectName(name, name_, sizeof name_)) return Opened::kFailed;
  bool made = false;
  int fd = OpenOrMake(name_, &made);
  if (fd < 0) return Opened::kFailed;
  descriptor_ = fd;
  created_ = made;
  // A block smaller than asked for (its maker may not have sized it yet) is
  // grown, so that no byte of the mapping lies past its end.
  struct stat st;
  bool sized = fstat(fd, &st) == 0 &&
               (static_cast<size_t>(st.st_size) >= size || ftruncate(fd, static_cast<off_t>(size)) == 0);
  if (!sized) {
    Close();
    return made ? Opened::kFailed : Opened::kNotMapped;
  }
  void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (mapped == MAP_FAILED) {
    Close();
    return Opened::kNotMapped;
  }
  data_ = static_cast<unsigned char*>(mapped);
  size_ = size;
  return made ? Opened::kCreated : Opened::kAlreadyExisted;
}

void SharedBlock::Close() {
  if (data_ != nullptr) munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = -1;
  // Nothing on POSIX removes a named object with its last user.
  if (created_) shm_unlink(name_);
  created_ = false;
  name_[0] = '\0';
  handle_ = nullptr;  // the Win32 backend's
}

}  // namespace vesta::platform
