// Numbers as text, independent of the C locale. A real is written in the
// shortest decimal form that reads back bit-identical.
#ifndef VESTA_COMMON_NUMBERS_H
#define VESTA_COMMON_NUMBERS_H

#include <cstdint>

// Longest text VUFormatInt or VUFormatFloat gives, without the terminator.
constexpr int kVUNumberText = 24;

// Reads a decimal integer: leading blanks (spaces and tabs), an optional
// sign, then digits; reading stops at the first other character. 1 when
// digits were read and the number fits 32 bits; else 0 and out untouched.
int VUParseInt(const char* text, int32_t* out);

// Reads a real the same way: leading blanks, an optional sign, then a
// decimal number with optional fraction and exponent, or "inf", "infinity"
// or "nan". 1 when a number that fits a 32-bit real was read; else 0 and
// out untouched.
int VUParseFloat(const char* text, float* out);

// As VUParseFloat, but the text must hold nothing else than the number and
// blanks around it.
int VUParseFloatWhole(const char* text, float* out);

// The same on the length characters at text, which need not be terminated.
int VUParseIntN(const char* text, int length, int32_t* out);
int VUParseFloatN(const char* text, int length, float* out);

namespace vesta::numbers {

inline bool IsDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Most reals in a world file are short decimals ("1.4", "-0.3", "10").
// For those a decimal m / 10^k with m below 2^24 and k at most 10 is one
// division of two floats that both hold their value exactly, and so
// rounded once and correctly: the same float as the general conversion
// gives, at a fraction of its cost.
constexpr float kFloatPowers[11] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

inline float Decimal(uint32_t mantissa, int decimals) {
  // Without a branch on decimals: a division by 1 is exact.
  return static_cast<float>(mantissa) / kFloatPowers[decimals];
}

// Reads plain digits with an optional fraction ("12", "0.75") at p when
// they make such a decimal. False, nothing read, for anything else (an
// exponent, more digits, no digit before the point), which the general
// conversion reads.
inline bool ParseShortDecimal(const char* p, const char* end, float* out, const char** stop) {
  uint32_t mantissa = 0;
  int decimals = 0;
  const char* q = p;
  for (; q < end && IsDigit(*q); ++q) {
    mantissa = mantissa * 10 + static_cast<uint32_t>(*q - '0');
    if (mantissa >= (1u << 24)) return false;
  }
  if (q == p) return false;
  if (q < end && *q == '.') {
    const char* fraction = ++q;
    for (; q < end && IsDigit(*q); ++q) {
      mantissa = mantissa * 10 + static_cast<uint32_t>(*q - '0');
      if (mantissa >= (1u << 24) || ++decimals > 10) return false;
    }
    if (q == fraction) return false;
  }
  if (q < end && (*q == 'e' || *q == 'E')) return false;
  *out = Decimal(mantissa, decimals);
  *stop = q;
  return true;
}

}  // namespace vesta::numbers

// The short forms of VUParseIntN and VUParseFloatN, inline for readers of
// many numbers: a text that begins with an optional "-" and digits (up to
// nine for an integer; a short decimal for a real) gives 1 and the value
// that VUParseIntN or VUParseFloatN gives. Any other text gives 0, out
// untouched: those read it.
inline int VUParseShortIntN(const char* text, int length, int32_t* out) {
  const char* p = text;
  const char* end = text + length;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  const char* digits = p;
  int32_t value = 0;
  for (; p < end && p - digits < 9 && vesta::numbers::IsDigit(*p); ++p) value = value * 10 + (*p - '0');
  if (p == digits || (p < end && vesta::numbers::IsDigit(*p))) return 0;
  *out = negative ? -value : value;
  return 1;
}

inline int VUParseShortFloatN(const char* text, int length, float* out) {
  const char* p = text;
  const char* end = text + length;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  float value;
  const char* stop;
  if (!vesta::numbers::ParseShortDecimal(p, end, &value, &stop)) return 0;
  *out = negative ? -value : value;
  return 1;
}

// Writes the value into out (at least kVUNumberText + 1 bytes) and
// terminates it; returns the length.
int VUFormatInt(char* out, int32_t value);
int VUFormatFloat(char* out, float value);

#endif
