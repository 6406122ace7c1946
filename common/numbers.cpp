#include "common/numbers.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace {

const char* SkipBlanks(const char* text, const char* end) {
  while (text < end && (*text == ' ' || *text == '\t')) ++text;
  return text;
}

// Skips an optional sign; sets negative for "-". A sign must be followed
// directly by the number.
const char* SkipSign(const char* text, const char* end, bool* negative) {
  *negative = false;
  if (text < end && (*text == '+' || *text == '-')) {
    *negative = *text == '-';
    ++text;
  }
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ParseIntRange(const char* p, const char* end, int32_t* out) {
  bool negative;
  p = SkipSign(SkipBlanks(p, end), end, &negative);
  if (p == end || !IsDigit(*p)) return 0;
  // The magnitude may reach 2^31 for the most negative value.
  const uint32_t limit = negative ? 2147483648u : 2147483647u;
  uint32_t magnitude = 0;
  for (; p < end && IsDigit(*p); ++p) {
    uint32_t digit = static_cast<uint32_t>(*p - '0');
    if (magnitude > (limit - digit) / 10) return 0;
    magnitude = magnitude * 10 + digit;
  }
  *out = negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
  return 1;
}

// Reads a real in [p, end); *stop is where reading stopped.
int ParseFloatRange(const char* p, const char* end, float* out, const char** stop) {
  bool negative;
  p = SkipSign(SkipBlanks(p, end), end, &negative);
  if (p < end && (*p == '+' || *p == '-')) return 0;
  float value = 0.0f;
  auto [next, error] = std::from_chars(p, end, value, std::chars_format::general);
  if (error != std::errc()) return 0;
  *out = negative ? -value : value;
  *stop = next;
  return 1;
}

}  // namespace

int VUParseInt(const char* text, int32_t* out) {
  if (text == nullptr || out == nullptr) return 0;
  return ParseIntRange(text, text + std::strlen(text), out);
}

int VUParseIntN(const char* text, int length, int32_t* out) {
  if (text == nullptr || out == nullptr || length < 0) return 0;
  return ParseIntRange(text, text + length, out);
}

int VUParseFloat(const char* text, float* out) {
  if (text == nullptr || out == nullptr) return 0;
  const char* stop;
  return ParseFloatRange(text, text + std::strlen(text), out, &stop);
}

int VUParseFloatN(const char* text, int length, float* out) {
  if (text == nullptr || out == nullptr || length < 0) return 0;
  const char* stop;
  return ParseFloatRange(text, text + length, out, &stop);
}

int VUParseFloatWhole(const char* text, float* out) {
  if (text == nullptr || out == nullptr) return 0;
  const char* end = text + std::strlen(text);
  float value;
  const char* stop;
  if (!ParseFloatRange(text, end, &value, &stop)) return 0;
  if (SkipBlanks(stop, end) != end) return 0;
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
