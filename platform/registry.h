// The registry half of the platform seam.
//
// Win32: the real registry through the ANSI API. POSIX: one hive file per
// root key under $VESTA_ROOT/registry/ ("HKEY_CURRENT_USER.reg", ...), in
// the registry editor's export format, so that a hive can be read, edited
// and imported on Windows: REGEDIT4 (code page 1252 text) or "Windows
// Registry Editor Version 5.00" (UTF-16LE with a byte order mark as the
// editor writes it, or UTF-8 with or without one), with CR LF or LF line
// ends. HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\Software\Classes there. Key
// and value names compare without regard to letter case.
//
// The API's text is 8-bit ANSI: the system's code page on Windows, 1252 on
// POSIX, where the text of a Unicode hive is converted. Text is kept or
// refused, never changed: on POSIX a name or text that the code page lacks
// is refused when read (the call fails, RegistryLastProblem names it), and
// a REGEDIT4 file (a hive, or a file exported) refuses what code page 1252
// lacks and is left as it was. A change rewrites only the lines it concerns: the rest of the hive
// (its encoding, line ends, comments, spacing, and text the code page cannot
// hold) is written back byte for byte. A new hive is REGEDIT4 with LF line
// ends. Every change rewrites the hive beside itself and renames it over
// the old one under an advisory lock, so that two processes never lose each
// other's changes and a crash never leaves half a hive. A line of a hive
// that cannot be read counts for nothing but itself: it is reported through
// RegistryLastProblem (file and line), skipped, and kept in the file by
// every change. A file that is not a registry file at all (no header) is
// refused (every operation on its root fails) and never overwritten.
//
// POSIX: the hives, their locks and the registry folder are bounded by
// VESTA_ROOT, for reading as for writing: one that is a link leading out of
// it is refused ("leads outside VESTA_ROOT"). A hive or a file to import is
// read only when it is a regular file (a pipe, device or socket is refused
// at once, never waited on) of at most 16 MiB, with at most one line (or
// run of blank lines) for every 8 bytes.
//
// Windows's limits hold on both platforms: a key path at most 512 levels
// deep, key names of at most 255 characters, value names of at most
// 16,383, and (a bound of this system's) a key path of at most 32,767
// characters. A key or name beyond them, given here or met in a hive or a
// file to import, is refused with the problem (a file's line: its file and
// line), and nothing is built from it.
//
// Key paths are given without the root ("SOFTWARE\vesta3d\VESTA"); the
// empty (or null) path is the root key itself. A leading back-slash is
// refused; doubled or trailing ones are ignored, as the Win32 API does. A
// null or empty value name is the key's default value. Only string values
// (REG_SZ) are read and written here; a hive keeps values of other types
// as they are. The POSIX backend refuses a key or value name with a line
// break; a text with one is written as hex(1), as a line cannot hold it.
#ifndef VESTA_PLATFORM_REGISTRY_H
#define VESTA_PLATFORM_REGISTRY_H

#include <string>

namespace vesta::platform {

// The predefined root keys.
enum class RegRoot {
  kClassesRoot,
  kCurrentConfig,
  kCurrentUser,
  kLocalMachine,
  kUsers,
  kPerformanceData,
  kDynData,
};

// The root's name as Windows spells it ("HKEY_CURRENT_USER").
const char* RegRootName(RegRoot root);

// The root of that name (without regard to letter case). False for none.
bool RegRootNamed(const std::string& name, RegRoot* root);

// The root that a person names at a command line: one of the five that
// hold keys, by its name or its short name ("HKCU", "HKLM", "HKCR", "HKU",
// "HKCC"), without regard to letter case. False for any other.
bool RegRootTyped(const std::string& name, RegRoot* root);

// Reads a string value into *text. False, *text untouched, when the key or
// the value is missing, the value is not a string, or the hive is refused.
bool RegistryReadString(RegRoot root, const char* key, const char* name, std::string* text);

// Writes a string value, creating the key (and its parents) when absent.
// False when text is null.
bool RegistryWriteString(RegRoot root, const char* key, const char* name, const char* text);

// True when the key exists (the root always does, unless its hive is
// refused).
bool RegistryKeyExists(RegRoot root, const char* key);

// Creates the key and its parents; true when it exists afterwards.
bool RegistryCreateKey(RegRoot root, const char* key);

// The name of the key's subkey at index (0, 1, ...) in the order that the
// platform enumerates them. False past the last one or when the key is
// missing.
bool RegistrySubkeyAt(RegRoot root, const char* key, int index, std::string* name);

// Deletes a key that has no subkeys, with its values. False when it is
// missing, has subkeys, is a root, or the hive is refused.
bool RegistryDeleteKey(RegRoot root, const char* key);

// Deletes one value. False when it is missing.
bool RegistryDeleteValue(RegRoot root, const char* key, const char* name);

// A value of any type: its type as Windows numbers them (1 REG_SZ, 2
// REG_EXPAND_SZ, 3 REG_BINARY, 4 REG_DWORD, 7 REG_MULTI_SZ, 11 REG_QWORD,
// ...) and its data as the ANSI API gives it: text in the code page with
// its terminating null (a multi-string's with two), numbers little-endian.
struct RegistryValue {
  unsigned type = 1;
  std::string data;
};

// Reads a value of any type. False, *value untouched, when the key or the
// value is missing or the hive is refused.
bool RegistryReadValue(RegRoot root, const char* key, const char* name, RegistryValue* value);

// Writes a value of any type, creating the key (and its parents) when
// absent.
bool RegistryWriteValue(RegRoot root, const char* key, const char* name, const RegistryValue& value);

// The name of the key's value at index (0, 1, ...) in the order that the
// platform enumerates them; "" for the default value. False past the last
// one or when the key is missing.
bool RegistryValueAt(RegRoot root, const char* key, int index, std::string* name);

// Deletes a key with its subkeys and their values. False when it is
// missing, is a root, or a part of it cannot be deleted.
bool RegistryDeleteTree(RegRoot root, const char* key);

// The two formats of a registry file.
enum class RegistryFileFormat {
  kRegedit4,  // "REGEDIT4", code page text
  kVersion5,  // "Windows Registry Editor Version 5.00", UTF-16LE with a byte order mark
};

// Writes the key, its values and its subkeys (each after its parent, as the
// registry editor exports them) to a registry file that the editor imports,
// with CR LF line ends, through the atomic replace. False, the old file
// whole, when the key is missing or the file cannot be written. The path is
// one of file_system.h.
bool RegistryExportFile(RegRoot root, const char* key, const char* path, RegistryFileFormat format);

// Applies a registry file (either format above, as the registry editor
// imports it) to the registry: its keys are made and its values set,
// "[-KEY]" deletes a key with its subkeys and "name"=- a value. A line that
// cannot be read is skipped, the rest applied, and the first such line
// reported (through RegistryLastProblem, with its line number). True when
// every line was applied; false also when the file cannot be read, is not
// a registry file, or a change cannot be made. POSIX: each hive is changed
// under its lock and written whole. The path is one of file_system.h.
bool RegistryImportFile(const char* path);

// The last problem the registry met in this process (a line of a hive or
// of a file to import that cannot be read: "registry: <file>:<line>:
// <what>"; a hive that cannot be read or written; on Windows an error other
// than a missing key or value), or "" when there was none. A missing key or
// value is not a problem. Nothing is printed: a program shows the problem
// to its user.
std::string RegistryLastProblem();
// Forgets the last problem, so that RegistryLastProblem tells of what
// follows.
void ClearRegistryLastProblem();
// Keeps a problem for RegistryLastProblem (the backends', and a caller's
// that refuses a request before it reaches them).
void ReportRegistryProblem(const std::string& problem);

}  // namespace vesta::platform

#endif
