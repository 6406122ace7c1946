// Named shared memory: the block through which the viewer tells that it
// runs. Win32: a file mapping backed by the paging file, under the name as
// given. POSIX: a named POSIX shared memory object, "/" + name with each
// "/" written as "%2F" and each "%" as "%25" (shm_open takes no slash
// after the first).
#ifndef VESTA_PLATFORM_SHARED_MEMORY_H
#define VESTA_PLATFORM_SHARED_MEMORY_H

#include <cstddef>

namespace vesta::platform {

class SharedBlock {
 public:
  enum class Opened {
    kFailed,          // the block could not be made or opened
    kNotMapped,       // it exists but could not be mapped
    kCreated,         // it did not exist before: made now, all zero
    kAlreadyExisted,  // another process had made it
  };

  SharedBlock() = default;
  ~SharedBlock() { Close(); }
  SharedBlock(const SharedBlock&) = delete;
  SharedBlock& operator=(const SharedBlock&) = delete;

  // Opens the block of that name and size for reading and writing, making
  // it when it does not exist, and maps it; closes any block held before.
  // kFailed also for an empty name. An existing block smaller than size is
  // not mapped on Win32 and grown on POSIX. Only kCreated and
  // kAlreadyExisted leave a block open.
  Opened Open(const char* name, size_t size);
  // The mapped bytes, or null.
  unsigned char* Data() const { return data_; }
  // Unmaps and closes; a block this object made goes away with the last
  // process that has it open. POSIX: its name is removed at once (nothing
  // else would ever remove it); a process that still has it mapped keeps
  // its view, and a later Open makes a fresh block.
  void Close();

 private:
  unsigned char* data_ = nullptr;
  size_t size_ = 0;
  void* handle_ = nullptr;  // Win32 mapping handle
  int descriptor_ = -1;     // POSIX
  bool created_ = false;
  char name_[272] = "";
};

}  // namespace vesta::platform

#endif
