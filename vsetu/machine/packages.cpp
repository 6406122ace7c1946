// The package manager's list, verify and uninstall for tools: its logic
// (vermanager/package_manager.h), with the dialog's questions and messages
// handed to the caller.
#include <string>
#include <vector>

#include "platform/file_error.h"
#include "vermanager/package_manager.h"
#include "vermanager/package_messages.h"
#include "vesta/vsetu.h"

namespace {

std::string InstallationFolder() {
  char home[kVSBuffer] = "";
  return VSGetVESTAHome(home) ? std::string(home) : std::string();
}

// The whole-product question through the caller's callback.
class CallbackQuestions : public UninstallQuestions {
 public:
  CallbackQuestions(VSPackageQuestion ask, void* context) : ask_(ask), context_(context) {}
  bool ConfirmWholeProduct() override {
    return ask_ != nullptr &&
           ask_(package_messages::kWholeProduct, package_messages::kWholeProductCaption, context_) == 1;
  }

 private:
  VSPackageQuestion ask_;
  void* context_;
};

int OutcomeCode(ComponentFate fate) {
  switch (fate) {
    case ComponentFate::kDeleted:
      return VS_COMPONENT_DELETED;
    case ComponentFate::kDeferred:
      return VS_COMPONENT_DEFERRED;
    case ComponentFate::kShared:
      return VS_COMPONENT_SHARED;
    case ComponentFate::kRefused:
      return VS_COMPONENT_REFUSED;
    case ComponentFate::kNotRemoved:
      break;
  }
  return VS_COMPONENT_NOT_REMOVED;
}

// Keeps a problem where VSGetLastFileProblem finds it.
void KeepProblem(const std::string& problem) {
  const size_t colon = problem.rfind(": ");
  if (colon == std::string::npos) {
    vesta::platform::SetFileError("", problem);
  } else {
    vesta::platform::SetFileError(problem.substr(0, colon).c_str(), problem.substr(colon + 2));
  }
}

}  // namespace

int VSListPackages(const char* manifest, VSPackageCallback callback, void* context) {
  if (manifest == nullptr) return 0;
  std::vector<InstalledPackage> packages;
  std::string problem;
  if (!PackageManager(manifest, std::string()).List(&packages, &problem)) {
    KeepProblem(problem);
    return 0;
  }
  for (const InstalledPackage& p : packages) {
    if (callback != nullptr && callback(p.name.c_str(), p.title.c_str(), context) != 1) break;
  }
  return 1;
}

int VSVerifyPackage(const char* manifest, const char* name, VSComponentCallback callback, void* context) {
  if (manifest == nullptr || name == nullptr) return -1;
  std::vector<VerifiedComponent> components;
  std::string problem;
  const int result = PackageManager(manifest, std::string()).Verify(name, &components, &problem);
  if (result == -1) KeepProblem(problem);
  for (const VerifiedComponent& c : components) {
    if (callback != nullptr && callback(c.kind.c_str(), c.value.c_str(), c.present ? 1 : 0, context) != 1) break;
  }
  return result;
}

int VSUninstallPackageWithOutcomes(const char* manifest, const char* name, VSPackageQuestion ask,
                                   VSPackageMessage tell, VSOutcomeCallback outcome, void* context) {
  if (manifest == nullptr || name == nullptr) return -1;
  PackageManager packages(manifest, InstallationFolder());
  // The first question, as the dialog asks it, before anything is locked.
  InstalledPackage package;
  std::string problem;
  const int found = packages.Find(name, &package, &problem);
  if (found < 0) KeepProblem(problem);
  if (found <= 0) return found < 0 ? -1 : -2;
  auto say = [&](const std::string& text, const char* caption) {
    if (tell != nullptr) tell(text.c_str(), caption, context);
  };
  if (ask == nullptr ||
      ask(package_messages::ConfirmRemoval(package.title).c_str(), package_messages::kUninstallCaption, context) != 1) {
    return 0;
  }
  CallbackQuestions questions(ask, context);
  const UninstallResult result = packages.Uninstall(name, &questions);
  using Status = UninstallResult::Status;
  switch (result.status) {
    case Status::kNotRead:
      KeepProblem(result.problem);
      return -1;
    case Status::kNotInstalled:
      return -2;
    case Status::kBlocked:
      say(package_messages::Blocked(result.blockingOwner), package_messages::kCannotCaption);
      return 0;
    case Status::kViewerRunning:
      say(package_messages::kViewerRunning, package_messages::kCannotCaption);
      return 0;
    case Status::kDeclined:
      return 0;
    default:
      break;
  }
  for (const RemovedComponent& c : result.components) {
    if (outcome != nullptr &&
        outcome(c.kind.c_str(), c.value.c_str(), c.owner.c_str(), OutcomeCode(c.fate), c.reason.c_str(), context) != 1) {
      break;
    }
  }
  std::string refused = package_messages::Refusals(result.refused);
  if (!refused.empty()) say(refused, package_messages::kUninstallCaption);
  if (result.restartNeeded) say(package_messages::kRestart, package_messages::kUninstallCaption);
  if (result.status == Status::kNotRewritten) {
    KeepProblem(result.problem);
    return 0;
  }
  return result.status == Status::kUninstalled ? 1 : 0;
}

int VSUninstallPackage(const char* manifest, const char* name, VSPackageQuestion ask, VSPackageMessage tell,
                       void* context) {
  return VSUninstallPackageWithOutcomes(manifest, name, ask, tell, nullptr, context);
}
