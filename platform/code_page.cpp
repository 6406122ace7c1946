#include "platform/code_page.h"

namespace vesta::platform {
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

// The code page's byte for unit; false when it has none.
bool ToAnsi(char16_t unit, char* byte) {
  if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) {
    *byte = static_cast<char>(unit);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == unit) {
      *byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace

std::u16string AnsiToUtf16(const std::string& text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char c : text) wide += ToUtf16(static_cast<unsigned char>(c));
  return wide;
}

std::string Utf16ToAnsi(const std::u16string& text, bool* lost) {
  std::string narrow;
  narrow.reserve(text.size());
  bool missing = false;
  for (char16_t unit : text) {
    char byte = '?';
    if (!ToAnsi(unit, &byte)) missing = true;
    narrow += byte;
  }
  if (lost != nullptr) *lost = missing;
  return narrow;
}

std::string FirstNotInCodePage(const std::u16string& text) {
  char byte;
  for (size_t i = 0; i < text.size(); ++i) {
    if (ToAnsi(text[i], &byte)) continue;
    // A pair of surrogates is one character.
    const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    return Utf16ToUtf8(text.substr(i, pair ? 2 : 1));
  }
  return std::string();
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                    : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
      if ((next & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms and code points past Unicode are not sequences.
    if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF))) length = 0;
    if (length == 0) {
      out += ToUtf16(lead);
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += length;
  }
  return out;
}

std::string Utf16LeBytes(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::u16string Utf16LeUnits(const std::string& bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                   static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  return units;
}

}  // namespace vesta::platform
