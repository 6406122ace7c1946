// The screensaver setup file that a world's ".nss" side file names.
#ifndef VESTA_VSETU_NORMALISER_SIDE_FILE_NAME_H
#define VESTA_VSETU_NORMALISER_SIDE_FILE_NAME_H

#include <string>

namespace vesta::vsetu {

// The first line of the ".nss" file (at most 259 characters, without its
// line end) when it names a ".vss" file that exists; else "".
std::string SetupFileNamedBy(const char* nssFile);

// The first line of a text file, at most 259 characters, without its line
// end. False when the file does not open or has no line.
bool FirstLine(const char* path, std::string* line);


}  // namespace vesta::vsetu

#endif
