// Progress of a long job in files and bytes: a bar that redraws itself on a
// terminal, or plain lines (one for each tenth of the work) elsewhere.
#ifndef VESTA_PROGRAMS_VESTA_PROGRESS_H
#define VESTA_PROGRAMS_VESTA_PROGRESS_H

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace vesta::tool {

// "1.5 KB", "12.0 MB"; bytes below a kilobyte as they are.
std::string Bytes(int64_t bytes);

class Progress {
 public:
  // width: of the terminal, 0 when unknown or not a terminal (then lines).
  Progress(std::ostream& stream, bool terminal, int width, int files, int64_t bytes);

  // The work done so far; draws when there is something new to show.
  void Update(int files, int64_t bytes);
  // Draws the end state and ends the bar's line.
  void Done();

  // The line that shows the state, at most width characters (no limit for
  // 0): for tests and for the plain lines.
  std::string Line(int files, int64_t bytes, double seconds, int width) const;

 private:
  double Seconds() const;

  std::ostream& stream_;
  bool terminal_;
  int width_;
  int totalFiles_;
  int64_t totalBytes_;
  int lastTenth_ = -1;
  int files_ = 0;
  int64_t bytes_ = 0;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace vesta::tool

#endif
