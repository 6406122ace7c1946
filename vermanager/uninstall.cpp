// Verifying and removing packages. A component is marked removed before
// anything is deleted, so that sub-packages that include each other do not
// loop; a path, key or package that another live component still lists is
// left in place.
#include <string>

#include "common/text.h"
#include "platform/file_system.h"
#include "vermanager/manifest.h"
#include "vermanager/removal_services.h"
#include "vermanager/restart_deletion.h"

namespace {

bool Is(const std::string& a, const char* b) { return a == b; }

bool RemoveFileNow(const char* path) { return vesta::platform::RemoveFile(path); }
bool RemoveFolderNow(const char* path) { return vesta::platform::RemoveEmptyFolder(path); }

}  // namespace

int CPackageManifest::FindMissingComponent(const char* name, char* path) {
  for (ComponentRecord* c = FirstComponentRecord(); c != nullptr; c = NextComponentRecord()) {
    if (!Is(c->owner, name)) continue;
    bool present = true;
    if (Is(c->kind, "[FIL]")) {
      present = FileIsReadable(c->value.c_str()) != 0;
    } else if (Is(c->kind, "[REG]")) {
      present = RegistryKeyExists(c->value.c_str()) != 0;
    }
    if (!present) {
      if (path != nullptr) VUCopyN(path, c->value.c_str(), static_cast<int>(kPackageTextLength));
      return 0;
    }
  }
  return 1;
}

int CPackageManifest::FindBlockingOwner(const char* name, char* owner) {
  // A component already removed in this run no longer includes anything.
  for (ComponentRecord* c = FirstComponentRecord(); c != nullptr; c = NextComponentRecord()) {
    if (!c->removed && c->value == name) {
      if (owner != nullptr) VUCopyN(owner, c->owner.c_str(), static_cast<int>(kPackageNameLength));
      return 0;
    }
  }
  return 1;
}

void CPackageManifest::EndRemoval() {
  if (--removals_ > 0 || deferred_.empty()) return;
  ScheduleDeletesAtRestart(deferred_);
  deferred_.clear();
}

int CPackageManifest::RemoveSelectedPackage() {
  char name[65];
  char title[261];
  if (!GetSelectedPackage(name, title)) return 0;
  BeginRemoval();
  int result = 0;
  if (!IsWholeProduct(name)) {
    result = RemoveOwnedComponents(name);
    MarkPackageRemoved(name);
  } else {
    for (PackageRecord* p = FirstPackageRecord(); p != nullptr; p = NextPackageRecord()) {
      result = RemoveOwnedComponents(p->name.c_str());
      CRecordList::Node* cursor = packages_.GetCursor();
      MarkPackageRemoved(p->name.c_str());
      packages_.SetCursor(cursor);
    }
  }
  EndRemoval();
  return result;
}

int CPackageManifest::RemoveOwnedComponents(const char* owner) {
  if (components_.Empty()) return 0;
  BeginRemoval();
  // The owner may be a field of a record that a nested removal marks: keep
  // a copy.
  std::string wanted = owner;
  for (ComponentRecord* c = FirstComponentRecord(); c != nullptr; c = NextComponentRecord()) {
    if (c->removed || !Is(c->owner, wanted.c_str())) continue;
    CRecordList::Node* cursor = components_.GetCursor();
    RemoveComponent(c);
    components_.SetCursor(cursor);
  }
  EndRemoval();
  return 1;
}

int CPackageManifest::RemoveComponent(ComponentRecord* record) {
  if (record == nullptr) return 0;
  int live = CountLiveComponents(record->value.c_str());
  record->removed = 1;
  if (live > 1) return 1;  // another live component still lists it
  if (Is(record->kind, "[FIL]")) return DeleteComponentFile(record);
  if (Is(record->kind, "[REG]")) return DeleteRegistryKeyTree(record->value.c_str());
  if (Is(record->kind, "[DIR]")) return RemoveComponentFolder(record);
  if (Is(record->kind, "[NAM]")) {
    int result = RemoveOwnedComponents(record->value.c_str());
    if (result == 1) {
      CRecordList::Node* cursor = packages_.GetCursor();
      MarkPackageRemoved(record->value.c_str());
      packages_.SetCursor(cursor);
    }
    return result;
  }
  return 0;
}

int CPackageManifest::CountLiveComponents(const char* value) {
  int count = 0;
  for (ComponentRecord* c = FirstComponentRecord(); c != nullptr; c = NextComponentRecord()) {
    if (!c->removed && c->value == value) ++count;
  }
  return count;
}

int CPackageManifest::MarkPackageRemoved(const char* name) {
  if (packages_.Empty()) return 0;
  std::string wanted = name;
  for (PackageRecord* p = FirstPackageRecord(); p != nullptr; p = NextPackageRecord()) {
    if (Is(p->name, wanted.c_str())) p->removed = 1;
  }
  return 1;
}

int CPackageManifest::RemoveNowOrAtRestart(ComponentRecord* record, bool (*removeNow)(const char*)) {
  // The manifest names what to delete: nothing outside the installation is
  // touched, now or at the restart.
  std::string reason;
  if (!vesta::platform::IsInsideRoot(record->value.c_str(), &reason)) {
    refusals_.push_back({record->value, reason});
    return 0;
  }
  // Base components always wait for the restart.
  if (!Is(record->owner, kBaseOwner) && removeNow(record->value.c_str())) return 1;
  std::string shortPath;
  if (!vesta::platform::ShortPath(record->value.c_str(), &shortPath) || shortPath.empty()) return 0;
  if (removals_ == 0) return ScheduleDeleteAtRestart(shortPath.c_str());
  deferred_.push_back(shortPath);
  return 1;
}

int CPackageManifest::DeleteComponentFile(ComponentRecord* record) {
  return record != nullptr ? RemoveNowOrAtRestart(record, RemoveFileNow) : 0;
}

int CPackageManifest::RemoveComponentFolder(ComponentRecord* record) {
  return record != nullptr ? RemoveNowOrAtRestart(record, RemoveFolderNow) : 0;
}
