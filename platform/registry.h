// The registry half of the platform seam.
//
// Win32: the real registry through the ANSI API. POSIX: one hive file per
// root key under $VESTA_ROOT/registry/ ("HKEY_CURRENT_USER.reg", ...), in
// the registry export format (REGEDIT4), so that a hive can be read, edited
// and imported on Windows. HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE
// \Software\Classes there. Key and value names compare without regard to
// letter case. Every change rewrites the hive beside itself and renames it
// over the old one under an advisory lock, so that two processes never lose
// each other's changes and a crash never leaves half a hive. A hive that
// does not parse is refused (every operation on its root fails, with a
// message naming the file and line) and is never overwritten.
//
// Key paths are given without the root ("SOFTWARE\vesta3d\VESTA"); the
// empty (or null) path is the root key itself. A leading back-slash is
// refused; doubled or trailing ones are ignored, as the Win32 API does. A
// null or empty value name is the key's default value. Only string values
// (REG_SZ) are read and written here; a hive keeps values of other types
// as they are. A hive file cannot hold a line break, so the POSIX backend
// refuses a name or text that has one.
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

// The last problem the registry met in this process (a hive that does not
// parse: "registry: <file>:<line>: <what>"; a hive that cannot be read or
// written; on Windows an error other than a missing key or value), or ""
// when there was none. A missing key or value is not a problem. Nothing is
// printed: a program shows the problem to its user.
std::string RegistryLastProblem();

}  // namespace vesta::platform

#endif
