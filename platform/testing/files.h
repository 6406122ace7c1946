// Whole-file helpers for tests, through the platform seam.
#ifndef VESTA_PLATFORM_TESTING_FILES_H
#define VESTA_PLATFORM_TESTING_FILES_H

#include <cstdio>
#include <string>

#include "platform/file_system.h"

namespace vesta::testing {

// Writes text to path in text mode ("w"), or bytes in binary mode ("wb"),
// replacing the file. False on failure.
inline bool WriteTextFile(const std::string& path, const std::string& text, const char* mode = "w") {
  FILE* stream = platform::OpenStream(path.c_str(), mode);
  if (stream == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  return std::fclose(stream) == 0 && ok;
}
inline bool WriteBinaryFile(const std::string& path, const std::string& bytes) {
  return WriteTextFile(path, bytes, "wb");
}

// The file's text as read in text mode ("r"), or its bytes in binary mode
// ("rb"); "<missing>" when it cannot be opened.
inline std::string ReadTextFile(const std::string& path, const char* mode = "r") {
  std::string text;
  const platform::FileMode kind = mode[1] == 'b' ? platform::FileMode::kBinary : platform::FileMode::kText;
  return platform::ReadWholeFile(path.c_str(), &text, kind) ? text : "<missing>";
}
inline std::string ReadBinaryFile(const std::string& path) { return ReadTextFile(path, "rb"); }

}  // namespace vesta::testing

#endif
