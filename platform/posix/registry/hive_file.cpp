#include "platform/posix/registry/hive_file.h"

#include <unordered_map>

namespace vesta::platform::posix {
namespace {

const char kHeader[] = "REGEDIT4";
const char kUnicodeHeader[] = "Windows Registry Editor Version 5.00";
const char kByteOrderMark[] = "\xEF\xBB\xBF";

char Capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string TrimRight(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && IsBlank(line[end - 1])) --end;
  return line.substr(0, end);
}

size_t SkipBlanks(const std::string& line, size_t pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  return pos;
}

// True when line has word at pos, without regard to case.
bool HasWordAt(const std::string& line, size_t pos, const char* word) {
  for (; *word != '\0'; ++word, ++pos) {
    if (pos >= line.size() || Capital(line[pos]) != Capital(*word)) return false;
  }
  return true;
}

// The length of the type prefix of data at pos ("dword:", "hex:",
// "hex(2):"), or 0 when there is none.
size_t TypePrefixAt(const std::string& line, size_t pos) {
  if (HasWordAt(line, pos, "dword:")) return 6;
  if (HasWordAt(line, pos, "hex:")) return 4;
  if (!HasWordAt(line, pos, "hex(")) return 0;
  size_t end = pos + 4;
  while (end < line.size() && IsHexDigit(line[end]) && end - pos - 4 < 8) ++end;
  if (end == pos + 4 || !HasWordAt(line, end, "):")) return 0;
  return end + 2 - pos;
}

// Line by line through the text, counting from 1.
class LineReader {
 public:
  explicit LineReader(const std::string& text) : text_(text) {}

  bool Next(std::string* line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    *line = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  int Number() const { return number_ == 0 ? 1 : number_; }

 private:
  const std::string& text_;
  size_t pos_ = 0;
  int number_ = 0;
};

class Parser {
 public:
  Parser(const std::string& text, const std::string& rootName, Hive* hive)
      : lines_(text), rootName_(rootName), hive_(hive) {}

  bool Parse(HiveSyntaxError* error) {
    hive_->keys.clear();
    bool ok = ParseHeader() && ParseBody();
    if (!ok) {
      error->line = lines_.Number();
      error->what = what_;
    }
    return ok;
  }

 private:
  bool Fail(const char* what) {
    what_ = what;
    return false;
  }

  bool ParseHeader() {
    std::string line;
    if (!lines_.Next(&line)) return Fail("empty file (expected the header REGEDIT4)");
    if (line.compare(0, 3, kByteOrderMark) == 0) line.erase(0, 3);
    line = TrimRight(line);
    if (line != kHeader && line != kUnicodeHeader) return Fail("not a registry file (expected the header REGEDIT4)");
    return true;
  }

  bool ParseBody() {
    std::string line;
    while (lines_.Next(&line)) {
      line = TrimRight(line);
      size_t start = SkipBlanks(line, 0);
      if (start == line.size() || line[start] == ';') continue;
      bool ok;
      if (line[start] == '[') {
        ok = ParseKey(line.substr(start));
      } else if (line[start] == '"' || line[start] == '@') {
        ok = ParseValue(line, start);
      } else {
        ok = Fail("not a key, value or comment line");
      }
      if (!ok) return false;
    }
    return true;
  }

  bool ParseKey(const std::string& line) {
    if (line.size() < 2 || line.back() != ']') return Fail("key line without a closing \"]\"");
    std::string inner = line.substr(1, line.size() - 2);
    if (!inner.empty() && inner[0] == '-') return Fail("key deletion (\"[-\") in a hive");
    size_t slash = inner.find('\\');
    if (!SameName(inner.substr(0, slash), rootName_)) return Fail("key of another root");
    std::string path = slash == std::string::npos ? std::string() : inner.substr(slash + 1);
    if (slash != std::string::npos &&
        (path.empty() || path[0] == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos)) {
      return Fail("empty key name");
    }
    std::string folded = FoldName(path);
    auto found = keyIndex_.find(folded);
    if (found != keyIndex_.end()) {
      current_ = found->second;
    } else {
      current_ = hive_->keys.size();
      keyIndex_.emplace(folded, current_);
      hive_->keys.push_back(HiveKey{path, {}});
    }
    return true;
  }

  bool ParseValue(const std::string& line, size_t pos) {
    if (current_ == kNoKey) return Fail("value outside any key");
    HiveValue value;
    if (line[pos] == '@') {
      ++pos;
    } else if (!ReadQuoted(line, &pos, &value.name)) {
      return false;
    }
    pos = SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != '=') return Fail("expected \"=\" after the value name");
    pos = SkipBlanks(line, pos + 1);
    if (pos >= line.size()) return Fail("value without data");
    if (line[pos] == '"') {
      if (!ReadQuoted(line, &pos, &value.data)) return false;
      if (pos != line.size()) return Fail("text after the closing quote");
    } else if (line[pos] == '-') {
      return Fail("value deletion (\"=-\") in a hive");
    } else {
      value.isString = false;
      if (!ReadOtherType(line, pos, &value.data)) return false;
    }
    Store(std::move(value));
    return true;
  }

  // Reads "..." at *pos, with \\ and \" as the only escapes.
  bool ReadQuoted(const std::string& line, size_t* pos, std::string* out) {
    for (size_t i = *pos + 1; i < line.size(); ++i) {
      char c = line[i];
      if (c == '"') {
        *pos = i + 1;
        return true;
      }
      if (c == '\\') {
        if (i + 1 >= line.size()) break;
        c = line[++i];
        if (c != '\\' && c != '"') return Fail("bad escape (only \\\\ and \\\" are allowed)");
      }
      out->push_back(c);
    }
    return Fail("unterminated quote");
  }

  // Data of another type, kept as written from pos on, with its
  // continuation lines (those after a line that ends in a back-slash).
  bool ReadOtherType(const std::string& line, size_t pos, std::string* raw) {
    size_t prefix = TypePrefixAt(line, pos);
    if (prefix == 0) return Fail("value of unknown type");
    *raw = line.substr(pos);
    if (HasWordAt(line, pos, "dword:")) {
      size_t digits = raw->size() - prefix;
      for (size_t i = prefix; i < raw->size(); ++i) {
        if (!IsHexDigit((*raw)[i])) digits = 0;
      }
      if (digits == 0 || digits > 8) return Fail("bad dword (expected up to 8 hex digits)");
      return true;
    }
    std::string part = raw->substr(prefix);
    while (true) {
      if (!IsByteList(part)) return Fail("bad hex data (expected bytes like 0a,1f)");
      if (part.empty() || part.back() != '\\') return true;
      std::string next;
      if (!lines_.Next(&next)) return Fail("value continues past the end of the file");
      part = TrimRight(next);
      *raw += '\n';
      *raw += part;
    }
  }

  // Hex digits, commas and blanks, and perhaps a final back-slash.
  static bool IsByteList(const std::string& part) {
    for (size_t i = 0; i < part.size(); ++i) {
      char c = part[i];
      bool ok = IsHexDigit(c) || c == ',' || c == ' ' || c == '\t' || (c == '\\' && i + 1 == part.size());
      if (!ok) return false;
    }
    return true;
  }

  // A value named again replaces the data and keeps the first spelling.
  void Store(HiveValue value) {
    HiveKey& key = hive_->keys[current_];
    for (HiveValue& old : key.values) {
      if (SameName(old.name, value.name)) {
        old.isString = value.isString;
        old.data = std::move(value.data);
        return;
      }
    }
    key.values.push_back(std::move(value));
  }

  static constexpr size_t kNoKey = static_cast<size_t>(-1);

  LineReader lines_;
  const std::string& rootName_;
  Hive* hive_;
  std::unordered_map<std::string, size_t> keyIndex_;  // folded path to index
  size_t current_ = kNoKey;
  std::string what_;
};

void AppendQuoted(const std::string& text, std::string* out) {
  out->push_back('"');
  for (char c : text) {
    if (c == '\\' || c == '"') out->push_back('\\');
    out->push_back(c);
  }
  out->push_back('"');
}

}  // namespace

bool ParseHive(const std::string& text, const std::string& rootName, Hive* hive,
               HiveSyntaxError* error) {
  return Parser(text, rootName, hive).Parse(error);
}

std::string WriteHive(const Hive& hive, const std::string& rootName) {
  std::string out = kHeader;
  out += '\n';
  for (const HiveKey& key : hive.keys) {
    out += "\n[";
    out += rootName;
    if (!key.path.empty()) {
      out += '\\';
      out += key.path;
    }
    out += "]\n";
    for (const HiveValue& value : key.values) {
      if (value.name.empty()) {
        out += '@';
      } else {
        AppendQuoted(value.name, &out);
      }
      out += '=';
      if (value.isString) {
        AppendQuoted(value.data, &out);
      } else {
        out += value.data;
      }
      out += '\n';
    }
  }
  out += '\n';
  return out;
}

}  // namespace vesta::platform::posix
