// The package manager at scale: a manifest of N packages (each with four
// files) loaded and listed as the dialog lists it, against a plain line
// read of the same file in the same run; 30,000 packages (about 8 MB)
// against 3,000; and the heap the loaded manifest holds per package. An
// uninstall of 3,000 and 30,000 files against removing them plainly.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "bench/bench_root.h"
#include "bench/bench_table.h"
#include "bench/ratio_reporter.h"
#include "platform/file_system.h"
#include "vermanager/package_manager.h"
#include "vermanager/ui/package_dialog.h"
#include "vermanager/ver_manager_dlg.h"

namespace {

using vesta::bench::BenchRoot;

constexpr int kFilesPerPackage = 4;

BenchRoot& Root() {
  static BenchRoot root("vesta-manifest-bench");
  return root;
}

std::string Field(const char* tag, const std::string& value) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value;
}

struct Manifest {
  std::string path;  // Windows path
  size_t bytes = 0;
};

const Manifest& ManifestOf(int packages) {
  static std::map<int, Manifest> manifests;
  Manifest& manifest = manifests[packages];
  if (!manifest.path.empty()) return manifest;
  Root();
  manifest.path = "C:\\manifest" + std::to_string(packages) + ".txt";
  std::string text;
  for (int p = 0; p < packages; ++p) {
    text += Field("[NAM]", "Package" + std::to_string(p)) +
            Field("[TYP]", "VESTA package number " + std::to_string(p) + " of the benchmark") + "\n";
  }
  for (int p = 0; p < packages; ++p) {
    for (int f = 0; f < kFilesPerPackage; ++f) {
      text += Field("[FIL]", "C:\\Program Files\\VESTA\\package" + std::to_string(p) + "\\file" +
                                 std::to_string(f) + ".dat") +
              Field("[UBY]", "Package" + std::to_string(p)) + "\n";
    }
  }
  FILE* stream = vesta::platform::OpenStream(manifest.path.c_str(), "w");
  std::fputs(text.c_str(), stream);
  std::fclose(stream);
  manifest.bytes = text.size();
  return manifest;
}

// A view that keeps only the number of titles listed.
class CountingView : public vesta::ui::PackageDialogView {
 public:
  void ClearList() override { items = 0; }
  void AddListItem(const std::string&) override { ++items; }
  int ListSelection() override { return -1; }
  void EnableActionButtons(bool) override {}
  void SetFolderText(const std::string&) override {}
  std::string FolderText() override { return std::string(); }
  vesta::ui::MessageAnswer ShowMessage(const std::string&, const std::string&,
                                       vesta::ui::MessageButtons) override {
    return vesta::ui::MessageAnswer::kNo;
  }
  void ShowAbout(const std::string&, const std::string&, int) override {}
  void EndDialog() override {}

  int items = 0;
};

// Loads and lists the manifest as the program does at its start; the heap
// it then holds per package in *heap, when asked.
bool LoadAndList(int packages, size_t* heap = nullptr) {
  const Manifest& manifest = ManifestOf(packages);
  size_t before = heap != nullptr ? vesta::bench::HeapInUse() : 0;
  CVerManagerDlg dialog(manifest.path);
  CountingView view;
  if (dialog.OpenManifest(manifest.path.c_str()) != 1) return false;
  dialog.OnInitDialog(&view);
  if (heap != nullptr) *heap = (vesta::bench::HeapInUse() - before) / static_cast<size_t>(packages);
  return view.items == packages;
}

void BM_LoadAndListManifest(benchmark::State& state) {
  const int packages = static_cast<int>(state.range(0));
  const Manifest& manifest = ManifestOf(packages);
  for (auto _ : state) {
    if (!LoadAndList(packages)) state.SkipWithError("the manifest did not load whole");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(manifest.bytes));
}

void BM_ReadManifestLines(benchmark::State& state) {
  const Manifest& manifest = ManifestOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    FILE* stream = vesta::platform::OpenStream(manifest.path.c_str(), "r");
    char line[520];
    int64_t lines = 0;
    while (std::fgets(line, sizeof line, stream) != nullptr) ++lines;
    std::fclose(stream);
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(manifest.bytes));
}

// An uninstall of one package of many files (in folders of 1,000) against
// removing the same files and folders plainly, one unlink each; the files
// are made anew, untimed, before each round.
constexpr int kFilesPerFolder = 1000;

std::string PackageFolder(int files, int folder) {
  return "C:\\Uninstall" + std::to_string(files) + "\\part" + std::to_string(folder);
}

// Makes the package's files; its manifest when asked.
void MakePackage(int files, bool manifest) {
  const std::string top = "Uninstall" + std::to_string(files);
  std::filesystem::create_directories(Root().Host("drive_c/" + top));
  std::string text = Field("[NAM]", "BIG") + Field("[TYP]", "A package of many files") + "\n";
  for (int folder = 0; folder * kFilesPerFolder < files; ++folder) {
    const std::filesystem::path host = Root().Host("drive_c/" + top + "/part" + std::to_string(folder));
    std::filesystem::create_directories(host);
    for (int f = folder * kFilesPerFolder; f < files && f < (folder + 1) * kFilesPerFolder; ++f) {
      const std::string name = "file" + std::to_string(f) + ".dat";
      FILE* stream = std::fopen((host / name).c_str(), "w");
      if (stream != nullptr) std::fclose(stream);
      if (manifest) text += Field("[FIL]", PackageFolder(files, folder) + "\\" + name) + Field("[UBY]", "BIG") + "\n";
    }
    if (manifest) text += Field("[DIR]", PackageFolder(files, folder)) + Field("[UBY]", "BIG") + "\n";
  }
  text += Field("[NAM]", "OTHER") + Field("[TYP]", "Another package, which stays") + "\n";
  if (!manifest) return;
  FILE* stream = vesta::platform::OpenStream(("C:\\" + top + ".txt").c_str(), "w");
  std::fputs(text.c_str(), stream);
  std::fclose(stream);
}

void BM_UninstallPackage(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    MakePackage(files, true);
    state.ResumeTiming();
    const UninstallResult result =
        PackageManager("C:\\Uninstall" + std::to_string(files) + ".txt", std::string()).Uninstall("BIG", nullptr);
    if (result.status != UninstallResult::Status::kUninstalled) state.SkipWithError("the uninstall did not finish");
  }
}

void BM_RemoveFilesPlainly(benchmark::State& state) {
  const int files = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    MakePackage(files, false);
    state.ResumeTiming();
    for (int folder = 0; folder * kFilesPerFolder < files; ++folder) {
      const std::filesystem::path host =
          Root().Host("drive_c/Uninstall" + std::to_string(files) + "/part" + std::to_string(folder));
      for (int f = folder * kFilesPerFolder; f < files && f < (folder + 1) * kFilesPerFolder; ++f) {
        unlink((host / ("file" + std::to_string(f) + ".dat")).c_str());
      }
      rmdir(host.c_str());
    }
  }
}

BENCHMARK(BM_UninstallPackage)->Arg(3000)->Arg(30000)->Iterations(1)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_RemoveFilesPlainly)->Arg(3000)->Arg(30000)->Iterations(1)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_LoadAndListManifest)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ReadManifestLines)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

void PrintTable(const vesta::bench::RatioReporter& reporter) {
  using vesta::bench::Format;
  using vesta::bench::TableRow;
  using vesta::bench::TimeText;
  const double small = reporter.Median("BM_LoadAndListManifest/3000");
  const double large = reporter.Median("BM_LoadAndListManifest/30000");
  const double smallRead = reporter.Median("BM_ReadManifestLines/3000");
  const double largeRead = reporter.Median("BM_ReadManifestLines/30000");
  if (small > 0) {
    TableRow row;
    row.what = "manifest load and list, 3,000 packages";
    row.seconds = small;
    row.baseline = "fgets " + TimeText(smallRead);
    if (smallRead > 0) row.ratio = Format("%.1fx fgets", small / smallRead);
    if (large > 0) {
      row.growth = Format("%.1fx", large / small);
      row.target = "30,000 within 12x of 3,000";
      row.met = large / small <= 12;
    }
    size_t heap = 0;
    LoadAndList(3000, &heap);
    row.memory = std::to_string(heap) + " B/package";
    vesta::bench::PrintRow(row);
  }
  for (int files : {3000, 30000}) {
    const double uninstall = reporter.Median("BM_UninstallPackage/" + std::to_string(files));
    const double plain = reporter.Median("BM_RemoveFilesPlainly/" + std::to_string(files));
    if (uninstall <= 0) continue;
    TableRow row;
    row.what = "uninstall of a package of " + std::to_string(files) + " files";
    row.seconds = uninstall;
    row.baseline = "plain removal " + TimeText(plain);
    if (plain > 0) row.ratio = Format("%.2fx plain removal", uninstall / plain);
    if (files == 3000) {
      const double tenfold = reporter.Median("BM_UninstallPackage/30000");
      if (tenfold > 0) row.growth = Format("%.1fx", tenfold / uninstall);
    } else {
      row.target = "within 1.5x of plain removal";
      row.met = plain > 0 && uninstall / plain <= 1.5;
    }
    vesta::bench::PrintRow(row);
  }
  if (large > 0) {
    TableRow row;
    row.what = "manifest load and list, 30,000 packages (" +
               Format("%.1f MB)", static_cast<double>(ManifestOf(30000).bytes) / 1e6);
    row.seconds = large;
    row.baseline = "fgets " + TimeText(largeRead);
    if (largeRead > 0) row.ratio = Format("%.1fx fgets", large / largeRead);
    size_t heap = 0;
    LoadAndList(30000, &heap);
    row.memory = std::to_string(heap) + " B/package";
    row.target = "7.8 MB under 2 s";
    row.met = large < 2.0;
    vesta::bench::PrintRow(row);
  }
}

}  // namespace

int main(int argc, char** argv) { return vesta::bench::RunBenchmarks(argc, argv, PrintTable, [] { Root(); }); }
