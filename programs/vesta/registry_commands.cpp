// vesta reg query | set | delete | import | export.
#include <CLI/CLI.hpp>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "programs/vesta/commands.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

struct Value {
  unsigned type = 0;
  std::string data;
};

bool ReadValue(const std::string& key, const std::string& name, Value* value) {
  int length = 0;
  if (!VSRegReadValue(key.c_str(), name.c_str(), &value->type, nullptr, 0, &length)) return false;
  value->data.assign(static_cast<size_t>(length), '\0');
  int again = 0;
  return VSRegReadValue(key.c_str(), name.c_str(), &value->type, length > 0 ? &value->data[0] : nullptr, length,
                        &again) == 1 && again == length;
}

const char* TypeName(unsigned type) {
  switch (type) {
    case kVSRegString: return "REG_SZ";
    case kVSRegExpandString: return "REG_EXPAND_SZ";
    case kVSRegBinary: return "REG_BINARY";
    case kVSRegDword: return "REG_DWORD";
    case kVSRegMultiString: return "REG_MULTI_SZ";
    case kVSRegQword: return "REG_QWORD";
    default: return "REG_NONE";
  }
}

std::string Hex(const std::string& data) {
  std::string text;
  char byte[4];
  for (unsigned char c : data) {
    std::snprintf(byte, sizeof byte, text.empty() ? "%02x" : ",%02x", c);
    text += byte;
  }
  return text;
}

uint64_t LittleEndian(const std::string& data, size_t bytes) {
  uint64_t number = 0;
  for (size_t i = 0; i < bytes && i < data.size(); ++i) {
    number |= static_cast<uint64_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  }
  return number;
}

std::string Shown(const Value& value) {
  switch (value.type) {
    case kVSRegString:
    case kVSRegExpandString: {
      std::string text = value.data;
      while (!text.empty() && text.back() == '\0') text.pop_back();
      return text;
    }
    case kVSRegMultiString: {
      std::string text = value.data;
      while (!text.empty() && text.back() == '\0') text.pop_back();
      std::string shown;
      for (char c : text) shown += c == '\0' ? std::string("\\0") : std::string(1, c);
      return shown;
    }
    case kVSRegDword:
    case kVSRegQword: {
      if (value.data.size() != (value.type == kVSRegDword ? 4u : 8u)) return "(" + Hex(value.data) + ")";
      uint64_t number = LittleEndian(value.data, value.data.size());
      char text[48];
      std::snprintf(text, sizeof text, "0x%0*llx (%llu)", value.type == kVSRegDword ? 8 : 16,
                    static_cast<unsigned long long>(number), static_cast<unsigned long long>(number));
      return text;
    }
    default:
      return Hex(value.data);
  }
}

void PrintValue(std::ostream& out, const std::string& name, const Value& value) {
  out << "    " << (name.empty() ? "(default)" : name) << "    " << TypeName(value.type) << "    " << Shown(value)
      << "\n";
}

bool ParseNumber(const std::string& text, uint64_t limit, uint64_t* number) {
  if (text.empty() || text[0] == '-' || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  errno = 0;
  char* end = nullptr;
  unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);
  if (errno != 0 || end == nullptr || *end != '\0' || parsed > limit) return false;
  *number = parsed;
  return true;
}

// The data of a value given on the command line; false when the text does
// not fit the type.
bool Encode(const std::string& type, const std::string& text, Value* value, std::string* why) {
  value->data.clear();
  if (type == "sz" || type == "expand_sz") {
    if (text.find('\0') != std::string::npos) return false;
    value->type = type == "sz" ? kVSRegString : kVSRegExpandString;
    value->data = text + '\0';
    return true;
  }
  if (type == "multi_sz") {
    value->type = kVSRegMultiString;
    for (size_t at = 0;;) {
      size_t cut = text.find("\\0", at);
      value->data += text.substr(at, cut == std::string::npos ? std::string::npos : cut - at) + '\0';
      if (cut == std::string::npos) break;
      at = cut + 2;
    }
    value->data += '\0';
    return true;
  }
  if (type == "dword" || type == "qword") {
    bool dword = type == "dword";
    uint64_t number = 0;
    if (!ParseNumber(text, dword ? 0xffffffffull : ~0ull, &number)) {
      *why = "not a " + type + " (a number from 0 to " + (dword ? "4294967295" : "18446744073709551615") +
             ", decimal or 0x...)";
      return false;
    }
    value->type = dword ? kVSRegDword : kVSRegQword;
    for (int i = 0; i < (dword ? 4 : 8); ++i) value->data += static_cast<char>((number >> (8 * i)) & 0xff);
    return true;
  }
  // binary: hex bytes, with or without commas or spaces between them.
  value->type = kVSRegBinary;
  std::string digits;
  for (char c : text) {
    if (c == ',' || c == ' ') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
      *why = "not hex bytes (\"01,ff,20\")";
      return false;
    }
    digits += c;
  }
  if (digits.size() % 2 != 0) {
    *why = "an odd number of hex digits";
    return false;
  }
  for (size_t i = 0; i < digits.size(); i += 2) {
    value->data += static_cast<char>(std::strtoul(digits.substr(i, 2).c_str(), nullptr, 16));
  }
  return true;
}

std::string Problem(const std::string& fallback) {
  char problem[1024];
  if (VSRegGetLastProblem(problem, sizeof problem)) return problem;
  return FileProblem(fallback);
}

int NoRoot(Console& console, const char* command, const std::string& key) {
  console.err << "vesta: reg " << command << ": " << key
              << ": not a key path (HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG, HKEY_CURRENT_USER, "
                 "HKEY_LOCAL_MACHINE or HKEY_USERS, or HKCR, HKCC, HKCU, HKLM or HKU, then \\ and the subkey)\n";
  return kExitUsage;
}

void PrintKey(std::ostream& out, const std::string& key, bool recursive) {
  out << key << "\n";
  char name[1024];
  for (int index = 0; VSRegValueNameAt(key.c_str(), index, name, sizeof name); ++index) {
    Value value;
    if (ReadValue(key, name, &value)) PrintValue(out, name, value);
  }
  std::vector<std::string> subkeys;
  for (int index = 0; VSRegSubkeyAt(key.c_str(), index, name, sizeof name); ++index) subkeys.push_back(name);
  for (const std::string& subkey : subkeys) {
    std::string path = key + "\\" + subkey;
    if (recursive) {
      out << "\n";
      PrintKey(out, path, true);
    } else {
      out << "    " << subkey << "\\\n";
    }
  }
}

int RegQuery(Console& console, const std::string& key, const std::string* name, bool recursive) {
  if (!VSRegIsKeyPath(key.c_str())) return NoRoot(console, "query", key);
  if (!VSRegKeyExists(key.c_str())) return Fail(console, "reg query: " + key + ": " + Problem("no such key"));
  if (name != nullptr) {
    Value value;
    if (!ReadValue(key, *name, &value)) {
      return Fail(console, "reg query: " + key + ": " + Problem("no value " + (name->empty() ? "(default)" : *name)));
    }
    console.out << key << "\n";
    PrintValue(console.out, *name, value);
    return Finish(console, kExitOk);
  }
  PrintKey(console.out, key, recursive);
  return Finish(console, kExitOk);
}

int RegSet(Console& console, const std::string& key, const std::string& name, const std::string& text,
           const std::string& type) {
  if (!VSRegIsKeyPath(key.c_str())) return NoRoot(console, "set", key);
  Value value;
  std::string why;
  if (!Encode(type, text, &value, &why)) {
    console.err << "vesta: reg set: " << text << ": " << why << "\n";
    return kExitUsage;
  }
  if (!VSRegWriteValue(key.c_str(), name.c_str(), value.type, value.data.data(), static_cast<int>(value.data.size()))) {
    return Fail(console, "reg set: " + key + ": cannot write " + (name.empty() ? "(default)" : name) + ": " +
                             Problem("refused"));
  }
  console.out << key << "\n";
  PrintValue(console.out, name, value);
  return Finish(console, kExitOk);
}

int RegDelete(Console& console, const std::string& key, const std::string* name) {
  if (!VSRegIsKeyPath(key.c_str())) return NoRoot(console, "delete", key);
  if (!VSRegKeyExists(key.c_str())) return Fail(console, "reg delete: " + key + ": " + Problem("no such key"));
  if (name != nullptr) {
    if (!VSRegDeleteValue(key.c_str(), name->c_str())) {
      return Fail(console, "reg delete: " + key + ": " + Problem("no value " + (name->empty() ? "(default)" : *name)));
    }
    console.out << "deleted " << key << " " << (name->empty() ? "(default)" : *name) << "\n";
    return Finish(console, kExitOk);
  }
  if (key.find('\\') == std::string::npos) return Fail(console, "reg delete: " + key + ": a root key is never deleted");
  if (!VSRegDeleteKeyTree(key.c_str())) return Fail(console, "reg delete: " + key + ": " + Problem("cannot be deleted"));
  console.out << "deleted " << key << " with everything below it\n";
  return Finish(console, kExitOk);
}

int RegImport(Console& console, const std::string& file) {
  if (!VSFileExists(file.c_str())) return Fail(console, "reg import: " + file + ": no such file");
  if (!VSRegImportFile(file.c_str())) return Fail(console, "reg import: " + file + ": " + Problem("not applied"));
  console.out << "imported " << file << "\n";
  return Finish(console, kExitOk);
}

int RegExport(Console& console, const std::string& key, const std::string& file, const std::string& format) {
  if (!VSRegIsKeyPath(key.c_str())) return NoRoot(console, "export", key);
  if (!VSRegKeyExists(key.c_str())) return Fail(console, "reg export: " + key + ": " + Problem("no such key"));
  Attempt();
  int chosen = format == "v5" ? kVSRegFileVersion5 : kVSRegFileRegedit4;
  if (!VSRegExportFile(key.c_str(), file.c_str(), chosen)) {
    return Fail(console, "reg export: cannot write " + FileProblem(file) + "; " + Problem(""));
  }
  console.out << "exported " << key << " to " << file << "\n";
  return Finish(console, kExitOk);
}

class QueryCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("KEY", key_, "The key, root first (HKEY_CURRENT_USER\\Software\\...)")->required()->check(kNamed);
    named_ = node.add_option("NAME", name_, "One value (\"\" for the default value)");
    node.add_flag("--recursive,-r", recursive_, "The subkeys' values too, all the way down");
    node.footer(Example("vesta reg query HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion Home"));
  }
  int Run(Console& console) const override {
    return RegQuery(console, key_, named_->count() > 0 ? &name_ : nullptr, recursive_);
  }

 private:
  std::string key_;
  std::string name_;
  const CLI::Option* named_ = nullptr;
  bool recursive_ = false;
};

class SetCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("KEY", key_, "The key")->required()->check(kNamed);
    node.add_option("NAME", name_, "The value's name (\"\" for the default value)")->required();
    node.add_option("VALUE", value_, "The data")->required();
    node.add_option("--type,-t", type_,
                    "sz, expand_sz, multi_sz (entries split by \\0), dword, qword (decimal or 0x...), "
                    "binary (hex bytes)")
        ->check(CLI::IsMember({"sz", "expand_sz", "multi_sz", "dword", "qword", "binary"}));
    node.footer(
        Example("vesta reg set HKEY_CURRENT_USER\\Software\\vesta3d\\Vesta\\CurrentVersion Desktop C:\\Users\\Public\\Desktop"));
  }
  int Run(Console& console) const override { return RegSet(console, key_, name_, value_, type_); }

 private:
  std::string key_;
  std::string name_;
  std::string value_;
  std::string type_ = "sz";
};

class DeleteCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("KEY", key_, "The key")->required()->check(kNamed);
    named_ = node.add_option("NAME", name_, "The value (without it: the whole key)");
    node.footer(Example("vesta reg delete HKEY_CURRENT_USER\\Software\\Zentrix-3D"));
  }
  int Run(Console& console) const override { return RegDelete(console, key_, named_->count() > 0 ? &name_ : nullptr); }

 private:
  std::string key_;
  std::string name_;
  const CLI::Option* named_ = nullptr;
};

class ImportCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("FILE", file_, "The registry file")->required()->check(kNamed);
    node.footer(Example("vesta reg import saved.reg"));
  }
  int Run(Console& console) const override { return RegImport(console, file_); }

 private:
  std::string file_;
};

class ExportCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("KEY", key_, "The key")->required()->check(kNamed);
    node.add_option("FILE", file_, "The registry file")->required()->check(kNamed);
    node.add_option("--format,-f", format_, "regedit4 or v5")->check(CLI::IsMember({"regedit4", "v5"}));
    node.footer(Example("vesta reg export HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d saved.reg"));
  }
  int Run(Console& console) const override { return RegExport(console, key_, file_, format_); }

 private:
  std::string key_;
  std::string file_;
  std::string format_ = "regedit4";
};

}  // namespace

const CommandEntry kRegGroup{
    nullptr, "reg", "Read and change the registry", [](const Command*) -> std::unique_ptr<Command> {
      return std::make_unique<Group>(
          "KEY begins with a root: HKEY_CURRENT_USER or HKCU, HKEY_LOCAL_MACHINE or HKLM, HKEY_CLASSES_ROOT or\n"
          "HKCR, HKEY_USERS or HKU, HKEY_CURRENT_CONFIG or HKCC." +
          Example("vesta reg query HKLM\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion"));
    }};
const CommandEntry kRegQuery{"reg", "query", "A key's values and subkeys, or one value", Make<QueryCommand>};
const CommandEntry kRegSet{"reg", "set", "Write a value (the key is made when missing)", Make<SetCommand>};
const CommandEntry kRegDelete{"reg", "delete", "Delete a value, or a key with everything below it", Make<DeleteCommand>};
const CommandEntry kRegImport{"reg", "import", "Apply a registry file (.reg) to the registry", Make<ImportCommand>};
const CommandEntry kRegExport{"reg", "export", "Write a key and everything below it to a registry file",
                              Make<ExportCommand>};

}  // namespace vesta::tool
