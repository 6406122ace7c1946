// Normalising a world at scale: a world of N items naming 2,000 distinct
// media files (textures, sounds, shapes that name textures) is normalised
// into a fresh folder, against a plain copy of the same 2,000 files made
// in the same run (each file copied, with no sync of its own, and the copies
// synced once at the end, as a user's copy and sync would); 100,000 items
// against 10,000; and the most heap held per item while it is normalised.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "bench/bench_root.h"
#include "bench/bench_table.h"
#include "bench/ratio_reporter.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"

namespace {

constexpr int kTextures = 1400;
constexpr int kSounds = 400;
constexpr int kShapes = 200;

struct Installation {
  std::string home = "C:\\VESTA\\";
  std::vector<std::string> media;

  Installation() {
    auto root = std::filesystem::temp_directory_path() / "vesta-normalise-bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "drive_c");
    setenv("VESTA_ROOT", root.string().c_str(), 1);
    for (const char* folder : {"C:\\VESTA", "C:\\VESTA\\media", "C:\\VESTA\\temp", "C:\\VESTA\\worlds", "C:\\Out"}) {
      vesta::platform::MakeFolder(folder);
    }
    VSSetVESTAHome(home.c_str());
    std::string block(4096, 'm');
    auto write = [&](const std::string& path, const std::string& text) {
      FILE* stream = vesta::platform::OpenStream(path.c_str(), "wb");
      std::fwrite(text.data(), 1, text.size(), stream);
      std::fclose(stream);
      media.push_back(path);
    };
    for (int t = 0; t < kTextures; ++t) write(home + "media\\tex" + std::to_string(t) + ".bmp", "BM" + block);
    for (int s = 0; s < kSounds; ++s) write(home + "media\\snd" + std::to_string(s) + ".wav", "RIFF" + block);
    for (int x = 0; x < kShapes; ++x) {
      write(home + "media\\shape" + std::to_string(x) + ".x",
            "xof 0302txt 0032\nMaterial m {\n TextureFilename { \"tex" + std::to_string(x) + ".bmp\"; }\n}\n" + block);
    }
    FILE* types = vesta::platform::OpenStream((home + "worlds\\VESTA.vft").c_str(), "w");
    std::fputs("[FTLS]\n[TYP][4]Text\n[END][4].txt\n[SLTF]\n", types);
    std::fclose(types);
    VSSetNormalisationVariables();
  }
};

Installation& Shared() {
  static Installation installation;
  return installation;
}

std::string Field(const char* tag, const std::string& value) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value;
}

// A world of items (a room for every 20) naming the installation's media.
const std::string& WorldOf(int items) {
  static std::map<int, std::string> worlds;
  std::string& path = worlds[items];
  if (!path.empty()) return path;
  Installation& inst = Shared();
  path = inst.home + "worlds\\w" + std::to_string(items) + ".vwq";
  FILE* stream = vesta::platform::OpenStream(path.c_str(), "w");
  std::fputs(("\n[WORL]\n" + Field("[NAM]", "Bench") + "\n[LROW]\n").c_str(), stream);
  for (int i = 0; i < items; ++i) {
    if (i % 20 == 0) {
      std::string tex = inst.home + "media\\tex" + std::to_string((i / 20) % kTextures) + ".bmp";
      std::fputs(("\n[SECT]\n" + Field("[RNA]", "Room") + Field("[WTX]", tex) + Field("[FTX]", tex) +
                  Field("[CTX]", tex) + "\n[TCES]\n")
                     .c_str(),
                 stream);
    }
    std::string tex = inst.home + "media\\tex" + std::to_string(i % kTextures) + ".bmp";
    std::string snd = inst.home + "media\\snd" + std::to_string(i % kSounds) + ".wav";
    std::string shape = inst.home + "media\\shape" + std::to_string(i % kShapes) + ".x";
    std::fputs(("\n[ITEM]\n" + Field("[INA]", "Item " + std::to_string(i)) +
                Field("[TGT]", "C:\\Users\\Public\\Documents\\File" + std::to_string(i) + ".txt") +
                Field("[PIF]", tex) + Field("[XFL]", shape) + Field("[SSS]", shape) + "\n" + Field("[COS]", snd) +
                Field("[SES]", snd) + "\n[METI]\n")
                   .c_str(),
               stream);
  }
  std::fclose(stream);
  return path;
}

int gRun = 0;

// Before each round: the last round's log forgotten, and nothing left to
// write of what ran before (a sync pays for whatever is dirty when it runs).
// What the rounds make is kept until the program ends: on ext4 every file
// made within minutes of a mass deletion looks past each inode freed, which
// would be measured instead of the work.
bool Settle() {
  vesta::vsetu::ForgetNormaliserLog();
  const std::filesystem::path log = vesta::platform::HostPath("C:\\VESTA\\temp\\Normaliz.txt");
  FILE* emptied = std::fopen(log.c_str(), "w");
  if (emptied != nullptr) std::fclose(emptied);
  const int fd = open(vesta::platform::HostPath("C:\\Out").c_str(), O_RDONLY | O_DIRECTORY);
  const bool synced = fd >= 0 && syncfs(fd) == 0;
  if (fd >= 0) close(fd);
  return synced;
}

void BM_NormaliseWorld(benchmark::State& state) {
  const std::string& world = WorldOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    if (!Settle()) state.SkipWithError("the file system could not be synced");
    state.ResumeTiming();
    std::string target = "C:\\Out\\run" + std::to_string(++gRun) + "\\";
    if (NUNormaliseVIQFile(world.c_str(), target.c_str()) != 1) state.SkipWithError("the world did not normalise");
  }
}

void BM_PlainCopy(benchmark::State& state) {
  Installation& inst = Shared();
  for (auto _ : state) {
    state.PauseTiming();
    if (!Settle()) state.SkipWithError("the file system could not be synced");
    state.ResumeTiming();
    std::string target = "C:\\Out\\copy" + std::to_string(++gRun) + "\\";
    vesta::platform::MakeFolder(target.c_str());
    const std::filesystem::path folder = vesta::platform::HostPath(target.c_str());
    for (const std::string& file : inst.media) {
      std::string name = file.substr(file.rfind('\\') + 1);
      std::filesystem::copy_file(vesta::platform::HostPath(file.c_str()), folder / name);
    }
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0 || syncfs(fd) != 0) state.SkipWithError("the copies could not be synced");
    if (fd >= 0) close(fd);
  }
}

BENCHMARK(BM_NormaliseWorld)->Arg(10000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

// The most heap held per item while the world of items is normalised
// (looked at after each element, the last of which holds nearly all of the
// new world's text), and the bytes of the world file per item.
struct Peak {
  size_t before = 0;
  size_t most = 0;
};

int Sample(void* context) {
  Peak* peak = static_cast<Peak*>(context);
  peak->most = std::max(peak->most, vesta::bench::HeapInUse());
  return 1;
}

void HeapPerItem(int items, size_t* heap, size_t* text) {
  const std::string& world = WorldOf(items);
  const std::string target = "C:\\Out\\heap" + std::to_string(++gRun) + "\\";
  vesta::platform::MakeFolder(target.c_str());
  Peak peak;
  peak.before = vesta::bench::HeapInUse();
  CVNormBuilder builder;
  builder.NBInitialise();
  builder.NBSetTargetDirectory(target.c_str());
  builder.NBSetClickCallback(Sample, &peak);
  builder.NBNormaliseFile(world.c_str());
  *heap = (std::max(peak.most, peak.before) - peak.before) / static_cast<size_t>(items);
  vesta::vsetu::ForgetNormaliserLog();
  *text = static_cast<size_t>(std::filesystem::file_size(vesta::platform::HostPath(world.c_str()))) /
          static_cast<size_t>(items);
}

void PrintTable(const vesta::bench::RatioReporter& reporter) {
  using vesta::bench::Format;
  using vesta::bench::TableRow;
  using vesta::bench::TimeText;
  const double copy = reporter.Median("BM_PlainCopy");
  const double small = reporter.Median("BM_NormaliseWorld/10000");
  for (int items : {10000, 20000, 100000}) {
    double measured = reporter.Median("BM_NormaliseWorld/" + std::to_string(items));
    if (measured <= 0) continue;
    TableRow row;
    row.what = "normalise " + std::to_string(items) + " items, 2,000 media files";
    row.seconds = measured;
    row.baseline = "plain copy and one sync " + TimeText(copy);
    if (copy > 0) row.ratio = Format("%.1fx plain copy", measured / copy);
    if (items == 20000 && copy > 0) {
      row.target = "within 1.5x plain copy";
      row.met = measured / copy <= 1.5;
    }
    if (items == 100000) {
      if (small > 0) row.growth = Format("%.1fx", measured / small);
      size_t heap = 0;
      size_t text = 0;
      HeapPerItem(items, &heap, &text);
      row.memory = std::to_string(heap) + " B/item at most while normalised (text " + std::to_string(text) + " B)";
      row.target = "500 B/item besides its text";
      row.met = heap <= text + 500;
    }
    vesta::bench::PrintRow(row);
  }
}

}  // namespace

int main(int argc, char** argv) {
  vesta::bench::RunBenchmarks(argc, argv, PrintTable, [] { Shared(); });
  if (!vesta::bench::KeepsRoots()) {
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "vesta-normalise-bench");
  }
  return 0;
}
