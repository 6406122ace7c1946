// A registry key path as a manifest's "[REG]" component names it: a root
// key's name, one separator character (normally a back-slash), then the
// subkey ("HKEY_CURRENT_USER\Software\vesta3d").
#ifndef VESTA_VERMANAGER_REGISTRY_PATH_H
#define VESTA_VERMANAGER_REGISTRY_PATH_H

#include "platform/registry.h"

// The root is the first of HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_PERFORMANCE_DATA
// and HKEY_DYN_DATA whose name begins the path, letter case counting. The
// one character after the name is skipped whatever it is, so
// "HKEY_CURRENT_USERX\Software" is HKEY_CURRENT_USER with subkey
// "\Software"; a path that is only the name has the empty subkey. 1 with
// *root and *subkey (pointing into path); 0, both untouched, when no name
// matches.
int ParseRegistryPath(const char* path, vesta::platform::RegRoot* root, const char** subkey);

#endif
