// The normaliser log, as the normaliser's steps write it: the process's
// normaliser's log (normaliser.h).
#ifndef VESTA_VSETU_NORMALISER_NORMALISER_LOG_H
#define VESTA_VSETU_NORMALISER_NORMALISER_LOG_H

#include <initializer_list>
#include <string>
#include <string_view>

namespace vesta::vsetu {

class Normaliser;

// Appends one of the normaliser's own lines to the log, or a line in
// pieces. It may wait in memory until the step under way returns (LogStep).
void Log(std::string_view text);
void Log(std::initializer_list<std::string_view> pieces);

// Hands what the log holds in memory to the file.
void FlushNormaliserLog();

// Marks one step of the normaliser (an exported operation that logs): the
// lines of the step, and of the steps it calls, reach the file together
// when the outermost step returns, whichever way it returns, so that the
// log always shows how far a run got.
class LogStep {
 public:
  LogStep();
  explicit LogStep(Normaliser& normaliser);
  ~LogStep();
  LogStep(const LogStep&) = delete;
  LogStep& operator=(const LogStep&) = delete;

 private:
  Normaliser& normaliser_;
};

// The log's path: "Normaliz.txt" in the installation's temp folder, or
// "C:\VESTNORM.LOG" without one; fixed at its first use in a process.
const char* NormaliserLogFile();

// Closes the log and forgets its path, as at the start of a process.
void ForgetNormaliserLog();

}  // namespace vesta::vsetu

#endif
