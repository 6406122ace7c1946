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
      endHead(),
      endHeadLength(0),
      fieldLines(),
      fieldLineCount(0),
      writeOrder(order),
      writeCount(orderCount),
      readOnly(extra),
      readOnlyCount(extraCount),
      skipsUnlisted(skips),
      readable(),
      readableCount(0) {
  for (int i = 0; i < writeCount + readOnlyCount && readableCount < kMaxReadable; ++i) {
    FieldDef& def = readable[readableCount++];
    def = i < writeCount ? writeOrder[i] : readOnly[i - writeCount];
    if (def.type == FieldType::kMarks) {
      std::memset(def.tag, 0, sizeof def.tag);
    } else {
      index.Add(def.tag, i);
    }
  }
  for (int i = 0; i < writeCount; ++i) {
    const auto line = static_cast<uint16_t>(writeOrder[i].offset / kCacheLine * kCacheLine);
    bool known = false;
    for (int k = 0; k < fieldLineCount && !known; ++k) known = fieldLines[k] == line;
    if (!known && fieldLineCount < kMaxFieldLines) fieldLines[fieldLineCount++] = line;
  }
  char endTag[kVUEndTagBuffer];
  VUMakeEndTag(endTag, openTag);
  VUCopyN(endHead, endTag, 6);
  endHeadLength = static_cast<int>(std::strlen(endHead));
}

const FieldDef* RecordKind::Find(const char* p) const {
  const int i = index.Find(p);
  return i < 0 ? nullptr : &readable[i];
}

namespace {

// Values of at most this many characters are written as one block of this
// size, read from a buffer that holds that many bytes.
constexpr int kShortValue = 32;

template <typename T>
T* At(void* base, uint16_t offset) {
  return reinterpret_cast<T*>(static_cast<char*>(base) + offset);
}

template <typename T>
const T* At(const void* base, uint16_t offset) {
  return reinterpret_cast<const T*>(static_cast<const char*>(base) + offset);
}

int DigitCount(int value) {
  if (value < 1000) return 1 + (value >= 10) + (value >= 100);
  int digits = 1;
  for (; value >= 10; value /= 10) ++digits;
  return digits;
}

// Lays one field (its tag of five characters, "[" the value's length "]",
// the value) straight into the output, after a line feed when the line
// would grow past kVUMaxLine characters: what VUFormatTextField and
// VUWriteFieldOnLine together do, without the copy between them. At least
// readable bytes can be read at value (its buffer), so that a short value
// is copied as one block of kShortValue bytes, whatever its length.
void PutField(VUOutput* out, int* lineCounter, const char* tag, const char* value, int valueLength, int readable) {
  int digits = DigitCount(valueLength);
  // A text too long for a line is cut, as VUFormatTextField cuts it, and
  // the first cut of a record is told.
  if (kVUTagLength + 2 + digits + valueLength > kVUMaxLine) {
    const int whole = valueLength;
    while (valueLength > 0 && kVUTagLength + 2 + digits + valueLength > kVUMaxLine) digits = DigitCount(--valueLength);
    ValueCut& cut = LastCut();
    if (cut.tag == nullptr) cut = ValueCut{tag, whole, valueLength};
  }
  const int length = kVUTagLength + 2 + digits + valueLength;
  // Room for a line feed, and for the blocks written whole.
  char* const start = VUOutputRoom(out, length + 1 + kShortValue);
  char* at = start;
  if (*lineCounter + length > kVUMaxLine) {
    *at++ = '\n';
    *lineCounter = length;
  } else {
    *lineCounter += length;
  }
  std::memcpy(at, tag, kVUTagLength);
  at += kVUTagLength;
  *at++ = '[';
  if (valueLength < 1000) {
    // Three characters laid down from the digits' end, whatever their
    // number: those after the digits are written over next.
    const char three[6] = {static_cast<char>('0' + valueLength / 100), static_cast<char>('0' + valueLength / 10 % 10),
                           static_cast<char>('0' + valueLength % 10), ']', ']', ']'};
    std::memcpy(at, three + 3 - digits, 3);
  } else {
    for (int i = digits - 1, n = valueLength; i >= 0; --i, n /= 10) at[i] = static_cast<char>('0' + n % 10);
  }
  at += digits;
  *at++ = ']';
  if (valueLength <= kShortValue && readable >= kShortValue) {
    std::memcpy(at, value, kShortValue);
  } else {
    std::memcpy(at, value, static_cast<size_t>(valueLength));
  }
  at += valueLength;
  VUOutputAdvance(out, static_cast<int>(at - start));
}

void PutText(VUOutput* out, int* lineCounter, const char* tag, const char* text, int readable) {
  PutField(out, lineCounter, tag, text, static_cast<int>(std::strlen(text)), readable);
}

}  // namespace

void StoreText(char* field, uint16_t capacity, const char* text, int length) {
  size_t n = static_cast<size_t>(length) < capacity ? static_cast<size_t>(length) : capacity;
  std::memcpy(field, text, n);
  field[n] = '\0';
}

void StoreOtherField(const FieldDef& def, void* record, const char* text, int length) {
  if (record == nullptr) return;
  switch (def.type) {
    case FieldType::kMarkText:
      StoreText(At<char>(CurrentMark(), def.offset), def.capacity, text, length);
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
  // A record's fields lie up to a few hundred bytes apart: ask for all of
  // them at once, so that a record not in the cache costs one wait rather
  // than one per field.
  for (int i = 0; i < kind.fieldLineCount; ++i) __builtin_prefetch(At<char>(record, kind.fieldLines[i]));
  int* lineCounter = LineCounter();
  char number[kShortValue > kVUNumberText + 1 ? kShortValue : kVUNumberText + 1];
  for (int i = 0; i < kind.writeCount; ++i) {
    const FieldDef& def = kind.writeOrder[i];
    switch (def.type) {
      case FieldType::kInt:
        PutField(out, lineCounter, def.tag, number, VUFormatInt(number, *At<int32_t>(record, def.offset)),
                 sizeof number);
        break;
      case FieldType::kReal:
        PutField(out, lineCounter, def.tag, number, VUFormatFloat(number, *At<float>(record, def.offset)),
                 sizeof number);
        break;
      case FieldType::kText:
        PutText(out, lineCounter, def.tag, At<char>(record, def.offset), def.capacity + 1);
        break;
      case FieldType::kVertices: {
        VUList* list = *At<VUList*>(record, def.offset);
        VUListPosition position = nullptr;
        void* element = nullptr;
        char text[kVUVertexText + 1];
        for (int more = VUListFirst(list, &element, &position); more;
             more = VUListNext(list, &element, &position)) {
          VUVertexToText(static_cast<const float*>(element), text);
          PutText(out, lineCounter, def.tag, text, sizeof text);
        }
        break;
      }
      case FieldType::kMarks:
        VUMarkListWrite(*At<CMarkList*>(record, def.offset), out, lineCounter);
        break;
      default:
        break;
    }
  }
}

}  // namespace vesta::vprop
