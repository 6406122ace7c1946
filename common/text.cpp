#include "common/text.h"

#include <cstring>

int VUCopyN(char* out, const char* text, int n) {
  if (out == nullptr) return 0;
  if (n < 0) n = 0;
  if (text == nullptr) {
    out[0] = '\0';
    return 1;
  }
  const void* end = std::memchr(text, '\0', static_cast<size_t>(n) + 1);
  size_t length = end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - text)
                                 : static_cast<size_t>(n);
  std::memmove(out, text, length);
  out[length] = '\0';
  return end != nullptr ? 1 : 0;
}

static inline unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int VUCompareN(const char* a, const char* b, int n) {
  if (a == nullptr || b == nullptr) return a == b ? 1 : 0;
  for (int i = 0; i < n; ++i) {
    unsigned char ca = FoldCase(static_cast<unsigned char>(a[i]));
    unsigned char cb = FoldCase(static_cast<unsigned char>(b[i]));
    if (ca != cb) return 0;
    if (ca == '\0') return 1;
  }
  return 1;
}

int VUTrimLineEnd(char* line) {
  if (line == nullptr) return 0;
  size_t length = std::strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) --length;
  line[length] = '\0';
  return static_cast<int>(length);
}
