#include "platform/posix/registry/hive.h"

#include <algorithm>

namespace vesta::platform::posix {
namespace {

char Capital(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when path begins with prefix, without regard to case.
bool StartsWithName(const std::string& path, const std::string& prefix) {
  if (path.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Capital(path[i]) != Capital(prefix[i])) return false;
  }
  return true;
}

// "path\" for a key, "" for the root: what the paths of its subkeys begin with.
std::string SubkeyPrefix(const std::string& path) { return path.empty() ? path : path + '\\'; }

bool HasSubkeys(const Hive& hive, const std::string& path) {
  const std::string prefix = SubkeyPrefix(path);
  for (const HiveKey& key : hive.keys) {
    if (key.path.size() > prefix.size() && StartsWithName(key.path, prefix)) return true;
  }
  return false;
}

// The first key below path, where a new key of that path belongs; or the
// end when there is none.
size_t FirstBelow(const Hive& hive, const std::string& path) {
  const std::string prefix = SubkeyPrefix(path);
  for (size_t i = 0; i < hive.keys.size(); ++i) {
    if (hive.keys[i].path.size() > prefix.size() && StartsWithName(hive.keys[i].path, prefix)) return i;
  }
  return hive.keys.size();
}

// Just past the last key of the subtree that starts at index parent.
size_t EndOfSubtree(const Hive& hive, size_t parent) {
  const std::string prefix = SubkeyPrefix(hive.keys[parent].path);
  size_t end = parent + 1;
  for (size_t i = parent + 1; i < hive.keys.size(); ++i) {
    if (StartsWithName(hive.keys[i].path, prefix)) end = i + 1;
  }
  return end;
}

// The spelling of name below parent in the paths of existing keys, so that a
// parent made explicit keeps the spelling its subkeys already show.
std::string SpellingOf(const Hive& hive, const std::string& parent, const std::string& name) {
  const std::string prefix = SubkeyPrefix(parent);
  for (const HiveKey& key : hive.keys) {
    if (key.path.size() <= prefix.size() || !StartsWithName(key.path, prefix)) continue;
    size_t end = key.path.find('\\', prefix.size());
    if (end == std::string::npos) end = key.path.size();
    std::string found = key.path.substr(prefix.size(), end - prefix.size());
    if (SameName(found, name)) return found;
  }
  return name;
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && StartsWithName(a, b);
}

std::string FoldName(const std::string& name) {
  std::string folded(name);
  for (char& c : folded) c = Capital(c);
  return folded;
}

HiveKey* FindKey(Hive* hive, const std::string& path) {
  for (HiveKey& key : hive->keys) {
    if (SameName(key.path, path)) return &key;
  }
  return nullptr;
}

const HiveKey* FindKey(const Hive& hive, const std::string& path) {
  return FindKey(const_cast<Hive*>(&hive), path);
}

bool KeyExists(const Hive& hive, const std::string& path) {
  return path.empty() || FindKey(hive, path) != nullptr || HasSubkeys(hive, path);
}

std::vector<std::string> Subkeys(const Hive& hive, const std::string& path) {
  const std::string prefix = SubkeyPrefix(path);
  std::vector<std::string> names;
  for (const HiveKey& key : hive.keys) {
    if (key.path.size() <= prefix.size() || !StartsWithName(key.path, prefix)) continue;
    size_t end = key.path.find('\\', prefix.size());
    if (end == std::string::npos) end = key.path.size();
    std::string name = key.path.substr(prefix.size(), end - prefix.size());
    bool seen = std::any_of(names.begin(), names.end(),
                            [&name](const std::string& other) { return SameName(other, name); });
    if (!seen) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return FoldName(a) < FoldName(b);
  });
  return names;
}

size_t EnsureKey(Hive* hive, const std::string& path) {
  if (HiveKey* found = FindKey(hive, path)) return static_cast<size_t>(found - hive->keys.data());
  HiveKey key;
  size_t at;
  if (path.empty()) {
    at = 0;
  } else {
    size_t slash = path.rfind('\\');
    std::string parentPath;
    if (slash != std::string::npos) {
      size_t parent = EnsureKey(hive, path.substr(0, slash));
      parentPath = hive->keys[parent].path;
    }
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    key.path = SubkeyPrefix(parentPath) + SpellingOf(*hive, parentPath, name);
    // Before any key already below it, else after its parent's subtree.
    at = FirstBelow(*hive, key.path);
    if (at == hive->keys.size() && !parentPath.empty()) {
      at = EndOfSubtree(*hive, static_cast<size_t>(FindKey(hive, parentPath) - hive->keys.data()));
    }
  }
  hive->keys.insert(hive->keys.begin() + static_cast<std::ptrdiff_t>(at), std::move(key));
  return at;
}

bool RemoveKey(Hive* hive, const std::string& path) {
  if (path.empty() || FindKey(hive, path) == nullptr || HasSubkeys(*hive, path)) return false;
  size_t slash = path.rfind('\\');
  if (slash != std::string::npos) EnsureKey(hive, path.substr(0, slash));
  HiveKey* key = FindKey(hive, path);
  hive->keys.erase(hive->keys.begin() + (key - hive->keys.data()));
  return true;
}

const HiveValue* FindValue(const HiveKey& key, const std::string& name) {
  for (const HiveValue& value : key.values) {
    if (SameName(value.name, name)) return &value;
  }
  return nullptr;
}

void SetString(HiveKey* key, const std::string& name, const std::string& text) {
  for (HiveValue& value : key->values) {
    if (SameName(value.name, name)) {
      value.isString = true;
      value.data = text;
      return;
    }
  }
  key->values.push_back(HiveValue{name, true, text});
}

bool RemoveValue(HiveKey* key, const std::string& name) {
  for (auto it = key->values.begin(); it != key->values.end(); ++it) {
    if (SameName(it->name, name)) {
      key->values.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace vesta::platform::posix
