// Matching file names against a catalogue: 100,000 names against 500 types,
// as names per second, against a plain walk that compares each name's
// ending with every type's ending, keeping the longest (the work any
// matcher of this catalogue must do); and 1,000 names against catalogues of
// 10,000 and 100,000 records loaded from a file, with the heap the loaded
// catalogue holds per record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <strings.h>

#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_root.h"
#include "bench/bench_table.h"
#include "bench/ratio_reporter.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"

namespace {

struct Catalogue {
  CVFileTypeList list;
  std::vector<std::string> endings;
  std::vector<std::string> names;

  Catalogue() {
    list.FLInitialise();
    list.FLPrepare();
    for (int t = 0; t < 500; ++t) {
      char ending[32];
      // Some endings end others (".gz" and ".tar.gz" alike).
      std::snprintf(ending, sizeof ending, t % 10 == 0 ? ".pack%d.gz" : ".e%d", t);
      endings.push_back(ending);
      CVFileType* type = new CVFileType;
      type->FTInitialise();
      type->FTSetFileType(ending + 1);
      type->FTSetFileEnding(ending);
      type->FTSetTexture("C:\\VESTA\\media\\doc.bmp");
      list.FLAddFileType(type);
    }
    for (int n = 0; n < 100000; ++n) {
      // Four names in five have a known ending, in any letter case.
      std::string name = "C:\\Users\\Public\\Documents\\Folder " + std::to_string(n % 97) + "\\File" +
                         std::to_string(n);
      name += n % 5 == 4 ? ".unknown" : endings[(n * 7) % endings.size()];
      if (n % 3 == 0) {
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      }
      names.push_back(name);
    }
  }
};

Catalogue& Shared() {
  static Catalogue catalogue;
  return catalogue;
}

void BM_FindFileMatch(benchmark::State& state) {
  Catalogue& c = Shared();
  for (auto _ : state) {
    int matched = 0;
    CVFileType* found = nullptr;
    for (const std::string& name : c.names) matched += c.list.FLFindFileMatch(name.c_str(), &found);
    benchmark::DoNotOptimize(matched);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(c.names.size()));
}

void BM_PlainEndingWalk(benchmark::State& state) {
  Catalogue& c = Shared();
  for (auto _ : state) {
    int matched = 0;
    for (const std::string& name : c.names) {
      size_t best = 0;
      for (const std::string& ending : c.endings) {
        if (ending.size() <= name.size() && ending.size() > best &&
            strncasecmp(name.c_str() + name.size() - ending.size(), ending.c_str(), ending.size()) == 0) {
          best = ending.size();
        }
      }
      matched += best > 0;
    }
    benchmark::DoNotOptimize(matched);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(c.names.size()));
}

BENCHMARK(BM_FindFileMatch)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_PlainEndingWalk)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

vesta::bench::BenchRoot& Root() {
  static vesta::bench::BenchRoot root("vesta-catalogue-bench");
  return root;
}

// A catalogue file of many records, each with its own ending and the
// fields a type usually has, loaded into a catalogue; and names to match.
struct LargeCatalogue {
  CVFileTypeList list;
  std::vector<std::string> names;
  size_t heapPerRecord = 0;

  explicit LargeCatalogue(int records) {
    Root();
    std::string path = "C:\\types" + std::to_string(records) + ".vft";
    std::string text;
    auto field = [&](const char* tag, const std::string& value) {
      text += std::string(tag) + "[" + std::to_string(value.size()) + "]" + value + "\n";
    };
    for (int r = 0; r < records; ++r) {
      std::string ending = ".t" + std::to_string(r);
      text += "[FTLS]\n";
      field("[TYP]", "Type " + std::to_string(r));
      field("[END]", ending);
      field("[USH]", "C:\\VESTA\\media\\shape" + std::to_string(r % 50) + ".x");
      field("[SHP]", "C:\\VESTA\\media\\shape" + std::to_string(r % 50) + "s.x");
      field("[TXT]", "C:\\VESTA\\media\\doc" + std::to_string(r % 70) + ".bmp");
      field("[ICO]", std::to_string(r % 8));
      field("[SND]", "C:\\VESTA\\media\\select.wav");
      text += "[SLTF]\n";
    }
    FILE* stream = vesta::platform::OpenStream(path.c_str(), "w");
    std::fputs(text.c_str(), stream);
    std::fclose(stream);
    size_t before = vesta::bench::HeapInUse();
    list.FLInitialise();
    list.FLLoadFileTypeList(path.c_str());
    heapPerRecord = (vesta::bench::HeapInUse() - before) / static_cast<size_t>(records);
    for (int n = 0; n < 1000; ++n) {
      // Nine names in ten have a known ending.
      std::string name = "C:\\Users\\Public\\Documents\\File" + std::to_string(n);
      name += n % 10 == 9 ? ".unknown" : ".t" + std::to_string((n * 7919) % records);
      names.push_back(name);
    }
  }
};

LargeCatalogue& LargeOf(int records) {
  static std::map<int, std::unique_ptr<LargeCatalogue>> catalogues;
  auto& catalogue = catalogues[records];
  if (catalogue == nullptr) catalogue = std::make_unique<LargeCatalogue>(records);
  return *catalogue;
}

void BM_FindFileMatchInRecords(benchmark::State& state) {
  LargeCatalogue& c = LargeOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int matched = 0;
    CVFileType* found = nullptr;
    for (const std::string& name : c.names) matched += c.list.FLFindFileMatch(name.c_str(), &found);
    benchmark::DoNotOptimize(matched);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(c.names.size()));
}

BENCHMARK(BM_FindFileMatchInRecords)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

void PrintTable(const vesta::bench::RatioReporter& reporter) {
  using vesta::bench::Format;
  using vesta::bench::TableRow;
  using vesta::bench::TimeText;
  const double names = static_cast<double>(Shared().names.size());
  double match = reporter.Median("BM_FindFileMatch");
  double walk = reporter.Median("BM_PlainEndingWalk");
  if (match > 0) {
    TableRow row;
    row.what = "match 100,000 names against 500 types";
    row.seconds = match;
    row.baseline = "plain ending walk " + TimeText(walk) + Format(" (%.0fk/s)", names / walk / 1e3);
    row.ratio = Format("%.0fk names/s", names / match / 1e3);
    if (walk > 0) row.ratio += Format(" (%.2fx plain)", walk / match);
    row.target = "3 million names/s";
    row.met = names / match >= 3e6;
    vesta::bench::PrintRow(row);
  }
  double small = reporter.Median("BM_FindFileMatchInRecords/10000");
  for (int records : {10000, 100000}) {
    double measured = reporter.Median("BM_FindFileMatchInRecords/" + std::to_string(records));
    if (measured <= 0) continue;
    LargeCatalogue& c = LargeOf(records);
    TableRow row;
    row.what = "match 1,000 names against " + std::to_string(records) + " records";
    row.seconds = measured;
    row.ratio = Format("%.0fk names/s", static_cast<double>(c.names.size()) / measured / 1e3);
    row.memory = std::to_string(c.heapPerRecord) + " B/record";
    if (records == 100000) {
      if (small > 0) row.growth = Format("%.1fx", measured / small);
      row.target = "1 million names/s, 400 B/record";
      row.met = static_cast<double>(c.names.size()) / measured >= 1e6 && c.heapPerRecord <= 400;
    }
    vesta::bench::PrintRow(row);
  }
}

}  // namespace

int main(int argc, char** argv) { return vesta::bench::RunBenchmarks(argc, argv, PrintTable); }
