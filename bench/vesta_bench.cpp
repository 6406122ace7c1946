// The vesta command at scale, each run as its own process, against what a
// user would do instead in the same run:
//   pack:  `vesta world pack` of a world of 20,000 items (rooms of 50) that
//          uses 2,000 media files of 64 KB, against `cp -r` of the same
//          files followed by one `sync` of their file system, round by
//          round side by side;
//   check: `vesta world check` of 100,000 and 1,000,000 items, against a
//          plain fgets read of the same file; its time, its growth for the
//          tenfold size, and the peak memory of its process (ru_maxrss).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_root.h"
#include "bench/bench_table.h"
#include "bench/ratio_reporter.h"

namespace {

namespace fs = std::filesystem;

constexpr int kTextures = 1400;
constexpr int kSounds = 400;
constexpr int kShapes = 200;
constexpr size_t kMediaBytes = 64 * 1024;
constexpr int kRoomItems = 50;
constexpr int kPackItems = 20000;

vesta::bench::BenchRoot& Root() {
  static vesta::bench::BenchRoot root("vesta-command-bench");
  return root;
}

std::string Vesta() {
  return (fs::read_symlink("/proc/self/exe").parent_path() / "vesta").string();
}

// Runs the program with its output thrown away; the wall time, and the
// peak resident memory of the process in KiB.
struct ChildRun {
  bool ok = false;
  double seconds = 0;
  long peakKiB = 0;
};

ChildRun Run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const auto started = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ChildRun run;
  int status = 0;
  struct rusage usage {};
  if (child > 0 && wait4(child, &status, 0, &usage) == child) {
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKiB = usage.ru_maxrss;
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return run;
}

void WriteFile(const fs::path& path, const std::string& text) {
  FILE* stream = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fclose(stream);
}

std::string Field(const char* tag, const std::string& value) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value;
}

// The installation: C:\VESTA\ with its catalogue, and the media in a folder
// of their own, so that `cp -r` copies just them.
void MakeInstallation() {
  static bool made = false;
  if (made) return;
  made = true;
  const fs::path vesta = Root().Host("drive_c/VESTA");
  for (const char* folder : {"media", "temp", "worlds", "bin"}) fs::create_directories(vesta / folder);
  fs::create_directories(Root().Host("drive_c/Out"));
  const std::string block(kMediaBytes - 64, 'm');
  auto sized = [&](const std::string& head) { return head + std::string(kMediaBytes - head.size(), 'm'); };
  for (int t = 0; t < kTextures; ++t) WriteFile(vesta / "media" / ("tex" + std::to_string(t) + ".bmp"), sized("BM"));
  for (int s = 0; s < kSounds; ++s) WriteFile(vesta / "media" / ("snd" + std::to_string(s) + ".wav"), sized("RIFF"));
  for (int x = 0; x < kShapes; ++x) {
    WriteFile(vesta / "media" / ("shape" + std::to_string(x) + ".x"),
              sized("xof 0302txt 0032\nMaterial m {\n TextureFilename { \"tex" + std::to_string(x) + ".bmp\"; }\n}\n"));
  }
  WriteFile(vesta / "worlds" / "VESTA.vft", "[FTLS]\n[TYP][4]Text\n[END][4].txt\n[SLTF]\n");
  // The installation's home, as vesta finds it.
  fs::create_directories(Root().Host("registry"));
  WriteFile(Root().Host("registry/HKEY_LOCAL_MACHINE.reg"),
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion]\n"
            "\"Home\"=\"C:\\\\VESTA\\\\\"\n");
}

// A world of items in rooms of 50, naming the media: C:\VESTA\worlds\wN.vwq.
std::string WorldOf(int items) {
  static std::map<int, std::string> worlds;
  std::string& path = worlds[items];
  if (!path.empty()) return path;
  MakeInstallation();
  const std::string media = "C:\\VESTA\\media\\";
  path = "C:\\VESTA\\worlds\\w" + std::to_string(items) + ".vwq";
  FILE* stream = std::fopen(Root().Host("drive_c/VESTA/worlds/w" + std::to_string(items) + ".vwq").c_str(), "w");
  std::string text = "\n[WORL]\n" + Field("[NAM]", "Bench") + "\n[LROW]\n";
  for (int i = 0; i < items; ++i) {
    if (i % kRoomItems == 0) {
      const int room = i / kRoomItems;
      const std::string tex = media + "tex" + std::to_string(room % kTextures) + ".bmp";
      text += "\n[SECT]\n" + Field("[RIX]", std::to_string(room)) + Field("[RNA]", "Room " + std::to_string(room)) +
              Field("[WTX]", tex) + Field("[FTX]", tex) + Field("[CTX]", tex) + "\n[TCES]\n";
    }
    const std::string tex = media + "tex" + std::to_string(i % kTextures) + ".bmp";
    const std::string snd = media + "snd" + std::to_string(i % kSounds) + ".wav";
    const std::string shape = media + "shape" + std::to_string(i % kShapes) + ".x";
    text += "\n[ITEM]\n" + Field("[ITI]", std::to_string(i + 2)) + Field("[IPS]", std::to_string(i / kRoomItems)) +
            Field("[INA]", "Item " + std::to_string(i)) +
            Field("[TGT]", "C:\\Users\\Public\\Documents\\File" + std::to_string(i) + ".txt") + "\n" +
            Field("[PIF]", tex) + Field("[XFL]", shape) + Field("[SSS]", shape) + "\n" + Field("[COS]", snd) +
            Field("[SES]", snd) + "\n[METI]\n";
    if (text.size() > (1 << 20)) {
      std::fputs(text.c_str(), stream);
      text.clear();
    }
  }
  std::fputs(text.c_str(), stream);
  std::fclose(stream);
  return path;
}

int gRun = 0;

// Each round copies the media folder and syncs it once, as a user would,
// and packs the world, side by side, so that both meet the same machine;
// which goes first alternates, since the file system's state drifts within
// a round. The table takes the median of each. What the rounds made stays
// until the root is removed (bench_root.h): files made just after many were
// deleted are slow to make on some file systems, and that would fall on
// whichever ran next.
std::vector<double> gCopySeconds;
std::vector<double> gPackSeconds;
long gPackPeakKiB = 0;

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void BM_PackBesideCopy(benchmark::State& state) {
  const std::string world = WorldOf(static_cast<int>(state.range(0)));
  const std::string drive = Root().Host("drive_c").string();
  std::error_code ignored;
  for (auto _ : state) {
    // Each starts with nothing left to write of what ran before it: a sync
    // (of the whole file system) pays for what is dirty when it runs.
    const fs::path target = Root().Host("drive_c/Out/copy" + std::to_string(++gRun));
    const std::string name = "pack" + std::to_string(++gRun);
    ChildRun copy, sync, pack;
    auto copyAndSync = [&] {
      Run({"/bin/sync", "-f", drive});
      copy = Run({"/bin/cp", "-r", Root().Host("drive_c/VESTA/media").string(), target.string()});
      sync = Run({"/bin/sync", "-f", target.string()});
    };
    auto packWorld = [&] {
      fs::remove(Root().Host("drive_c/VESTA/temp/Normaliz.txt"), ignored);
      Run({"/bin/sync", "-f", drive});
      pack = Run({Vesta(), "world", "pack", world, "C:\\Out\\" + name, "--quiet"});
    };
    if (gCopySeconds.size() % 2 == 0) {
      copyAndSync();
      packWorld();
    } else {
      packWorld();
      copyAndSync();
    }
    if (!copy.ok || !sync.ok) state.SkipWithError("cp -r or sync failed");
    if (!pack.ok) state.SkipWithError("vesta world pack failed");
    gCopySeconds.push_back(copy.seconds + sync.seconds);
    gPackSeconds.push_back(pack.seconds);
    gPackPeakKiB = std::max(gPackPeakKiB, pack.peakKiB);
    state.SetIterationTime(pack.seconds);
  }
}

std::map<int, long> gPeakKiB;  // of vesta world check, by items

void BM_VestaCheck(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  const std::string world = WorldOf(items);
  for (auto _ : state) {
    const ChildRun run = Run({Vesta(), "world", "check", world});
    if (!run.ok) state.SkipWithError("vesta world check failed");
    state.SetIterationTime(run.seconds);
    gPeakKiB[items] = std::max(gPeakKiB[items], run.peakKiB);
  }
}

void BM_ReadLines(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  WorldOf(items);
  const fs::path file = Root().Host("drive_c/VESTA/worlds/w" + std::to_string(items) + ".vwq");
  for (auto _ : state) {
    const auto started = std::chrono::steady_clock::now();
    FILE* stream = std::fopen(file.c_str(), "r");
    char line[267];
    long lines = 0;
    while (std::fgets(line, sizeof line, stream) != nullptr) ++lines;
    std::fclose(stream);
    benchmark::DoNotOptimize(lines);
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  }
}

BENCHMARK(BM_PackBesideCopy)->Arg(kPackItems)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLines)->Arg(100000)->Arg(1000000)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond)->ReportAggregatesOnly();
BENCHMARK(BM_VestaCheck)->Arg(100000)->Arg(1000000)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond)->ReportAggregatesOnly();

void PrintTable(const vesta::bench::RatioReporter& reporter) {
  using vesta::bench::Format;
  using vesta::bench::TableRow;
  using vesta::bench::TimeText;
  const double copy = Median(gCopySeconds);
  const double pack = Median(gPackSeconds);
  if (pack > 0) {
    TableRow row;
    row.what = "vesta world pack, 20,000 items, 2,000 media files of 64 KB (median of " +
               std::to_string(gPackSeconds.size()) + " rounds beside the copy)";
    row.seconds = pack;
    row.baseline = "cp -r and one sync " + TimeText(copy);
    if (copy > 0) {
      row.ratio = Format("%.2fx cp -r and sync", pack / copy);
      row.target = "within 1.5x cp -r and sync";
      row.met = pack / copy <= 1.5;
    }
    row.memory = Format("%.1f MiB peak (process)", static_cast<double>(gPackPeakKiB) / 1024.0);
    vesta::bench::PrintRow(row);
  }
  const double small = reporter.Median("BM_VestaCheck/100000");
  for (int items : {100000, 1000000}) {
    const double measured = reporter.Median("BM_VestaCheck/" + std::to_string(items));
    if (measured <= 0) continue;
    const double plain = reporter.Median("BM_ReadLines/" + std::to_string(items));
    TableRow row;
    row.what = "vesta world check, " + std::string(items == 100000 ? "100,000" : "1,000,000") + " items";
    row.seconds = measured;
    row.baseline = "fgets of the file " + TimeText(plain);
    if (plain > 0) row.ratio = Format("%.1fx fgets", measured / plain);
    const double peakMiB = static_cast<double>(gPeakKiB[items]) / 1024.0;
    row.memory = Format("%.1f MiB peak (process)", peakMiB);
    if (items == 1000000) {
      if (small > 0) row.growth = Format("%.1fx", measured / small);
      row.target = "under 64 MiB, at most 12x per decade";
      row.met = peakMiB < 64 && small > 0 && measured / small <= 12;
    }
    vesta::bench::PrintRow(row);
  }
}

}  // namespace

int main(int argc, char** argv) { return vesta::bench::RunBenchmarks(argc, argv, PrintTable, [] { Root(); }); }
