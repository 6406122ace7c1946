// What kind of file a media path names, by its form and its ending.
#ifndef VESTA_COMMON_FILE_KIND_H
#define VESTA_COMMON_FILE_KIND_H

enum VUFileKind {
  kVUKindEmpty = 0,
  kVUKindFolder = 1,
  kVUKindWave = 2,
  kVUKindMidi = 3,
  kVUKindTexture = 4,
  kVUKindAddress = 5,
  kVUKindProgram = 6,
  kVUKindShortcut = 7,
  kVUKindRoot = 8,
  kVUKindDocument = 9,
  kVUKindShape = 10,
  kVUKindKolb = 11,
  kVUKindAudio = 12,
  kVUKindHelp = 13,
  kVUKindLibrary = 14,
  kVUKindWorld = 15,
};

// The kind of the path (letter case ignored): empty; a drive root or a
// network path; an address with a scheme; a folder (ends with a
// back-slash, or exists as one); else by its ending, any other being a
// document.
int VUClassifyFile(const char* path);

#endif
