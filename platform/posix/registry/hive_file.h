// The text of a hive file: the registry export format, REGEDIT4.
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\vesta3d\VESTA]
//   "Path"="C:\\VESTA"
//   @="the default value"
//   "Count"=dword:0000001a
//
// Pure (text in, structure out and back), so that it can be fuzzed.
#ifndef VESTA_PLATFORM_POSIX_REGISTRY_HIVE_FILE_H
#define VESTA_PLATFORM_POSIX_REGISTRY_HIVE_FILE_H

#include <string>

#include "platform/posix/registry/hive.h"

namespace vesta::platform::posix {

struct HiveSyntaxError {
  int line = 0;  // 1-based
  std::string what;
};

// Reads the text of the hive of the root named rootName
// ("HKEY_CURRENT_USER"). Accepted besides REGEDIT4 itself: the header
// "Windows Registry Editor Version 5.00", a UTF-8 byte order mark, CRLF
// line ends, comment lines (";"), and spaces around "=". Refused, with the
// line: a missing header, a key of another root, a deletion ("[-...]" or
// "=-"), a value outside any key, a bad quote or escape, data of no known
// type. A key or value named twice (without regard to case) is one, with
// the last data. Comments are not kept. False, *hive unspecified, on
// failure.
bool ParseHive(const std::string& text, const std::string& rootName, Hive* hive,
               HiveSyntaxError* error);

// The hive as REGEDIT4 text with "\n" line ends: the header, then each key
// after a blank line. Names and texts must hold no line break.
std::string WriteHive(const Hive& hive, const std::string& rootName);

}  // namespace vesta::platform::posix

#endif
