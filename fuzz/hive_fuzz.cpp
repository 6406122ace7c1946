// Feeds arbitrary bytes to the hive file reader. A hive that parses must
// write back as the very bytes it was read from; after changes of the kinds
// the registry makes, it must read back with the values set, the lines it
// could not read still there and no new ones.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry_file/hive.h"
#include "platform/registry_file/hive_file.h"

namespace {

using namespace vesta::platform;
using namespace vesta::platform::regfile;

const char kRoot[] = "HKEY_LOCAL_MACHINE";

void Check(bool condition) {
  if (!condition) std::abort();
}

int CountProblems(const Hive& hive) {
  int count = 0;
  for (const HiveLine& line : hive.lines) count += line.problem.empty() ? 0 : 1;
  return count;
}

// Writes the hive and reads it back.
Hive Reread(const Hive& hive) {
  const std::string written = WriteHive(hive);
  Hive again;
  HiveSyntaxError error;
  Check(ParseHive(written, kRoot, &again, &error));
  Check(WriteHive(again) == written);
  return again;
}

HiveValue Value(const char* name, std::uint32_t type, const std::string& data) {
  HiveValue value;
  value.name = name;
  value.type = type;
  value.data = data;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Hive imported;
  HiveSyntaxError error;
  if (ParseImportFile(bytes, &imported, &error)) Check(WriteHive(imported) == bytes);

  Hive hive;
  if (!ParseHive(bytes, kRoot, &hive, &error)) {
    Check(error.line >= 1 && !error.what.empty());
    return 0;
  }
  Check(WriteHive(hive) == bytes);
  const int problems = CountProblems(hive);

  std::string parent;
  for (const HiveLine& line : hive.lines) {
    if (line.kind == HiveLine::Kind::kKey && line.problem.empty()) parent = line.path;
  }
  Subkeys(hive, parent);
  const std::string path = parent.empty() ? "New\\Key" : parent + "\\New\\Key";
  const bool leaf = Subkeys(hive, path).empty();
  const HiveValue values[] = {
      StringValue("say \"\\\"", u"C:\\VESTA\\ \"x\" caf\u00e9"),
      StringValue("", u"two\r\nlines"),
      Value("Multi", kRegMultiSz, std::string("a\0\0\0b\0\0\0\0\0", 10)),
      Value("Count", kRegDword, std::string("\x1a\0\0\x80", 4)),
      Value("Long", kRegBinary, std::string(100, '\x5c')),
  };
  for (const HiveValue& value : values) SetValue(&hive, path, value);
  SetValue(&hive, parent, values[0]);
  Check(KeyExists(hive, path) && HasKeyLine(hive, path));
  Hive again = Reread(hive);
  Check(CountProblems(again) == problems);
  for (const HiveValue& value : values) {
    const HiveValue* found = FindValue(again, path, value.name);
    Check(found != nullptr && *found == value);
  }

  Check(RemoveValue(&again, parent, values[0].name));
  for (const HiveValue& value : values) Check(RemoveValue(&again, path, value.name));
  Check(RemoveKey(&again, path) == leaf);
  again = Reread(again);
  // A removed line may let a line that could not be read join the one
  // before it; it never makes another.
  Check(CountProblems(again) <= problems);
  Check(HasKeyLine(again, path) != leaf && FindValue(again, parent, values[0].name) == nullptr);
  return 0;
}
