// The fields of a file-type record as the catalogue file names them, in the
// order the file holds them.
#ifndef VESTA_VSETU_FILETYPES_CATALOGUE_FIELDS_H
#define VESTA_VSETU_FILETYPES_CATALOGUE_FIELDS_H

#include <cstddef>

#include "vesta/vsetu.h"

namespace vesta::vsetu {

struct CatalogueField {
  const char* tag;
  int code;          // the tag code that FTIsFileTypeTag gives
  bool isInteger;
  size_t offset;     // of the text or the int32_t in CVFileType
  int kind;          // VPFileKind of a field that names a file; -1 for others
  const char* what;  // what a field that names a file is to a person
};

// The command line names a program, but is not expanded when a catalogue
// is read.
constexpr int kCommandLineCode = 2;

constexpr int kCatalogueFieldCount = 16;
// The fields in file order (which is also the order of their codes).
extern const CatalogueField kCatalogueFields[kCatalogueFieldCount];

// The capacity of a record's texts, in characters.
constexpr int kTypeText = 260;

inline char* TextOf(CVFileType* record, const CatalogueField& field) {
  return reinterpret_cast<char*>(record) + field.offset;
}

inline int32_t* IntegerOf(CVFileType* record, const CatalogueField& field) {
  return reinterpret_cast<int32_t*>(reinterpret_cast<char*>(record) + field.offset);
}

}  // namespace vesta::vsetu

#endif
