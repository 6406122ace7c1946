#include "common/numbers.h"

#include <charconv>
#include <cmath>
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

constexpr uint32_t kExactMantissa = 1u << 24;
constexpr int kMostDecimals = 10;
constexpr double kDoublePowers[kMostDecimals + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5,
                                                     1e6, 1e7, 1e8, 1e9, 1e10};

float Decimal(uint32_t mantissa, int decimals) { return vesta::numbers::Decimal(mantissa, decimals); }

// Writes the digits of mantissa with decimals of them after a point.
int WriteDecimal(char* out, bool negative, uint32_t mantissa, int decimals) {
  char digits[16];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + mantissa % 10);
    mantissa /= 10;
  } while (mantissa != 0);
  while (count <= decimals) digits[count++] = '0';  // "0.05": the leading zeros
  int n = 0;
  if (negative) out[n++] = '-';
  for (int i = count - 1; i >= 0; --i) {
    out[n++] = digits[i];
    if (i == decimals && i > 0) out[n++] = '.';
  }
  out[n] = '\0';
  return n;
}

// Writes value as the general formatter would, when its shortest form is
// such a decimal: from 0.001 up to 100000 the plain form is never longer
// than the one with an exponent, and the fewest decimals that read back
// as value make the shortest text. 0, nothing written, when value is
// outside that range or two decimals of the same length would read back
// (the general formatter then picks the nearer).
int FormatShortDecimal(char* out, float value) {
  if (!std::isfinite(value)) return 0;
  const bool negative = std::signbit(value);
  const float magnitude = std::fabs(value);
  if (magnitude == 0.0f) return WriteDecimal(out, negative, 0, 0);
  if (magnitude < 1e-3f || magnitude >= 1e5f) return 0;
  for (int decimals = 0; decimals <= kMostDecimals; ++decimals) {
    // Exact: 24 bits of the float times 5^decimals fit a double.
    const double scaled = static_cast<double>(magnitude) * kDoublePowers[decimals];
    if (scaled >= kExactMantissa) return 0;
    const auto below = static_cast<uint32_t>(scaled);
    const uint32_t above = static_cast<double>(below) == scaled ? below : below + 1;
    const bool belowReads = below > 0 && Decimal(below, decimals) == magnitude;
    const bool aboveReads = above != below && Decimal(above, decimals) == magnitude;
    if (belowReads && aboveReads) return 0;
    if (belowReads || aboveReads) return WriteDecimal(out, negative, belowReads ? below : above, decimals);
  }
  return 0;
}

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
  if (vesta::numbers::ParseShortDecimal(p, end, &value, stop)) {
    *out = negative ? -value : value;
    return 1;
  }
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
  if (int length = FormatShortDecimal(out, value)) return length;
  auto result = std::to_chars(out, out + kVUNumberText, value);
  if (result.ec != std::errc()) {
    out[0] = '0';
    out[1] = '\0';
    return 1;
  }
  *result.ptr = '\0';
  return static_cast<int>(result.ptr - out);
}
