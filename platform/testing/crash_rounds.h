// Rounds of killed writers. In each round a child process writes numbered
// records (appends, or whole new versions of a file) one after the other,
// from the number where the last child stopped, and is killed after a
// random delay; then the test checks what the file holds. The first rounds
// measure how long the child takes to start and how long one write takes,
// and the delays of the rest are aimed so that most kills land while a
// write is under way.
#ifndef VESTA_PLATFORM_TESTING_CRASH_ROUNDS_H
#define VESTA_PLATFORM_TESTING_CRASH_ROUNDS_H

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/crash.h"
#include "platform/testing/files.h"

namespace vesta::testing {

// The seed of the delays: VESTA_CRASH_SEED when set, so that a failing run
// can be repeated, else a fixed one.
inline std::uint32_t CrashSeed() {
  const char* text = std::getenv("VESTA_CRASH_SEED");
  return text != nullptr && *text != '\0' ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : 20240611u;
}

// Kills per file kind: VESTA_CRASH_KILLS when set (a longer soak), else 200.
inline int CrashKills() {
  const char* text = std::getenv("VESTA_CRASH_KILLS");
  const int kills = text != nullptr ? std::atoi(text) : 0;
  return kills > 0 ? kills : 200;
}

// Text of the given length that only record n has: "#n:" and then letters
// drawn from a generator seeded with n, so that a cut or a mix shows.
inline std::string NumberedText(std::int64_t n, size_t length) {
  std::string text = "#" + std::to_string(n) + ":";
  std::uint64_t state = static_cast<std::uint64_t>(n) * 0x9E3779B97F4A7C15u + 1;
  const size_t head = text.size();
  text.resize(std::max(length, head));
  for (size_t k = head; k < text.size(); ++k) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    text[k] = static_cast<char>('a' + (state >> 33) % 26);
  }
  text.resize(length);
  return text;
}

// The kill of one round, as the child left it.
struct KillRound {
  int index = 0;
  std::int64_t first = 0;     // the first number the child was given
  std::int64_t begun = 0;     // the last number it began; first - 1 when none
  std::int64_t finished = 0;  // the last number whose write returned; first - 1 when none

  // The kill caught a write under way: its record may be whole or absent.
  bool InFlight() const { return begun > finished; }
};

// What the test found after one kill.
struct KillOutcome {
  bool ok = true;       // false stops the rounds
  bool cut = false;     // a record was left cut short, or a temporary behind
  bool landed = false;  // the record in flight reads back whole
};

struct KillTally {
  int kills = 0;
  int inFlight = 0;  // kills that caught a record begun and not yet written
  int landed = 0;    // of those, the ones whose record is whole all the same
  int cut = 0;       // kills that left a record cut short (or a temporary)
  int watched = 0;   // kills made as the file grew (see RunAndKill)
  int cutWatched = 0;
  std::int64_t next = 0;  // the number the next writer would take
  std::uint32_t seed = 0;
  std::chrono::microseconds shortest{0}, longest{0};  // the aimed delays
  double seconds = 0;

  int Lost() const { return inFlight - landed; }
};

namespace crash_detail {

inline std::int64_t Nanos() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

inline std::int64_t Median(std::vector<std::int64_t> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace crash_detail

// Runs the rounds: write(n) writes record (or version) n and returns true
// when it did; check(round) looks at the file after each kill. Numbers
// start at 0; a record in flight at a kill keeps its number whether it
// landed or not, so a lost record shows as a gap. With watchedFile (the
// host path of an append file) every other round kills as the file grows.
// The rounds stop at the first failure. The tally is printed and kept as
// test properties.
inline KillTally KillWriterRepeatedly(const char* kind, const std::function<bool(std::int64_t)>& write,
                                      const std::function<KillOutcome(const KillRound&)>& check,
                                      const std::string& watchedFile = std::string()) {
  using std::chrono::microseconds;
  constexpr int kMeasuredRounds = 5;
  KillTally tally;
  tally.seed = CrashSeed();
  std::mt19937 random(tally.seed);
  WriterProgress& progress = SharedProgress();
  std::vector<std::int64_t> startups;
  std::vector<std::int64_t> writes;  // the mean time of one write, by round
  microseconds probe(20000);
  bool aimed = false;
  std::int64_t next = 0;
  const std::int64_t began = crash_detail::Nanos();
  const int kills = CrashKills();
  for (int index = 0; index < kills; ++index) {
    microseconds delay = probe;
    const bool watching = aimed && !watchedFile.empty() && index % 2 == 1;
    if (aimed) {
      delay = microseconds(
          std::uniform_int_distribution<std::int64_t>(tally.shortest.count(), tally.longest.count())(random));
    }
    progress.begun = next - 1;
    progress.finished = next - 1;
    progress.startedAt = 0;
    progress.finishedAt = 0;
    // The child's own copy counts on from here.
    std::int64_t number = next;
    const std::int64_t forkedAt = crash_detail::Nanos();
    const bool killed = RunAndKill(
        [&] {
          if (number == next) progress.startedAt = crash_detail::Nanos();
          progress.begun = number;
          if (!write(number)) return false;
          progress.finishedAt = crash_detail::Nanos();
          progress.finished = number;
          ++number;
          return true;
        },
        delay, watching ? watchedFile : std::string());
    const KillRound round{index, next, progress.begun, progress.finished};
    if (!killed) {
      ADD_FAILURE() << kind << ": round " << index << ": the writer was not killed at work: it ended by itself, "
                    << "its write of record " << round.begun << " failed, or it could not be started";
      break;
    }
    ++tally.kills;
    const KillOutcome outcome = check(round);
    if (round.InFlight()) ++tally.inFlight;
    if (round.InFlight() && outcome.landed) ++tally.landed;
    if (outcome.cut) ++tally.cut;
    if (watching) ++tally.watched;
    if (watching && outcome.cut) ++tally.cutWatched;
    if (!outcome.ok || ::testing::Test::HasFailure()) {
      ADD_FAILURE() << kind << ": stopped after round " << index << " (records " << round.first << " to "
                    << round.begun << ", " << round.finished << " finished; seed " << tally.seed << ")";
      break;
    }
    next = std::max(round.begun, round.finished) + 1;

    if (!aimed) {
      const std::int64_t done = round.finished - round.first + 1;
      if (progress.startedAt > 0) startups.push_back(progress.startedAt - forkedAt);
      if (done > 0) writes.push_back((progress.finishedAt - progress.startedAt) / done);
      if (done == 0 && probe < microseconds(2000000)) probe *= 2;  // nothing finished yet
      if (static_cast<int>(writes.size()) >= kMeasuredRounds) {
        // From just before the child starts writing until two writes later.
        const std::int64_t startup = crash_detail::Median(startups) / 1000;
        const std::int64_t one = std::max<std::int64_t>(crash_detail::Median(writes) / 1000, 1);
        tally.shortest = microseconds(startup * 3 / 4);
        tally.longest = microseconds(startup + 2 * one);
        aimed = true;
        std::printf("[  CRASH   ] %s: a child starts writing after %lld us, one write takes %lld us: "
                    "delays %lld to %lld us (seed %u)\n",
                    kind, static_cast<long long>(startup), static_cast<long long>(one),
                    static_cast<long long>(tally.shortest.count()), static_cast<long long>(tally.longest.count()),
                    tally.seed);
      }
    }
  }
  tally.next = next;
  tally.seconds = static_cast<double>(crash_detail::Nanos() - began) / 1e9;
  const std::string watched = " (" + std::to_string(tally.watched) + " as the file grew)";
  const std::string cutWatched = " (" + std::to_string(tally.cutWatched) + " as the file grew)";
  std::printf("[  CRASH   ] %s: %d kills%s; %d caught a record begun and not yet written: %d whole all the same, "
              "%d lost; %d left a record cut short or a temporary%s; %.1f s\n",
              kind, tally.kills, watchedFile.empty() ? "" : watched.c_str(), tally.inFlight, tally.landed,
              tally.Lost(), tally.cut, watchedFile.empty() ? "" : cutWatched.c_str(), tally.seconds);
  std::fflush(stdout);
  ::testing::Test::RecordProperty("kills", tally.kills);
  ::testing::Test::RecordProperty("kills_as_file_grew", tally.watched);
  ::testing::Test::RecordProperty("in_flight", tally.inFlight);
  ::testing::Test::RecordProperty("lost", tally.Lost());
  ::testing::Test::RecordProperty("cut", tally.cut);
  ::testing::Test::RecordProperty("seed", std::to_string(tally.seed));
  return tally;
}

// What a read of an append file found from an offset on.
struct AppendRead {
  std::vector<std::int64_t> numbers;  // of the whole records, in file order
  long long end = 0;                  // just past the last of them (the offset read from when none)
  long long size = 0;                 // of the file
  bool endsWhole = true;              // the file ends where a whole record does
};

// What the rounds know of an append file: the whole records up to the
// checkpoint, where the next read starts.
class AppendedRecords {
 public:
  const std::vector<std::int64_t>& Numbers() const { return numbers_; }
  long long Checkpoint() const { return checkpoint_; }
  // A record cut short lies after the checkpoint.
  bool CutPending() const { return cutPending_; }

  // Takes in what a round added after the checkpoint: every record that the
  // child finished, in order, and at most the one in flight after them. The
  // kill cut a record when the file grew and does not end with a whole one.
  KillOutcome Take(const KillRound& round, const AppendRead& read) {
    KillOutcome outcome;
    std::vector<std::int64_t> written;
    for (std::int64_t n = round.first; n <= round.finished; ++n) written.push_back(n);
    if (read.numbers != written) {
      written.push_back(round.begun);
      outcome.landed = round.InFlight() && read.numbers == written;
      if (!outcome.landed) {
        ADD_FAILURE() << "round " << round.index << ": records " << round.first << " to " << round.finished
                      << " were written and " << (round.InFlight() ? std::to_string(round.begun) : "none")
                      << " was in flight, but " << read.numbers.size() << " whole records read back from offset "
                      << checkpoint_ << Listed(read.numbers);
        outcome.ok = false;
      }
    }
    outcome.cut = read.size > size_ && !read.endsWhole;
    numbers_.insert(numbers_.end(), read.numbers.begin(), read.numbers.end());
    checkpoint_ = read.end;
    size_ = read.size;
    cutPending_ = !read.endsWhole;
    return outcome;
  }

  // Takes in a record that a last writer finished.
  void Add(std::int64_t n) { numbers_.push_back(n); }

 private:
  static std::string Listed(const std::vector<std::int64_t>& numbers) {
    std::string text;
    for (size_t k = 0; k < numbers.size() && k < 8; ++k) text += (k == 0 ? ": " : ", ") + std::to_string(numbers[k]);
    return numbers.size() > 8 ? text + ", ..." : text;
  }

  std::vector<std::int64_t> numbers_;
  long long checkpoint_ = 0;
  long long size_ = 0;
  bool cutPending_ = false;
};

// Checks what a rewritten file holds after a kill: whole, and the last
// version the child finished (the one before its first, held in *current,
// when it finished none) or the one in flight. text(v) is version v's text;
// *current becomes the version found.
inline KillOutcome CheckReplaced(const KillRound& round, const std::string& actual,
                                 const std::function<std::string(std::int64_t)>& text, std::int64_t* current) {
  KillOutcome outcome;
  const std::int64_t kept = round.finished >= round.first ? round.finished : *current;
  if (actual == text(kept)) {
    *current = kept;
  } else if (round.InFlight() && actual == text(round.begun)) {
    *current = round.begun;
    outcome.landed = true;
  } else {
    ADD_FAILURE() << "round " << round.index << ": the file is neither version " << kept
                  << (round.InFlight() ? " nor version " + std::to_string(round.begun) : "") << " (" << actual.size()
                  << " bytes, version " << kept << " has " << text(kept).size() << ")";
    outcome.ok = false;
  }
  return outcome;
}

// The temporaries of replacements (platform/file_output.h) in folder, a
// folder path that ends with its separator.
inline std::vector<std::string> Temporaries(const std::string& folder) {
  return platform::FindFiles((folder + "~vt*.tmp").c_str());
}

// The process that made the temporary "~vt<process>-<n>.tmp", or 0.
inline int TemporaryOwner(const std::string& path) {
  const size_t name = path.find_last_of("\\/");
  const size_t at = name == std::string::npos ? 0 : name + 1;
  if (path.compare(at, 3, "~vt") != 0) return 0;
  return std::atoi(path.c_str() + at + 3);
}

// Checks the temporaries in folder after a kill: each belongs to a process
// that has ended. True when the kill left one that was not in *seen (it
// caught a replacement); *seen becomes the folder's list.
inline bool LeftNewTemporary(const std::string& folder, std::vector<std::string>* seen) {
  bool fresh = false;
  const std::vector<std::string> now = Temporaries(folder);
  for (const std::string& path : now) {
    const int owner = TemporaryOwner(path);
    EXPECT_GT(owner, 0) << path;
    EXPECT_NE(owner, platform::ProcessId()) << path;
    EXPECT_FALSE(platform::ProcessIsRunning(owner)) << path;
    fresh = fresh || std::find(seen->begin(), seen->end(), path) == seen->end();
  }
  *seen = now;
  return fresh;
}

// Version n of a rewritten file as save(file, n) makes it when nothing
// stops it: each made once, as file "<n><extension>" in folder (which must
// exist, a Windows path ending with its separator), and kept. Version -1 is
// before, the file before the first write.
class MadeVersions {
 public:
  MadeVersions(std::string folder, std::string extension, std::function<bool(const std::string&, std::int64_t)> save,
               std::string before)
      : folder_(std::move(folder)), extension_(std::move(extension)), save_(std::move(save)) {
    texts_[-1] = std::move(before);
  }

  std::string operator()(std::int64_t n) {
    auto found = texts_.find(n);
    if (found != texts_.end()) return found->second;
    const std::string file = folder_ + std::to_string(n) + extension_;
    EXPECT_TRUE(save_(file, n)) << file;
    return texts_[n] = ReadTextFile(file);
  }

 private:
  std::string folder_;
  std::string extension_;
  std::function<bool(const std::string&, std::int64_t)> save_;
  std::map<std::int64_t, std::string> texts_;
};

// Kills write(n) again and again as it rewrites path (a Windows path in
// folder, which ends with its separator), and checks after each kill that
// path holds one whole version, text(v); then verify(v), when given, looks
// further. At the end one more write, by a process that runs to its end,
// must leave its version and take away every temporary the killed ones
// left.
inline void KillRewriterRepeatedly(const char* kind, const std::string& path, const std::string& folder,
                                   const std::function<bool(std::int64_t)>& write,
                                   const std::function<std::string(std::int64_t)>& text,
                                   const std::function<void(std::int64_t)>& verify = nullptr) {
  std::int64_t current = -1;
  std::vector<std::string> temporaries;
  auto check = [&](const KillRound& round) {
    KillOutcome outcome = CheckReplaced(round, ReadTextFile(path), text, &current);
    if (outcome.ok && current >= 0 && verify) verify(current);
    outcome.cut = LeftNewTemporary(folder, &temporaries);
    return outcome;
  };
  const KillTally tally = KillWriterRepeatedly(kind, write, check);
  EXPECT_GE(tally.kills, CrashKills());

  ASSERT_TRUE(RunInChild([&] { return write(tally.next); }));
  EXPECT_EQ(ReadTextFile(path), text(tally.next));
  EXPECT_EQ(Temporaries(folder), std::vector<std::string>());
}

}  // namespace vesta::testing

#endif
