// What every benchmark prints at its end: rows of one table that tools/bench
// gathers from all of them. A row puts a measure beside its baseline of the
// same run, with the ratio, the growth per tenfold size, the heap held per
// item or record and the target. Rows begin with "| " so that tools/bench
// can pick them out of the benchmarks' own output.
#ifndef VESTA_BENCH_BENCH_TABLE_H
#define VESTA_BENCH_BENCH_TABLE_H

#include <malloc.h>

#include <cstdio>
#include <string>

namespace vesta::bench {

// The bytes the heap holds for the program now (small and mapped blocks).
inline size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// A time in the unit that reads best.
inline std::string TimeText(double seconds) {
  char text[32];
  if (seconds <= 0) return "-";
  if (seconds < 1e-3) {
    std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
  } else if (seconds < 1) {
    std::snprintf(text, sizeof text, "%.1f ms", seconds * 1e3);
  } else {
    std::snprintf(text, sizeof text, "%.2f s", seconds);
  }
  return text;
}

struct TableRow {
  std::string what;      // the measure and its size
  double seconds = 0;    // its median time
  std::string baseline;  // what it is set against, with its time
  std::string ratio;     // measure against baseline, as the target states it
  std::string growth;    // time at 10x the size over time at this size
  std::string memory;    // heap held per item or record
  std::string target;
  bool met = true;
};

inline void PrintRow(const TableRow& row) {
  std::printf("| %s | %s | %s | %s | %s | %s | %s | %s |\n", row.what.c_str(), TimeText(row.seconds).c_str(),
              row.baseline.empty() ? "-" : row.baseline.c_str(), row.ratio.empty() ? "-" : row.ratio.c_str(),
              row.growth.empty() ? "-" : row.growth.c_str(), row.memory.empty() ? "-" : row.memory.c_str(),
              row.target.empty() ? "-" : row.target.c_str(), row.target.empty() ? "-" : (row.met ? "met" : "NOT met"));
  std::fflush(stdout);
}

inline std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace vesta::bench

#endif
