// The package manager's writers killed at random moments. The manifest and
// WININIT.INI are rewritten whole: after every kill each holds a complete
// version, the old one or the new one, and the temporaries of killed
// writers go with the next process's replacement. The upgrade log only
// grows: every entry written before a kill reads back whole and in order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/crash.h"
#include "platform/testing/crash_rounds.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vermanager/manifest.h"
#include "vermanager/restart_deletion.h"
#include "vermanager/upgrade_log.h"

namespace {

namespace platform = vesta::platform;
using vesta::testing::KillOutcome;
using vesta::testing::KillRound;
using vesta::testing::NumberedText;
using vesta::testing::ReadTextFile;

// ---------------------------------------------------------------------------
// The manifest: version n names two packages and 200 files, each after n.

constexpr int kManifestFiles = 200;

std::string CoreTitle(std::int64_t n) { return "Core release " + std::to_string(n); }

bool SaveManifestVersion(const std::string& path, std::int64_t n) {
  CPackageManifest manifest;
  manifest.AddPackage("CORE", CoreTitle(n).c_str());
  manifest.AddPackage("EXTRA", NumberedText(n, 200).c_str());
  for (int k = 0; k < kManifestFiles; ++k) {
    const std::string file = "C:\\VESTA\\bin\\" + NumberedText(n * kManifestFiles + k, 100) + ".dll";
    manifest.AddComponent("[FIL]", file.c_str(), k % 2 == 0 ? "CORE" : "EXTRA");
  }
  return manifest.SaveManifest(path.c_str()) == 1;
}

TEST(WriterCrashTest, TheManifestIsAlwaysOneWholeVersion) {
  if (!vesta::testing::CanKillWriters()) GTEST_SKIP() << "writers cannot be killed here";
  vesta::testing::ScratchFolder scratch;
  const std::string folder = scratch.Path("Install\\");
  const std::string path = folder + "VerManager.lst";
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  // Each version as the writer makes it when nothing stops it, in a folder
  // of its own.
  const std::string expected = scratch.Path("expected\\");
  ASSERT_TRUE(platform::MakeFolder(expected.c_str()));
  vesta::testing::MadeVersions text(expected, ".lst", SaveManifestVersion, ReadTextFile(path));
  vesta::testing::KillRewriterRepeatedly(
      "manifest", path, folder, [&](std::int64_t n) { return SaveManifestVersion(path, n); }, text,
      [&](std::int64_t current) {
        CPackageManifest manifest;
        char name[65];
        char title[261];
        int removed = 0;
        EXPECT_EQ(manifest.LoadManifest(path.c_str()), 1);
        EXPECT_EQ(manifest.FirstPackage(name, title, &removed), 1);
        EXPECT_EQ(title, CoreTitle(current));
      });
}

// ---------------------------------------------------------------------------
// WININIT.INI: entry n names a file after n; the newest comes first.

const char kOtherSections[] = "[boot]\nshell=Explorer.exe\n";

std::string Doomed(std::int64_t n) { return "C:\\VESTA\\old\\" + NumberedText(n, 150) + ".dll"; }

// The file holding the entries (newest last in the list).
std::string IniText(const std::vector<std::int64_t>& entries) {
  if (entries.empty()) return kOtherSections;
  std::string text = std::string(kOtherSections) + "[rename]\n";
  for (auto n = entries.rbegin(); n != entries.rend(); ++n) text += "NUL=" + Doomed(*n) + "\n";
  return text;
}

class RestartIniCrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::MakeFolder(windows_.c_str()));
    platform::OverrideWindowsFolder(windows_.c_str());
  }
  void TearDown() override { platform::OverrideWindowsFolder(nullptr); }

  vesta::testing::ScratchFolder scratch_;
  std::string windows_ = scratch_.Path("Windows");
  std::string ini_ = windows_ + "\\WININIT.INI";
};

TEST_F(RestartIniCrashTest, WininitIsAlwaysOneWholeVersion) {
  if (!vesta::testing::CanKillWriters()) GTEST_SKIP() << "writers cannot be killed here";
  ASSERT_TRUE(vesta::testing::WriteTextFile(ini_, kOtherSections));

  std::vector<std::int64_t> entries;  // those that the file holds
  std::int64_t current = -1;
  std::vector<std::string> temporaries;
  auto check = [&](const KillRound& round) {
    // Version v holds the entries kept so far, those the child finished,
    // and v itself.
    auto text = [&](std::int64_t v) {
      std::vector<std::int64_t> held = entries;
      for (std::int64_t n = round.first; n <= round.finished && n <= v; ++n) held.push_back(n);
      if (v > round.finished) held.push_back(v);
      return IniText(held);
    };
    KillOutcome outcome = vesta::testing::CheckReplaced(round, ReadTextFile(ini_), text, &current);
    for (std::int64_t n = round.first; n <= round.finished; ++n) entries.push_back(n);
    if (outcome.landed) entries.push_back(round.begun);
    outcome.cut = vesta::testing::LeftNewTemporary(windows_ + "\\", &temporaries);
    return outcome;
  };
  const vesta::testing::KillTally tally = vesta::testing::KillWriterRepeatedly(
      "WININIT.INI", [&](std::int64_t n) { return ScheduleDeleteAtRestart(Doomed(n).c_str()) == 1; }, check);
  EXPECT_GE(tally.kills, vesta::testing::CrashKills());

  ASSERT_TRUE(vesta::testing::RunInChild([&] { return ScheduleDeleteAtRestart(Doomed(tally.next).c_str()) == 1; }));
  entries.push_back(tally.next);
  EXPECT_EQ(ReadTextFile(ini_), IniText(entries));
  EXPECT_EQ(vesta::testing::Temporaries(windows_ + "\\"), std::vector<std::string>());
}

// ---------------------------------------------------------------------------
// The upgrade log: entry n carries a comment of about 60 KB made from n.

constexpr size_t kCommentLength = 60000;

bool StartsWith(const std::string& text, size_t at, const char* prefix) {
  return text.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The line at *at without its line feed, *at moved past it. A last line
// without its line feed is taken only when lastMayEnd.
bool TakeLine(const std::string& text, size_t* at, std::string* line, bool lastMayEnd = false) {
  size_t end = text.find('\n', *at);
  if (end == std::string::npos && (!lastMayEnd || *at >= text.size())) return false;
  if (end == std::string::npos) end = text.size();
  *line = text.substr(*at, end - *at);
  *at = std::min(end + 1, text.size());
  return true;
}

// Digits where the stamp has them ("DATE:    2024/03/07").
bool StampLine(const std::string& line, const char* head, const char* shape) {
  const std::string form = std::string(head) + shape;
  if (line.size() != form.size() || !StartsWith(line, 0, head)) return false;
  for (size_t k = 0; k < form.size(); ++k) {
    if (form[k] == '9' ? line[k] < '0' || line[k] > '9' : line[k] != form[k]) return false;
  }
  return true;
}

// The entry at *at when its text is whole: its number, and *at moved past
// it (and past its empty line, when that is there; *ended tells).
bool TakeEntry(const std::string& text, size_t* at, std::int64_t* n, bool* ended) {
  size_t p = *at;
  std::string date, time, build, comment;
  if (!TakeLine(text, &p, &date) || !TakeLine(text, &p, &time) || !TakeLine(text, &p, &build) ||
      !TakeLine(text, &p, &comment, true)) {
    return false;
  }
  if (!StampLine(date, "DATE:    ", "9999/99/99") || !StampLine(time, "TIME:    ", "99:99:99") ||
      build != "Build:   1,0,4,401" || !StartsWith(comment, 0, "COMMENT: #")) {
    return false;
  }
  *n = std::atoll(comment.c_str() + 10);
  if (comment.compare(9, std::string::npos, NumberedText(*n, kCommentLength)) != 0) return false;
  *ended = StartsWith(text, p, "\n");
  *at = *ended ? p + 1 : p;
  return true;
}

vesta::testing::AppendRead ReadLog(const std::string& path, long long from) {
  vesta::testing::AppendRead read;
  read.end = from;
  FILE* stream = platform::OpenStream(path.c_str(), "r");
  if (stream == nullptr) return read;
  std::fseek(stream, static_cast<long>(from), SEEK_SET);
  std::string text;
  char buffer[65536];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) text.append(buffer, got);
  std::fclose(stream);
  read.size = from + static_cast<long long>(text.size());
  bool ended = true;
  size_t at = 0;
  while (at < text.size()) {
    std::int64_t n = 0;
    if (TakeEntry(text, &at, &n, &ended)) {
      read.numbers.push_back(n);
      read.end = from + static_cast<long long>(at);
      continue;
    }
    // An entry cut short: the next one starts on a line of its own.
    const size_t next = text.find("\nDATE:    ", at);
    if (next == std::string::npos) break;
    at = next + 1;
  }
  read.endsWhole = read.end == read.size && ended;
  return read;
}

TEST(WriterCrashTest, TheUpgradeLogKeepsEveryEntryButTheOneInFlight) {
  if (!vesta::testing::CanKillWriters()) GTEST_SKIP() << "writers cannot be killed here";
  vesta::testing::ScratchFolder scratch;
  ASSERT_TRUE(platform::MakeFolder(scratch.Path("temp").c_str()));
  const std::string path = scratch.Path("temp\\VestaUpg.txt");
  auto append = [&](std::int64_t n) {
    return AppendUpgradeLog(scratch.Folder().c_str(), NumberedText(n, kCommentLength).c_str()) == 1;
  };

  vesta::testing::AppendedRecords log;
  auto check = [&](const KillRound& round) { return log.Take(round, ReadLog(path, log.Checkpoint())); };
  const vesta::testing::KillTally tally = vesta::testing::KillWriterRepeatedly(
      "upgrade log", append, check, platform::HostPath(path.c_str()));
  EXPECT_GE(tally.kills, vesta::testing::CrashKills());
  EXPECT_LE(tally.Lost(), tally.kills);

  ASSERT_TRUE(vesta::testing::RunInChild([&] { return append(tally.next); }));
  log.Add(tally.next);
  const vesta::testing::AppendRead all = ReadLog(path, 0);
  EXPECT_EQ(all.numbers, log.Numbers());
  EXPECT_TRUE(all.endsWhole);
}

}  // namespace
