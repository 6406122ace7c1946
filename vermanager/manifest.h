// The package manifest: which packages are installed and which files,
// folders, registry keys and sub-packages each one owns. Read once at
// start-up; only the removal marks change during a run, and the file is
// rewritten from memory after each uninstall.
#ifndef VESTA_VERMANAGER_MANIFEST_H
#define VESTA_VERMANAGER_MANIFEST_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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

 private:
  PackageRecord* FirstPackageRecord();
  PackageRecord* NextPackageRecord();
  ComponentRecord* FirstComponentRecord();
  ComponentRecord* NextComponentRecord();
  // Deletes the item now, or at the next restart when it is a base
  // component or cannot go now.
  int RemoveNowOrAtRestart(ComponentRecord* record, bool (*removeNow)(const char*));
  // A removal under way gathers what waits for the restart; the outermost
  // one, when it ends, adds it all to WININIT.INI in one rewrite.
  void BeginRemoval() { ++removals_; }
  void EndRemoval();

  int selected_ = -1;
  CRecordList packages_;
  CRecordList components_;
  std::vector<RefusedPath> refusals_;
  int removals_ = 0;
  std::vector<std::string> deferred_;  // short paths, in the order deferred
};

#endif
