// Feeds arbitrary bytes to the hive file reader. A hive that parses must
// write back as the very bytes it was read from; after changes of the kinds
// the registry makes, it must read back with the values set, the lines it
// could not read still there and no new ones. Whatever its shape (keys
// deeper or names longer than the registry takes, huge declared lengths),
// nothing beyond the registry's limits is read, the index answers as the
// hive does, and a change the hive cannot hold leaves it as it was.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry_file/hive.h"
#include "platform/registry_file/hive_file.h"
#include "platform/registry_file/hive_index.h"

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
    if (line.kind == HiveLine::Kind::kKey && line.problem.empty()) {
      Check(KeyPathProblem(line.path).empty());
      parent = line.path;
    }
    if (line.kind == HiveLine::Kind::kValue && line.problem.empty()) Check(ValueNameProblem(line.value.name).empty());
  }
  const HiveIndex index(hive);
  Check(index.Subkeys(parent) == Subkeys(hive, parent));
  Check(index.KeyExists(parent) == KeyExists(hive, parent));
  for (const std::string& name : ValueNames(hive, parent)) Check(index.FindValue(parent, name) == FindValue(hive, parent, name));

  // Text a REGEDIT4 hive cannot hold is refused, the hive unchanged.
  if (hive.encoding == HiveEncoding::kAnsi) {
    Check(!SetValue(&hive, parent, StringValue("\xE6\x97\xA5", u"x")));
    Check(!SetValue(&hive, parent, StringValue("x", u"\U0001F600")));
    Check(!EnsureKey(&hive, parent.empty() ? "\xE6\x97\xA5" : parent + "\\\xE6\x97\xA5"));
    Check(WriteHive(hive) == bytes);
  }
  const std::string path = parent.empty() ? "New\\Key" : parent + "\\New\\Key";
  if (!KeyProblem(hive, path).empty()) {
    // Too deep or too long below the last key: refused, nothing changed.
    Check(!SetValue(&hive, path, StringValue("x", u"x")) && !EnsureKey(&hive, path));
    Check(WriteHive(hive) == bytes);
    return 0;
  }
  const bool leaf = Subkeys(hive, path).empty();
  const HiveValue values[] = {
      StringValue("say \"\\\"", u"C:\\VESTA\\ \"x\" caf\u00e9"),
      StringValue("", u"two\r\nlines"),
      Value("Multi", kRegMultiSz, std::string("a\0\0\0b\0\0\0\0\0", 10)),
      Value("Count", kRegDword, std::string("\x1a\0\0\x80", 4)),
      Value("Long", kRegBinary, std::string(100, '\x5c')),
  };
  for (const HiveValue& value : values) Check(SetValue(&hive, path, value));
  Check(SetValue(&hive, parent, values[0]));
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
