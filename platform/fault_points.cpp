#include "platform/fault_points.h"

#include <atomic>

namespace vesta::platform {
namespace {

struct Point {
  std::atomic<int> nth{0};
  std::atomic<int> calls{0};
};

Point gPoints[kFaultPointCount];

Point& Of(FaultPoint point) { return gPoints[static_cast<int>(point)]; }

}  // namespace

bool FaultHere(FaultPoint point) {
  Point& p = Of(point);
  int nth = p.nth.load(std::memory_order_relaxed);
  if (nth == 0) return false;
  return p.calls.fetch_add(1) + 1 == nth;
}

void ArmFault(FaultPoint point, int nth) {
  Point& p = Of(point);
  p.calls = 0;
  p.nth = nth < 0 ? 0 : nth;
}

int FaultCalls(FaultPoint point) { return Of(point).calls; }

}  // namespace vesta::platform
