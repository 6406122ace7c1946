// Feeds arbitrary command lines to the option parser.
#include <cstdint>
#include <cstring>
#include <string>

#include "vermanager/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const char letter = static_cast<char>(data[0]);
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  char out[260];
  std::memset(out, 'x', sizeof out);
  int found = ParseOptionValue(out, text.c_str(), letter);
  const size_t length = strnlen(out, sizeof out);
  if (length >= sizeof out) __builtin_trap();  // always terminated within the path
  if (found != (length > 0 ? 1 : 0)) __builtin_trap();
  char small[8];
  ParseOptionValue(small, text.c_str(), letter, sizeof small - 1);
  if (strnlen(small, sizeof small) >= sizeof small) __builtin_trap();
  return 0;
}
