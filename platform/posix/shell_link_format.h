// Shortcut (.LNK) files in the Shell Link Binary File Format, as the shell
// of Windows writes and reads them: little-endian structures in the order
//
//   ShellLinkHeader  0x4C bytes: size, class 00021401-0000-0000-C000-
//                    000000000046, link flags, target attributes, times,
//                    size, icon index, show command, hot key
//   LinkTargetIDList (with HasLinkTargetIDList) the shell's item list
//   LinkInfo         (with HasLinkInfo) the target's volume and path
//   StringData       counted strings, each with its flag: name
//                    (description), relative path, working folder,
//                    arguments, icon location; UTF-16 with IsUnicode
//   ExtraData        blocks, ended by a block of fewer than 4 bytes
//
// Pure (bytes in, fields out and back), so that it can be fuzzed.
#ifndef VESTA_PLATFORM_POSIX_SHELL_LINK_FORMAT_H
#define VESTA_PLATFORM_POSIX_SHELL_LINK_FORMAT_H

#include <cstdint>
#include <string>

namespace vesta::platform::posix {

// What the system keeps of a shortcut; texts in the system's code page.
struct ShellLinkFields {
  std::string target;       // empty: none
  std::string description;  // empty: none
  std::string iconFile;     // empty: none
  int32_t iconIndex = 0;

  bool operator==(const ShellLinkFields& other) const {
    return target == other.target && description == other.description && iconFile == other.iconFile &&
           iconIndex == other.iconIndex;
  }
};

// The file for the fields: the header (show normal, no times), a LinkInfo
// with a fixed-disk VolumeID and the target as its LocalBasePath (when
// there is a target), the name and icon location as UTF-16 StringData
// (when not empty; each cut to 65535 characters) and the terminal block.
std::string WriteShellLink(const ShellLinkFields& fields);

// Reads a file's bytes. The target is the LinkInfo's local base path
// followed by its common path suffix (their UTF-16 forms where present);
// none when the LinkInfo has no local path or the link says to ignore it.
// Structures the system does not keep are skipped. False when the bytes
// are no shell link: a wrong header size or class, or a structure that
// runs past the end or points outside itself.
bool ReadShellLink(const std::string& bytes, ShellLinkFields* fields);

}  // namespace vesta::platform::posix

#endif
