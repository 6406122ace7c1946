// Verifying and removing packages. A component is marked removed before
// anything is deleted, so that sub-packages that include each other do not
// loop; a path, key or package that another live component still lists is
// left in place.
#include <cctype>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/text.h"
#include "platform/bulk_removal.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/windows_names.h"
#include "vermanager/manifest.h"
#include "vermanager/removal_services.h"
#include "vermanager/restart_deletion.h"

namespace {

bool Is(const std::string& a, const char* b) { return a == b; }

// Package names compare as Windows compares names: letter case ignored.
bool SameName(const char* a, const char* b) { return vesta::platform::SameName(a, b); }


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

void CPackageManifest::BeginRemoval() {
  if (removals_++ > 0) return;
  runStart_ = outcomes_.size();
  // Each folder of the run is looked up once, however many files it holds.
  bulk_ = std::make_unique<vesta::platform::BulkRemoval>();
  liveByValue_.clear();
  byOwner_.clear();
  for (ComponentRecord* c = FirstComponentRecord(); c != nullptr; c = NextComponentRecord()) {
    if (!c->removed) ++liveByValue_[c->value];
    byOwner_[c->owner].push_back(c);
  }
}

int CPackageManifest::EndRemoval() {
  if (--removals_ > 0) return 1;
  bulk_.reset();
  liveByValue_.clear();
  byOwner_.clear();
  const int scheduled = holdDeferrals_ ? 1 : ScheduleHeldDeferrals();
  KeepWhatStayed(runStart_);
  return scheduled;
}

void CPackageManifest::Record(ComponentRecord* record, ComponentFate fate, std::string reason) {
  outcomes_.push_back({record, fate, std::move(reason)});
}

void CPackageManifest::MarkRemoved(ComponentRecord* record) {
  if (record->removed) return;
  record->removed = 1;
  if (removals_ > 0) --liveByValue_[record->value];
}

int CPackageManifest::ScheduleHeldDeferrals() {
  if (deferred_.empty()) return 1;
  std::vector<std::string> paths;
  paths.reserve(deferred_.size());
  for (const Deferral& d : deferred_) paths.push_back(d.shortPath);
  const int scheduled = ScheduleDeletesAtRestart(paths);
  if (!scheduled) {
    // Nothing waits for the restart: the manifest keeps listing them.
    const std::string why = vesta::platform::DescribeLastFileError();
    std::unordered_set<const ComponentRecord*> notDeferred;
    for (const Deferral& d : deferred_) {
      d.record->removed = 0;
      notDeferred.insert(d.record);
    }
    for (ComponentOutcome& outcome : outcomes_) {
      if (outcome.fate == ComponentFate::kDeferred && notDeferred.count(outcome.record) != 0) {
        outcome.fate = ComponentFate::kNotRemoved;
        outcome.reason = "cannot be deferred to the restart: " + (why.empty() ? RestartIniPath() : why);
      }
    }
  }
  deferred_.clear();
  // Held until now: their packages stay with them.
  if (!scheduled && removals_ == 0) KeepWhatStayed(runStart_);
  return scheduled;
}

void CPackageManifest::KeepWhatStayed(size_t from) {
  std::unordered_set<std::string> stayed;  // packages not wholly removed
  std::vector<std::string> waiting;
  std::unordered_map<std::string, std::vector<size_t>> includes;  // package -> "[NAM]" outcomes naming it
  for (size_t i = from; i < outcomes_.size(); ++i) {
    ComponentOutcome& outcome = outcomes_[i];
    if (outcome.fate == ComponentFate::kNotRemoved) {
      outcome.record->removed = 0;
      if (stayed.insert(outcome.record->owner).second) waiting.push_back(outcome.record->owner);
    } else if (outcome.fate == ComponentFate::kDeleted && Is(outcome.record->kind, "[NAM]")) {
      includes[outcome.record->value].push_back(i);
    }
  }
  // A package that stays keeps the "[NAM]" components that include it,
  // and so their packages too.
  while (!waiting.empty()) {
    const std::string package = waiting.back();
    waiting.pop_back();
    auto found = includes.find(package);
    if (found == includes.end()) continue;
    for (size_t i : found->second) {
      ComponentOutcome& outcome = outcomes_[i];
      if (outcome.fate == ComponentFate::kNotRemoved) continue;
      outcome.fate = ComponentFate::kNotRemoved;
      outcome.reason = "the package " + package + " it includes was not wholly removed";
      outcome.record->removed = 0;
      if (stayed.insert(outcome.record->owner).second) waiting.push_back(outcome.record->owner);
    }
  }
  if (stayed.empty()) return;
  for (PackageRecord* p = FirstPackageRecord(); p != nullptr; p = NextPackageRecord()) {
    if (stayed.count(p->name) != 0) p->removed = 0;
  }
}

int CPackageManifest::FindInstalledPackage(const char* name, std::string* spelled, std::string* title) {
  int index = 0;
  for (PackageRecord* p = FirstPackageRecord(); p != nullptr; p = NextPackageRecord()) {
    if (p->removed) continue;
    if (name != nullptr && SameName(p->name.c_str(), name)) {
      if (spelled != nullptr) *spelled = p->name;
      if (title != nullptr) *title = p->title;
      return index;
    }
    ++index;
  }
  return -1;
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
  // The owner's components in list order, from the index; one that a
  // nested removal marks meanwhile is passed over when its turn comes.
  auto found = byOwner_.find(owner);
  if (found != byOwner_.end()) {
    const std::vector<ComponentRecord*>& owned = found->second;
    for (size_t i = 0; i < owned.size(); ++i) {
      if (!owned[i]->removed) RemoveOneComponent(owned[i]);
    }
  }
  EndRemoval();
  return 1;
}

int CPackageManifest::RemoveComponent(ComponentRecord* record) {
  if (record == nullptr) return 0;
  BeginRemoval();
  const int result = RemoveOneComponent(record);
  return EndRemoval() ? result : 0;
}

int CPackageManifest::RemoveOneComponent(ComponentRecord* record) {
  int live = CountLiveComponents(record->value.c_str());
  MarkRemoved(record);
  if (live > 1) {  // another live component still lists it
    Record(record, ComponentFate::kShared);
    return 1;
  }
  if (Is(record->kind, "[FIL]")) return DeleteComponentFile(record);
  if (Is(record->kind, "[REG]")) return DeleteKey(record);
  if (Is(record->kind, "[DIR]")) return RemoveComponentFolder(record);
  if (Is(record->kind, "[NAM]")) {
    // Taken back by KeepWhatStayed when part of the package stays.
    Record(record, ComponentFate::kDeleted);
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

int CPackageManifest::DeleteKey(ComponentRecord* record) {
  vesta::platform::ClearRegistryLastProblem();
  const int deleted = DeleteRegistryKeyTree(record->value.c_str());
  // A key that is not there (or under no root the manifest knows) leaves
  // nothing behind.
  if (deleted || !RegistryKeyExists(record->value.c_str())) {
    Record(record, ComponentFate::kDeleted);
  } else {
    std::string problem = vesta::platform::RegistryLastProblem();
    Record(record, ComponentFate::kNotRemoved, problem.empty() ? "the key cannot be deleted" : problem);
  }
  return deleted;
}

int CPackageManifest::CountLiveComponents(const char* value) {
  if (removals_ > 0) {
    auto found = liveByValue_.find(value);
    return found != liveByValue_.end() ? found->second : 0;
  }
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

int CPackageManifest::RemoveNowOrAtRestart(ComponentRecord* record, bool folder) {
  // The manifest names what to delete: nothing outside the installation is
  // touched, now or at the restart.
  std::string reason;
  const char* path = record->value.c_str();
  const int item = bulk_->Add(path, &reason);
  if (item < 0) {
    refusals_.push_back({record->value, reason});
    Record(record, ComponentFate::kRefused, reason);
    return 0;
  }
  // Base components always wait for the restart.
  if (!Is(record->owner, kBaseOwner) &&
      (folder ? bulk_->RemoveEmptyFolder(item)
              : bulk_->RemoveIfFile(item) == vesta::platform::BulkRemoval::FileRemoval::kRemoved)) {
    Record(record, ComponentFate::kDeleted);
    return 1;
  }
  std::string shortPath;
  if (!vesta::platform::ShortPath(path, &shortPath) || shortPath.empty()) {
    // Nothing there is nothing left behind; anything else stays listed.
    if (!vesta::platform::FileExists(path) && !vesta::platform::FolderExists(path)) {
      Record(record, ComponentFate::kDeleted);
    } else {
      Record(record, ComponentFate::kNotRemoved, vesta::platform::LastFileError().reason);
    }
    return 0;
  }
  Record(record, ComponentFate::kDeferred);
  deferred_.push_back({record, shortPath});
  return 1;
}

int CPackageManifest::DeleteComponentFile(ComponentRecord* record) {
  if (record == nullptr) return 0;
  BeginRemoval();
  const int result = RemoveNowOrAtRestart(record, false);
  return EndRemoval() ? result : 0;
}

int CPackageManifest::RemoveComponentFolder(ComponentRecord* record) {
  if (record == nullptr) return 0;
  BeginRemoval();
  const int result = RemoveNowOrAtRestart(record, true);
  return EndRemoval() ? result : 0;
}
