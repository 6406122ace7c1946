#include "common/tag_field.h"

#include <cstring>

#include "common/numbers.h"
#include "common/text.h"

namespace {

// Writes tag and "[" length "]" into out; returns the characters written.
int FormatHead(char* out, const char* tag, int valueLength) {
  int n = 0;
  for (const char* t = tag; *t != '\0' && n < kVUTagLength; ++t) out[n++] = *t;
  out[n++] = '[';
  n += VUFormatInt(out + n, valueLength);
  out[n++] = ']';
  return n;
}

int DigitCount(int value) {
  int digits = 1;
  while (value >= 10) {
    value /= 10;
    ++digits;
  }
  return digits;
}

int FormatValueField(char* out, const char* tag, const char* text, int textLength, int* length) {
  int n = FormatHead(out, tag, textLength);
  std::memcpy(out + n, text, static_cast<size_t>(textLength));
  n += textLength;
  out[n] = '\0';
  if (length != nullptr) *length = n;
  return 1;
}

}  // namespace

int VUGetTaggedValue(const char* tag, const char* line, char* out, int max) {
  if (tag == nullptr || line == nullptr || out == nullptr || max < 0) return 0;
  size_t tagLength = std::strlen(tag);
  if (std::strncmp(line, tag, tagLength) != 0) return 0;
  const char* p = line + tagLength;
  if (*p != '[') return 0;
  ++p;
  int32_t declared = 0;
  if (!VUParseInt(p, &declared) || declared < 0) return 0;
  const char* close = std::strchr(p, ']');
  if (close == nullptr) return 0;
  const char* value = close + 1;
  int take = declared < max ? declared : max;
  VUCopyN(out, value, take);
  return 1;
}

int VUFormatTextField(char* out, const char* tag, const char* value, int* length, int maxField) {
  if (value == nullptr) value = "";
  int textLength = static_cast<int>(std::strlen(value));
  int tagLength = 0;
  while (tagLength < kVUTagLength && tag[tagLength] != '\0') ++tagLength;
  // Cut the value until tag, brackets, digits and value fit maxField.
  while (textLength > 0 && tagLength + 2 + DigitCount(textLength) + textLength > maxField) {
    --textLength;
  }
  return FormatValueField(out, tag, value, textLength, length);
}

int VUFormatIntField(char* out, const char* tag, int32_t value, int* length) {
  char text[kVUNumberText + 1];
  int textLength = VUFormatInt(text, value);
  return FormatValueField(out, tag, text, textLength, length);
}

int VUFormatFloatField(char* out, const char* tag, float value, int* length) {
  char text[kVUNumberText + 1];
  int textLength = VUFormatFloat(text, value);
  return FormatValueField(out, tag, text, textLength, length);
}

int VUMakeEndTag(char* out, const char* openTag) {
  if (out == nullptr) return 0;
  char tag[kVUEndTagBuffer];
  VUCopyN(tag, openTag, kVUEndTagBuffer - 1);
  int length = static_cast<int>(std::strlen(tag));
  int first = 0;
  int last = length - 1;
  if (length >= 2 && tag[0] == '[' && tag[length - 1] == ']') {
    first = 1;
    last = length - 2;
  }
  while (first < last) {
    char c = tag[first];
    tag[first++] = tag[last];
    tag[last--] = c;
  }
  std::memcpy(out, tag, static_cast<size_t>(length) + 1);
  return 1;
}

int VUWriteFieldOnLine(VUOutput* out, const char* field, int length, int* lineCounter) {
  if (*lineCounter + length > kVUMaxLine) {
    VUOutputPut(out, '\n');
    *lineCounter = length;
  } else {
    *lineCounter += length;
  }
  VUOutputWrite(out, field, length);
  return 1;
}
