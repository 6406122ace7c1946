// Paths that travel: the folders of one machine written as tokens, and the
// folder of the file that holds a path written as "?VESTAVWQDIR?".
//
// A token stands for its folder with the back-slash after it, so
// "?VESTAVWQDIR?tex\wall.bmp" in a world kept in D:\Out is
// D:\Out\tex\wall.bmp. Paths are rewritten in place in buffers of size
// bytes (a path's field by default); a result that would not fit is
// refused (0, the path unchanged).
#ifndef VESTA_COMMON_PATH_TOKENS_H
#define VESTA_COMMON_PATH_TOKENS_H

#include <string>

#include "common/paths.h"

// The folder token of the file that holds a path.
constexpr char kVUFolderToken[] = "?VESTAVWQDIR?";

// Registers the machine's Windows, system, program-files and installation
// folders (with or without a final back-slash), written as "?WINDIR?",
// "?SYSDIR?", "?PROGDIR?" and "?VESTADIR?". Returns 1.
int VUSetNormalisationFolders(const char* windows, const char* system, const char* programs,
                              const char* installation);

// The folder against which VURelativisePath works, set by its caller for
// the duration of its work (null or "" for none). Returns the one it
// replaces, so that a nested caller can put it back.
std::string VUSetRelativeBase(const char* folder);

// True when folder is the base already (as VUSetRelativeBase would set it).
bool VUIsRelativeBase(const char* folder);

// Sets the base folder for the life of the object, then puts the one before
// back; a folder that is the base already is left as it is (a step that
// sets it for every path it rewrites, within a run that set it).
class VURelativeBase {
 public:
  explicit VURelativeBase(const char* folder) : changed_(!VUIsRelativeBase(folder)) {
    if (changed_) previous_ = VUSetRelativeBase(folder);
  }
  ~VURelativeBase() {
    if (changed_) VUSetRelativeBase(previous_.c_str());
  }
  VURelativeBase(const VURelativeBase&) = delete;
  VURelativeBase& operator=(const VURelativeBase&) = delete;

 private:
  bool changed_;
  std::string previous_;
};

// Writes the longest registered folder that begins the path (letter case
// ignored) as its token. A path that begins with no registered folder
// stays as it is; so does a path already normalised.
int VUNormalisePath(char* path, int size = kVUPathBuffer);

// A path in the base folder or below becomes the folder token followed by
// the rest of the path after the folder's back-slash; any other path is
// normalised.
int VURelativisePath(char* path, int size = kVUPathBuffer);

// Replaces a leading token with folder (and a back-slash), and a leading
// folder token of the machine with the registered folder.
int VUExpandPath(char* path, const char* token, const char* folder, int size = kVUPathBuffer);
// The same for a texture: when the expanded file does not exist but one of
// its name lies in the installation's media folder, that one is taken.
int VUExpandTexturePath(char* path, const char* token, const char* folder, int size = kVUPathBuffer);
// The same for a file that names other files (a shape, a KOLB file, a
// world).
int VUExpandLinkedPath(char* path, const char* token, const char* folder, int size = kVUPathBuffer);

// The registered installation folder, with its back-slash ("" when none).
const char* VUInstallationFolder();

#endif
