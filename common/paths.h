// File and path operations of the utility layer on Windows paths.
#ifndef VESTA_COMMON_PATHS_H
#define VESTA_COMMON_PATHS_H

// Longest path the system keeps, and the buffer that holds one.
constexpr int kVUMaxPath = 260;
constexpr int kVUPathBuffer = kVUMaxPath + 1;

// 1 when the path names an existing file (not a folder); else 0.
int VUFileExists(const char* path);
// 1 when the path names an existing folder; else 0.
int VUFolderExists(const char* path);

// 1 when the path ends with the extension (".vwq"; the dot may be left
// out), compared without regard to case; else 0.
int VUHasExtension(const char* path, const char* extension);

// Finds the "." that begins the extension of the path's last component;
// *position is its index. 0 when the last component has none.
int VUFindExtension(const char* path, int* position);

// The last component of the path (after the last back-slash, slash or drive
// colon) into out (size bytes). 0, out untouched, when the path ends with a
// separator, is empty, or the name does not fit.
int VUGetNamePart(char* out, const char* path, int size = kVUPathBuffer);

// Everything up to and including the last separator ("C:\Docs\" of
// "C:\Docs\Report.txt") into out (size bytes); empty for a bare name. 0,
// out untouched, when it does not fit.
int VUGetFolderPart(char* out, const char* path, int size = kVUPathBuffer);

#endif
