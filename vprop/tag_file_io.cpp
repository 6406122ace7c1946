// Loading one record from a world file and appending one record to it.
#include <cstdio>
#include <string>

#include "platform/file_output.h"
#include "platform/file_system.h"
#include "vesta/vprop.h"
#include "vprop/library_state.h"
#include "vprop/record_kinds.h"
#include "vprop/tag_file_writer.h"

namespace vesta::vprop {
namespace {

// Opens path for reading; on failure sets openError and gives null.
FILE* OpenForLoad(const char* path, unsigned int openError) {
  SetError(kFFErrorGeneral);
  FILE* stream = platform::OpenStream(path, "r");
  if (stream == nullptr) SetError(openError);
  return stream;
}

// Reads the first record of the mode's kind from path.
int Load(const char* path, unsigned int openError, CWorldProp* world, CRoomProp* room,
         CItemProp* item, int mode) {
  FILE* stream = OpenForLoad(path, openError);
  if (stream == nullptr) return 0;
  int result = FFReadTagFile(stream, world, nullptr, room, nullptr, item, nullptr, mode);
  std::fclose(stream);
  return result;
}

// Appends one record to path in one piece: a record that cannot be
// written whole is cut off again.
int Save(const char* path, unsigned int openError, const RecordKind& kind, const void* record) {
  SetError(kFFErrorGeneral);
  if (record == nullptr) return 0;
  std::string& text = SaveText();
  RecordText(kind, record, &text);
  switch (SaveTarget().Append(path, text, platform::FileMode::kText)) {
    case platform::AppendResult::kAppended:
      TellCut(path);
      return 1;
    case platform::AppendResult::kNotOpened:
      SetError(openError);
      return 0;
    case platform::AppendResult::kNotWritten:
      break;
  }
  SetError(kFFErrorWriteFailed);
  return 0;
}

}  // namespace
}  // namespace vesta::vprop

using vesta::vprop::Load;
using vesta::vprop::Save;

int FFLoadWorldProp(const char* path, CWorldProp* world) {
  return Load(path, kFFErrorWorldOpenRead, world, nullptr, nullptr, 0);
}

int FFLoadRoomProp(const char* path, CRoomProp* room) {
  return Load(path, kFFErrorRoomOpenRead, nullptr, room, nullptr, 1);
}

int FFLoadItemProp(const char* path, CItemProp* item) {
  return Load(path, kFFErrorItemOpenRead, nullptr, nullptr, item, 2);
}

int FFSaveWorldProp(const char* path, CWorldProp* world) {
  return Save(path, kFFErrorWorldOpenAppend, vesta::vprop::WorldKind(), world);
}

int FFSaveRoomProp(const char* path, CRoomProp* room) {
  return Save(path, kFFErrorRoomOpenAppend, vesta::vprop::RoomKind(), room);
}

int FFSaveItemProp(const char* path, CItemProp* item) {
  return Save(path, kFFErrorItemOpenAppend, vesta::vprop::ItemKind(), item);
}

