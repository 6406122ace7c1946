// Feeds arbitrary bytes to the catalogue reader; what it reads must be
// written and read back to the same records.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "vesta/vsetu.h"

namespace {

std::string TempPath(const char* name) {
  return std::string("/dev/shm/vesta-catalogue-fuzz-") + std::to_string(getpid()) + name;
}

// Equal texts but for carriage returns at the end: a value that ends with
// one meets the line end when written, and loses it when read again.
bool SameText(const char* a, const char* b) {
  size_t la = std::strlen(a);
  size_t lb = std::strlen(b);
  while (la > 0 && a[la - 1] == '\r') --la;
  while (lb > 0 && b[lb - 1] == '\r') --lb;
  return la == lb && std::memcmp(a, b, la) == 0;
}

bool SameRecords(CVFileTypeList* a, CVFileTypeList* b) {
  CVFileType* x = nullptr;
  CVFileType* y = nullptr;
  int moreA = a->FLGetFirstFileType(&x);
  int moreB = b->FLGetFirstFileType(&y);
  static char (CVFileType::*const kTexts[])[261] = {
      &CVFileType::typeName,      &CVFileType::ending,          &CVFileType::executable,
      &CVFileType::commandLine,   &CVFileType::workingFolder,   &CVFileType::kolbFile,
      &CVFileType::unselectedShape, &CVFileType::selectedShape, &CVFileType::texture,
      &CVFileType::iconIndex,     &CVFileType::selectedSound,   &CVFileType::collideSound,
      &CVFileType::openSound,     &CVFileType::deleteSound};
  while (moreA && moreB) {
    for (auto text : kTexts) {
      if (!SameText(x->*text, y->*text)) return false;
    }
    if (x->tiling != y->tiling || x->footprintDisabled != y->footprintDisabled) return false;
    moreA = a->FLGetNextFileType(&x);
    moreB = b->FLGetNextFileType(&y);
  }
  return moreA == moreB;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = TempPath(".vft");
  static const std::string output = TempPath("-out.vft");
  FILE* stream = std::fopen(input.c_str(), "wb");
  if (stream == nullptr) return 0;
  std::fwrite(data, 1, size, stream);
  std::fclose(stream);

  CVFileTypeList list;
  list.FLInitialise();
  if (!list.FLLoadFileTypeList(input.c_str())) return 0;
  CVFileType* found = nullptr;
  list.FLFindFileMatch("C:\\Docs\\backup.tar.gz", &found);
  list.FLFindFileType("Text", &found);
  list.FLSaveFileTypeList(output.c_str());
  CVFileTypeList back;
  back.FLInitialise();
  back.FLLoadFileTypeList(output.c_str());
  if (!SameRecords(&list, &back)) __builtin_trap();
  return 0;
}
