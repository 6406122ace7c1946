#include "common/numbers.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace {

const char* SkipBlanks(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  return text;
}

// Skips an optional sign; sets negative for "-". A sign must be followed
// directly by the number.
const char* SkipSign(const char* text, bool* negative) {
  *negative = false;
  if (*text == '+' || *text == '-') {
    *negative = *text == '-';
    ++text;
  }
  return text;
}

}  // namespace

int VUParseInt(const char* text, int32_t* out) {
  if (text == nullptr || out == nullptr) return 0;
  bool negative;
  const char* p = SkipSign(SkipBlanks(text), &negative);
  if (*p < '0' || *p > '9') return 0;
  // The magnitude may reach 2^31 for the most negative value.
  const uint32_t limit = negative ? 2147483648u : 2147483647u;
  uint32_t magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    uint32_t digit = static_cast<uint32_t>(*p - '0');
    if (magnitude > (limit - digit) / 10) return 0;
    magnitude = magnitude * 10 + digit;
  }
  *out = negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
  return 1;
}

namespace {

// Reads a real at text; *end is where reading stopped.
int ParseFloatAt(const char* text, float* out, const char** end) {
  bool negative;
  const char* p = SkipSign(SkipBlanks(text), &negative);
  if (*p == '+' || *p == '-') return 0;
  float value = 0.0f;
  auto [next, error] = std::from_chars(p, p + std::strlen(p), value, std::chars_format::general);
  if (error != std::errc()) return 0;
  *out = negative ? -value : value;
  *end = next;
  return 1;
}

}  // namespace

int VUParseFloat(const char* text, float* out) {
  if (text == nullptr || out == nullptr) return 0;
  const char* end;
  return ParseFloatAt(text, out, &end);
}

int VUParseFloatWhole(const char* text, float* out) {
  if (text == nullptr || out == nullptr) return 0;
  float value;
  const char* end;
  if (!ParseFloatAt(text, &value, &end)) return 0;
  if (*SkipBlanks(end) != '\0') return 0;
  *out = value;
  return 1;
}

int VUFormatInt(char* out, int32_t value) {
  auto result = std::to_chars(out, out + kVUNumberText, value);
  *result.ptr = '\0';
  return static_cast<int>(result.ptr - out);
}

int VUFormatFloat(char* out, float value) {
  auto result = std::to_chars(out, out + kVUNumberText, value);
  if (result.ec != std::errc()) {
    out[0] = '0';
    out[1] = '\0';
    return 1;
  }
  *result.ptr = '\0';
  return static_cast<int>(result.ptr - out);
}
