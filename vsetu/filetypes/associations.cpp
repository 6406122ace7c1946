// What the shell associates with an ending: the program that opens it and
// its icon, from HKEY_CLASSES_ROOT.
#include <cctype>
#include <cstring>
#include <string>

#include "actions/registry.h"
#include "common/text.h"
#include "platform/windows_names.h"
#include "vesta/vsetu.h"

namespace {

// Texts of the association lookups, as the caller's buffers hold them.
constexpr int kOutText = 260;

// The default value of HKEY_CLASSES_ROOT\key (key cut to fit the buffer
// the lookups compose it in).
bool ReadDefault(const std::string& key, char (&out)[kVURegBuffer]) {
  if (key.size() >= static_cast<size_t>(kVURegBuffer)) return false;
  return VURegGetString(VURegRoot::kClassesRoot, key.c_str(), nullptr, out) != 0;
}

bool StartsWithProgramEnding(const char* p) {
  static const char* const kEndings[] = {".EXE", ".COM", ".BAT"};
  for (const char* ending : kEndings) {
    if (vesta::platform::NameStartsWith(p, ending)) return true;
  }
  return false;
}

// The icon value split at its last comma into file and index (index "1"
// when there is no comma).
void SplitIcon(const char* value, char* iconFile, char* iconIndex, int indexCapacity) {
  const char* comma = std::strrchr(value, ',');
  if (comma == nullptr) {
    VUCopyN(iconFile, value, kOutText);
    VUCopyN(iconIndex, "1", indexCapacity);
    return;
  }
  size_t fileLength = static_cast<size_t>(comma - value);
  if (fileLength > static_cast<size_t>(kOutText)) fileLength = kOutText;
  std::memcpy(iconFile, value, fileLength);
  iconFile[fileLength] = '\0';
  VUCopyN(iconIndex, comma + 1, indexCapacity);
}

int FindIcon(const char* typeName, char* iconFile, char* iconIndex) {
  char value[kVURegBuffer];
  if (!ReadDefault(std::string(typeName) + "\\DefaultIcon", value)) return 0;
  SplitIcon(value, iconFile, iconIndex, 19);
  return 1;
}

}  // namespace

int VSResolveAssociation(const char* ending, char* program, char* commandLine) {
  if (ending == nullptr || program == nullptr || commandLine == nullptr) return 0;
  char typeName[kVURegBuffer];
  char command[kVURegBuffer];
  if (!ReadDefault(ending, typeName)) return 0;
  if (!ReadDefault(std::string(typeName) + "\\shell\\open\\command", command)) return 0;
  VUCopyN(commandLine, command, kOutText);
  // The program is the text up to and including its ending, quotes dropped.
  size_t used = 0;
  for (const char* p = command; *p != '\0'; ++p) {
    if (StartsWithProgramEnding(p)) {
      if (used + 4 > static_cast<size_t>(kOutText)) return 0;
      std::memcpy(program + used, p, 4);
      program[used + 4] = '\0';
      return 1;
    }
    if (*p != '"' && used < static_cast<size_t>(kOutText)) program[used++] = *p;
  }
  return 0;
}

int VSFindIconForEnding(const char* ending, char* iconFile, char* iconIndex) {
  if (ending == nullptr || iconFile == nullptr || iconIndex == nullptr) return 0;
  char typeName[kVURegBuffer];
  if (!ReadDefault(ending, typeName)) return 0;
  return FindIcon(typeName, iconFile, iconIndex);
}

int VSFindIconForFileType(const char* typeName, char* iconFile, char* iconIndex) {
  if (typeName == nullptr || iconFile == nullptr || iconIndex == nullptr) return 0;
  return FindIcon(typeName, iconFile, iconIndex);
}
