// Registry strings for the libraries.
#ifndef VESTA_ACTIONS_REGISTRY_H
#define VESTA_ACTIONS_REGISTRY_H

#include "platform/registry.h"

using VURegRoot = vesta::platform::RegRoot;

// The buffer that the libraries read registry texts into.
constexpr int kVURegBuffer = 264;

// Reads the string value name (null or "": the key's default value) of key
// into out (size bytes; a longer value is cut). 1 when read; 0, out
// untouched, when the key or the value is missing.
int VURegGetString(VURegRoot root, const char* key, const char* name, char* out,
                   int size = kVURegBuffer);

// Writes text as the string value name of key, creating the key. 1 when
// written.
int VURegSetString(VURegRoot root, const char* key, const char* name, const char* text);

#endif
