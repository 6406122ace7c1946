// Matching file names against a catalogue: 100,000 names against 500 types,
// as names per second, against a plain walk that compares each name's
// ending with every type's ending, keeping the longest (the work any
// matcher of this catalogue must do).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <strings.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

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

BENCHMARK(BM_FindFileMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainEndingWalk)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
