// The text of a hive file: the registry editor's export format, in either
// of its versions.
//
//   REGEDIT4                                (code page 1252 text)
//   Windows Registry Editor Version 5.00    (UTF-16LE with a byte order
//                                            mark as the editor writes it,
//                                            or UTF-8 with or without one)
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\vesta3d\VESTA]
//   "Path"="C:\\VESTA"
//   @="the default value"
//   "Count"=dword:0000001a
//   "Lines"=hex(7):61,00,00,00,62,00,00,00,00,00
//
// Hex data goes on over lines that end with a back-slash; the next line
// starts with two blanks.
//
// Strings escape "\" and '"' with a back-slash; "\n" and "\r" (which the
// editor of some systems writes) are read as line breaks. Under REGEDIT4 the
// bytes of hex(1), hex(2) and hex(7) are code page text, else UTF-16LE.
// Comment lines begin with ";"; a value line may end with one. A file to
// import may also delete a key tree ("[-KEY]") or a value ("name"=-).
//
// Pure (bytes in, structure out and back), so that it can be fuzzed.
#ifndef VESTA_PLATFORM_REGISTRY_FILE_HIVE_FILE_H
#define VESTA_PLATFORM_REGISTRY_FILE_HIVE_FILE_H

#include <cstddef>
#include <string>

#include "platform/registry_file/hive.h"

namespace vesta::platform::regfile {

// The largest registry file read, hive or file to import: 16 MiB. A hive is
// held in memory whole, at up to some thirty times its size (a file of the
// shortest value lines; 4 to 20 times for what the editor writes). The
// largest key the limits allow, with the key lines of its parents, takes
// some 8 MiB; this system's hives hold an installation's settings, far
// less.
constexpr size_t kMaxRegistryFileSize = size_t{16} << 20;

struct HiveSyntaxError {
  int line = 0;  // 1-based
  std::string what;
};

// Reads the bytes of the hive file of the root named rootName
// ("HKEY_CURRENT_USER"). False, with the reason, only when they are not a
// registry file (no header). Any other line that cannot be read gets its
// problem (HiveLine::problem) and counts for nothing but its text: a key of
// another root, a deletion, a value outside a readable key, a bad quote or
// escape, data of no known type. Values below such a key line count for
// nothing either.
bool ParseHive(const std::string& bytes, const std::string& rootName, Hive* hive, HiveSyntaxError* error);

// Reads a file to import: as ParseHive, but its keys may be of any root
// (HiveLine::root) and it may delete keys and values.
bool ParseImportFile(const std::string& bytes, Hive* hive, HiveSyntaxError* error);

// The hive's bytes: its lines in its encoding. A hive read and not changed
// gives back the bytes it was read from.
std::string WriteHive(const Hive& hive);

// The first line with a problem, or null.
const HiveLine* FirstProblem(const Hive& hive);

// The lines that the hive's changes add, in its encoding and with its line
// end: a key line, and a value line as the registry editor writes it (hex
// data wrapped after 77 characters, continued after two blanks; a string
// with a line break or a null as hex(1)).
std::string KeyLineText(const Hive& hive, const std::string& path);
std::string ValueLineText(const Hive& hive, const HiveValue& value);

// The text of a string value that stands between quotes in its line (one
// null, at its end, and no line break); false for any other value, which
// is written as a hex list.
bool PlainStringText(const HiveValue& value, std::u16string* text);

// An empty registry file to export to, as the registry editor writes one:
// the header of the format and a blank line, CR LF line ends; "Windows
// Registry Editor Version 5.00" (unicode) in UTF-16LE with a byte order
// mark, else REGEDIT4 in the code page.
Hive NewExportFile(bool unicode);

// Adds a key and its values as the registry editor exports them: the key
// line (with its whole name, root included), the values, a blank line.
// Returns "", or the problem (KeyProblem, ValueProblem) of a name or text
// that the file cannot hold, with nothing added.
std::string AppendExportKey(Hive* hive, const std::string& keyName, const std::vector<HiveValue>& values);

// Between the hive's 8-bit text and UTF-8.
std::string HiveTextToUtf8(const Hive& hive, const std::string& text);
std::string Utf8ToHiveText(const Hive& hive, const std::string& text);

}  // namespace vesta::platform::regfile

#endif
