// Windows cannot fork a copy of the running test: the crash tests skip.
#include "platform/testing/crash.h"

namespace vesta::testing {

bool CanKillWriters() { return false; }

WriterProgress& SharedProgress() {
  static WriterProgress progress;
  return progress;
}

bool RunAndKill(const std::function<bool()>& /*work*/, std::chrono::microseconds /*delay*/,
                const std::string& /*watchedFile*/) {
  return false;
}

bool RunInChild(const std::function<bool()>& /*work*/) { return false; }

}  // namespace vesta::testing
