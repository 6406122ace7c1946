// Feeds arbitrary bytes to the hive file reader. A hive that parses is
// written back, and the text must read back as the same hive; so must the
// hive after a change of the kind the registry makes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/registry/hive.h"
#include "platform/posix/registry/hive_file.h"

namespace {

using namespace vesta::platform::posix;

const char kRoot[] = "HKEY_LOCAL_MACHINE";

// Writes the hive and reads it back; aborts unless it is the same.
void CheckRoundTrip(const Hive& hive) {
  const std::string written = WriteHive(hive, kRoot);
  Hive again;
  HiveSyntaxError error;
  if (!ParseHive(written, kRoot, &again, &error) || !(again == hive)) std::abort();
  if (WriteHive(again, kRoot) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Hive hive;
  HiveSyntaxError error;
  if (!ParseHive(text, kRoot, &hive, &error)) {
    if (error.line < 1 || error.what.empty()) std::abort();
    return 0;
  }
  CheckRoundTrip(hive);
  if (hive.keys.empty()) return 0;

  const std::string parent = hive.keys.back().path;
  Subkeys(hive, parent);
  const std::string path = parent.empty() ? "New\\Key" : parent + "\\New\\Key";
  size_t index = EnsureKey(&hive, path);
  SetString(&hive.keys[index], "say \"\\\"", "C:\\VESTA\\ \"x\"");
  if (!KeyExists(hive, path) || FindKey(hive, path) != &hive.keys[index]) std::abort();
  CheckRoundTrip(hive);
  RemoveKey(&hive, path);
  CheckRoundTrip(hive);
  return 0;
}
