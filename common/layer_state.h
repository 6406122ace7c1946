// The utility layer's process-wide state, all in one place. The layer is
// built into each library and program, so each binary has a copy of its
// own.
#ifndef VESTA_COMMON_LAYER_STATE_H
#define VESTA_COMMON_LAYER_STATE_H

#include <string>
#include <unordered_map>

namespace vesta::common {

// The copies that VUCopyFileToFolder made in this process.
struct CopyRecords {
  // source + "|" + folder (folded) -> the copy made of it there
  std::unordered_map<std::string, std::string> copies;
  // copy (folded) -> its source
  std::unordered_map<std::string, std::string> origins;
};
CopyRecords& Copies();

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
PathTokens& Tokens();

}  // namespace vesta::common

#endif
