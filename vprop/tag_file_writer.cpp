// The record writers. A record is a line feed, its opening tag and a line
// feed; its fields laid on lines of at most 266 characters by the shared
// line counter; then a line feed, its end tag and a line feed.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/output_buffer.h"
#include "common/tag_field.h"
#include "platform/file_error.h"
#include "platform/file_output.h"
#include "vesta/vprop.h"
#include "vprop/library_state.h"
#include "vprop/record_kinds.h"
#include "vprop/tag_file_writer.h"

namespace vesta::vprop {
namespace {

void WriteLine(VUOutput* out, const char* tag) {
  VUOutputPut(out, '\n');
  VUOutputWrite(out, tag, static_cast<int>(std::strlen(tag)));
  VUOutputPut(out, '\n');
}

void FormatRecord(VUOutput* out, const RecordKind& kind, const void* record) {
  LastCut() = ValueCut();
  WriteLine(out, kind.openTag);
  WriteFields(kind, record, out);
  char endTag[kVUEndTagBuffer];
  VUMakeEndTag(endTag, kind.openTag);
  WriteLine(out, endTag);
}

// A record that the stream did not take whole is reported.
int WriteRecord(FILE* stream, const RecordKind& kind, const void* record) {
  SetError(kFFErrorGeneral);
  if (stream == nullptr || record == nullptr) return 0;
  // The record is gathered and handed to the stream in one piece.
  VUOutput out;
  VUOutputBegin(&out, stream);
  FormatRecord(&out, kind, record);
  if (VUOutputEnd(&out) && platform::FlushStream(stream)) {
    TellCut("the stream");
    return 1;
  }
  SetError(kFFErrorWriteFailed);
  return 0;
}

}  // namespace

void TellCut(const char* path) {
  const ValueCut& cut = LastCut();
  if (cut.tag == nullptr) return;
  SetError(kFFErrorValueCut);
  platform::SetFileError(path, std::string("the text of ") + cut.tag + " (" + std::to_string(cut.length) +
                                   " characters) was cut to " + std::to_string(cut.written) +
                                   " to fit a line of the file");
}

void RecordText(const RecordKind& kind, const void* record, std::string* text) {
  text->clear();
  VUOutput out;
  VUOutputBeginText(&out, text);
  FormatRecord(&out, kind, record);
  VUOutputEnd(&out);
}

}  // namespace vesta::vprop

int FFWriteWorldProp(FILE* stream, CWorldProp* world) {
  return vesta::vprop::WriteRecord(stream, vesta::vprop::WorldKind(), world);
}

int FFWriteRoomProp(FILE* stream, CRoomProp* room) {
  return vesta::vprop::WriteRecord(stream, vesta::vprop::RoomKind(), room);
}

int FFWriteItemProp(FILE* stream, CItemProp* item) {
  return vesta::vprop::WriteRecord(stream, vesta::vprop::ItemKind(), item);
}
