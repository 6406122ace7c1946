// Points at which the seam's output can be made to fail, for tests.
//
// Every write, flush, sync, close and rename of the seam's output
// (file_output.h) asks FaultHere first. Nothing is armed in a program; a
// test arms one point with platform/testing/fault_injection.h, so that the
// Nth such call from then on fails as a full disk would, and checks that
// every writer then reports the failure and leaves its file whole.
#ifndef VESTA_PLATFORM_FAULT_POINTS_H
#define VESTA_PLATFORM_FAULT_POINTS_H

namespace vesta::platform {

enum class FaultPoint { kWrite, kFlush, kSync, kClose, kRename };
constexpr int kFaultPointCount = 5;

// True when this call is to fail. Counts the call when the point is armed.
bool FaultHere(FaultPoint point);

// Arms point: the nth call from now fails (n >= 1); 0 disarms it. Resets
// the point's count.
void ArmFault(FaultPoint point, int nth);

// How many calls the point has counted since it was armed.
int FaultCalls(FaultPoint point);

}  // namespace vesta::platform

#endif
