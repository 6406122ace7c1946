// What the verify and uninstall procedures ask of the platform about files
// and registry keys. Each returns 1 for success and 0 for failure and shows
// no message.
#ifndef VESTA_VERMANAGER_REMOVAL_SERVICES_H
#define VESTA_VERMANAGER_REMOVAL_SERVICES_H

#include "platform/registry.h"

// The buffer ReadRegistryString reads into.
constexpr int kRegistryStringBuffer = 261;

// 1 when the path is not empty and the file opens for reading (text mode);
// a folder, and a path outside the installation, is never readable.
int FileIsReadable(const char* path);

// 1 when the key that the registry key path ("HKEY_CURRENT_USER\Software\X",
// see ParseRegistryPath) names exists; a path that is only a root name
// names the root, which exists. 0 when no root name matches.
int RegistryKeyExists(const char* keyPath);

// Deletes the key that the registry key path names, with its values and
// all its subkeys, deepest first. 1 when the key itself was deleted; 0
// when no root name matches, the path names a root (never deleted), the
// key is missing, or part of the tree could not be deleted (it then keeps
// what was left, the key included). Trees deeper than kMaxKeyTreeDepth
// levels below the key are left whole.
int DeleteRegistryKeyTree(const char* keyPath);
constexpr int kMaxKeyTreeDepth = 32;

// Deletes the first subkey of the key with all of its own subkeys. 1 when
// a subkey of the key was deleted.
int DeleteFirstSubkey(vesta::platform::RegRoot root, const char* subkey);

// Reads the string value name of the key into out (kRegistryStringBuffer
// bytes; a longer value is cut). 1 only when the value was read and is a
// string; out is untouched otherwise.
int ReadRegistryString(vesta::platform::RegRoot root, const char* subkey, const char* name, char* out);

#endif
