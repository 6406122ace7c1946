#include "vermanager/package_manager.h"

#include <cstdio>
#include <utility>

#include "platform/file_error.h"
#include "platform/file_lock.h"
#include "vermanager/removal_services.h"
#include "vermanager/upgrade_log.h"
#include "vermanager/viewer_check.h"

namespace {

using Status = UninstallResult::Status;

std::string Problem(const std::string& path, const char* fallback) {
  std::string problem = vesta::platform::DescribeLastFileError();
  return problem.empty() ? path + ": " + fallback : problem;
}

}  // namespace

std::vector<const RemovedComponent*> UninstallResult::NotRemoved() const {
  std::vector<const RemovedComponent*> stayed;
  for (const RemovedComponent& c : components) {
    if (c.fate == ComponentFate::kNotRemoved) stayed.push_back(&c);
  }
  return stayed;
}

PackageManager::PackageManager(std::string manifestPath, std::string installationFolder)
    : manifestPath_(std::move(manifestPath)), installationFolder_(std::move(installationFolder)) {}

bool PackageManager::Load(CPackageManifest* manifest, std::string* problem) const {
  vesta::platform::SetFileError("", "");
  if (manifest->LoadManifest(manifestPath_.c_str())) return true;
  if (problem != nullptr) *problem = Problem(manifestPath_, "cannot be read");
  return false;
}

bool PackageManager::List(std::vector<InstalledPackage>* packages, std::string* problem) const {
  CPackageManifest manifest;
  if (!Load(&manifest, problem)) return false;
  char name[65];
  char title[261];
  int removed = 0;
  for (int more = manifest.FirstPackage(name, title, &removed); more;
       more = manifest.NextPackage(name, title, &removed)) {
    if (!removed && packages != nullptr) packages->push_back({name, title});
  }
  return true;
}

int PackageManager::Find(const std::string& name, InstalledPackage* found, std::string* problem) const {
  CPackageManifest manifest;
  if (!Load(&manifest, problem)) return -1;
  InstalledPackage package;
  if (manifest.FindInstalledPackage(name.c_str(), &package.name, &package.title) < 0) return 0;
  if (found != nullptr) *found = std::move(package);
  return 1;
}

int PackageManager::Verify(const std::string& name, std::vector<VerifiedComponent>* components,
                           std::string* problem) const {
  CPackageManifest manifest;
  if (!Load(&manifest, problem)) return -1;
  std::string spelled;
  if (manifest.FindInstalledPackage(name.c_str(), &spelled, nullptr) < 0) return -2;
  // The dialog's test, component by component, so that every missing one
  // is named and not only the first.
  char value[261];
  char kind[65];
  char owner[65];
  int removed = 0;
  int result = 1;
  for (int more = manifest.FirstComponent(value, kind, owner, &removed); more;
       more = manifest.NextComponent(value, kind, owner, &removed)) {
    if (removed || spelled != owner) continue;
    bool present = true;
    if (std::string(kind) == "[FIL]") {
      present = FileIsReadable(value) != 0;
    } else if (std::string(kind) == "[REG]") {
      present = RegistryKeyExists(value) != 0;
    }
    if (!present) result = 0;
    if (components != nullptr) components->push_back({kind, value, present});
  }
  return result;
}

UninstallResult PackageManager::Uninstall(const std::string& name, UninstallQuestions* questions) const {
  UninstallResult result;
  vesta::platform::FileLock lock;
  if (!lock.Acquire(manifestPath_.c_str())) {
    result.problem = Problem(vesta::platform::LockFileOf(manifestPath_.c_str()), "cannot be locked");
    return result;
  }
  CPackageManifest manifest;
  if (!Load(&manifest, &result.problem)) return result;
  const int index = manifest.FindInstalledPackage(name.c_str(), &result.name, &result.title);
  if (index < 0) {
    result.status = Status::kNotInstalled;
    return result;
  }
  manifest.SetSelection(index);
  char owner[65] = "";
  if (!manifest.FindBlockingOwner(result.name.c_str(), owner)) {
    result.status = Status::kBlocked;
    result.blockingOwner = owner;
    return result;
  }
  if (IsViewerRunning()) {
    result.status = Status::kViewerRunning;
    return result;
  }
  if (CPackageManifest::IsWholeProduct(result.name.c_str()) &&
      (questions == nullptr || !questions->ConfirmWholeProduct())) {
    result.status = Status::kDeclined;
    return result;
  }

  // What waits for the restart is written only once the manifest no
  // longer lists it.
  manifest.HoldDeferrals(true);
  manifest.RemoveSelectedPackage();
  result.status = Status::kUninstalled;
  if (!manifest.SaveManifest(manifestPath_.c_str())) {
    result.status = Status::kNotRewritten;
    result.problem = Problem(manifestPath_, "cannot be written");
  } else if (!manifest.ScheduleHeldDeferrals() && !manifest.SaveManifest(manifestPath_.c_str())) {
    // The items that could not be deferred are listed again, or not at all.
    result.status = Status::kNotRewritten;
    result.problem = Problem(manifestPath_, "cannot be written");
  } else if (manifest.CountPackages() == 0 && manifest.RemoveOwnedComponents(kBaseOwner) == 1) {
    // The manifest, rewritten before the sweep, still lists the base
    // components; they go at the restart.
    manifest.ScheduleHeldDeferrals();
    result.restartNeeded = true;
  }
  for (const ComponentOutcome& outcome : manifest.Outcomes()) {
    const ComponentRecord& c = *outcome.record;
    RemovedComponent removed{c.kind, c.value, c.owner, outcome.fate, outcome.reason};
    if (result.status == Status::kNotRewritten && removed.fate == ComponentFate::kDeferred) {
      removed.fate = ComponentFate::kNotRemoved;
      removed.reason = "not deferred: the manifest could not be rewritten";
    }
    result.components.push_back(std::move(removed));
  }
  result.refused = manifest.Refusals();
  if (result.status == Status::kUninstalled && !result.NotRemoved().empty()) result.status = Status::kIncomplete;
  lock.Release();

  char comment[400];
  std::snprintf(comment, sizeof comment, "UnInstalling VESTA package: <%s>", result.title.c_str());
  AppendUpgradeLog(installationFolder_.c_str(), comment);
  return result;
}
