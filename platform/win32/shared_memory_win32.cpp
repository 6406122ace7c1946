#include "platform/shared_memory.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace vesta::platform {

SharedBlock::Opened SharedBlock::Open(const char* name, size_t size) {
  Close();
  if (name == nullptr || *name == '\0' || size == 0) return Opened::kFailed;
  uint64_t wide = size;
  // Told apart from a leftover error of an earlier call.
  SetLastError(ERROR_SUCCESS);
  HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                      static_cast<DWORD>(wide >> 32), static_cast<DWORD>(wide), name);
  if (mapping == nullptr) return Opened::kFailed;
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  // An existing block keeps its own size: a view larger than that fails.
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, size);
  if (view == nullptr) {
    CloseHandle(mapping);
    return Opened::kNotMapped;
  }
  handle_ = mapping;
  data_ = static_cast<unsigned char*>(view);
  size_ = size;
  created_ = !existed;
  return existed ? Opened::kAlreadyExisted : Opened::kCreated;
}

void SharedBlock::Close() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  data_ = nullptr;
  size_ = 0;
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  created_ = false;
}

}  // namespace vesta::platform
