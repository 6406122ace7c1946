// Failing output on purpose: the Nth write, flush, sync, close or rename of
// the seam's output fails as a full disk would (platform/fault_points.h).
#ifndef VESTA_PLATFORM_TESTING_FAULT_INJECTION_H
#define VESTA_PLATFORM_TESTING_FAULT_INJECTION_H

#include <functional>
#include <string>

#include "platform/fault_points.h"

namespace vesta::testing {

// Arms one fault point for as long as it lives.
class FailingOutput {
 public:
  FailingOutput(platform::FaultPoint point, int nth) : point_(point), nth_(nth) { platform::ArmFault(point, nth); }
  ~FailingOutput() { platform::ArmFault(point_, 0); }
  FailingOutput(const FailingOutput&) = delete;
  FailingOutput& operator=(const FailingOutput&) = delete;

  // True once the armed call was made (and failed).
  bool Fired() const { return platform::FaultCalls(point_) >= nth_; }

 private:
  platform::FaultPoint point_;
  int nth_;
};

// The name of a fault point, for test messages.
inline const char* FaultName(platform::FaultPoint point) {
  switch (point) {
    case platform::FaultPoint::kWrite:
      return "write";
    case platform::FaultPoint::kFlush:
      return "flush";
    case platform::FaultPoint::kSync:
      return "sync";
    case platform::FaultPoint::kClose:
      return "close";
    default:
      return "rename";
  }
}

struct FaultCase {
  platform::FaultPoint point;
  int nth;
  bool fired;  // the writer reached the Nth call, which failed
};

// "write 3": which fault a run had, for test messages.
inline std::string Describe(const FaultCase& run) { return std::string(FaultName(run.point)) + " " + std::to_string(run.nth); }

// Runs a writer once for every fault point and every N in turn (N = 1, 2,
// ... up to the first N the writer no longer reaches): prepare() sets the
// file up, write() runs with the fault armed and gives the writer's
// result, check() looks at what is left. Returns how many runs failed on
// purpose.
inline int ForEveryFault(const std::function<void()>& prepare, const std::function<bool()>& write,
                         const std::function<void(const FaultCase&, bool result)>& check) {
  int fired = 0;
  for (int point = 0; point < platform::kFaultPointCount; ++point) {
    for (int nth = 1; nth < 10000; ++nth) {
      prepare();
      FaultCase run{static_cast<platform::FaultPoint>(point), nth, false};
      bool result;
      {
        FailingOutput fault(run.point, nth);
        result = write();
        run.fired = fault.Fired();
      }
      check(run, result);
      if (!run.fired) break;
      ++fired;
    }
  }
  return fired;
}

}  // namespace vesta::testing

#endif
