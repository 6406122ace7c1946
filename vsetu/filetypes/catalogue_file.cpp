// The catalogue file (".vft"): each record is "[FTLS]", one tagged value a
// line for each field that is set, in a fixed order, then "[SLTF]".
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "common/numbers.h"
#include "common/tag_field.h"
#include "common/text.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"
#include "common/path_tokens.h"
#include "common/paths.h"
#include "vsetu/filetypes/catalogue_fields.h"
#include "vsetu/filetypes/catalogue_normalise.h"

namespace {

using vesta::vsetu::CatalogueField;
using vesta::vsetu::kCatalogueFields;

// Lines of up to 291 characters; a longer one goes on as a further line.
constexpr int kLineBuffer = 292;
const char kOpenTag[] = "[FTLS]";
const char kCloseTag[] = "[SLTF]";

const CatalogueField* FieldOfCode(int code) {
  for (const CatalogueField& field : kCatalogueFields) {
    if (field.code == code) return &field;
  }
  return nullptr;
}

// Stores the value of one line into the open record; a line whose value
// cannot be taken leaves the field as it was.
void StoreLine(CVFileType* record, const char* line) {
  int code = -1;
  if (!record->FTIsFileTypeTag(line, &code)) return;
  const CatalogueField* field = FieldOfCode(code);
  char value[vesta::vsetu::kTypeText + 1];
  if (field == nullptr || !VUGetTaggedValue(field->tag, line, value, vesta::vsetu::kTypeText)) return;
  if (field->isInteger) {
    int32_t number = 0;
    if (VUParseInt(value, &number)) *vesta::vsetu::IntegerOf(record, *field) = number;
  } else {
    VUCopyN(vesta::vsetu::TextOf(record, *field), value, vesta::vsetu::kTypeText);
  }
}

bool WriteLine(FILE* stream, const char* text, int length) {
  return vesta::platform::WriteToStream(stream, text, static_cast<size_t>(length)) &&
         vesta::platform::WriteToStream(stream, "\n", 1);
}

// Writes one record; false when a line could not be written. With a
// normalising folder, each value is written as a travelling catalogue holds
// it (the record in memory is not changed).
bool WriteRecord(FILE* stream, CVFileType* record, const char* normaliseInto, const char* holder) {
  if (!WriteLine(stream, kOpenTag, 6)) return false;
  bool written = true;
  char line[kLineBuffer];
  int length = 0;
  for (const CatalogueField& field : kCatalogueFields) {
    if (field.isInteger) {
      int32_t value = *vesta::vsetu::IntegerOf(record, field);
      if (value == -1) continue;
      VUFormatIntField(line, field.tag, value, &length);
    } else {
      const char* value = vesta::vsetu::TextOf(record, field);
      if (value[0] == '\0') continue;
      char travelling[vesta::vsetu::kTypeText + 1];
      if (normaliseInto != nullptr) {
        VUCopyN(travelling, value, vesta::vsetu::kTypeText);
        vesta::vsetu::NormaliseForSave(field, travelling, normaliseInto, holder);
        value = travelling;
      }
      VUFormatTextField(line, field.tag, value, &length, kLineBuffer - 1);
    }
    written = WriteLine(stream, line, length) && written;
  }
  return WriteLine(stream, kCloseTag, 6) && written;
}

}  // namespace

int CVFileTypeList::FLLoadFileTypeList(const char* path) {
  if (!FLPrepare() || types == nullptr || path == nullptr || path[0] == '\0') return 0;
  FILE* stream = vesta::platform::OpenStream(path, "r");
  if (stream == nullptr) return 0;
  char line[kLineBuffer];
  CVFileType* open = nullptr;
  int result = 1;
  while (std::fgets(line, sizeof line, stream) != nullptr) {
    VUTrimLineEnd(line);
    if (open == nullptr) {
      if (std::strncmp(line, kOpenTag, 6) != 0) continue;
      open = new (std::nothrow) CVFileType;
      if (open == nullptr) {
        result = 0;
        break;
      }
      open->FTInitialise();
    } else if (std::strncmp(line, kCloseTag, 6) == 0) {
      if (!FLAddFileType(open)) {
        delete open;
        open = nullptr;
        result = 0;
        break;
      }
      open = nullptr;
    } else {
      StoreLine(open, line);
    }
  }
  // A record that the file did not close is not taken.
  delete open;
  std::fclose(stream);
  if (result) {
    VUCopyToField(cataloguePath, path);
    if (deRelativiseOnLoad) {
      char folder[kVUPathBuffer] = "";
      VUGetFolderPart(folder, cataloguePath);
      CVFileType* record = nullptr;
      for (int more = FLGetFirstFileType(&record); more; more = FLGetNextFileType(&record)) {
        vesta::vsetu::DeRelativise(record, folder);
      }
    }
  }
  return result;
}

int CVFileTypeList::FLSaveFileTypeList(const char* path) {
  if (types == nullptr || path == nullptr || path[0] == '\0') return 0;
  // The catalogue is written beside the old file and renamed over it, so a
  // save that fails part-way leaves the old catalogue whole. (A catalogue
  // saved normalised can save itself again inside, through a world that it
  // names: each save has a temporary of its own.)
  vesta::platform::Replacement catalogue;
  if (!catalogue.Begin(path, vesta::platform::FileMode::kText)) return 0;
  FILE* stream = catalogue.Stream();
  VUCopyToField(cataloguePath, path);

  int result = 0;
  bool failed = false;
  // A normalised save copies media into the catalogue's folder and writes
  // paths relative to it.
  char folder[kVUPathBuffer] = "";
  VUGetFolderPart(folder, cataloguePath);
  const char* normaliseInto = normaliseOnSave ? folder : nullptr;
  VURelativeBase base(normaliseInto);
  CVFileType* record = nullptr;
  for (int more = FLGetFirstFileType(&record); more; more = FLGetNextFileType(&record)) {
    if (!WriteRecord(stream, record, normaliseInto, cataloguePath)) {
      failed = true;
      break;
    }
    result = 1;
  }
  if (failed || !catalogue.Commit()) return 0;
  return result;
}
