#include "vprop/record_kind.h"

#include <cstring>

#include "common/mark_list.h"
#include "common/numbers.h"
#include "common/tag_field.h"
#include "common/text.h"
#include "common/vertex_list.h"
#include "vprop/library_state.h"

namespace vesta::vprop {

TagIndex::TagIndex() { std::memset(slots_, -1, sizeof slots_); }

int TagIndex::Slot(const char* p) {
  if (p[0] != '[' || p[4] != ']') return -1;
  int slot = 0;
  for (int i = 1; i <= 3; ++i) {
    if (p[i] < 'A' || p[i] > 'Z') return -1;
    slot = slot * 26 + (p[i] - 'A');
  }
  return slot;
}

void TagIndex::Add(const char* tag, int index) {
  int slot = Slot(tag);
  if (slot >= 0 && slots_[slot] < 0) slots_[slot] = static_cast<int8_t>(index);
}

int TagIndex::Find(const char* p) const {
  int slot = Slot(p);
  return slot < 0 ? -1 : slots_[slot];
}

RecordKind::RecordKind(const char* open, const FieldDef* order, int orderCount,
                       const FieldDef* extra, int extraCount, bool skips)
    : openTag(open),
      writeOrder(order),
      writeCount(orderCount),
      readOnly(extra),
      readOnlyCount(extraCount),
      skipsUnlisted(skips) {
  for (int i = 0; i < writeCount; ++i) {
    if (writeOrder[i].type != FieldType::kMarks) index.Add(writeOrder[i].tag, i);
  }
  for (int i = 0; i < readOnlyCount; ++i) index.Add(readOnly[i].tag, writeCount + i);
}

const FieldDef* RecordKind::Find(const char* p) const {
  int i = index.Find(p);
  if (i < 0) return nullptr;
  return i < writeCount ? &writeOrder[i] : &readOnly[i - writeCount];
}

namespace {

template <typename T>
T* At(void* base, uint16_t offset) {
  return reinterpret_cast<T*>(static_cast<char*>(base) + offset);
}

template <typename T>
const T* At(const void* base, uint16_t offset) {
  return reinterpret_cast<const T*>(static_cast<const char*>(base) + offset);
}

void PutField(VUOutput* out, const char* field, int length) {
  VUWriteFieldOnLine(out, field, length, LineCounter());
}


// Copies length characters of text into a text field of capacity
// characters, cut to fit.
void StoreText(char* field, uint16_t capacity, const char* text, int length) {
  size_t n = static_cast<size_t>(length) < capacity ? static_cast<size_t>(length) : capacity;
  std::memcpy(field, text, n);
  field[n] = '\0';
}

}  // namespace

void StoreField(const FieldDef& def, void* record, const char* text, int length) {
  if (record == nullptr) return;
  if (def.type == FieldType::kText) {
    StoreText(At<char>(record, def.offset), def.capacity, text, length);
    return;
  }
  if (def.type == FieldType::kMarkText) {
    StoreText(At<char>(CurrentMark(), def.offset), def.capacity, text, length);
    return;
  }
  switch (def.type) {
    case FieldType::kInt:
      VUParseIntN(text, length, At<int32_t>(record, def.offset));
      break;
    case FieldType::kReal:
      VUParseFloatN(text, length, At<float>(record, def.offset));
      break;
    case FieldType::kVertices: {
      char value[kVUFieldBuffer];
      StoreText(value, kVUFieldBuffer - 1, text, length);
      float vertex[3];
      if (VUTextToVertex(value, vertex)) VUVertexListAdd(At<VUList*>(record, def.offset), vertex);
      break;
    }
    case FieldType::kMarks:
      break;
    case FieldType::kMarkBegin: {
      CMarkList* list = *At<CMarkList*>(record, def.offset);
      if (list != nullptr) VUMarkListBeginMark(list, CurrentMark());
      break;
    }
    case FieldType::kMarkEnd: {
      CMarkList* list = *At<CMarkList*>(record, def.offset);
      if (list != nullptr) VUMarkListEndMark(list, CurrentMark());
      break;
    }
    case FieldType::kMarkInt:
      VUParseIntN(text, length, At<int32_t>(CurrentMark(), def.offset));
      break;
    case FieldType::kMarkReal:
      VUParseFloatN(text, length, At<float>(CurrentMark(), def.offset));
      break;
    default:
      break;
  }
}

void WriteFields(const RecordKind& kind, const void* record, VUOutput* out) {
  char field[kVUFieldBuffer];
  int length = 0;
  for (int i = 0; i < kind.writeCount; ++i) {
    const FieldDef& def = kind.writeOrder[i];
    switch (def.type) {
      case FieldType::kInt:
        VUFormatIntField(field, def.tag, *At<int32_t>(record, def.offset), &length);
        PutField(out, field, length);
        break;
      case FieldType::kReal:
        VUFormatFloatField(field, def.tag, *At<float>(record, def.offset), &length);
        PutField(out, field, length);
        break;
      case FieldType::kText:
        VUFormatTextField(field, def.tag, At<char>(record, def.offset), &length);
        PutField(out, field, length);
        break;
      case FieldType::kVertices: {
        VUList* list = *At<VUList*>(record, def.offset);
        VUListPosition position = nullptr;
        void* element = nullptr;
        char text[kVUVertexText + 1];
        for (int more = VUListFirst(list, &element, &position); more;
             more = VUListNext(list, &element, &position)) {
          VUVertexToText(static_cast<const float*>(element), text);
          VUFormatTextField(field, def.tag, text, &length);
          PutField(out, field, length);
        }
        break;
      }
      case FieldType::kMarks:
        VUMarkListWrite(*At<CMarkList*>(record, def.offset), out, LineCounter());
        break;
      default:
        break;
    }
  }
}

}  // namespace vesta::vprop
