#include "platform/registry_file/hive_index.h"

#include <algorithm>
#include <unordered_set>

namespace vesta::platform::regfile {
namespace {

const std::vector<std::string> kNone;

}  // namespace

HiveIndex::HiveIndex(const Hive& hive) {
  // The subkeys seen under each key, by their capitals.
  std::unordered_map<std::string, std::unordered_set<std::string>> seen;
  Key* section = nullptr;  // the key of the key line read last, if it is read
  for (const HiveLine& line : hive.lines) {
    if (line.kind == HiveLine::Kind::kKey || line.kind == HiveLine::Kind::kDeleteKey) {
      section = nullptr;
      if (line.kind != HiveLine::Kind::kKey || !line.problem.empty()) continue;
      const std::string folded = FoldName(line.path);
      section = &keys_[folded];
      section->exists = true;
      // Each key above it exists too, and lists the next name down once.
      for (size_t start = 0; !line.path.empty();) {
        const size_t end = line.path.find('\\', start);
        const std::string parent = start == 0 ? std::string() : folded.substr(0, start - 1);
        const std::string name = line.path.substr(start, end == std::string::npos ? end : end - start);
        Key& parentKey = keys_[parent];
        parentKey.exists = true;
        if (seen[parent].insert(FoldName(name)).second) parentKey.subkeys.push_back(name);
        if (end == std::string::npos) break;
        start = end + 1;
      }
    } else if (section != nullptr && line.kind == HiveLine::Kind::kValue && line.problem.empty()) {
      const bool added = section->values.insert_or_assign(FoldName(line.value.name), &line.value).second;
      if (added) section->valueNames.push_back(line.value.name);
    }
  }
  for (auto& [path, key] : keys_) {
    std::sort(key.subkeys.begin(), key.subkeys.end(),
              [](const std::string& a, const std::string& b) { return FoldName(a) < FoldName(b); });
  }
}

const HiveIndex::Key* HiveIndex::Find(const std::string& path) const {
  auto found = keys_.find(FoldName(path));
  return found == keys_.end() ? nullptr : &found->second;
}

const HiveValue* HiveIndex::FindValue(const std::string& path, const std::string& name) const {
  const Key* key = Find(path);
  if (key == nullptr) return nullptr;
  auto found = key->values.find(FoldName(name));
  return found == key->values.end() ? nullptr : found->second;
}

bool HiveIndex::KeyExists(const std::string& path) const {
  const Key* key = Find(path);
  return path.empty() || (key != nullptr && key->exists);
}

const std::vector<std::string>& HiveIndex::Subkeys(const std::string& path) const {
  const Key* key = Find(path);
  return key == nullptr ? kNone : key->subkeys;
}

const std::vector<std::string>& HiveIndex::ValueNames(const std::string& path) const {
  const Key* key = Find(path);
  return key == nullptr ? kNone : key->valueNames;
}

}  // namespace vesta::platform::regfile
