// A registry hive in memory: the keys below one root and their values, as
// the POSIX backend keeps them in a hive file. Names compare without regard
// to ASCII letter case and keep the spelling they were created with.
#ifndef VESTA_PLATFORM_POSIX_REGISTRY_HIVE_H
#define VESTA_PLATFORM_POSIX_REGISTRY_HIVE_H

#include <string>
#include <vector>

namespace vesta::platform::posix {

// One value of a key. A string is kept as its text; a value of another
// type (dword:, hex:, hex(n):) is kept as written after "=", continuation
// lines included, so that it is written back unchanged.
struct HiveValue {
  std::string name;  // "" for the default value
  bool isString = true;
  std::string data;

  bool operator==(const HiveValue& other) const {
    return name == other.name && isString == other.isString && data == other.data;
  }
};

struct HiveKey {
  // Below the root, names joined by back-slashes ("SOFTWARE\vesta3d\VESTA");
  // "" for the root itself.
  std::string path;
  std::vector<HiveValue> values;  // in file order

  bool operator==(const HiveKey& other) const {
    return path == other.path && values == other.values;
  }
};

// The keys in file order, each path once. A key whose only trace is a
// longer path below it (a hand-edited file may leave out the parents)
// exists as well.
struct Hive {
  std::vector<HiveKey> keys;

  bool operator==(const Hive& other) const { return keys == other.keys; }
};

// True when the names are equal without regard to ASCII letter case.
bool SameName(const std::string& a, const std::string& b);

// The name in ASCII capitals: the form that names are compared and sorted in.
std::string FoldName(const std::string& name);

// The key with exactly this path, or null.
HiveKey* FindKey(Hive* hive, const std::string& path);
const HiveKey* FindKey(const Hive& hive, const std::string& path);

// True for the root, a key of the hive, or a parent of one.
bool KeyExists(const Hive& hive, const std::string& path);

// The names of the key's direct subkeys, sorted as Windows enumerates them
// (by their capitals).
std::vector<std::string> Subkeys(const Hive& hive, const std::string& path);

// Makes the key and every missing parent a key of the hive, each placed
// after its parent's subtree. A new name takes the spelling of the existing
// key it matches. Returns the key's index in hive->keys.
size_t EnsureKey(Hive* hive, const std::string& path);

// Removes a key that has no subkeys; its parents stay. False for the root,
// a missing key or one with subkeys.
bool RemoveKey(Hive* hive, const std::string& path);

// The value named name (without regard to case), or null.
const HiveValue* FindValue(const HiveKey& key, const std::string& name);

// Sets a string value, keeping the spelling of an existing name.
void SetString(HiveKey* key, const std::string& name, const std::string& text);

// Removes a value. False when it is missing.
bool RemoveValue(HiveKey* key, const std::string& name);

}  // namespace vesta::platform::posix

#endif
