// Feeds arbitrary bytes to the screensaver setup reader as the text of a
// setup file, and writes back what it read.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "vsetu/services/saver_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> buffer(data, data + size);
  if (buffer.empty()) buffer.push_back('\n');
  FILE* stream = fmemopen(buffer.data(), buffer.size(), "r");
  if (stream == nullptr) return 0;
  SaverConfig config;
  VSClearSaverConfig(&config);
  VSSetSaverConfigDefaults(&config);
  // A setup path of the longest kind, so that expanded tokens are long too.
  std::memset(config.setupFile, 'p', sizeof config.setupFile - 1);
  config.setupFile[3] = '\\';
  config.setupFile[sizeof config.setupFile - 1] = '\0';
  VSReadSaverConfigStream(&config, stream);
  std::fclose(stream);
  for (int index = 0; index < kSaverFieldCount; ++index) {
    const SaverField& field = SaverFieldAt(index);
    const char* text = reinterpret_cast<const char*>(&config) + field.offset;
    if (std::memchr(text, '\0', field.capacity) == nullptr) __builtin_trap();
  }
  return 0;
}
