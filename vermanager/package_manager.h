// The package manager's work without a window: list, verify and uninstall
// packages of one manifest, each from the manifest as it is on disk at that
// moment. The dialog, `vesta package` and the setup library's package
// services are front ends over it; they ask the questions and show the
// messages (package_messages.h).
//
// An uninstall holds the manifest's lock (platform/file_lock.h) from its
// read to its rewrite, so that two processes uninstalling packages of one
// manifest lose neither's change. It rewrites the manifest first and only
// then adds what waits for the restart to WININIT.INI, so that a manifest
// that cannot be rewritten schedules nothing. A component that could be
// neither removed nor deferred stays in the manifest under its package, so
// that the next uninstall finishes the work; the result names it.
#ifndef VESTA_VERMANAGER_PACKAGE_MANAGER_H
#define VESTA_VERMANAGER_PACKAGE_MANAGER_H

#include <string>
#include <vector>

#include "vermanager/manifest.h"

struct InstalledPackage {
  std::string name;
  std::string title;
};

struct VerifiedComponent {
  std::string kind;
  std::string value;
  bool present;  // files and keys are looked at; folders and packages count as present
};

// What became of one component in an uninstall.
struct RemovedComponent {
  std::string kind;
  std::string value;
  std::string owner;
  ComponentFate fate;
  std::string reason;  // why it was not removed
};

struct UninstallResult {
  enum class Status {
    kUninstalled,     // gone from the manifest: every component removed, deferred or shared
    kIncomplete,      // rewritten, but components named in `components` stay: run again
    kNotInstalled,    // the manifest lists no installed package of that name
    kBlocked,         // another package includes it: blockingOwner
    kViewerRunning,   // the viewer runs
    kDeclined,        // the whole-product question was answered no
    kNotRead,         // the manifest cannot be read, or its lock had: problem
    kNotRewritten,    // the manifest cannot be rewritten: problem; nothing was scheduled
  };
  Status status = Status::kNotRead;
  std::string name;   // as the manifest spells it
  std::string title;
  std::string blockingOwner;
  std::string problem;  // "<path>: <reason>"
  std::vector<RemovedComponent> components;  // in the order handled, the base components last
  // The files and folders left in place because the manifest names them
  // outside the installation (also among components, as not removed).
  std::vector<RefusedPath> refused;
  // The last package went: the base components were swept, and a restart
  // finishes the uninstall.
  bool restartNeeded = false;
  // The components that stayed in the manifest.
  std::vector<const RemovedComponent*> NotRemoved() const;
};

// The question an uninstall asks on its way, after the checks and before
// anything is removed: whether to remove the whole product. True to go on.
class UninstallQuestions {
 public:
  virtual ~UninstallQuestions() = default;
  virtual bool ConfirmWholeProduct() = 0;
};

class PackageManager {
 public:
  // manifestPath: a path of file_system.h. installationFolder: where the
  // upgrade log lies ("" writes none).
  PackageManager(std::string manifestPath, std::string installationFolder);

  // The installed packages in manifest order. False, with problem set,
  // when the manifest cannot be read.
  bool List(std::vector<InstalledPackage>* packages, std::string* problem) const;

  // The installed package whose name is name, letter case ignored, with
  // its name and title as the manifest spells them. 1 when found, 0 when
  // not, -1 when the manifest cannot be read (problem set).
  int Find(const std::string& name, InstalledPackage* found, std::string* problem) const;

  // The components of the installed package (letter case of the name
  // ignored) in manifest order, each looked at. 1 when all are present, 0
  // when one is missing, -1 when the manifest cannot be read (problem
  // set), -2 when it lists no installed package of that name.
  int Verify(const std::string& name, std::vector<VerifiedComponent>* components, std::string* problem) const;

  // Uninstalls the installed package (letter case ignored) under the
  // dialog's rules, and appends the upgrade log's entry once it has run.
  UninstallResult Uninstall(const std::string& name, UninstallQuestions* questions) const;

 private:
  bool Load(CPackageManifest* manifest, std::string* problem) const;

  std::string manifestPath_;
  std::string installationFolder_;
};

#endif
