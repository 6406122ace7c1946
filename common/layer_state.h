// The utility layer's process-wide state, all in one place, defined once in
// a process as the seam's is (platform/process_state.h).
#ifndef VESTA_COMMON_LAYER_STATE_H
#define VESTA_COMMON_LAYER_STATE_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "vesta/export.h"

namespace vesta::common {

// The copies that VUCopyFileToFolder made in this process.
struct CopyRecords {
  // source + "|" + folder (folded) -> the copy made of it there
  std::unordered_map<std::string, std::string> copies;
  // copy (folded) -> its source
  std::unordered_map<std::string, std::string> origins;
  // the copies made or found since the last VUSyncCopies, to be synced
  std::vector<std::string> unsynced;
  // the same copies (folded): made by this process moments ago and not yet
  // handed to anyone, so that using one again needs no look at the disk
  std::unordered_set<std::string> fresh;
  // source + "|" + folder as the caller spelled them -> a fresh copy: a
  // name met again is answered without folding it
  std::unordered_map<std::string, std::string> freshBySpelling;
  // shapes done, by the paths as the caller spelled them (dependants.cpp):
  // fresh copies whose textures are copied, and shapes made relative
  std::unordered_set<std::string> shapesDoneBySpelling;
};
VESTA_STATE_API CopyRecords& Copies();

// The machine's folders that path tokens stand for (VUSetNormalisationFolders),
// and the folder that relative paths are written against (VURelativeBase).
struct FolderToken {
  const char* token;
  std::string folder;  // with a final back-slash; empty when not registered
};
struct PathTokens {
  FolderToken folders[4] = {{"?WINDIR?", ""}, {"?SYSDIR?", ""}, {"?PROGDIR?", ""}, {"?VESTADIR?", ""}};
  std::string base;  // with a final back-slash; empty for none
};
VESTA_STATE_API PathTokens& Tokens();

// Shapes whose textures are already copied into, or relativised for, the
// folder they lie in during this normalisation ("stage|path", folded): a
// world names the same shape many times.
VESTA_STATE_API std::unordered_set<std::string>& ShapesDone();

}  // namespace vesta::common

#endif
