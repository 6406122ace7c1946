// Bounded text operations of the utility layer. Every copy into a fixed
// buffer in the system goes through VUCopyN.
#ifndef VESTA_COMMON_TEXT_H
#define VESTA_COMMON_TEXT_H

#include <cstddef>

// Copies at most n characters of text into out and terminates it, so out
// must hold n + 1 bytes. A null text copies as the empty text. Returns 1
// when the whole text fitted, 0 when it was cut (out still terminated).
int VUCopyN(char* out, const char* text, int n);

// 1 when the first n characters of a and b are equal without regard to the
// case of ASCII letters, as Windows compares file names (two texts that end
// before n characters are equal when they end together); else 0.
int VUCompareN(const char* a, const char* b, int n);

// Removes the line end (any mix of trailing line feeds and carriage
// returns) in place; other trailing characters, spaces included, stay.
// Returns the remaining length.
int VUTrimLineEnd(char* line);

// Copies text into a fixed character field, cut to the field's capacity.
template <std::size_t N>
inline int VUCopyToField(char (&field)[N], const char* text) {
  return VUCopyN(field, text, static_cast<int>(N - 1));
}

#endif
