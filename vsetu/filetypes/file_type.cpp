// One record of the file-type catalogue.
#include <cstring>

#include "common/tag_field.h"
#include "common/text.h"
#include "vesta/vsetu.h"
#include "vsetu/filetypes/catalogue_fields.h"
#include "vsetu/filetypes/ending_index.h"

namespace vesta::vsetu {

#define TEXT_FIELD(tag, code, member) \
  { tag, code, false, offsetof(CVFileType, member), -1, nullptr }
#define FILE_FIELD(tag, code, member, kind, what) \
  { tag, code, false, offsetof(CVFileType, member), kind, what }
#define INT_FIELD(tag, code, member) \
  { tag, code, true, offsetof(CVFileType, member), -1, nullptr }

const CatalogueField kCatalogueFields[kCatalogueFieldCount] = {
    TEXT_FIELD("[TYP]", 0, typeName),
    TEXT_FIELD("[END]", 1, ending),
    FILE_FIELD("[CMD]", 2, commandLine, kVPFileProgram, "command line"),
    FILE_FIELD("[EXC]", 3, executable, kVPFileProgram, "program"),
    FILE_FIELD("[DIR]", 4, workingFolder, kVPFileProgram, "working folder"),
    FILE_FIELD("[KOL]", 5, kolbFile, kVPFileKolb, "KOLB file"),
    FILE_FIELD("[USH]", 6, unselectedShape, kVPFileShape, "unselected shape"),
    FILE_FIELD("[SHP]", 7, selectedShape, kVPFileShape, "selected shape"),
    FILE_FIELD("[TXT]", 8, texture, kVPFileTexture, "texture"),
    TEXT_FIELD("[ICO]", 9, iconIndex),
    INT_FIELD("[TIL]", 10, tiling),
    INT_FIELD("[FOO]", 11, footprintDisabled),
    FILE_FIELD("[SND]", 12, selectedSound, kVPFileSound, "selected sound"),
    FILE_FIELD("[COL]", 13, collideSound, kVPFileSound, "collide sound"),
    FILE_FIELD("[OPN]", 14, openSound, kVPFileSound, "open sound"),
    FILE_FIELD("[DEL]", 15, deleteSound, kVPFileSound, "delete sound"),
};

#undef TEXT_FIELD
#undef FILE_FIELD
#undef INT_FIELD

}  // namespace vesta::vsetu

namespace {

int GetText(const char (&field)[261], char* out) {
  if (field[0] == '\0' || out == nullptr) return 0;
  std::memcpy(out, field, std::strlen(field) + 1);
  return 1;
}

int SetText(char (&field)[261], const char* text) {
  VUCopyToField(field, text);
  return 1;
}

int GetInteger(int32_t field, int* out) {
  if (field == -1 || out == nullptr) return 0;
  *out = field;
  return 1;
}

}  // namespace

CVFileType::CVFileType() = default;

CVFileType::~CVFileType() {
  if (catalogue.index != nullptr) catalogue.index->Removed(this);
  FTTerminate();
}

int CVFileType::FTInitialise() {
  vesta::vsetu::NoteEndingChanged(this);
  for (const auto& field : vesta::vsetu::kCatalogueFields) {
    if (field.isInteger) {
      *vesta::vsetu::IntegerOf(this, field) = -1;
    } else {
      vesta::vsetu::TextOf(this, field)[0] = '\0';
    }
  }
  return 1;
}

int CVFileType::FTTerminate() { return 1; }

#define ACCESSORS(Name, member)                                                   \
  int CVFileType::FTGet##Name(char* out) { return GetText(member, out); }        \
  int CVFileType::FTSet##Name(const char* text) { return SetText(member, text); }

ACCESSORS(FileType, typeName)
int CVFileType::FTGetFileEnding(char* out) { return GetText(ending, out); }

// A catalogue that holds this record finds it by its ending.
int CVFileType::FTSetFileEnding(const char* text) {
  vesta::vsetu::NoteEndingChanged(this);
  return SetText(ending, text);
}

ACCESSORS(Executable, executable)
ACCESSORS(CommandLine, commandLine)
ACCESSORS(WorkingDir, workingFolder)
ACCESSORS(KOLBFile, kolbFile)
ACCESSORS(UnSelectedShape, unselectedShape)
ACCESSORS(SelectedShape, selectedShape)
ACCESSORS(Texture, texture)
ACCESSORS(IconIndex, iconIndex)
ACCESSORS(SelectedSound, selectedSound)
ACCESSORS(CollideSound, collideSound)
ACCESSORS(OpenSound, openSound)
ACCESSORS(DeleteSound, deleteSound)

#undef ACCESSORS

int CVFileType::FTGetTiling(int* out) { return GetInteger(tiling, out); }

int CVFileType::FTSetTiling(int value) {
  tiling = value;
  return 1;
}

int CVFileType::FTGetFootPrintDisabled(int* out) { return GetInteger(footprintDisabled, out); }

int CVFileType::FTSetFootPrintDisabled(int value) {
  footprintDisabled = value;
  return 1;
}

int CVFileType::FTCopyFrom(CVFileType* other) {
  FTInitialise();
  if (other == nullptr || other == this) return 1;
  for (const auto& field : vesta::vsetu::kCatalogueFields) {
    if (field.isInteger) {
      int32_t value = *vesta::vsetu::IntegerOf(other, field);
      if (value != -1) *vesta::vsetu::IntegerOf(this, field) = value;
    } else {
      VUCopyN(vesta::vsetu::TextOf(this, field), vesta::vsetu::TextOf(other, field), vesta::vsetu::kTypeText);
    }
  }
  return 1;
}

int CVFileType::FTIsFileTypeTag(const char* line, int* code) {
  if (line == nullptr) return 0;
  for (const auto& field : vesta::vsetu::kCatalogueFields) {
    if (std::strncmp(line, field.tag, kVUTagLength) == 0) {
      if (code != nullptr) *code = field.code;
      return 1;
    }
  }
  return 0;
}

namespace {

// The catalogue's fields that name a file, as the library hands them out,
// with the field each stands for.
struct TypeFileFields {
  TypeFileFields() {
    for (const auto& field : vesta::vsetu::kCatalogueFields) {
      if (field.kind < 0) continue;
      entries[count] = VSTypeFileField{field.tag, field.what, field.kind};
      sources[count++] = &field;
    }
  }
  VSTypeFileField entries[vesta::vsetu::kCatalogueFieldCount];
  const vesta::vsetu::CatalogueField* sources[vesta::vsetu::kCatalogueFieldCount];
  int count = 0;
};

const TypeFileFields& FileFields() {
  static const TypeFileFields fields;
  return fields;
}

}  // namespace

const VSTypeFileField* VSTypeFileFields(int* count) {
  const TypeFileFields& fields = FileFields();
  if (count != nullptr) *count = fields.count;
  return fields.entries;
}

char* VSTypeFileFieldText(CVFileType* record, const VSTypeFileField* field) {
  const TypeFileFields& fields = FileFields();
  if (record == nullptr || field < fields.entries || field >= fields.entries + fields.count) return nullptr;
  return vesta::vsetu::TextOf(record, *fields.sources[field - fields.entries]);
}
