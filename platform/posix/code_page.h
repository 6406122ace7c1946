// The 8-bit text of the system on POSIX, where shortcut files need it as
// UTF-16: the Windows Western code page (1252), as on the Windows side of a
// default installation, so that a name round-trips through either platform.
#ifndef VESTA_PLATFORM_POSIX_CODE_PAGE_H
#define VESTA_PLATFORM_POSIX_CODE_PAGE_H

#include <string>

namespace vesta::platform::posix {

// Every byte has a character (the five the code page leaves undefined
// stand for the control characters of the same number).
std::u16string AnsiToUtf16(const std::string& text);
// A character the code page lacks becomes "?".
std::string Utf16ToAnsi(const std::u16string& text);

}  // namespace vesta::platform::posix

#endif
