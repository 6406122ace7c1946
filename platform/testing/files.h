// Whole-file helpers for tests, through the platform seam.
#ifndef VESTA_PLATFORM_TESTING_FILES_H
#define VESTA_PLATFORM_TESTING_FILES_H

#include <cstdio>
#include <string>

#include "platform/file_system.h"

namespace vesta::testing {

// Writes text to path in text mode, replacing the file. False on failure.
inline bool WriteTextFile(const std::string& path, const std::string& text) {
  FILE* stream = platform::OpenStream(path.c_str(), "w");
  if (stream == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  return std::fclose(stream) == 0 && ok;
}

// The file's text as read in text mode, or "<missing>".
inline std::string ReadTextFile(const std::string& path) {
  FILE* stream = platform::OpenStream(path.c_str(), "r");
  if (stream == nullptr) return "<missing>";
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, n);
  std::fclose(stream);
  return text;
}

}  // namespace vesta::testing

#endif
