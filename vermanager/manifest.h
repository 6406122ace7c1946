// The package manifest: which packages are installed and which files,
// folders, registry keys and sub-packages each one owns. Read once at
// start-up; only the removal marks change during a run, and the file is
// rewritten from memory after each uninstall.
#ifndef VESTA_VERMANAGER_MANIFEST_H
#define VESTA_VERMANAGER_MANIFEST_H

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/bulk_removal.h"
#include "vermanager/record_list.h"
#include "vermanager/refused_path.h"

// The whole-product package: uninstalling it uninstalls every package.
constexpr char kWholeProduct[] = "FREEWARE";
// The owner of the base components, which go with the last package.
constexpr char kBaseOwner[] = "BASEWARE";

// Texts are held at their own length (a manifest of many thousand records
// stays small), cut to what the file's fields allow: names, kinds and owners
// 64 characters, titles and values 260.
constexpr size_t kPackageNameLength = 64;
constexpr size_t kPackageTextLength = 260;

struct PackageRecord {
  int32_t removed = 0;  // 1 once uninstalled in this run
  std::string name;
  std::string title;
};

struct ComponentRecord {
  int32_t removed = 0;  // 1 once removed (or released as shared) in this run
  std::string value;    // path, registry key path or package name
  std::string kind;     // "[FIL]", "[DIR]", "[REG]" or "[NAM]"
  std::string owner;
};

// What a removal did with one component.
enum class ComponentFate {
  kDeleted,     // gone: deleted now, or not there to begin with
  kDeferred,    // waits for the restart (a "NUL=" line of WININIT.INI)
  kShared,      // left in place: another live component lists it
  kNotRemoved,  // neither removed nor deferred; the reason says why
  kRefused,     // left alone: it leads outside the installation (the reason says how)
};

struct ComponentOutcome {
  ComponentRecord* record;  // the manifest's own record
  ComponentFate fate;
  std::string reason;  // for kNotRemoved and kRefused
};

class CPackageManifest {
 public:
  CPackageManifest() = default;
  ~CPackageManifest();
  CPackageManifest(const CPackageManifest&) = delete;
  CPackageManifest& operator=(const CPackageManifest&) = delete;

  int LoadManifest(const char* path);
  // Reads lines of at most 519 characters (a longer line comes in pieces).
  // 0 when a record cannot be allocated.
  int ReadManifestLines(FILE* stream);
  // 1 when the line was stored or ignored; 0 when out of memory.
  int ParseManifestLine(const char* line);
  int AddPackage(const char* name, const char* title);
  int AddComponent(const char* kind, const char* value, const char* owner);
  // Rewrites the file: packages not removed, then components not removed.
  // The file is written beside itself and renamed over, so that a failed
  // rewrite leaves the old manifest whole. 0 when it cannot be written.
  int SaveManifest(const char* path);

  // The selection: an index into the visible (not removed) packages.
  void SetSelection(int index) { selected_ = index; }
  void ClearSelection();
  int GetSelectedPackage(char* name, char* title);

  // Walks over every record, removed ones included (name 65, title 261,
  // value 261, kind 65, owner 65 bytes). 0 at the end.
  int FirstPackage(char* name, char* title, int* removed);
  int NextPackage(char* name, char* title, int* removed);
  int FirstComponent(char* value, char* kind, char* owner, int* removed);
  int NextComponent(char* value, char* kind, char* owner, int* removed);

  // The number of packages not removed.
  int CountPackages();
  // 1 when name is the whole-product package.
  static int IsWholeProduct(const char* name);

  // Verify and uninstall.
  int FindMissingComponent(const char* name, char* path);
  int FindBlockingOwner(const char* name, char* owner);
  int RemoveSelectedPackage();
  int RemoveOwnedComponents(const char* owner);
  int RemoveComponent(ComponentRecord* record);
  int CountLiveComponents(const char* value);
  int MarkPackageRemoved(const char* name);
  int DeleteComponentFile(ComponentRecord* record);
  int RemoveComponentFolder(ComponentRecord* record);

  // The files and folders that removals left alone since the last
  // ClearRefusals, in order: they lead outside the installation (a host
  // path, a relative path, a link out of VESTA_ROOT), and were neither
  // deleted nor deferred.
  const std::vector<RefusedPath>& Refusals() const { return refusals_; }
  void ClearRefusals() { refusals_.clear(); }

  // What the removals did with each component they handled since the last
  // ClearOutcomes, in the order handled.
  const std::vector<ComponentOutcome>& Outcomes() const { return outcomes_; }
  void ClearOutcomes() { outcomes_.clear(); }

  // With deferrals held, what waits for the restart is kept here instead of
  // being written to WININIT.INI when the removal ends, so that the caller
  // can write it once the manifest is rewritten (ScheduleHeldDeferrals).
  void HoldDeferrals(bool hold) { holdDeferrals_ = hold; }
  // Adds the held deferrals to WININIT.INI in one rewrite and forgets them.
  // 1 when they are all there (also when there are none); 0 when WININIT.INI
  // cannot be rewritten: the records deferred are then taken back into the
  // manifest (no longer marked removed), with their packages, and their
  // outcomes say why.
  int ScheduleHeldDeferrals();

  // The installed package whose name equals name, letter case ignored:
  // its place among the installed packages (as the dialog lists them), with
  // its name and title as the manifest spells them. -1 when there is none.
  int FindInstalledPackage(const char* name, std::string* spelled, std::string* title);

 private:
  PackageRecord* FirstPackageRecord();
  PackageRecord* NextPackageRecord();
  ComponentRecord* FirstComponentRecord();
  ComponentRecord* NextComponentRecord();
  // Deletes the item now, or at the next restart when it is a base
  // component or cannot go now.
  int RemoveNowOrAtRestart(ComponentRecord* record, bool folder);
  // Deletes a "[REG]" component's key tree, as DeleteRegistryKeyTree.
  int DeleteKey(ComponentRecord* record);
  // A removal under way gathers what waits for the restart; the outermost
  // one, when it ends, adds it all to WININIT.INI in one rewrite (unless
  // deferrals are held). While one is under way the live components are
  // counted by value and found by owner through an index, so that a removal
  // costs what its components cost.
  void BeginRemoval();
  // 0 when the outermost removal ends and its deferrals could not be
  // written to WININIT.INI.
  int EndRemoval();
  // At the end of the outermost removal: every component that its
  // outcomes (from the one at index from on) say was neither removed nor
  // deferred is taken back into the manifest, with the package that owns
  // it and every package and "[NAM]" component that includes such a
  // package, so that the next uninstall of it finishes the work. The
  // outcomes of "[NAM]" components taken back say so.
  void KeepWhatStayed(size_t from);
  int RemoveOneComponent(ComponentRecord* record);
  void Record(ComponentRecord* record, ComponentFate fate, std::string reason = std::string());
  // Marks the record removed, keeping the index's count.
  void MarkRemoved(ComponentRecord* record);

  int selected_ = -1;
  CRecordList packages_;
  CRecordList components_;
  std::vector<RefusedPath> refusals_;
  int removals_ = 0;
  struct Deferral {
    ComponentRecord* record;
    std::string shortPath;
  };
  std::vector<Deferral> deferred_;  // in the order deferred
  bool holdDeferrals_ = false;
  std::vector<ComponentOutcome> outcomes_;
  size_t runStart_ = 0;  // the first outcome of the removal under way
  // The index of a removal under way: live components by value, and all
  // components by owner in list order.
  std::unordered_map<std::string, int> liveByValue_;
  std::unordered_map<std::string, std::vector<ComponentRecord*>> byOwner_;
  std::unique_ptr<vesta::platform::BulkRemoval> bulk_;  // the removal under way's deletions
};

#endif
