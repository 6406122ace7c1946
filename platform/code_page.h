// The Windows Western code page (1252) and UTF-8, to and from UTF-16: the
// 8-bit text of the system on POSIX, where shortcut files and Unicode
// registry files need UTF-16, as on the Windows side of a default
// installation, so that a name round-trips through either platform; and the
// text of registry files on either platform. Pure.
#ifndef VESTA_PLATFORM_CODE_PAGE_H
#define VESTA_PLATFORM_CODE_PAGE_H

#include <string>

namespace vesta::platform {

// Every byte has a character (the five the code page leaves undefined
// stand for the control characters of the same number).
std::u16string AnsiToUtf16(const std::string& text);
// A character the code page lacks becomes "?"; *lost, when given, tells
// whether any did, so that a caller that must keep text whole refuses it
// instead.
std::string Utf16ToAnsi(const std::u16string& text, bool* lost = nullptr);

// The first character of text that the code page lacks, in UTF-8; "" when
// it holds them all.
std::string FirstNotInCodePage(const std::u16string& text);

// UTF-8 for UTF-16 text. A lone surrogate is written as the three bytes its
// code point would take, so that any UTF-16 comes back unchanged.
std::string Utf16ToUtf8(const std::u16string& text);
// UTF-16 for UTF-8 text, lone surrogates (as above) included. A byte that
// does not begin a whole sequence stands for its code-page character, so
// that 8-bit text which is not UTF-8 still reads as it would in the code
// page.
std::u16string Utf8ToUtf16(const std::string& text);

// UTF-16 text as its little-endian bytes, as Windows keeps it in files
// and in the registry, and back (an odd last byte is left out).
std::string Utf16LeBytes(const std::u16string& text);
std::u16string Utf16LeUnits(const std::string& bytes);

}  // namespace vesta::platform

#endif
