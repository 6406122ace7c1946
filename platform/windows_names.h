// How Windows compares names: of files and folders, of registry keys and
// values, of packages. Letters match without regard to case (the ASCII
// letters, as the names this system makes and looks up use them); in a path
// '/' is the same separator as '\'. Names are folded into capitals, the
// form in which they are also sorted, as the registry sorts its keys.
#ifndef VESTA_PLATFORM_WINDOWS_NAMES_H
#define VESTA_PLATFORM_WINDOWS_NAMES_H

#include <string>
#include <string_view>

namespace vesta::platform {

// The letter in capitals; any other character as it is.
inline char FoldedLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A name (a file's, a key's, a value's, a package's) folded: its capitals.
std::string FoldName(std::string_view name);
// A path folded: its capitals, each '/' a '\'.
std::string FoldPath(std::string_view path);

// True when the names, or the paths, are the same to Windows.
bool SameName(std::string_view a, std::string_view b);
bool SamePath(std::string_view a, std::string_view b);

// True when name begins with prefix, without regard to case.
bool NameStartsWith(std::string_view name, std::string_view prefix);

}  // namespace vesta::platform

#endif
