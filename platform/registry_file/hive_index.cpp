#include "platform/registry_file/hive_index.h"

#include <algorithm>

#include "platform/windows_names.h"

namespace vesta::platform::regfile {
namespace {

const std::vector<std::string> kNone;

}  // namespace

HiveIndex::HiveIndex(const Hive& hive) : keys_(1) {
  constexpr size_t kNoKey = static_cast<size_t>(-1);
  size_t section = kNoKey;  // the key of the key line read last, if it is read
  for (const HiveLine& line : hive.lines) {
    if (line.kind == HiveLine::Kind::kKey || line.kind == HiveLine::Kind::kDeleteKey) {
      section = kNoKey;
      if (line.kind != HiveLine::Kind::kKey || !line.problem.empty()) continue;
      // Each key above it exists too, and lists the next name down once.
      size_t at = 0;
      keys_[at].exists = true;
      for (size_t start = 0; !line.path.empty();) {
        const size_t end = line.path.find('\\', start);
        const std::string name = line.path.substr(start, end == std::string::npos ? end : end - start);
        const auto [child, added] = keys_[at].children.emplace(FoldName(name), keys_.size());
        if (added) {
          keys_[at].subkeys.push_back(name);
          keys_.emplace_back();
        }
        at = child->second;
        keys_[at].exists = true;
        if (end == std::string::npos) break;
        start = end + 1;
      }
      section = at;
    } else if (section != kNoKey && line.kind == HiveLine::Kind::kValue && line.problem.empty()) {
      Key& key = keys_[section];
      const bool added = key.values.insert_or_assign(FoldName(line.value.name), &line.value).second;
      if (added) key.valueNames.push_back(line.value.name);
    }
  }
  for (Key& key : keys_) {
    std::sort(key.subkeys.begin(), key.subkeys.end(),
              [](const std::string& a, const std::string& b) { return FoldName(a) < FoldName(b); });
  }
}

const HiveIndex::Key* HiveIndex::Find(const std::string& path) const {
  size_t at = 0;
  for (size_t start = 0; !path.empty();) {
    const size_t end = path.find('\\', start);
    const auto found =
        keys_[at].children.find(FoldName(path.substr(start, end == std::string::npos ? end : end - start)));
    if (found == keys_[at].children.end()) return nullptr;
    at = found->second;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return &keys_[at];
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
