// A console reporter that also keeps each run's time, so that a benchmark
// can print its measures as ratios against a baseline of the same run.
#ifndef VESTA_BENCH_RATIO_REPORTER_H
#define VESTA_BENCH_RATIO_REPORTER_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vesta::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Without colours, so that the table's rows can be picked out.
  RatioReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // "BM_X/10000/iterations:1/repeats:3/manual_time_median" is kept as
      // "BM_X/10000_median".
      std::string name = run.benchmark_name();
      for (const char* option : {"/iterations:", "/repeats:"}) {
        size_t at = name.find(option);
        if (at == std::string::npos) continue;
        size_t end = name.find_first_of("/_", at + 1);
        name.erase(at, (end == std::string::npos ? name.size() : end) - at);
      }
      for (const std::string timer : {"/manual_time", "/real_time"}) {
        size_t at = name.find(timer);
        if (at != std::string::npos) name.erase(at, timer.size());
      }
      seconds_[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
  }

  // The median time of a benchmark in seconds ("BM_X/10000"), 0 when it did not run.
  double Median(const std::string& name) const {
    auto found = seconds_.find(name + "_median");
    return found != seconds_.end() ? found->second : 0.0;
  }

 private:
  std::map<std::string, double> seconds_;
};

// The main of a benchmark program: runs the benchmarks the command line
// selects (after setUp, when given) and prints the table that printTable
// makes of their times.
inline int RunBenchmarks(int argc, char** argv, void (*printTable)(const RatioReporter&),
                         void (*setUp)() = nullptr) {
  benchmark::Initialize(&argc, argv);
  if (setUp != nullptr) setUp();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printTable(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace vesta::bench

#endif
