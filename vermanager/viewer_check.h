// Whether the viewer runs. The viewer keeps a named shared block of 4096
// bytes whose 32-bit word at byte offset 60 is non-zero while it runs; the
// block's name is the string value "SharedMemory" under HKEY_CURRENT_USER
// "Software\vesta3d\Vesta\CurrentVersion", or "VShar.dll".
#ifndef VESTA_VERMANAGER_VIEWER_CHECK_H
#define VESTA_VERMANAGER_VIEWER_CHECK_H

#include <cstdint>

#include "platform/shared_memory.h"

constexpr int kViewerBlockSize = 4096;
constexpr int kRunningWordOffset = 60;
// The buffer that holds the block's name.
constexpr int kSharedMemoryNameBuffer = 261;

// The block's name into out (kSharedMemoryNameBuffer bytes): the registry
// value, at most 260 characters, or "VShar.dll" when it cannot be read.
// Returns 1.
int GetSharedMemoryName(char* out);

// The viewer's block, open while the object has it.
class ViewerBlock {
 public:
  // Codes of OpenSharedBlock.
  static constexpr int kNotMapped = 0;
  static constexpr int kCreated = 1;  // it did not exist: made now, all zero
  static constexpr int kExisted = 2;
  static constexpr int kCannotMake = 3;
  static constexpr int kEmptyName = 4;

  // Opens (or makes) the block of that name and maps it; one of the codes.
  // Only kCreated and kExisted leave it open.
  int OpenSharedBlock(const char* name);
  // 1 with the running word in *word when the block is open and the word is
  // non-zero; else 0 (*word gets the word whenever the block is open).
  int ReadRunningWord(int32_t* word);
  // Unmaps and closes; a block this object made goes away with it.
  void CloseSharedBlock();

 private:
  vesta::platform::SharedBlock block_;
};

// 1 when the viewer runs. When the viewer does not, the block is made and
// released again within the call.
int IsViewerRunning();

#endif
