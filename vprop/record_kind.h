// What the tag file reader and writer know of a kind of record: its opening
// tag, its fields in write order with where each lives in the record, and a
// lookup from tag to field for the reader.
#ifndef VESTA_VPROP_RECORD_KIND_H
#define VESTA_VPROP_RECORD_KIND_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/numbers.h"
#include "common/output_buffer.h"

namespace vesta::vprop {

enum class FieldType : uint8_t {
  kInt,        // int32_t
  kReal,       // float
  kText,       // char array of capacity + 1 bytes
  kVertices,   // VUList* of vertices, one field per vertex
  kMarks,      // CMarkList*: written as mark fields, not read under this tag
  kMarkBegin,  // mark fields: their offsets are into the current MarkRecord
  kMarkEnd,
  kMarkInt,
  kMarkReal,
  kMarkText,
};

struct FieldDef {
  char tag[6];
  FieldType type;
  uint16_t offset;
  uint16_t capacity;  // texts only
};

// Finds a field by its tag: "[" three capital letters "]".
class TagIndex {
 public:
  TagIndex();
  void Add(const char* tag, int index);
  // The index given to the five characters at p, or -1.
  int Find(const char* p) const;

 private:
  static int Slot(const char* p);
  int8_t slots_[26 * 26 * 26];
};

struct RecordKind {
  static constexpr int kCacheLine = 64;
  static constexpr int kMaxFieldLines = 96;
  static constexpr int kMaxReadable = 96;

  const char* openTag;
  char endHead[8];    // the first six characters of the end tag, or all of it
  int endHeadLength;
  // Where the written fields lie in a record, by cache line.
  uint16_t fieldLines[kMaxFieldLines];
  int fieldLineCount;
  const FieldDef* writeOrder;  // the record's fields in the order written
  int writeCount;
  const FieldDef* readOnly;    // further fields only read (the marks)
  int readOnlyCount;
  bool skipsUnlisted;  // "[...]" tags not in the lists are read and dropped
  // writeOrder then readOnly, in one table that the reader walks: the
  // field a tag names is readable[index.Find(tag)]. A field not read under
  // its tag (the marks' list) has an empty tag, which no text matches.
  FieldDef readable[kMaxReadable];
  int readableCount;
  TagIndex index;      // over readable

  RecordKind(const char* open, const FieldDef* order, int orderCount, const FieldDef* extra,
             int extraCount, bool skips);
  // The field whose tag stands at p, or null.
  const FieldDef* Find(const char* p) const;
};

// A value is read from a buffer that holds at least this many bytes from
// its first character on, so that a short text is copied as one block.
constexpr int kShortText = 32;

// Copies length characters of text into a text field of capacity
// characters, cut to fit, and terminates it.
void StoreText(char* field, uint16_t capacity, const char* text, int length);

// Stores a value of the kinds that StoreField leaves to it (vertices and
// marks).
void StoreOtherField(const FieldDef& def, void* record, const char* value, int length);

// Stores one value read from the file, length characters at value (not
// terminated, with at least kShortText bytes readable from value on), into
// record (which may be null: the value is then dropped). A text longer than
// its field is cut to fit.
inline void StoreField(const FieldDef& def, void* record, const char* value, int length) {
  if (record == nullptr) return;
  char* field = static_cast<char*>(record) + def.offset;
  switch (def.type) {
    case FieldType::kText:
      if (length <= kShortText && def.capacity >= kShortText) {
        std::memcpy(field, value, kShortText);
        field[length] = '\0';
      } else {
        StoreText(field, def.capacity, value, length);
      }
      break;
    case FieldType::kInt:
      // One digit, the commonest value of all (0, 1, a count), first.
      if (length == 1 && vesta::numbers::IsDigit(value[0])) {
        const int32_t digit = value[0] - '0';
        std::memcpy(field, &digit, sizeof digit);
      } else if (!VUParseShortIntN(value, length, reinterpret_cast<int32_t*>(field))) {
        VUParseIntN(value, length, reinterpret_cast<int32_t*>(field));
      }
      break;
    case FieldType::kReal:
      if (length == 1 && vesta::numbers::IsDigit(value[0])) {
        const float digit = static_cast<float>(value[0] - '0');
        std::memcpy(field, &digit, sizeof digit);
      } else if (!VUParseShortFloatN(value, length, reinterpret_cast<float*>(field))) {
        VUParseFloatN(value, length, reinterpret_cast<float*>(field));
      }
      break;
    default:
      StoreOtherField(def, record, value, length);
      break;
  }
}

// Writes the record's fields in write order onto the lines of out.
void WriteFields(const RecordKind& kind, const void* record, VUOutput* out);

}  // namespace vesta::vprop

// Table rows, for the record files.
#define VPROP_INT(Class, tag, member) \
  { tag, vesta::vprop::FieldType::kInt, offsetof(Class, member), 0 }
#define VPROP_REAL(Class, tag, member) \
  { tag, vesta::vprop::FieldType::kReal, offsetof(Class, member), 0 }
#define VPROP_TEXT(Class, tag, member) \
  { tag, vesta::vprop::FieldType::kText, offsetof(Class, member), sizeof(Class::member) - 1 }

#endif
