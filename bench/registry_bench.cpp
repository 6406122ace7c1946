// Registry reads through the seam at scale: one RegistryReadString from a
// hive of many keys (5,000 and 50,000) and from one key of many values
// (2,000 and 20,000), after a first read, against a plain read of the same
// hive file's bytes in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "bench/bench_root.h"
#include "bench/bench_table.h"
#include "bench/ratio_reporter.h"
#include "platform/registry.h"

namespace {

using vesta::bench::BenchRoot;
using vesta::platform::RegRoot;

BenchRoot& Root() {
  static BenchRoot root("vesta-registry-bench");
  return root;
}

enum Shape { kManyKeys, kManyValues };

std::string HiveFile() { return Root().Host("registry/HKEY_LOCAL_MACHINE.reg").string(); }

// The hive of the shape and size, written unless it is the one in place.
void Prepare(Shape shape, int count) {
  static std::pair<Shape, int> current{kManyKeys, -1};
  if (current == std::make_pair(shape, count)) return;
  current = {shape, count};
  std::filesystem::create_directories(Root().Host("registry"));
  std::string text = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n";
  if (shape == kManyKeys) {
    for (int k = 0; k < count; ++k) {
      text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Key" + std::to_string(k) + "]\n\"Value\"=\"text of key " +
              std::to_string(k) + "\"\n\n";
    }
  } else {
    text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Values]\n";
    for (int v = 0; v < count; ++v) {
      text += "\"Value" + std::to_string(v) + "\"=\"text of value " + std::to_string(v) + "\"\n";
    }
    text += "\n";
  }
  FILE* stream = std::fopen(HiveFile().c_str(), "w");
  std::fputs(text.c_str(), stream);
  std::fclose(stream);
}

// One read of a key and value in the middle of the hive.
bool ReadOne(Shape shape, int count) {
  std::string text;
  if (shape == kManyKeys) {
    std::string key = "SOFTWARE\\Key" + std::to_string(count / 2);
    return vesta::platform::RegistryReadString(RegRoot::kLocalMachine, key.c_str(), "Value", &text);
  }
  std::string value = "Value" + std::to_string(count / 2);
  return vesta::platform::RegistryReadString(RegRoot::kLocalMachine, "SOFTWARE\\Values", value.c_str(), &text);
}

void BM_RegistryRead(benchmark::State& state, Shape shape) {
  const int count = static_cast<int>(state.range(0));
  Prepare(shape, count);
  if (!ReadOne(shape, count)) state.SkipWithError("the value did not read");  // the first read
  for (auto _ : state) {
    if (!ReadOne(shape, count)) state.SkipWithError("the value did not read");
  }
}

void BM_HiveFileBytes(benchmark::State& state, Shape shape) {
  const int count = static_cast<int>(state.range(0));
  Prepare(shape, count);
  for (auto _ : state) {
    FILE* stream = std::fopen(HiveFile().c_str(), "rb");
    char buffer[1 << 16];
    size_t total = 0;
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) total += n;
    std::fclose(stream);
    benchmark::DoNotOptimize(total);
  }
}

BENCHMARK_CAPTURE(BM_RegistryRead, ManyKeys, kManyKeys)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(BM_HiveFileBytes, ManyKeys, kManyKeys)->Arg(5000)->Arg(50000)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(BM_RegistryRead, ManyValues, kManyValues)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(BM_HiveFileBytes, ManyValues, kManyValues)->Arg(2000)->Arg(20000)->Unit(benchmark::kMicrosecond)->Repetitions(3)->ReportAggregatesOnly();

void PrintTable(const vesta::bench::RatioReporter& reporter) {
  using vesta::bench::Format;
  using vesta::bench::TableRow;
  using vesta::bench::TimeText;
  struct Case {
    const char* name;
    const char* what;
    int small;
    int large;
  };
  for (const Case& c : {Case{"ManyKeys", "keys", 5000, 50000}, Case{"ManyValues", "values in one key", 2000, 20000}}) {
    double smallTime = reporter.Median(std::string("BM_RegistryRead/") + c.name + "/" + std::to_string(c.small));
    for (int count : {c.small, c.large}) {
      std::string size = std::string(c.name) + "/" + std::to_string(count);
      double measured = reporter.Median("BM_RegistryRead/" + size);
      double plain = reporter.Median("BM_HiveFileBytes/" + size);
      if (measured <= 0) continue;
      TableRow row;
      row.what = "registry read after the first, hive of " + std::to_string(count) + " " + c.what;
      row.seconds = measured;
      row.baseline = "plain hive read " + TimeText(plain);
      if (plain > 0) row.ratio = Format("%.2fx plain", measured / plain);
      if (count == c.large) {
        if (smallTime > 0) row.growth = Format("%.1fx", measured / smallTime);
        row.target = "under 20 us";
        row.met = measured < 20e-6;
      }
      vesta::bench::PrintRow(row);
    }
  }
}

}  // namespace

int main(int argc, char** argv) { return vesta::bench::RunBenchmarks(argc, argv, PrintTable, [] { Root(); }); }
