#include "common/mark_list.h"

#include <cstdlib>
#include <cstring>

#include "common/tag_field.h"

namespace {

bool Reserve(CMarkList* list, int32_t wanted) {
  if (wanted <= list->capacity) return true;
  int32_t capacity = list->capacity > 0 ? list->capacity * 2 : 8;
  if (capacity < wanted) capacity = wanted;
  void* grown = std::realloc(list->marks, static_cast<size_t>(capacity) * sizeof(MarkRecord));
  if (grown == nullptr) return false;
  list->marks = static_cast<MarkRecord*>(grown);
  list->capacity = capacity;
  return true;
}

void WriteText(VUOutput* out, int* counter, const char* tag, const char* value) {
  char field[kVUFieldBuffer];
  int length;
  VUFormatTextField(field, tag, value, &length);
  VUWriteFieldOnLine(out, field, length, counter);
}

void WriteInt(VUOutput* out, int* counter, const char* tag, int32_t value) {
  char field[kVUFieldBuffer];
  int length;
  VUFormatIntField(field, tag, value, &length);
  VUWriteFieldOnLine(out, field, length, counter);
}

void WriteReal(VUOutput* out, int* counter, const char* tag, float value) {
  char field[kVUFieldBuffer];
  int length;
  VUFormatFloatField(field, tag, value, &length);
  VUWriteFieldOnLine(out, field, length, counter);
}

}  // namespace

int VUMarkListConstruct(CMarkList* list) {
  if (list == nullptr) return 0;
  list->marks = nullptr;
  list->count = 0;
  list->capacity = 0;
  list->open = 0;
  return 1;
}

int VUMarkListInitialise(CMarkList* list) {
  if (list == nullptr) return 0;
  list->count = 0;
  list->open = 0;
  return 1;
}

int VUMarkListDestroy(CMarkList* list) {
  if (list == nullptr) return 0;
  std::free(list->marks);
  return VUMarkListConstruct(list);
}

int VUMarkListCopyFrom(CMarkList* list, const CMarkList* source) {
  if (list == nullptr) return 0;
  list->count = 0;
  list->open = 0;
  if (source == nullptr || source == list) return 1;
  if (!Reserve(list, source->count)) return 0;
  if (source->count > 0) {
    std::memcpy(list->marks, source->marks, static_cast<size_t>(source->count) * sizeof(MarkRecord));
  }
  list->count = source->count;
  return 1;
}

int VUMarkListBeginMark(CMarkList* list, const MarkRecord* /*record*/) {
  if (list == nullptr) return 0;
  list->open = 1;
  return 1;
}

int VUMarkListEndMark(CMarkList* list, const MarkRecord* record) {
  if (list == nullptr || record == nullptr || !list->open) return 0;
  list->open = 0;
  if (!Reserve(list, list->count + 1)) return 0;
  list->marks[list->count] = *record;
  list->marks[list->count].name[sizeof record->name - 1] = '\0';
  ++list->count;
  return 1;
}

int VUMarkListWrite(const CMarkList* list, VUOutput* out, int* lineCounter) {
  if (list == nullptr || out == nullptr || lineCounter == nullptr) return 0;
  for (int32_t k = 0; k < list->count; ++k) {
    const MarkRecord& m = list->marks[k];
    WriteText(out, lineCounter, "[MKJ]", "");
    WriteText(out, lineCounter, "[MKN]", m.name);
    WriteInt(out, lineCounter, "[MKI]", m.i);
    WriteInt(out, lineCounter, "[MKS]", m.s);
    WriteReal(out, lineCounter, "[MKX]", m.x);
    WriteReal(out, lineCounter, "[MKY]", m.y);
    WriteReal(out, lineCounter, "[MKZ]", m.z);
    WriteReal(out, lineCounter, "[MKP]", m.p);
    WriteReal(out, lineCounter, "[MKQ]", m.q);
    WriteReal(out, lineCounter, "[MKR]", m.r);
    WriteReal(out, lineCounter, "[MKA]", m.a);
    WriteReal(out, lineCounter, "[MKB]", m.b);
    WriteReal(out, lineCounter, "[MKC]", m.c);
    WriteInt(out, lineCounter, "[MKV]", m.v);
    WriteReal(out, lineCounter, "[MKO]", m.o);
    WriteReal(out, lineCounter, "[MKF]", m.f);
    WriteText(out, lineCounter, "[MKE]", "");
  }
  return 1;
}

int VUMarkListCount(const CMarkList* list) { return list != nullptr ? list->count : 0; }

const MarkRecord* VUMarkListGet(const CMarkList* list, int index) {
  if (list == nullptr || index < 0 || index >= list->count) return nullptr;
  return &list->marks[index];
}
