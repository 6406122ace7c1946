// VSetu's access to the registry for tools: values of every type, keys and
// their trees, registry files. Part of vsetu.h.
//
// A key is named by its full path, root first: "HKEY_CURRENT_USER\Software
// \vesta3d" (HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS, or their short names HKCR, HKCC, HKCU,
// HKLM, HKU; letter case does not count, as in Windows). A null
// or empty value name is the key's default value. Operations return 1 for
// success and 0 for failure. A failure leaves its reason for
// VSRegGetLastProblem: a key path without a known root, data without bytes,
// a line of a file that cannot be read, a hive that cannot be read or
// written. A missing key or value is an answer, not a problem: 0, and the
// last problem is left as it was. On Linux the registry is one file per
// root key under VESTA_ROOT's registry folder.
#ifndef VESTA_VSETU_REGISTRY_H
#define VESTA_VSETU_REGISTRY_H

#include "vesta/export.h"

// Value types, as Windows numbers them.
enum : unsigned {
  kVSRegString = 1,        // REG_SZ
  kVSRegExpandString = 2,  // REG_EXPAND_SZ
  kVSRegBinary = 3,        // REG_BINARY
  kVSRegDword = 4,         // REG_DWORD
  kVSRegMultiString = 7,   // REG_MULTI_SZ
  kVSRegQword = 11,        // REG_QWORD
};

// The formats of a registry file.
enum : int {
  kVSRegFileRegedit4 = 0,  // "REGEDIT4"
  kVSRegFileVersion5 = 1,  // "Windows Registry Editor Version 5.00"
};

// 1 when the key path names a known root.
VSETU_API int VSRegIsKeyPath(const char* keyPath);
VSETU_API int VSRegKeyExists(const char* keyPath);

// Reads a value: its type, and its data as the ANSI API gives it (text
// with its terminating null, numbers little-endian). *length gets the
// data's whole length; at most size bytes of it are copied into data. 0
// when the key or the value is missing.
VSETU_API int VSRegReadValue(const char* keyPath, const char* name, unsigned* type, char* data, int size,
                             int* length);
// Writes a value, creating the key and its parents when absent.
VSETU_API int VSRegWriteValue(const char* keyPath, const char* name, unsigned type, const char* data,
                              int length);

// The name of the key's value or subkey at index (0, 1, ...), cut to size
// bytes; "" for the default value. 0 past the last one.
VSETU_API int VSRegValueNameAt(const char* keyPath, int index, char* out, int size);
VSETU_API int VSRegSubkeyAt(const char* keyPath, int index, char* out, int size);

VSETU_API int VSRegDeleteValue(const char* keyPath, const char* name);
// Deletes the key with its subkeys and values. A root is never deleted.
VSETU_API int VSRegDeleteKeyTree(const char* keyPath);

// Applies a registry file to the registry. 1 when every line of it was
// applied.
VSETU_API int VSRegImportFile(const char* path);
// Writes the key and everything below it to a registry file (one of the
// formats above); a failure leaves an old file whole.
VSETU_API int VSRegExportFile(const char* keyPath, const char* path, int format);

// The last problem the registry met (a line of a file that cannot be
// read, a hive that cannot be written), or 0 and "" when none.
VSETU_API int VSRegGetLastProblem(char* out, int size);

#endif
