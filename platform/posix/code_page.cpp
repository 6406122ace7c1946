#include "platform/posix/code_page.h"

namespace vesta::platform::posix {
namespace {

// Bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t ToUtf16(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

char ToAnsi(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) return static_cast<char>(unit);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == unit) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::u16string AnsiToUtf16(const std::string& text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char c : text) wide += ToUtf16(static_cast<unsigned char>(c));
  return wide;
}

std::string Utf16ToAnsi(const std::u16string& text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (char16_t unit : text) narrow += ToAnsi(unit);
  return narrow;
}

}  // namespace vesta::platform::posix
