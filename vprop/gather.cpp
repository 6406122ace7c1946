// The gather list: a data file of entries of four lines, "[TAR]" target
// path, "[IDX]" room index, "[IFI]" icon file, "[IFX]" icon index, in the
// field syntax of the tag file. Entries are appended and read in order; the
// file is never rewritten.
#include <cstdio>
#include <cstring>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/tag_field.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "vesta/vprop.h"

namespace {

constexpr int kEntryLineBuffer = 280;  // a formatted line and its terminator
constexpr int kReadLineBuffer = 276;   // lines of up to 275 characters

bool WriteLine(FILE* stream, const char* field, int length) {
  return std::fwrite(field, 1, static_cast<size_t>(length), stream) == static_cast<size_t>(length) &&
         std::fputc('\n', stream) != EOF;
}

bool WriteTextLine(FILE* stream, const char* tag, const char* value) {
  char field[kEntryLineBuffer];
  int length;
  VUFormatTextField(field, tag, value, &length, kEntryLineBuffer - 1);
  return WriteLine(stream, field, length);
}

// Reads one line of the entry and trims its line end; false at the end of
// the file (line is then empty).
bool ReadLine(FILE* stream, char (&line)[kReadLineBuffer]) {
  if (std::fgets(line, sizeof line, stream) == nullptr) {
    line[0] = '\0';
    return false;
  }
  VUTrimLineEnd(line);
  return true;
}

// The file name without its extension, and the drive and folder with the
// trailing back-slash, of path.
void SplitTitleAndFolder(const char* path, char (&title)[261], char (&folder)[261]) {
  char name[kVUPathBuffer] = "";
  VUGetNamePart(name, path, sizeof name);
  int dot = 0;
  if (VUFindExtension(name, &dot)) name[dot] = '\0';
  VUCopyToField(title, name);
  if (!VUGetFolderPart(folder, path, sizeof folder)) folder[0] = '\0';
}

// Getters copy the value out also when it is empty.
int CopyOut(char* buffer, const char* text, int max) {
  if (buffer == nullptr) return 0;
  VUCopyN(buffer, text, max);
  return 1;
}

}  // namespace

CVGather::CVGather() : dataFile(nullptr) {}

CVGather::~CVGather() {
  if (dataFile != nullptr) std::fclose(dataFile);
  dataFile = nullptr;
}

int CVGather::GAInitialise() {
  dataFileName[0] = '\0';
  GAInitNewEntry();
  // A stream still open from an earlier read would otherwise be lost.
  if (dataFile != nullptr) std::fclose(dataFile);
  dataFile = nullptr;
  return 1;
}

int CVGather::GATerminate() { return 1; }

int CVGather::GASetDataFileName(const char* path) {
  VUCopyToField(dataFileName, path);
  return 1;
}

int CVGather::GAInitNewEntry() {
  targetRoomIndex = -1;
  targetFilePath[0] = '\0';
  iconFilePath[0] = '\0';
  iconIndex[0] = '\0';
  title[0] = '\0';
  folder[0] = '\0';
  return 1;
}

int CVGather::GASetTargetSectorID(int room) {
  targetRoomIndex = room;
  return 1;
}

int CVGather::GASetTargetFilePath(const char* path) {
  VUCopyToField(targetFilePath, path);
  return 1;
}

int CVGather::GASetIconFilePath(const char* path) {
  VUCopyToField(iconFilePath, path);
  return 1;
}

int CVGather::GASetIconIndex(const char* index) {
  VUCopyToField(iconIndex, index);
  return 1;
}

int CVGather::GAAppendNewEntry() {
  if (dataFileName[0] == '\0') return 0;
  FILE* stream = vesta::platform::OpenStream(dataFileName, "a+");
  if (stream == nullptr) return 0;
  char field[kEntryLineBuffer];
  int length;
  WriteTextLine(stream, "[TAR]", targetFilePath);
  VUFormatIntField(field, "[IDX]", targetRoomIndex, &length);
  WriteLine(stream, field, length);
  WriteTextLine(stream, "[IFI]", iconFilePath);
  bool lastWritten = WriteTextLine(stream, "[IFX]", iconIndex);
  // The lines reach the disk only when the stream is closed.
  bool closed = std::fclose(stream) == 0;
  return lastWritten && closed ? 1 : 0;
}

int CVGather::GASelectFirst() {
  if (dataFile != nullptr) std::fclose(dataFile);
  dataFile = nullptr;
  if (dataFileName[0] == '\0') return 0;
  dataFile = vesta::platform::OpenStream(dataFileName, "r");
  if (dataFile == nullptr) return 0;
  return GASelectNext();
}

int CVGather::GASelectNext() {
  if (dataFile == nullptr) return 0;
  GAInitNewEntry();
  char line[kReadLineBuffer];

  ReadLine(dataFile, line);
  VUGetTaggedValue("[TAR]", line, targetFilePath, kVUMaxPath);

  ReadLine(dataFile, line);
  char number[kVUPathBuffer];
  if (VUGetTaggedValue("[IDX]", line, number, kVUMaxPath)) VUParseInt(number, &targetRoomIndex);

  ReadLine(dataFile, line);
  VUGetTaggedValue("[IFI]", line, iconFilePath, kVUMaxPath);

  bool fourth = ReadLine(dataFile, line);
  VUGetTaggedValue("[IFX]", line, iconIndex, sizeof iconIndex - 1);
  if (!fourth) return 0;

  SplitTitleAndFolder(targetFilePath, title, folder);
  return 1;
}

int CVGather::GAGetTargetSectorID(int* room) {
  if (room == nullptr) return 0;
  *room = targetRoomIndex;
  return 1;
}

int CVGather::GAGetFileAndPath(char* buffer) { return CopyOut(buffer, targetFilePath, kVUMaxPath); }

int CVGather::GAGetTitle(char* buffer) { return CopyOut(buffer, title, kVUMaxPath); }

int CVGather::GAGetDirectory(char* buffer) { return CopyOut(buffer, folder, kVUMaxPath); }

int CVGather::GAGetIconFilePath(char* buffer) { return CopyOut(buffer, iconFilePath, kVUMaxPath); }

int CVGather::GAGetIconIndex(char* buffer) {
  return CopyOut(buffer, iconIndex, sizeof iconIndex - 1);
}
