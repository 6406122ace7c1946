// VSetu's package services: the package manager's list, verify and
// uninstall without its dialog, under the dialog's rules (shared
// components kept while another package lists them, what cannot go now
// deleted at the next restart, the upgrade log). Part of vsetu.h.
//
// Each call reads the manifest afresh; an uninstall rewrites it.
#ifndef VESTA_VSETU_PACKAGES_H
#define VESTA_VSETU_PACKAGES_H

#include "vesta/export.h"

// One package of the manifest: its name and title. Return 1 to go on.
typedef int (*VSPackageCallback)(const char* name, const char* title, void* context);
// One component of a package: its kind ("[FIL]", "[DIR]", "[REG]" or
// "[NAM]"), its value, and 1 when it is present (files and registry keys
// are looked at; folders and packages count as present).
typedef int (*VSComponentCallback)(const char* kind, const char* value, int present, void* context);
// The dialog's questions (1 for yes) and messages, with their captions.
typedef int (*VSPackageQuestion)(const char* text, const char* caption, void* context);
typedef void (*VSPackageMessage)(const char* text, const char* caption, void* context);

// Walks the installed packages. 0 when the manifest cannot be read.
VSETU_API int VSListPackages(const char* manifest, VSPackageCallback callback, void* context);

// Walks the components of the package. 1 when every component is present,
// 0 when one is missing, -1 when the manifest cannot be read, -2 when it
// lists no installed package of that name.
VSETU_API int VSVerifyPackage(const char* manifest, const char* name, VSComponentCallback callback,
                              void* context);

// Uninstalls the package as the dialog's Un-Install button does, asking
// its questions and showing its messages through the callbacks. 1 when
// the package is gone from the manifest afterwards; 0 when it stays (a
// question answered no, a package that must go first, the viewer running,
// a component that could not be removed, or the manifest that cannot be
// rewritten); -1 when the manifest cannot be read; -2 when it lists no
// installed package of that name.
VSETU_API int VSUninstallPackage(const char* manifest, const char* name, VSPackageQuestion ask,
                                 VSPackageMessage tell, void* context);

// What became of one component in an uninstall: its kind, value and
// owner, one of the VS_COMPONENT_ codes, and for VS_COMPONENT_NOT_REMOVED
// and VS_COMPONENT_REFUSED the reason ("" otherwise). Return 1 to go on.
typedef int (*VSOutcomeCallback)(const char* kind, const char* value, const char* owner, int fate,
                                 const char* reason, void* context);
#define VS_COMPONENT_NOT_REMOVED 0  // neither removed nor deferred: stays in the manifest
#define VS_COMPONENT_DELETED 1      // deleted now, or not there to begin with
#define VS_COMPONENT_DEFERRED 2     // deleted at the next restart (WININIT.INI)
#define VS_COMPONENT_SHARED 3       // left in place: another package lists it
#define VS_COMPONENT_REFUSED 4      // left alone: the manifest names it outside the installation

// VSUninstallPackage, telling what became of every component it handled
// (the base components last, when the last package went). The manifest is
// read, changed and rewritten under its lock, so that uninstalls running
// at the same time in other processes lose nothing; what waits for the
// restart goes to WININIT.INI only once the manifest is rewritten. A
// component that was neither removed nor deferred stays in the manifest
// under its package, which stays installed: the result is then 0, and
// uninstalling the package again finishes the work. When the manifest
// cannot be read, locked or rewritten, VSGetLastFileProblem says why.
VSETU_API int VSUninstallPackageWithOutcomes(const char* manifest, const char* name, VSPackageQuestion ask,
                                             VSPackageMessage tell, VSOutcomeCallback outcome, void* context);

#endif
