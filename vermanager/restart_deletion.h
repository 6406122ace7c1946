// Deletion at the next restart: the "[rename]" section of WININIT.INI in
// the Windows folder, whose lines "NUL=" + short path name files and
// folders that Windows deletes when it starts. On POSIX nothing reads the
// file at start-up; ApplyRestartDeletions (the command vesta-wininit)
// stands in for the restart.
#ifndef VESTA_VERMANAGER_RESTART_DELETION_H
#define VESTA_VERMANAGER_RESTART_DELETION_H

#include <cstdio>
#include <string>
#include <vector>

#include "vermanager/refused_path.h"

// WININIT.INI in the Windows folder; "" when the folder cannot be had.
std::string RestartIniPath();

// Copies the old WININIT.INI (null when there is none) to newFile in
// pieces of at most 259 characters, writing the entry "NUL=" + path
// directly under each line that begins with "[rename]" (letter case
// ignored), or, when no line does, a "[rename]" section holding only the
// entry at the end (after ending a last line that has no line end). 1
// unless reading or writing failed.
int CopyWithRenameEntry(FILE* oldFile, FILE* newFile, const char* path);

// Adds "NUL=" + shortPath under WININIT.INI's "[rename]" section, so that
// the newest entry comes first. The file is written beside itself and
// renamed over (platform/file_output.h); on failure the old file is left
// whole. 1 when WININIT.INI now holds the entry.
int ScheduleDeleteAtRestart(const char* shortPath);

// Adds the entries of every short path in one rewrite of WININIT.INI,
// leaving the file as ScheduleDeleteAtRestart called for each in turn would
// (the last one first under the header), so that deferring many items costs
// one pass over the file. Empty paths are left out. 1 when WININIT.INI now
// holds them all (also when there are none); 0, the file as it was, when it
// cannot be rewritten.
int ScheduleDeletesAtRestart(const std::vector<std::string>& shortPaths);

// What ApplyRestartDeletions did, item by item.
struct RestartDeletionReport {
  std::vector<std::string> deleted;
  std::vector<std::string> notDeleted;  // missing, or a folder not empty
  std::vector<RefusedPath> refused;     // outside the installation: left alone
  bool cleared = false;                 // the "NUL=" lines were removed
};

// Does at once what the restart would: deletes every file and then every
// empty folder (deepest first) named by a "NUL=" line of the ini file's
// "[rename]" section, then removes those lines, keeping every other line
// (the file is rewritten beside itself and renamed over). An item that
// leads outside the installation is refused: not deleted, reported, and
// its line kept. Returns how many items were deleted, or -1 when the file
// cannot be read.
int ApplyRestartDeletions(const char* iniPath, RestartDeletionReport* report = nullptr);

#endif
