// WININIT.INI applied at scale: N "NUL=" entries (files in folders of 500,
// and the folders) deleted and cleared as vesta-wininit does, against a
// plain read of the same file and a plain removal of the same files and
// folders in the same run; 20,000 entries against 2,000, and 100,000; and
// 20,000 entries against 2,000 whose files are gone already.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/bench_root.h"
#include "bench/bench_table.h"
#include "bench/ratio_reporter.h"
#include "platform/file_system.h"
#include "vermanager/restart_deletion.h"

namespace {

using vesta::bench::BenchRoot;

constexpr int kFilesPerFolder = 500;
const char kIni[] = "C:\\Windows\\WININIT.INI";

BenchRoot& Root() {
  static BenchRoot root("vesta-wininit-bench");
  return root;
}

// The host path of a Windows path under C:.
std::filesystem::path Host(const std::string& windows) {
  std::string relative = "drive_c/" + windows.substr(3);
  for (char& c : relative) {
    if (c == '\\') c = '/';
  }
  return Root().Host(relative);
}

// Makes the files and folders of n entries and the WININIT.INI naming them
// (files first, then their folders, as an uninstall defers them); without
// files, only the folders are made and the files are gone already.
void Prepare(int entries, bool files = true) {
  std::filesystem::create_directories(Host("C:\\Windows"));
  std::string fileLines;
  std::string folders;
  int made = 0;
  for (int folder = 0; made < entries; ++folder) {
    std::string name = "C:\\Gone\\f" + std::to_string(folder);
    std::filesystem::create_directories(Host(name));
    for (int f = 0; f < kFilesPerFolder && made < entries - 1; ++f, ++made) {
      std::string file = name + "\\file" + std::to_string(f) + ".dat";
      if (files) std::fclose(std::fopen(Host(file).c_str(), "w"));
      fileLines += "NUL=" + file + "\n";
    }
    folders += "NUL=" + name + "\n";
    ++made;
  }
  FILE* stream = std::fopen(Host(kIni).c_str(), "w");
  std::fputs(("[boot]\nshell=explorer.exe\n[rename]\n" + fileLines + folders).c_str(), stream);
  std::fclose(stream);
}

void BM_ApplyWininit(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Prepare(entries);
    state.ResumeTiming();
    RestartDeletionReport report;
    int deleted = ApplyRestartDeletions(kIni, &report);
    if (deleted != entries || !report.cleared) state.SkipWithError("not everything was deleted");
  }
  state.SetItemsProcessed(state.iterations() * entries);
}

// The files are gone already: each missing name is looked for, in other
// letters too, and only the folders are deleted.
void BM_ApplyWininitGone(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Prepare(entries, false);
    state.ResumeTiming();
    RestartDeletionReport report;
    ApplyRestartDeletions(kIni, &report);
    if (report.notDeleted.size() + report.deleted.size() != static_cast<size_t>(entries) || report.notDeleted.empty() ||
        !report.cleared) {
      state.SkipWithError("the entries were not all looked at");
    }
  }
  state.SetItemsProcessed(state.iterations() * entries);
}

// The same file read line by line and the same items removed, directly.
void BM_PlainRemove(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    Prepare(entries);
    state.ResumeTiming();
    FILE* stream = std::fopen(Host(kIni).c_str(), "r");
    char line[300];
    int removed = 0;
    while (std::fgets(line, sizeof line, stream) != nullptr) {
      if (std::strncmp(line, "NUL=", 4) != 0) continue;
      line[std::strcspn(line, "\n")] = '\0';
      removed += std::remove(Host(line + 4).c_str()) == 0;
    }
    std::fclose(stream);
    if (removed != entries) state.SkipWithError("not everything was removed");
  }
  state.SetItemsProcessed(state.iterations() * entries);
}

BENCHMARK(BM_ApplyWininit)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ApplyWininitGone)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_PlainRemove)->Arg(2000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly();

void PrintTable(const vesta::bench::RatioReporter& reporter) {
  using vesta::bench::Format;
  using vesta::bench::TableRow;
  using vesta::bench::TimeText;
  double previous = 0;
  for (int entries : {2000, 20000, 100000}) {
    std::string size = "/" + std::to_string(entries);
    double measured = reporter.Median("BM_ApplyWininit" + size);
    double plain = reporter.Median("BM_PlainRemove" + size);
    if (measured <= 0) continue;
    TableRow row;
    row.what = "WININIT.INI apply, " + std::to_string(entries) + " entries";
    row.seconds = measured;
    row.baseline = "plain remove " + TimeText(plain);
    if (plain > 0) row.ratio = Format("%.1fx plain", measured / plain);
    if (entries == 20000 && previous > 0) row.growth = Format("%.1fx from 2,000", measured / previous);
    if (entries == 100000) {
      row.target = "under 1 s";
      row.met = measured < 1.0;
    }
    if (entries != 100000) previous = measured;
    vesta::bench::PrintRow(row);
  }
  const double small = reporter.Median("BM_ApplyWininitGone/2000");
  const double large = reporter.Median("BM_ApplyWininitGone/20000");
  if (large > 0) {
    TableRow row;
    row.what = "WININIT.INI apply, 20000 entries of files gone already";
    row.seconds = large;
    if (small > 0) row.growth = Format("%.1fx from 2,000", large / small);
    vesta::bench::PrintRow(row);
  }
}

}  // namespace

int main(int argc, char** argv) { return vesta::bench::RunBenchmarks(argc, argv, PrintTable, [] { Root(); }); }
