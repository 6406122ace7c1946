// Loading one record from a world file and appending one record to it.
#include <cstdio>

#include "platform/file_system.h"
#include "vesta/vprop.h"
#include "vprop/library_state.h"

namespace vesta::vprop {
namespace {

// Opens path for reading; on failure sets openError and gives null.
FILE* OpenForLoad(const char* path, unsigned int openError) {
  SetError(kFFErrorGeneral);
  FILE* stream = platform::OpenStream(path, "r");
  if (stream == nullptr) SetError(openError);
  return stream;
}

// Opens path for appending, creating it when absent; on failure sets
// openError and gives null.
FILE* OpenForSave(const char* path, unsigned int openError) {
  SetError(kFFErrorGeneral);
  FILE* stream = platform::OpenStream(path, "a+");
  if (stream == nullptr) {
    SetError(openError);
    return nullptr;
  }
  // A record goes out in one piece: the stream needs no buffer of its own.
  std::setvbuf(stream, nullptr, _IONBF, 0);
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

// Appends one record to path with its writer.
template <typename Record>
int Save(const char* path, unsigned int openError, Record* record, int (*write)(FILE*, Record*)) {
  FILE* stream = OpenForSave(path, openError);
  if (stream == nullptr) return 0;
  int result = write(stream, record);
  std::fclose(stream);
  return result;
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
  return Save(path, kFFErrorWorldOpenAppend, world, FFWriteWorldProp);
}

int FFSaveRoomProp(const char* path, CRoomProp* room) {
  return Save(path, kFFErrorRoomOpenAppend, room, FFWriteRoomProp);
}

int FFSaveItemProp(const char* path, CItemProp* item) {
  return Save(path, kFFErrorItemOpenAppend, item, FFWriteItemProp);
}

