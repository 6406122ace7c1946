// The installation folder and everything derived from it by plain
// concatenation: the stored folder ends with a back-slash, sub-folder names
// follow it directly, and file names after a sub-folder bring their own.
// The package manager builds this file into itself.
#include "vsetu/services/install_paths.h"

#include <cstring>

#include "actions/registry.h"
#include "common/text.h"
#include "vesta/vsetu.h"
#include "vsetu/services/library_state.h"
#include "vsetu/services/registry_keys.h"

namespace vesta::vsetu {

bool ComposePath(char* out, const char* base, const char* suffix) {
  size_t baseLength = std::strlen(base);
  size_t suffixLength = std::strlen(suffix);
  if (out == nullptr || baseLength + suffixLength >= static_cast<size_t>(kVSBuffer)) return false;
  std::memcpy(out, base, baseLength);
  std::memcpy(out + baseLength, suffix, suffixLength + 1);
  return true;
}

namespace {

// out = what get gives + suffix; 0 (out untouched) when get fails or the
// path does not fit.
int Derive(char* out, int (*get)(char*), const char* suffix) {
  char base[kVSBuffer];
  if (out == nullptr || !get(base)) return 0;
  return ComposePath(out, base, suffix) ? 1 : 0;
}

}  // namespace
}  // namespace vesta::vsetu

using vesta::vsetu::Derive;

int VSGetVESTAHome(char* out) {
  if (out == nullptr) return 0;
  char* cache = vesta::vsetu::HomeCache();
  if (cache[0] == '\0') {
    char folder[kVSBuffer];
    if (!VURegGetString(VURegRoot::kLocalMachine, vesta::vsetu::kMachineKey, "Home", folder)) {
      cache[0] = '\0';
      return 0;
    }
    VUCopyN(cache, folder, vesta::vsetu::kStateText);
  }
  VUCopyN(out, cache, kVSBuffer - 1);
  return 1;
}

int VSSetVESTAHome(const char* folder) {
  return VURegSetString(VURegRoot::kLocalMachine, vesta::vsetu::kMachineKey, "Home", folder);
}

int VSGetUserDesktop(char* out) {
  return VURegGetString(VURegRoot::kCurrentUser, vesta::vsetu::kUserKey, "Desktop", out);
}

int VSSetUserDesktop(const char* text) {
  return VURegSetString(VURegRoot::kCurrentUser, vesta::vsetu::kUserKey, "Desktop", text);
}

int VSGetProgramFilesDir(char* out) {
  return VURegGetString(VURegRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                        "ProgramFilesDir", out);
}

int VSGetBinDir(char* out) { return Derive(out, VSGetVESTAHome, "bin"); }
int VSGetMediaDir(char* out) { return Derive(out, VSGetVESTAHome, "media"); }
int VSGetTempDir(char* out) { return Derive(out, VSGetVESTAHome, "temp"); }
int VSGetWorldDir(char* out) { return Derive(out, VSGetVESTAHome, "worlds"); }
int VSGetVESTAHelpFile(char* out) { return Derive(out, VSGetBinDir, "\\VHelp.hlp"); }
int VSGetLoadStringFile(char* out) { return Derive(out, VSGetBinDir, "\\VStrings.ifs"); }
int VSGetFileTypeFile(char* out) { return Derive(out, VSGetWorldDir, "\\VESTA.vft"); }
