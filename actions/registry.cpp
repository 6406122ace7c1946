#include "actions/registry.h"

#include <string>

#include "common/text.h"

int VURegGetString(VURegRoot root, const char* key, const char* name, char* out, int size) {
  if (key == nullptr || out == nullptr || size <= 0) return 0;
  std::string text;
  if (!vesta::platform::RegistryReadString(root, key, name, &text)) return 0;
  VUCopyN(out, text.c_str(), size - 1);
  return 1;
}

int VURegSetString(VURegRoot root, const char* key, const char* name, const char* text) {
  if (key == nullptr || text == nullptr) return 0;
  return vesta::platform::RegistryWriteString(root, key, name, text) ? 1 : 0;
}
