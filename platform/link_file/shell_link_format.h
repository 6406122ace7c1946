// Shortcut (.LNK) files in the Shell Link Binary File Format, as the shell
// of Windows writes and reads them: little-endian structures in the order
//
//   ShellLinkHeader  0x4C bytes: size, class 00021401-0000-0000-C000-
//                    000000000046, link flags, target attributes, times,
//                    size, icon index, show command, hot key
//   LinkTargetIDList (with HasLinkTargetIDList) the shell's item list:
//                    My Computer, a drive, a file-system item a component
//   LinkInfo         (with HasLinkInfo) the target's volume and local path,
//                    or its share (CommonNetworkRelativeLink), and the
//                    common path suffix; UTF-16 forms when the header
//                    has room for their offsets
//   StringData       counted strings, each with its flag: name
//                    (description), relative path, working folder,
//                    arguments, icon location; UTF-16 with IsUnicode
//   ExtraData        blocks (the target with environment variables among
//                    them), ended by a block of fewer than 4 bytes
//
// Pure (bytes in, fields out and back), so that it can be fuzzed.
#ifndef VESTA_PLATFORM_LINK_FILE_SHELL_LINK_FORMAT_H
#define VESTA_PLATFORM_LINK_FILE_SHELL_LINK_FORMAT_H

#include <cstdint>
#include <functional>
#include <string>

namespace vesta::platform::link_file {

// What the system keeps of a shortcut; texts in the system's code page.
// Each text is empty when the link has none.
struct ShellLinkFields {
  std::string target;
  std::string description;
  std::string relativePath;  // the target seen from the link's folder
  std::string workingFolder;
  std::string arguments;
  std::string iconFile;
  int32_t iconIndex = 0;

  bool operator==(const ShellLinkFields& other) const {
    return target == other.target && description == other.description && relativePath == other.relativePath &&
           workingFolder == other.workingFolder && arguments == other.arguments && iconFile == other.iconFile &&
           iconIndex == other.iconIndex;
  }
};

// The value of an environment variable (its name as the link spells it);
// false when the variable is unknown.
using VariableLookup = std::function<bool(const std::string& name, std::string* value)>;

// The file for the fields: the header (show normal, no times); for a
// target on a drive ("C:\dir\file") the item list that names it; a LinkInfo
// with the whole target as its local base path (the shell under Wine reads
// no other part), on a fixed disk, or a remote one for "\\server\share\..."
// (when there is a target); the texts as UTF-16 StringData (when not empty;
// each cut to 65535 characters) and the terminal block.
std::string WriteShellLink(const ShellLinkFields& fields);

// Reads a file's bytes. The target is taken as the shell takes it: the
// LinkInfo's local base path followed by its common path suffix, else its
// share's name and the suffix (UTF-16 forms where present; no LinkInfo when
// the link says to ignore it), else the target of the environment block with
// its variables expanded through lookup (none when the link says to ignore
// the block; without lookup the variables stay as they are), else the path
// that the item list names, else none. The relative path is not applied.
// A relative path written without its flag (the shell under Wine writes it
// so) is read when the strings and the extra data add up only with it.
// Structures the system does not keep are skipped. False, with *fields
// untouched, when the bytes are no shell link: a wrong header size or class,
// or a structure that runs past the end, points outside itself or whose
// sizes do not add up.
bool ReadShellLink(const std::string& bytes, ShellLinkFields* fields, const VariableLookup& lookup = nullptr);

// text with each %NAME% that lookup knows replaced by its value; an unknown
// one, and a "%" without a partner, stay as they are.
std::string ExpandVariables(const std::string& text, const VariableLookup& lookup);

// The target that a relative path names, seen from the folder of linkFile:
// joined with back-slashes, "." and ".." folded inside the drive or share
// (never above it). A relative path that is absolute already ("C:\...",
// "\...") is taken as it is, and a link file named without a folder gives
// the relative path unchanged. A host link file ("/...") gives a host path.
std::string ResolveRelativePath(const std::string& linkFile, const std::string& relative);

}  // namespace vesta::platform::link_file

#endif
