// Lookups in a hive that cost the length of the name, not the size of the
// hive: its keys, their subkeys and their values in hash maps by their
// capitals, as a tree (each key holds its own name, not its whole path),
// so that it takes memory in proportion to the hive, however deep its keys.
// Built from the hive in one pass, without recursion; it answers as the scans of
// hive.h do (FindValue, KeyExists, Subkeys, ValueNames) and goes stale
// when the hive changes.
#ifndef VESTA_PLATFORM_REGISTRY_FILE_HIVE_INDEX_H
#define VESTA_PLATFORM_REGISTRY_FILE_HIVE_INDEX_H

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/registry_file/hive.h"

namespace vesta::platform::regfile {

class HiveIndex {
 public:
  // The hive must outlive the index and stay unchanged.
  explicit HiveIndex(const Hive& hive);

  const HiveValue* FindValue(const std::string& path, const std::string& name) const;
  bool KeyExists(const std::string& path) const;
  // Sorted by their capitals.
  const std::vector<std::string>& Subkeys(const std::string& path) const;
  const std::vector<std::string>& ValueNames(const std::string& path) const;

 private:
  struct Key {
    bool exists = false;  // a key line names it, or one below it
    std::vector<std::string> subkeys;                          // first spellings
    std::unordered_map<std::string, size_t> children;          // by capitals: their place in keys_
    std::unordered_map<std::string, const HiveValue*> values;  // by capitals: the last line
    std::vector<std::string> valueNames;                       // first spellings, in file order
  };
  const Key* Find(const std::string& path) const;

  std::vector<Key> keys_;  // the root first
};

}  // namespace vesta::platform::regfile

#endif
