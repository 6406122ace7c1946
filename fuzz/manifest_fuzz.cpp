// Feeds arbitrary bytes to the manifest reader, then rewrites what it read
// and reads that back: the same packages and components must return.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "vermanager/manifest.h"

namespace {

std::vector<std::string> Lines(CPackageManifest* manifest) {
  std::vector<std::string> lines;
  char name[65];
  char title[261];
  char kind[65];
  int removed = 0;
  for (int more = manifest->FirstPackage(name, title, &removed); more;
       more = manifest->NextPackage(name, title, &removed)) {
    lines.push_back(std::string(name) + '\1' + title);
  }
  for (int more = manifest->FirstComponent(title, kind, name, &removed); more;
       more = manifest->NextComponent(title, kind, name, &removed)) {
    lines.push_back(std::string(kind) + '\1' + title + '\1' + name);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> buffer(data, data + size);
  if (buffer.empty()) buffer.push_back('\n');
  FILE* stream = fmemopen(buffer.data(), buffer.size(), "r");
  if (stream == nullptr) return 0;
  CPackageManifest manifest;
  int loaded = manifest.ReadManifestLines(stream);
  std::fclose(stream);
  if (!loaded) return 0;
  char name[65];
  char title[261];
  manifest.SetSelection(static_cast<int>(size % 4));
  manifest.GetSelectedPackage(name, title);
  manifest.CountPackages();

  static const std::string path = "/dev/shm/vesta-manifest-fuzz-" + std::to_string(getpid()) + ".txt";
  if (!manifest.SaveManifest(path.c_str())) return 0;
  CPackageManifest back;
  if (!back.LoadManifest(path.c_str())) __builtin_trap();
  // Values end at a line end; a value that held one cannot come back whole.
  bool clean = std::memchr(data, '\r', size) == nullptr && std::memchr(data, '\0', size) == nullptr;
  if (clean && Lines(&manifest) != Lines(&back)) __builtin_trap();
  return 0;
}
