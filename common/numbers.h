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

// Writes the value into out (at least kVUNumberText + 1 bytes) and
// terminates it; returns the length.
int VUFormatInt(char* out, int32_t value);
int VUFormatFloat(char* out, float value);

#endif
