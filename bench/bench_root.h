// A fresh VESTA_ROOT for one benchmark program, in the host's temporary
// folder, so that a benchmark never touches the user's installation. It is
// removed when the program ends.
#ifndef VESTA_BENCH_BENCH_ROOT_H
#define VESTA_BENCH_BENCH_ROOT_H

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vesta::bench {

class BenchRoot {
 public:
  explicit BenchRoot(const std::string& name) {
    host_ = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(host_);
    std::filesystem::create_directories(host_ / "drive_c");
    setenv("VESTA_ROOT", host_.string().c_str(), 1);
  }
  ~BenchRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(host_, ignored);
  }
  BenchRoot(const BenchRoot&) = delete;
  BenchRoot& operator=(const BenchRoot&) = delete;

  // The host path of a file or folder under the root.
  std::filesystem::path Host(const std::string& relative) const { return host_ / relative; }

 private:
  std::filesystem::path host_;
};

}  // namespace vesta::bench

#endif
