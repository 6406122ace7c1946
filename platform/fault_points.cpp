#include "platform/fault_points.h"

#include "platform/process_state.h"

namespace vesta::platform {
namespace {

state::FaultPoint& Of(FaultPoint point) { return state::Fault(point); }

}  // namespace

bool FaultHere(FaultPoint point) {
  state::FaultPoint& p = Of(point);
  int nth = p.nth.load(std::memory_order_relaxed);
  if (nth == 0) return false;
  return p.calls.fetch_add(1) + 1 == nth;
}

void ArmFault(FaultPoint point, int nth) {
  state::FaultPoint& p = Of(point);
  p.calls = 0;
  p.nth = nth < 0 ? 0 : nth;
}

int FaultCalls(FaultPoint point) { return Of(point).calls; }

}  // namespace vesta::platform
