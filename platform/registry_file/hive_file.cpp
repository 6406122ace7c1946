#include "platform/registry_file/hive_file.h"

#include <cstdio>
#include <string_view>

#include "platform/code_page.h"
#include "platform/windows_names.h"

namespace vesta::platform::regfile {
namespace {

const char kHeader4[] = "REGEDIT4";
const char kHeader5[] = "Windows Registry Editor Version 5.00";
const char kByteOrderMark[] = "\xEF\xBB\xBF";  // in the 8-bit text of any Unicode file
const char kNotRegistry[] = "not a registry file (expected the header REGEDIT4 or Windows Registry Editor Version 5.00)";
// The registry editor ends a line of hex data once it holds this many
// characters, and goes on after two blanks.
constexpr size_t kHexLineWidth = 77;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned HexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  return static_cast<unsigned>(FoldedLetter(c) - 'A' + 10);
}

std::string TrimRight(std::string_view line) {
  size_t end = line.size();
  while (end > 0 && IsBlank(line[end - 1])) --end;
  return std::string(line.substr(0, end));
}

size_t SkipBlanks(const std::string& line, size_t pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  return pos;
}

// True when line has word at pos, without regard to case.
bool HasWordAt(const std::string& line, size_t pos, const char* word) {
  for (; *word != '\0'; ++word, ++pos) {
    if (pos >= line.size() || FoldedLetter(line[pos]) != FoldedLetter(*word)) return false;
  }
  return true;
}

// True when nothing but blanks and perhaps a comment follows pos.
bool EndsAt(const std::string& line, size_t pos) {
  pos = SkipBlanks(line, pos);
  return pos == line.size() || line[pos] == ';';
}

std::u16string HiveTextToUtf16(const Hive& hive, const std::string& text) {
  return hive.encoding == HiveEncoding::kAnsi ? AnsiToUtf16(text) : Utf8ToUtf16(text);
}

// The data of a string type as the registry holds it, from the bytes of a
// hex list: under REGEDIT4 they are code page text.
std::string StringTypeData(const Hive& hive, std::uint32_t type, const std::string& bytes) {
  bool isText = type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
  return isText && !hive.unicode ? Utf16LeBytes(AnsiToUtf16(bytes)) : bytes;
}

// One physical line of the text, with its line end.
struct PhysicalLine {
  std::string_view text;
  std::string_view content;  // without the line end ("\n" or "\r\n")
};

// The physical line of text that starts at pos.
PhysicalLine LineAt(std::string_view text, size_t pos) {
  size_t end = text.find('\n', pos);
  const size_t next = end == std::string_view::npos ? text.size() : end + 1;
  if (end == std::string_view::npos) end = text.size();
  if (end > pos && end < text.size() && text[end - 1] == '\r') --end;
  return PhysicalLine{text.substr(pos, next - pos), text.substr(pos, end - pos)};
}

// A hive holds at most one entry (a line, a value with its continuation
// lines, or a run of blank lines) for every this many bytes of its text,
// and a few more: each entry costs some hundred bytes, so that a file of
// short lines would otherwise take hundreds of times its size.
constexpr size_t kBytesPerEntry = 8;
constexpr size_t kFewEntries = 64;

class Parser {
 public:
  Parser(Hive* hive, bool importFile) : hive_(hive), import_(importFile) {}

  bool Parse(const std::string& bytes, HiveSyntaxError* error) {
    hive_->lines.clear();
    hive_->tail.clear();
    std::string text;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
      hive_->encoding = HiveEncoding::kUtf16;
      text = Utf16ToUtf8(Utf16LeUnits(bytes));
      if (bytes.size() % 2 != 0) hive_->tail = bytes.substr(bytes.size() - 1);
    } else {
      text = bytes;
    }
    text_ = std::move(text);
    if (text_.empty()) return Fail(error, "empty file (expected the header REGEDIT4)");
    const PhysicalLine first = LineAt(text_, 0);
    std::string header = TrimRight(first.content);
    bool marked = header.compare(0, 3, kByteOrderMark) == 0;
    if (marked) header.erase(0, 3);
    if (header != kHeader4 && header != kHeader5) return Fail(error, kNotRegistry);
    hive_->unicode = header == kHeader5;
    if (hive_->encoding != HiveEncoding::kUtf16) {
      hive_->encoding = marked || hive_->unicode ? HiveEncoding::kUtf8 : HiveEncoding::kAnsi;
    }
    // Lines added end as the header does.
    hive_->newline = std::string(first.text.substr(first.content.size()));
    if (hive_->newline.empty()) hive_->newline = hive_->encoding == HiveEncoding::kUtf16 ? "\r\n" : "\n";
    pos_ = 0;
    number_ = 0;
    Add(Next(), HiveLine::Kind::kHeader);
    const size_t most = text_.size() / kBytesPerEntry + kFewEntries;
    while (pos_ < text_.size()) {
      ParseLine();
      if (hive_->lines.size() > most) {
        hive_->lines.clear();
        error->line = number_;
        error->what = "more lines than a registry file of " + std::to_string(text_.size()) + " bytes may hold";
        return false;
      }
    }
    return true;
  }

 private:
  bool Fail(HiveSyntaxError* error, const char* what) {
    error->line = 1;
    error->what = what;
    return false;
  }

  // The next physical line, which it passes.
  PhysicalLine Next() {
    const PhysicalLine line = LineAt(text_, pos_);
    pos_ += line.text.size();
    ++number_;
    return line;
  }

  // Adds the physical line just passed as a line of the hive.
  HiveLine& Add(const PhysicalLine& physical, HiveLine::Kind kind) {
    HiveLine line;
    line.kind = kind;
    line.text = std::string(physical.text);
    line.number = number_;
    hive_->lines.push_back(std::move(line));
    return hive_->lines.back();
  }

  void ParseLine() {
    const PhysicalLine physical = Next();
    const std::string line = TrimRight(physical.content);
    const size_t start = SkipBlanks(line, 0);
    if (start == line.size() && hive_->lines.back().kind == HiveLine::Kind::kBlank) {
      // A run of blank lines is one entry.
      hive_->lines.back().text += physical.text;
    } else if (start == line.size()) {
      Add(physical, HiveLine::Kind::kBlank);
    } else if (line[start] == ';') {
      Add(physical, HiveLine::Kind::kComment);
    } else if (line[start] == '[') {
      ParseKey(physical, line.substr(start));
    } else if (line[start] == '"' || line[start] == '@') {
      ParseValue(physical, line, start);
    } else {
      Add(physical, HiveLine::Kind::kOther).problem = "not a key, value or comment line";
    }
  }

  void ParseKey(const PhysicalLine& physical, const std::string& line) {
    HiveLine& key = Add(physical, HiveLine::Kind::kKey);
    inKey_ = false;
    if (line.size() < 2 || line.back() != ']') {
      key.problem = "key line without a closing \"]\"";
      return;
    }
    std::string inner = line.substr(1, line.size() - 2);
    if (!inner.empty() && inner[0] == '-') {
      key.kind = HiveLine::Kind::kDeleteKey;
      inner.erase(0, 1);
    }
    size_t slash = inner.find('\\');
    key.root = inner.substr(0, slash);
    if (slash != std::string::npos) {
      std::string path = inner.substr(slash + 1);
      if (path.empty() || path[0] == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos) {
        key.problem = "empty key name";
        return;
      }
      key.path = HiveTextToUtf8(*hive_, path);
      // Nothing is built from a key beyond the registry's limits.
      if (std::string problem = KeyPathProblem(key.path); !problem.empty()) {
        key.problem = problem;
        key.path.clear();
        return;
      }
    }
    if (key.root.empty()) {
      key.problem = "key line without a root key";
    } else if (!import_ && !SameName(key.root, hive_->root)) {
      key.problem = "key of another root";
    } else if (!import_ && key.kind == HiveLine::Kind::kDeleteKey) {
      key.problem = "key deletion (\"[-\") in a hive";
    } else {
      inKey_ = key.kind == HiveLine::Kind::kKey;
    }
  }

  void ParseValue(const PhysicalLine& physical, const std::string& line, size_t pos) {
    HiveLine& value = Add(physical, HiveLine::Kind::kValue);
    value.problem = ReadValue(line, pos, &value);
    if (!value.problem.empty()) return;
    if (!inKey_) {
      value.problem = "value outside a key that is read";
    } else if (!import_ && value.kind == HiveLine::Kind::kDeleteValue) {
      value.problem = "value deletion (\"=-\") in a hive";
    }
  }

  // Reads the value at pos into *value; returns the problem, or "".
  std::string ReadValue(const std::string& line, size_t pos, HiveLine* value) {
    std::string name;
    if (line[pos] == '@') {
      ++pos;
    } else if (std::string problem = ReadQuoted(line, &pos, &name); !problem.empty()) {
      return problem;
    }
    value->value.name = HiveTextToUtf8(*hive_, name);
    if (std::string problem = ValueNameProblem(value->value.name); !problem.empty()) {
      value->value.name.clear();
      return problem;
    }
    pos = SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') return "expected \"=\" after the value name";
    pos = SkipBlanks(line, pos + 1);
    if (pos >= line.size()) return "value without data";
    if (line[pos] == '"') {
      std::string text;
      if (std::string problem = ReadQuoted(line, &pos, &text); !problem.empty()) return problem;
      if (!EndsAt(line, pos)) return "text after the closing quote";
      value->value.type = kRegSz;
      value->value.data = Utf16LeBytes(HiveTextToUtf16(*hive_, text) + u'\0');
      return "";
    }
    if (line[pos] == '-' && EndsAt(line, pos + 1)) {
      value->kind = HiveLine::Kind::kDeleteValue;
      return "";
    }
    if (HasWordAt(line, pos, "dword:")) return ReadDword(line, pos + 6, &value->value);
    return ReadHex(line, pos, value);
  }

  // Reads "..." at *pos, with \\, \", \n and \r as the escapes.
  static std::string ReadQuoted(const std::string& line, size_t* pos, std::string* out) {
    for (size_t i = *pos + 1; i < line.size(); ++i) {
      char c = line[i];
      if (c == '"') {
        *pos = i + 1;
        return "";
      }
      if (c == '\\') {
        if (i + 1 >= line.size()) break;
        c = line[++i];
        if (c == 'n') {
          c = '\n';
        } else if (c == 'r') {
          c = '\r';
        } else if (c != '\\' && c != '"') {
          return "bad escape (only \\\\, \\\", \\n and \\r are allowed)";
        }
      }
      out->push_back(c);
    }
    return "unterminated quote";
  }

  static std::string ReadDword(const std::string& line, size_t pos, HiveValue* value) {
    std::uint32_t number = 0;
    size_t digits = 0;
    for (; pos < line.size() && IsHexDigit(line[pos]); ++pos, ++digits) number = number << 4 | HexValue(line[pos]);
    if (digits == 0 || digits > 8 || !EndsAt(line, pos)) return "bad dword (expected up to 8 hex digits)";
    value->type = kRegDword;
    value->data.clear();
    for (int shift = 0; shift < 32; shift += 8) value->data += static_cast<char>(number >> shift & 0xFF);
    return "";
  }

  // hex:... or hex(type):..., with the continuation lines that follow a
  // line ending in a back-slash.
  std::string ReadHex(const std::string& line, size_t pos, HiveLine* value) {
    std::uint32_t type = kRegBinary;
    if (HasWordAt(line, pos, "hex(")) {
      pos += 4;
      type = 0;
      size_t digits = 0;
      for (; pos < line.size() && IsHexDigit(line[pos]) && digits < 8; ++pos, ++digits) {
        type = type << 4 | HexValue(line[pos]);
      }
      if (digits == 0 || !HasWordAt(line, pos, "):")) return "value of unknown type";
      pos += 2;
    } else if (HasWordAt(line, pos, "hex:")) {
      pos += 4;
    } else {
      return "value of unknown type";
    }
    std::string list = line.substr(pos);
    while (!list.empty() && list.back() == '\\' && list.find(';') == std::string::npos) {
      list.pop_back();
      // A continuation line holds bytes; anything else ends the file's
      // value there, and is read as a line of its own.
      const PhysicalLine following = pos_ < text_.size() ? LineAt(text_, pos_) : PhysicalLine();
      const std::string next = TrimRight(following.content);
      const size_t start = SkipBlanks(next, 0);
      if (start == next.size() || !(IsHexDigit(next[start]) || next[start] == ',' || next[start] == '\\')) {
        return "hex data cut short (a continuation line is missing)";
      }
      value->text += Next().text;
      list += next.substr(start);
    }
    std::string bytes;
    if (!ReadByteList(list.substr(0, list.find(';')), &bytes)) return "bad hex data (expected bytes like 0a,1f)";
    value->value.type = type;
    value->value.data = StringTypeData(*hive_, type, bytes);
    return "";
  }

  // Bytes of one or two hex digits, separated by commas; blanks around
  // them and a final comma are allowed.
  static bool ReadByteList(const std::string& list, std::string* bytes) {
    size_t pos = SkipBlanks(list, 0);
    while (pos < list.size()) {
      unsigned byte = 0;
      size_t digits = 0;
      for (; pos < list.size() && IsHexDigit(list[pos]); ++pos, ++digits) byte = byte << 4 | HexValue(list[pos]);
      if (digits == 0 || digits > 2) return false;
      bytes->push_back(static_cast<char>(byte));
      pos = SkipBlanks(list, pos);
      if (pos == list.size()) break;
      if (list[pos] != ',') return false;
      pos = SkipBlanks(list, pos + 1);
    }
    return true;
  }

  Hive* hive_;
  bool import_;
  std::string text_;  // the file's text, 8-bit
  size_t pos_ = 0;    // where the next physical line starts
  int number_ = 0;    // of the line passed last
  bool inKey_ = false;  // below a key line that is read
};

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      if (c == '\\' || c == '"') out += '\\';
      out += c;
    }
  }
  return out;
}

}  // namespace

bool PlainStringText(const HiveValue& value, std::u16string* text) {
  if (value.type != kRegSz || value.data.size() % 2 != 0) return false;
  std::u16string units = Utf16LeUnits(value.data);
  if (units.empty() || units.back() != u'\0') return false;
  units.pop_back();
  static const char16_t kNotBetweenQuotes[] = {u'\r', u'\n', u'\0'};
  if (units.find_first_of(kNotBetweenQuotes, 0, 3) != std::u16string::npos) return false;
  *text = units;
  return true;
}

bool ParseHive(const std::string& bytes, const std::string& rootName, Hive* hive, HiveSyntaxError* error) {
  hive->root = rootName;
  return Parser(hive, false).Parse(bytes, error);
}

bool ParseImportFile(const std::string& bytes, Hive* hive, HiveSyntaxError* error) {
  hive->root.clear();
  return Parser(hive, true).Parse(bytes, error);
}

std::string WriteHive(const Hive& hive) {
  std::string text;
  for (const HiveLine& line : hive.lines) text += line.text;
  if (hive.encoding == HiveEncoding::kUtf16) text = Utf16LeBytes(Utf8ToUtf16(text));
  return text + hive.tail;
}

const HiveLine* FirstProblem(const Hive& hive) {
  for (const HiveLine& line : hive.lines) {
    if (!line.problem.empty()) return &line;
  }
  return nullptr;
}

std::string KeyLineText(const Hive& hive, const std::string& path) {
  return Utf8ToHiveText(hive, "[" + hive.root + (path.empty() ? "" : "\\" + path) + "]") + hive.newline;
}

std::string ValueLineText(const Hive& hive, const HiveValue& value) {
  std::string line = value.name.empty() ? std::string("@=") : "\"" + Escaped(value.name) + "\"=";
  std::u16string text;
  if (PlainStringText(value, &text)) {
    line += "\"" + Escaped(Utf16ToUtf8(text)) + "\"";
  } else if (value.type == kRegDword && value.data.size() == 4) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%02x%02x%02x%02x", static_cast<unsigned char>(value.data[3]),
                  static_cast<unsigned char>(value.data[2]), static_cast<unsigned char>(value.data[1]),
                  static_cast<unsigned char>(value.data[0]));
    line += std::string("dword:") + digits;
  } else {
    char type[20] = "hex:";
    if (value.type != kRegBinary) std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(value.type));
    bool isText = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
    const std::string bytes = isText && !hive.unicode ? Utf16ToAnsi(Utf16LeUnits(value.data)) : value.data;
    // Counted in characters, as the registry editor counts them.
    size_t width = Utf8ToUtf16(line).size();
    line += type;
    width += std::char_traits<char>::length(type);
    for (size_t i = 0; i < bytes.size(); ++i) {
      char byte[3];
      std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(bytes[i]));
      line += byte;
      if (i + 1 == bytes.size()) break;
      line += ',';
      width += 3;
      if (width >= kHexLineWidth) {
        line += "\\" + hive.newline + "  ";
        width = 2;
      }
    }
  }
  return Utf8ToHiveText(hive, line) + hive.newline;
}

Hive NewExportFile(bool unicode) {
  Hive hive;
  hive.unicode = unicode;
  hive.encoding = unicode ? HiveEncoding::kUtf16 : HiveEncoding::kAnsi;
  hive.newline = "\r\n";
  HiveLine header;
  header.kind = HiveLine::Kind::kHeader;
  header.text = unicode ? std::string(kByteOrderMark) + kHeader5 + "\r\n" : std::string(kHeader4) + "\r\n";
  header.number = 1;
  hive.lines.push_back(std::move(header));
  HiveLine blank;
  blank.kind = HiveLine::Kind::kBlank;
  blank.text = hive.newline;
  hive.lines.push_back(std::move(blank));
  return hive;
}

std::string AppendExportKey(Hive* hive, const std::string& keyName, const std::vector<HiveValue>& values) {
  // The key's name holds its root; the limits count below it.
  const size_t slash = keyName.find('\\');
  std::string problem = KeyProblem(*hive, slash == std::string::npos ? std::string() : keyName.substr(slash + 1));
  for (const HiveValue& value : values) {
    if (problem.empty()) problem = ValueProblem(*hive, value);
  }
  if (!problem.empty()) return keyName + ": " + problem;
  HiveLine key;
  key.kind = HiveLine::Kind::kKey;
  key.text = Utf8ToHiveText(*hive, "[" + keyName + "]") + hive->newline;
  key.root = keyName.substr(0, slash);
  key.path = slash == std::string::npos ? std::string() : keyName.substr(slash + 1);
  hive->lines.push_back(std::move(key));
  for (const HiveValue& value : values) {
    HiveLine line;
    line.kind = HiveLine::Kind::kValue;
    line.text = ValueLineText(*hive, value);
    line.value = value;
    hive->lines.push_back(std::move(line));
  }
  HiveLine blank;
  blank.kind = HiveLine::Kind::kBlank;
  blank.text = hive->newline;
  hive->lines.push_back(std::move(blank));
  return std::string();
}

std::string HiveTextToUtf8(const Hive& hive, const std::string& text) {
  return hive.encoding == HiveEncoding::kAnsi ? Utf16ToUtf8(AnsiToUtf16(text)) : text;
}

std::string Utf8ToHiveText(const Hive& hive, const std::string& text) {
  return hive.encoding == HiveEncoding::kAnsi ? Utf16ToAnsi(Utf8ToUtf16(text)) : text;
}

}  // namespace vesta::platform::regfile
