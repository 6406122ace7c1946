// A registry hive in memory as the POSIX backend keeps it: every line of
// its hive file, each with the text it has in the file and what it means.
// A change rewrites only the lines it concerns, so that the rest of the file
// (comments, spacing, line ends, text the API's code page cannot hold, lines
// that could not be read) is written back as it was.
//
// Key paths and value names are kept as UTF-8; names compare without regard
// to ASCII letter case and keep the spelling they were created with.
#ifndef VESTA_PLATFORM_REGISTRY_FILE_HIVE_H
#define VESTA_PLATFORM_REGISTRY_FILE_HIVE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesta::platform::regfile {

// The value types that the text format names.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;
constexpr std::uint32_t kRegQword = 11;

// One value of a key: its type and the bytes the registry holds, text in
// UTF-16LE with its terminating null (as Windows keeps it), whatever the
// file's encoding.
struct HiveValue {
  std::string name;  // "" for the default value
  std::uint32_t type = kRegSz;
  std::string data;

  bool operator==(const HiveValue& other) const {
    return name == other.name && type == other.type && data == other.data;
  }
};

// A string value (REG_SZ) holding text.
HiveValue StringValue(const std::string& name, const std::u16string& text);

// The text of a string value, up to its first null. False when the value is
// not a REG_SZ.
bool StringOf(const HiveValue& value, std::u16string* text);

// How a hive file's bytes are encoded. Lines are kept as 8-bit text: the
// code page's bytes for kAnsi, UTF-8 for the others.
enum class HiveEncoding { kAnsi, kUtf8, kUtf16 };

// One entry of a hive file: a line, or a value with its continuation lines.
struct HiveLine {
  enum class Kind {
    kHeader,       // the first line, byte order mark included
    kBlank,
    kComment,      // ";..."
    kKey,          // "[ROOT\path]"
    kDeleteKey,    // "[-ROOT\path]": only in a file to import
    kValue,        // "name"=data, with its continuation lines
    kDeleteValue,  // "name"=-: only in a file to import
    kOther,        // none of these
  };
  Kind kind = Kind::kOther;
  // As in the file, 8-bit (see HiveEncoding), with its line ends.
  std::string text;
  // Why the line is not read ("" when it is): a line with a problem counts
  // for nothing but its text.
  std::string problem;
  int number = 0;    // of its first line in the file, from 1; 0 when added
  std::string root;  // kKey, kDeleteKey: the root as written
  std::string path;  // kKey, kDeleteKey: below the root, "" for the root
  HiveValue value;   // kValue; the name of kDeleteValue

  bool operator==(const HiveLine& other) const {
    return kind == other.kind && text == other.text && problem == other.problem && root == other.root &&
           path == other.path && value == other.value;
  }
};

struct Hive {
  std::string root;  // the name of its root key ("HKEY_CURRENT_USER")
  HiveEncoding encoding = HiveEncoding::kAnsi;
  // "Windows Registry Editor Version 5.00": the data of hex(1), hex(2) and
  // hex(7) is UTF-16LE; under REGEDIT4 it is the code page's bytes.
  bool unicode = false;
  std::string newline = "\n";   // the line end of lines added
  std::vector<HiveLine> lines;  // the header first
  std::string tail;             // bytes past the text (an odd byte of UTF-16)

  bool operator==(const Hive& other) const {
    return root == other.root && encoding == other.encoding && unicode == other.unicode &&
           newline == other.newline && lines == other.lines && tail == other.tail;
  }
};

// Windows's own limits: a key path at most 512 levels deep, each key name
// at most 255 characters, a value name at most 16,383 (characters are
// UTF-16 units). The whole path below the root is held to 32,767
// characters, the longest name Windows passes to its kernel, so that a
// key and the key lines of its parents stay a bounded size.
constexpr size_t kMaxKeyDepth = 512;
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxKeyPathLength = 32767;
constexpr size_t kMaxValueNameLength = 16383;

// Why a key path below the root (UTF-8) breaks those limits, or "".
std::string KeyPathProblem(const std::string& path);
// Why a value name (UTF-8) breaks them, or "".
std::string ValueNameProblem(const std::string& name);

// Why the hive cannot hold the key path or the value as they are (a limit
// above, or text its encoding lacks: code page 1252 under REGEDIT4), or "".
// Text is kept or refused, never changed.
std::string KeyProblem(const Hive& hive, const std::string& path);
std::string ValueProblem(const Hive& hive, const HiveValue& value);

// A hive that has no file yet: REGEDIT4, code page text, "\n" line ends.
Hive NewHive(const std::string& rootName);

// True when the hive has a key line of exactly this path.
bool HasKeyLine(const Hive& hive, const std::string& path);

// True for the root, a key of the hive, or a parent of one (a hand-edited
// file may leave out the parents).
bool KeyExists(const Hive& hive, const std::string& path);

// The names of the key's direct subkeys, sorted as Windows enumerates them
// (by their capitals).
std::vector<std::string> Subkeys(const Hive& hive, const std::string& path);

// Gives the key and every missing parent a key line, each placed before the
// first key below it, else after its parent's subtree. A new name takes the
// spelling of the existing key it matches. False, the hive unchanged, when
// KeyProblem refuses the path.
bool EnsureKey(Hive* hive, const std::string& path);

// Removes a key that has no subkeys, with its values; its parents stay.
// False for the root, a missing key or one with subkeys.
bool RemoveKey(Hive* hive, const std::string& path);

// Removes a key, its subkeys and their values. False for the root or when
// there was nothing to remove.
bool RemoveKeyTree(Hive* hive, const std::string& path);

// The value named name (the last line that names it), or null.
const HiveValue* FindValue(const Hive& hive, const std::string& path, const std::string& name);

// The names of the key's values, each once (with its first spelling), in
// file order.
std::vector<std::string> ValueNames(const Hive& hive, const std::string& path);

// Sets a value, creating the key when absent: the line that holds it is
// rewritten, else a line is added after the key's values. An existing name
// keeps its spelling. False, the hive unchanged, when KeyProblem or
// ValueProblem refuses them.
bool SetValue(Hive* hive, const std::string& path, const HiveValue& value);

// Removes every line of the value. False when it is missing.
bool RemoveValue(Hive* hive, const std::string& path, const std::string& name);

}  // namespace vesta::platform::regfile

#endif
