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

}  // namespace
}  // namespace vesta::vprop

using vesta::vprop::OpenForLoad;
using vesta::vprop::OpenForSave;

int FFLoadWorldProp(const char* path, CWorldProp* world) {
  FILE* stream = OpenForLoad(path, kFFErrorWorldOpenRead);
  if (stream == nullptr) return 0;
  int result = FFReadTagFile(stream, world, nullptr, nullptr, nullptr, nullptr, nullptr, 0);
  std::fclose(stream);
  return result;
}

int FFLoadRoomProp(const char* path, CRoomProp* room) {
  FILE* stream = OpenForLoad(path, kFFErrorRoomOpenRead);
  if (stream == nullptr) return 0;
  int result = FFReadTagFile(stream, room, nullptr, nullptr, nullptr, 1);
  std::fclose(stream);
  return result;
}

int FFLoadItemProp(const char* path, CItemProp* item) {
  FILE* stream = OpenForLoad(path, kFFErrorItemOpenRead);
  if (stream == nullptr) return 0;
  int result = FFReadTagFile(stream, nullptr, nullptr, item, nullptr, 2);
  std::fclose(stream);
  return result;
}

int FFSaveWorldProp(const char* path, CWorldProp* world) {
  FILE* stream = OpenForSave(path, kFFErrorWorldOpenAppend);
  if (stream == nullptr) return 0;
  int result = FFWriteWorldProp(stream, world);
  std::fclose(stream);
  return result;
}

int FFSaveRoomProp(const char* path, CRoomProp* room) {
  FILE* stream = OpenForSave(path, kFFErrorRoomOpenAppend);
  if (stream == nullptr) return 0;
  int result = FFWriteRoomProp(stream, room);
  std::fclose(stream);
  return result;
}

int FFSaveItemProp(const char* path, CItemProp* item) {
  FILE* stream = OpenForSave(path, kFFErrorItemOpenAppend);
  if (stream == nullptr) return 0;
  int result = FFWriteItemProp(stream, item);
  std::fclose(stream);
  return result;
}
