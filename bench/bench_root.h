// A fresh VESTA_ROOT for one benchmark program, in the host's temporary
// folder, so that a benchmark never touches the user's installation. It is
// removed when the program ends, unless the runner of several programs
// keeps it for its own removal at the end (KeepsRoots).
//
// ext4 without a journal looks past every inode freed in the last minutes
// before it gives one out: a program that deleted its many files just
// before another one makes many would slow that one, which would measure
// the deletion instead of its own work. tools/bench therefore removes every
// program's root only once all have run.
#ifndef VESTA_BENCH_BENCH_ROOT_H
#define VESTA_BENCH_BENCH_ROOT_H

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vesta::bench {

// True when the runner removes the roots itself (VESTA_BENCH_KEEP_ROOTS).
inline bool KeepsRoots() { return std::getenv("VESTA_BENCH_KEEP_ROOTS") != nullptr; }

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
    if (!KeepsRoots()) std::filesystem::remove_all(host_, ignored);
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
