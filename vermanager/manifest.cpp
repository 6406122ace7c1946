#include "vermanager/manifest.h"

#include <cstring>
#include <new>
#include <string>

#include "common/text.h"
#include "platform/file_system.h"
#include "platform/file_output.h"
#include "vermanager/manifest_format.h"

namespace {

// Copies a field out into a caller's buffer of capacity characters and
// the terminator.
void CopyOut(char* out, const std::string& field, size_t capacity) {
  if (out != nullptr) VUCopyN(out, field.c_str(), static_cast<int>(capacity));
}

// The text, cut to capacity characters.
void CopyIn(std::string* field, const char* text, size_t capacity) {
  const size_t length = text != nullptr ? std::strlen(text) : 0;
  field->assign(text != nullptr ? text : "", length < capacity ? length : capacity);
}

}  // namespace

CPackageManifest::~CPackageManifest() {
  void* record = nullptr;
  for (bool more = packages_.First(&record); more; more = packages_.Next(&record)) {
    delete static_cast<PackageRecord*>(record);
  }
  for (bool more = components_.First(&record); more; more = components_.Next(&record)) {
    delete static_cast<ComponentRecord*>(record);
  }
}

int CPackageManifest::LoadManifest(const char* path) {
  FILE* stream = vesta::platform::OpenStream(path, "r");
  if (stream == nullptr) return 0;
  int result = ReadManifestLines(stream);
  std::fclose(stream);
  return result;
}

int CPackageManifest::ReadManifestLines(FILE* stream) {
  char line[kManifestLine + 1];
  while (std::fgets(line, sizeof line, stream) != nullptr) {
    StripLineEnd(line);
    if (!ParseManifestLine(line)) return 0;
  }
  return 1;
}

int CPackageManifest::ParseManifestLine(const char* line) {
  LineKind kind = ClassifyLine(line);
  if (kind == LineKind::kNone) return 1;
  const char* tag = TagOfKind(kind);
  char value[kManifestValue + 1];
  char other[kManifestValue + 1];
  if (!FindField(tag, line, value, kManifestValue)) return 1;
  if (FindField("[UBY]", line, other, kManifestValue)) return AddComponent(tag, value, other);
  if (FindField("[TYP]", line, other, kManifestValue)) return AddPackage(value, other);
  return 1;
}

int CPackageManifest::AddPackage(const char* name, const char* title) {
  PackageRecord* record = new (std::nothrow) PackageRecord;
  if (record == nullptr) return 0;
  record->removed = 0;
  // Names are read with room for 260 characters but hold 64: cut.
  CopyIn(&record->name, name, kPackageNameLength);
  CopyIn(&record->title, title, kPackageTextLength);
  if (!packages_.Append(record)) {
    delete record;
    return 0;
  }
  return 1;
}

int CPackageManifest::AddComponent(const char* kind, const char* value, const char* owner) {
  ComponentRecord* record = new (std::nothrow) ComponentRecord;
  if (record == nullptr) return 0;
  record->removed = 0;
  CopyIn(&record->kind, kind, kPackageNameLength);
  CopyIn(&record->value, value, kPackageTextLength);
  CopyIn(&record->owner, owner, kPackageNameLength);
  if (!components_.Append(record)) {
    delete record;
    return 0;
  }
  return 1;
}

int CPackageManifest::SaveManifest(const char* path) {
  if (path == nullptr || path[0] == '\0') return 0;
  vesta::platform::Replacement manifest;
  if (!manifest.Begin(path, vesta::platform::FileMode::kText)) return 0;
  std::string line;
  for (PackageRecord* p = FirstPackageRecord(); p != nullptr; p = NextPackageRecord()) {
    if (p->removed) continue;
    line.clear();
    WriteField(&line, "[NAM]", p->name.c_str());
    WriteField(&line, "[TYP]", p->title.c_str());
    line += '\n';
    manifest.Write(line);
  }
  for (ComponentRecord* c = FirstComponentRecord(); c != nullptr; c = NextComponentRecord()) {
    if (c->removed) continue;
    line.clear();
    WriteField(&line, c->kind.c_str(), c->value.c_str());
    WriteField(&line, "[UBY]", c->owner.c_str());
    line += '\n';
    manifest.Write(line);
  }
  return manifest.Commit() ? 1 : 0;
}

void CPackageManifest::ClearSelection() {
  selected_ = -1;
  packages_.ClearCursor();
}

int CPackageManifest::GetSelectedPackage(char* name, char* title) {
  if (selected_ < 0) return 0;
  int index = 0;
  for (PackageRecord* p = FirstPackageRecord(); p != nullptr; p = NextPackageRecord()) {
    if (p->removed) continue;
    if (index++ == selected_) {
      CopyOut(name, p->name, kPackageNameLength);
      CopyOut(title, p->title, kPackageTextLength);
      return 1;
    }
  }
  return 0;
}

PackageRecord* CPackageManifest::FirstPackageRecord() {
  void* record = nullptr;
  return packages_.First(&record) ? static_cast<PackageRecord*>(record) : nullptr;
}

PackageRecord* CPackageManifest::NextPackageRecord() {
  void* record = nullptr;
  return packages_.Next(&record) ? static_cast<PackageRecord*>(record) : nullptr;
}

ComponentRecord* CPackageManifest::FirstComponentRecord() {
  void* record = nullptr;
  return components_.First(&record) ? static_cast<ComponentRecord*>(record) : nullptr;
}

ComponentRecord* CPackageManifest::NextComponentRecord() {
  void* record = nullptr;
  return components_.Next(&record) ? static_cast<ComponentRecord*>(record) : nullptr;
}

namespace {

int GivePackage(const PackageRecord* p, char* name, char* title, int* removed) {
  if (p == nullptr) return 0;
  CopyOut(name, p->name, kPackageNameLength);
  CopyOut(title, p->title, kPackageTextLength);
  if (removed != nullptr) *removed = p->removed;
  return 1;
}

int GiveComponent(const ComponentRecord* c, char* value, char* kind, char* owner, int* removed) {
  if (c == nullptr) return 0;
  CopyOut(value, c->value, kPackageTextLength);
  CopyOut(kind, c->kind, kPackageNameLength);
  CopyOut(owner, c->owner, kPackageNameLength);
  if (removed != nullptr) *removed = c->removed;
  return 1;
}

}  // namespace

int CPackageManifest::FirstPackage(char* name, char* title, int* removed) {
  return GivePackage(FirstPackageRecord(), name, title, removed);
}

int CPackageManifest::NextPackage(char* name, char* title, int* removed) {
  return GivePackage(NextPackageRecord(), name, title, removed);
}

int CPackageManifest::FirstComponent(char* value, char* kind, char* owner, int* removed) {
  return GiveComponent(FirstComponentRecord(), value, kind, owner, removed);
}

int CPackageManifest::NextComponent(char* value, char* kind, char* owner, int* removed) {
  return GiveComponent(NextComponentRecord(), value, kind, owner, removed);
}

int CPackageManifest::CountPackages() {
  int count = 0;
  for (PackageRecord* p = FirstPackageRecord(); p != nullptr; p = NextPackageRecord()) {
    if (!p->removed) ++count;
  }
  return count;
}

int CPackageManifest::IsWholeProduct(const char* name) {
  return name != nullptr && std::strcmp(name, kWholeProduct) == 0 ? 1 : 0;
}
