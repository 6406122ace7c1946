// The gather list: a data file of entries of four lines, "[TAR]" target
// path, "[IDX]" room index, "[IFI]" icon file, "[IFX]" icon index, in the
// field syntax of the tag file. Entries are appended and read in order; the
// file is never rewritten. An entry goes out in one piece, and one that a
// crash cut short costs only itself: the reader knows the next entry by its
// "[TAR]" line, and an entry whose last line was cut is skipped.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/tag_field.h"
#include "common/text.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "vesta/vprop.h"
#include "vprop/library_state.h"

namespace {

constexpr int kEntryLineBuffer = 280;  // a formatted line and its terminator
constexpr int kReadLineBuffer = 276;   // lines of up to 275 characters

void AddLine(std::string* entry, const char* field, int length) {
  entry->append(field, static_cast<size_t>(length));
  entry->push_back('\n');
}

void AddTextLine(std::string* entry, const char* tag, const char* value) {
  char field[kEntryLineBuffer];
  int length;
  VUFormatTextField(field, tag, value, &length, kEntryLineBuffer - 1);
  AddLine(entry, field, length);
}

bool HasTag(const char* line, const char* tag) { return std::strncmp(line, tag, kVUTagLength) == 0; }

// True when the line is the beginning of a field of tag that was cut off
// before its value ended.
bool IsCutField(const char* line, const char* tag) {
  const size_t length = std::strlen(line);
  if (length == 0 || std::strncmp(line, tag, std::min<size_t>(length, kVUTagLength)) != 0) return false;
  if (length <= kVUTagLength || line[kVUTagLength] != '[') return true;
  const char* digits = line + kVUTagLength + 1;
  const char* close = digits;
  int declared = 0;
  while (*close >= '0' && *close <= '9' && close - digits < 4) declared = declared * 10 + (*close++ - '0');
  return close == digits || *close != ']' || std::strlen(close + 1) < static_cast<size_t>(declared);
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
  std::string entry;
  char field[kEntryLineBuffer];
  int length;
  AddTextLine(&entry, "[TAR]", targetFilePath);
  VUFormatIntField(field, "[IDX]", targetRoomIndex, &length);
  AddLine(&entry, field, length);
  AddTextLine(&entry, "[IFI]", iconFilePath);
  AddTextLine(&entry, "[IFX]", iconIndex);
  // The four lines go out in one piece, or not at all.
  return vesta::platform::AppendToFile(dataFileName, entry, vesta::platform::FileMode::kText) ==
                 vesta::platform::AppendResult::kAppended
             ? 1
             : 0;
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
  char line[kReadLineBuffer];
  bool haveFirst = false;  // line holds the next entry's first line already
  while (true) {
    GAInitNewEntry();
    bool more = haveFirst || ReadLine(dataFile, line);
    haveFirst = false;
    VUGetTaggedValue("[TAR]", line, targetFilePath, kVUMaxPath);

    bool cut = false;
    for (int part = 1; part < 4 && !cut; ++part) {
      more = ReadLine(dataFile, line);
      // The next entry begins before this one ended: this one was cut short.
      cut = more && HasTag(line, "[TAR]");
      if (cut) break;
      if (part == 1) {
        char number[kVUPathBuffer];
        if (VUGetTaggedValue("[IDX]", line, number, kVUMaxPath)) VUParseInt(number, &targetRoomIndex);
      } else if (part == 2) {
        VUGetTaggedValue("[IFI]", line, iconFilePath, kVUMaxPath);
      } else {
        VUGetTaggedValue("[IFX]", line, iconIndex, sizeof iconIndex - 1);
      }
    }
    if (cut) {
      haveFirst = true;
    } else if (!more) {
      return 0;
    } else if (IsCutField(line, "[IFX]")) {
      cut = true;  // its last line was cut
    }
    if (!cut) break;
    vesta::vprop::SetError(kFFErrorRecordCut);
  }
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
