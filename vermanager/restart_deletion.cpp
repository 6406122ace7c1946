#include "vermanager/restart_deletion.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <unordered_set>

#include "common/text.h"
#include "platform/bulk_removal.h"
#include "platform/file_lock.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/windows_names.h"

namespace {

namespace platform = vesta::platform;

constexpr char kIniName[] = "WININIT.INI";
constexpr char kRenameHeader[] = "[rename]";
constexpr int kRenameHeaderLength = 8;
constexpr char kDeleteKey[] = "NUL=";
constexpr int kDeleteKeyLength = 4;
// Longest piece of a line copied at a time.
constexpr int kPieceLength = 259;

bool IsRenameHeader(const char* line) { return VUCompareN(line, kRenameHeader, kRenameHeaderLength) == 1; }

bool Put(FILE* stream, const char* text) { return platform::WriteToStream(stream, std::string_view(text)); }

// The file's lines without their line ends. False when it cannot be read.
bool ReadLines(const char* path, std::vector<std::string>* lines) {
  std::string text;
  if (!platform::ReadWholeFile(path, &text, platform::FileMode::kText)) return false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t cut = end;
    while (cut > start && text[cut - 1] == '\r') --cut;
    lines->push_back(text.substr(start, cut - start));
    start = end + 1;
  }
  return true;
}

// Writes the lines to the file beside path and renames it over path.
bool ReplaceLines(const char* path, const std::vector<std::string>& lines) {
  platform::Replacement ini;
  if (!ini.Begin(path, platform::FileMode::kText)) return false;
  for (const std::string& line : lines) ini.Write(line) && ini.Write("\n");
  return ini.Commit();
}

// Folders below others come first, so that a folder emptied in the same run
// goes too.
int Depth(const std::string& path) {
  size_t end = path.find_last_not_of("\\/");
  if (end == std::string::npos) return 0;
  return static_cast<int>(std::count_if(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(end),
                                        [](char c) { return c == '\\' || c == '/'; }));
}

std::string FoldCase(const std::string& text) { return platform::FoldPath(text); }

}  // namespace

std::string RestartIniPath() {
  std::string windows = platform::WindowsFolder();
  return windows.empty() ? std::string() : windows + "\\" + kIniName;
}

namespace {

// Copies the old file to the new one with entries (whole "NUL=" lines)
// under each "[rename]" line, or at the end in a section of their own.
int CopyWithEntries(FILE* oldFile, FILE* newFile, const std::string& entries) {
  bool ok = true;
  bool inserted = false;
  bool atLineStart = true;  // the next piece begins a line
  if (oldFile != nullptr) {
    char piece[kPieceLength + 1];
    while (ok && std::fgets(piece, sizeof piece, oldFile) != nullptr) {
      ok = Put(newFile, piece);
      size_t length = std::strlen(piece);
      bool ended = length > 0 && piece[length - 1] == '\n';
      // Only a piece that begins a line can be the header; the rest of a
      // long line is not one.
      if (ok && atLineStart && IsRenameHeader(piece)) {
        if (!ended) ok = Put(newFile, "\n");  // the header ends the file
        ended = true;
        ok = ok && Put(newFile, entries.c_str());
        inserted = true;
      }
      atLineStart = ended;
    }
    // A file read only in part must not replace the whole one.
    if (std::ferror(oldFile)) ok = false;
  }
  if (ok && !inserted) {
    if (!atLineStart) ok = Put(newFile, "\n");
    ok = ok && Put(newFile, kRenameHeader) && Put(newFile, "\n") && Put(newFile, entries.c_str());
  }
  return ok ? 1 : 0;
}

std::string EntryLine(const char* path) { return std::string(kDeleteKey) + path + "\n"; }

// Rewrites WININIT.INI with entries added.
int AddEntries(const std::string& entries) {
  std::string ini = RestartIniPath();
  if (ini.empty()) return 0;
  // Read and rewritten under its lock, so that entries another process
  // adds meanwhile are kept.
  platform::FileLock lock;
  if (!lock.Acquire(ini.c_str())) return 0;
  platform::Replacement newFile;
  if (!newFile.Begin(ini.c_str(), platform::FileMode::kText)) return 0;
  FILE* oldFile = platform::OpenStream(ini.c_str(), "r");
  // A WININIT.INI that is there but cannot be read is not replaced by one
  // without its entries.
  bool ok = oldFile != nullptr || !platform::FileExists(ini.c_str());
  ok = ok && CopyWithEntries(oldFile, newFile.Stream(), entries) == 1;
  if (oldFile != nullptr) std::fclose(oldFile);
  // Renamed over, never deleted and copied: a failure keeps every pending
  // entry of the old file.
  return ok && newFile.Commit() ? 1 : 0;
}

}  // namespace

int CopyWithRenameEntry(FILE* oldFile, FILE* newFile, const char* path) {
  if (newFile == nullptr || path == nullptr) return 0;
  return CopyWithEntries(oldFile, newFile, EntryLine(path));
}

int ScheduleDeleteAtRestart(const char* shortPath) {
  if (shortPath == nullptr || *shortPath == '\0') return 0;
  return AddEntries(EntryLine(shortPath));
}

int ScheduleDeletesAtRestart(const std::vector<std::string>& shortPaths) {
  // Each entry goes directly under the header: the last one ends first.
  std::string entries;
  for (auto path = shortPaths.rbegin(); path != shortPaths.rend(); ++path) {
    if (!path->empty()) entries += EntryLine(path->c_str());
  }
  return entries.empty() ? 1 : AddEntries(entries);
}

int ApplyRestartDeletions(const char* iniPath, RestartDeletionReport* report) {
  RestartDeletionReport ignored;
  RestartDeletionReport& done = report != nullptr ? *report : ignored;
  done = RestartDeletionReport();
  std::vector<std::string> lines;
  if (iniPath == nullptr) return -1;
  // Held until the file is rewritten: an entry added meanwhile would be
  // lost with the lines acted on.
  platform::FileLock lock;
  if (!lock.Acquire(iniPath) || !ReadLines(iniPath, &lines)) return -1;

  // Each item is resolved once, when it is taken in.
  platform::BulkRemoval removal;
  struct Item {
    std::string path;
    int number;  // in removal
  };
  std::vector<std::string> kept;
  std::vector<Item> items;
  std::unordered_set<std::string> seen;  // letter case folded, as Windows names are
  bool inSection = false;
  for (const std::string& line : lines) {
    if (!line.empty() && line[0] == '[') {
      inSection = IsRenameHeader(line.c_str());
    } else if (inSection && VUCompareN(line.c_str(), kDeleteKey, kDeleteKeyLength) == 1) {
      std::string item = line.substr(kDeleteKeyLength);
      if (item.empty()) continue;
      std::string reason;
      const int number = removal.Add(item.c_str(), &reason);
      if (number < 0) {
        done.refused.push_back({item, reason});
        kept.push_back(line);
        continue;
      }
      if (seen.insert(FoldCase(item)).second) items.push_back({std::move(item), number});
      continue;
    }
    kept.push_back(line);
  }

  int count = 0;
  auto note = [&](const std::string& item, bool removed) {
    (removed ? done.deleted : done.notDeleted).push_back(item);
    if (removed) ++count;
  };
  std::vector<Item> folders;
  for (Item& item : items) {
    const platform::BulkRemoval::FileRemoval removed = removal.RemoveIfFile(item.number);
    if (removed == platform::BulkRemoval::FileRemoval::kNotAFile) {
      folders.push_back(std::move(item));
    } else {
      note(item.path, removed == platform::BulkRemoval::FileRemoval::kRemoved);
    }
  }
  std::stable_sort(folders.begin(), folders.end(),
                   [](const Item& a, const Item& b) { return Depth(a.path) > Depth(b.path); });
  for (const Item& folder : folders) note(folder.path, removal.RemoveEmptyFolder(folder.number));

  done.cleared = kept.size() == lines.size() || ReplaceLines(iniPath, kept);
  return count;
}
