#include "platform/registry_file/hive.h"

#include <algorithm>

#include "platform/code_page.h"
#include "platform/registry_file/hive_file.h"
#include "platform/windows_names.h"

namespace vesta::platform::regfile {
namespace {

using Kind = HiveLine::Kind;

// "path\" for a key, "" for the root: what the paths of its subkeys begin with.
std::string SubkeyPrefix(const std::string& path) { return path.empty() ? path : path + '\\'; }

bool IsBelow(const std::string& path, const std::string& parent) {
  const std::string prefix = SubkeyPrefix(parent);
  return path.size() > prefix.size() && NameStartsWith(path, prefix);
}

bool IsReadKey(const HiveLine& line) { return line.kind == Kind::kKey && line.problem.empty(); }
bool IsReadValue(const HiveLine& line) { return line.kind == Kind::kValue && line.problem.empty(); }
// A key line, read or not, ends the values of the key before it.
bool EndsSection(const HiveLine& line) { return line.kind == Kind::kKey || line.kind == Kind::kDeleteKey; }

// Just past the values of the key line at start: the next key line, or the
// end.
size_t SectionEnd(const Hive& hive, size_t start) {
  size_t end = start + 1;
  while (end < hive.lines.size() && !EndsSection(hive.lines[end])) ++end;
  return end;
}

bool HasSubkeys(const Hive& hive, const std::string& path) {
  return std::any_of(hive.lines.begin(), hive.lines.end(),
                     [&](const HiveLine& line) { return IsReadKey(line) && IsBelow(line.path, path); });
}

// Gives the line before index a line end, so that a line can follow it.
void EndLineBefore(Hive* hive, size_t index) {
  if (index == 0) return;
  std::string& text = hive->lines[index - 1].text;
  if (text.empty() || text.back() != '\n') text += hive->newline;
}

HiveLine AddedLine(Kind kind, std::string text) {
  HiveLine line;
  line.kind = kind;
  line.text = std::move(text);
  return line;
}

// A key line of path and the blank line after it, at index, after a blank
// line of its own unless one comes before. Returns the key line's index.
size_t InsertKeyLine(Hive* hive, size_t at, const std::string& path) {
  EndLineBefore(hive, at);
  std::vector<HiveLine> added;
  if (at > 0 && hive->lines[at - 1].kind != Kind::kBlank) added.push_back(AddedLine(Kind::kBlank, hive->newline));
  HiveLine key = AddedLine(Kind::kKey, KeyLineText(*hive, path));
  key.root = hive->root;
  key.path = path;
  added.push_back(std::move(key));
  added.push_back(AddedLine(Kind::kBlank, hive->newline));
  hive->lines.insert(hive->lines.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
  return at + added.size() - 2;
}

// The names of a key path below the root.
std::vector<std::string> NamesOf(const std::string& path) {
  std::vector<std::string> names;
  for (size_t start = 0; !path.empty();) {
    const size_t slash = path.find('\\', start);
    names.push_back(path.substr(start, slash == std::string::npos ? slash : slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return names;
}

// The name at level (from 0) of a key path.
std::string NameAt(const std::string& path, size_t level) {
  size_t start = 0;
  for (; level > 0; --level) start = path.find('\\', start) + 1;
  const size_t slash = path.find('\\', start);
  return path.substr(start, slash == std::string::npos ? slash : slash - start);
}

// How a line stands to a key path: for a key line that is read, how many
// names its own path has, and how many of the first of them are the
// path's.
struct Relation {
  bool key = false;
  size_t names = 0;
  size_t shared = 0;
};

Relation RelationOf(const HiveLine& line, const std::vector<std::string>& names) {
  Relation relation;
  if (!IsReadKey(line)) return relation;
  relation.key = true;
  bool sharing = true;
  for (size_t start = 0; !line.path.empty(); ++relation.names) {
    const size_t slash = line.path.find('\\', start);
    const size_t end = slash == std::string::npos ? line.path.size() : slash;
    if (sharing && relation.names < names.size() && names[relation.names].size() == end - start &&
        NameStartsWith(line.path.substr(start, end - start), names[relation.names])) {
      ++relation.shared;
    } else {
      sharing = false;
    }
    if (slash == std::string::npos) {
      ++relation.names;
      break;
    }
    start = slash + 1;
  }
  return relation;
}

// Removes the key lines whose path matches, with the lines of their values;
// lines that are not read stay, so that no text is lost. True when any
// went.
template <typename Matches>
bool RemoveKeyLines(Hive* hive, Matches matches) {
  std::vector<HiveLine> kept;
  bool removing = false;
  bool removed = false;
  for (HiveLine& line : hive->lines) {
    if (EndsSection(line)) removing = IsReadKey(line) && matches(line.path);
    if (removing && line.problem.empty()) {
      removed = true;
    } else {
      kept.push_back(std::move(line));
    }
  }
  hive->lines = std::move(kept);
  return removed;
}

// The indexes of the lines of the value, in file order.
std::vector<size_t> ValueLines(const Hive& hive, const std::string& path, const std::string& name) {
  std::vector<size_t> found;
  bool inKey = false;
  for (size_t i = 0; i < hive.lines.size(); ++i) {
    const HiveLine& line = hive.lines[i];
    if (EndsSection(line)) inKey = IsReadKey(line) && SameName(line.path, path);
    if (inKey && IsReadValue(line) && SameName(line.value.name, name)) found.push_back(i);
  }
  return found;
}

// Why text (of what) cannot be written in code page 1252, or "".
std::string NotInCodePageProblem(const std::string& what, const std::u16string& text) {
  const std::string missing = FirstNotInCodePage(text);
  if (missing.empty()) return missing;
  return what + ": \"" + missing + "\" is not in code page 1252, the text of a REGEDIT4 file";
}

}  // namespace

std::string KeyPathProblem(const std::string& path) {
  if (path.empty()) return std::string();
  if (static_cast<size_t>(std::count(path.begin(), path.end(), '\\')) + 1 > kMaxKeyDepth) {
    return "key path deeper than " + std::to_string(kMaxKeyDepth) + " levels";
  }
  if (Utf8ToUtf16(path).size() > kMaxKeyPathLength) {
    return "key path longer than " + std::to_string(kMaxKeyPathLength) + " characters";
  }
  for (size_t start = 0;;) {
    const size_t slash = path.find('\\', start);
    const size_t end = slash == std::string::npos ? path.size() : slash;
    if (Utf8ToUtf16(path.substr(start, end - start)).size() > kMaxKeyNameLength) {
      return "key name longer than " + std::to_string(kMaxKeyNameLength) + " characters";
    }
    if (slash == std::string::npos) return std::string();
    start = slash + 1;
  }
}

std::string ValueNameProblem(const std::string& name) {
  if (Utf8ToUtf16(name).size() <= kMaxValueNameLength) return std::string();
  return "value name longer than " + std::to_string(kMaxValueNameLength) + " characters";
}

std::string ValueProblem(const Hive& hive, const HiveValue& value) {
  const std::string what = value.name.empty() ? std::string("the default value") : "value \"" + value.name + "\"";
  std::string problem = ValueNameProblem(value.name);
  if (problem.empty() && hive.encoding == HiveEncoding::kAnsi) {
    problem = NotInCodePageProblem(what, Utf8ToUtf16(value.name));
  }
  const bool isText = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
  if (problem.empty() && isText) {
    // A plain string stands in the line, in the file's encoding; other text
    // is a hex list, of code page bytes under REGEDIT4.
    std::u16string text;
    const bool inLine = PlainStringText(value, &text);
    if (inLine ? hive.encoding == HiveEncoding::kAnsi : !hive.unicode) {
      problem = NotInCodePageProblem("the text of " + what, Utf16LeUnits(value.data));
    }
  }
  return problem;
}

std::string KeyProblem(const Hive& hive, const std::string& path) {
  std::string problem = KeyPathProblem(path);
  if (problem.empty() && hive.encoding == HiveEncoding::kAnsi) {
    problem = NotInCodePageProblem("key \"" + path + "\"", Utf8ToUtf16(path));
  }
  return problem;
}

HiveValue StringValue(const std::string& name, const std::u16string& text) {
  HiveValue value;
  value.name = name;
  value.type = kRegSz;
  value.data = Utf16LeBytes(text + u'\0');
  return value;
}

bool StringOf(const HiveValue& value, std::u16string* text) {
  if (value.type != kRegSz) return false;
  *text = Utf16LeUnits(value.data);
  text->resize(std::min(text->size(), text->find(u'\0')));
  return true;
}

Hive NewHive(const std::string& rootName) {
  Hive hive;
  hive.root = rootName;
  HiveLine header = AddedLine(Kind::kHeader, "REGEDIT4\n");
  header.number = 1;
  hive.lines.push_back(std::move(header));
  hive.lines.push_back(AddedLine(Kind::kBlank, "\n"));
  return hive;
}

bool HasKeyLine(const Hive& hive, const std::string& path) {
  return std::any_of(hive.lines.begin(), hive.lines.end(),
                     [&](const HiveLine& line) { return IsReadKey(line) && SameName(line.path, path); });
}

bool KeyExists(const Hive& hive, const std::string& path) {
  return path.empty() || HasKeyLine(hive, path) || HasSubkeys(hive, path);
}

std::vector<std::string> Subkeys(const Hive& hive, const std::string& path) {
  const std::string prefix = SubkeyPrefix(path);
  std::vector<std::string> names;
  for (const HiveLine& line : hive.lines) {
    if (!IsReadKey(line) || !IsBelow(line.path, path)) continue;
    size_t end = line.path.find('\\', prefix.size());
    std::string name = line.path.substr(prefix.size(), end == std::string::npos ? end : end - prefix.size());
    bool seen = std::any_of(names.begin(), names.end(),
                            [&name](const std::string& other) { return SameName(other, name); });
    if (!seen) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return FoldName(a) < FoldName(b);
  });
  return names;
}

bool EnsureKey(Hive* hive, const std::string& path) {
  if (!KeyProblem(*hive, path).empty()) return false;
  if (path.empty()) {
    if (HasKeyLine(*hive, path)) return true;
    // The root's own key line comes before every other.
    size_t at = 0;
    while (at < hive->lines.size() && !IsReadKey(hive->lines[at])) ++at;
    InsertKeyLine(hive, at, path);
    return true;
  }
  // How every key line stands to the path is worked out once, so that a
  // deep path costs the hive's size for each level, not that times the
  // path's length.
  const std::vector<std::string> names = NamesOf(path);
  std::vector<Relation> relations(hive->lines.size());
  for (size_t i = 0; i < hive->lines.size(); ++i) relations[i] = RelationOf(hive->lines[i], names);
  auto lines = [&](auto matches) {
    std::vector<size_t> found;
    for (size_t i = 0; i < relations.size(); ++i) {
      if (relations[i].key && matches(relations[i])) found.push_back(i);
    }
    return found;
  };
  // Below the deepest level that has a key line, each level gets one.
  size_t level = 0;
  std::string parent;  // the level above, as the hive spells it
  for (size_t i = 0; i < relations.size(); ++i) {
    const Relation& r = relations[i];
    if (r.key && r.names == r.shared && r.names >= level) {
      level = r.names;
      parent = hive->lines[i].path;
    }
  }
  for (++level; level <= names.size(); ++level) {
    const std::vector<size_t> below = lines([&](const Relation& r) { return r.shared >= level && r.names > level; });
    // The name keeps the spelling that keys below it show.
    const std::string spelled =
        SubkeyPrefix(parent) + (below.empty() ? names[level - 1] : NameAt(hive->lines[below.front()].path, level - 1));
    size_t at = hive->lines.size();
    if (!below.empty()) {
      at = below.front();
    } else if (level > 1) {
      // After the parent's subtree.
      const std::vector<size_t> subtree = lines([&](const Relation& r) { return r.shared >= level - 1; });
      if (!subtree.empty()) at = SectionEnd(*hive, subtree.back());
    }
    const size_t before = hive->lines.size();
    const size_t key = InsertKeyLine(hive, at, spelled);
    relations.insert(relations.begin() + static_cast<std::ptrdiff_t>(at), hive->lines.size() - before, Relation());
    relations[key] = Relation{true, level, level};
    parent = spelled;
  }
  return true;
}

bool RemoveKey(Hive* hive, const std::string& path) {
  if (path.empty() || !HasKeyLine(*hive, path) || HasSubkeys(*hive, path)) return false;
  size_t slash = path.rfind('\\');
  if (slash != std::string::npos) EnsureKey(hive, path.substr(0, slash));
  return RemoveKeyLines(hive, [&](const std::string& key) { return SameName(key, path); });
}

bool RemoveKeyTree(Hive* hive, const std::string& path) {
  if (path.empty() || !KeyExists(*hive, path)) return false;
  size_t slash = path.rfind('\\');
  if (slash != std::string::npos) EnsureKey(hive, path.substr(0, slash));
  return RemoveKeyLines(hive, [&](const std::string& key) { return SameName(key, path) || IsBelow(key, path); });
}

const HiveValue* FindValue(const Hive& hive, const std::string& path, const std::string& name) {
  std::vector<size_t> found = ValueLines(hive, path, name);
  return found.empty() ? nullptr : &hive.lines[found.back()].value;
}

std::vector<std::string> ValueNames(const Hive& hive, const std::string& path) {
  std::vector<std::string> names;
  bool inKey = false;
  for (const HiveLine& line : hive.lines) {
    if (EndsSection(line)) inKey = IsReadKey(line) && SameName(line.path, path);
    if (!inKey || !IsReadValue(line)) continue;
    bool seen = std::any_of(names.begin(), names.end(),
                            [&line](const std::string& name) { return SameName(name, line.value.name); });
    if (!seen) names.push_back(line.value.name);
  }
  return names;
}

bool SetValue(Hive* hive, const std::string& path, const HiveValue& value) {
  if (!ValueProblem(*hive, value).empty() || !EnsureKey(hive, path)) return false;
  std::vector<size_t> found = ValueLines(*hive, path, value.name);
  if (!found.empty()) {
    HiveLine& line = hive->lines[found.back()];
    HiveValue spelled = value;
    spelled.name = line.value.name;
    line.text = ValueLineText(*hive, spelled);
    line.value = std::move(spelled);
    return true;
  }
  // After the values of the key's last key line.
  size_t at = 0;
  for (size_t i = 0; i < hive->lines.size(); ++i) {
    if (IsReadKey(hive->lines[i]) && SameName(hive->lines[i].path, path)) at = i + 1;
  }
  for (size_t i = at; i < hive->lines.size() && !EndsSection(hive->lines[i]); ++i) {
    if (hive->lines[i].kind == Kind::kValue) at = i + 1;
  }
  EndLineBefore(hive, at);
  HiveLine line = AddedLine(Kind::kValue, ValueLineText(*hive, value));
  line.value = value;
  hive->lines.insert(hive->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  return true;
}

bool RemoveValue(Hive* hive, const std::string& path, const std::string& name) {
  std::vector<size_t> found = ValueLines(*hive, path, name);
  for (auto it = found.rbegin(); it != found.rend(); ++it) {
    hive->lines.erase(hive->lines.begin() + static_cast<std::ptrdiff_t>(*it));
  }
  return !found.empty();
}

}  // namespace vesta::platform::regfile
