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
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // "BM_X/10000/repeats:3_median" is kept as "BM_X/10000_median".
      std::string name = run.benchmark_name();
      size_t repeats = name.find("/repeats:");
      if (repeats != std::string::npos) name.erase(repeats, name.find('_', repeats) - repeats);
      seconds_[name] = run.GetAdjustedRealTime();
    }
  }

  // The median time of a benchmark ("BM_X/10000"), 0 when it did not run.
  double Median(const std::string& name) const {
    auto found = seconds_.find(name + "_median");
    return found != seconds_.end() ? found->second : 0.0;
  }

 private:
  std::map<std::string, double> seconds_;
};

}  // namespace vesta::bench

#endif
