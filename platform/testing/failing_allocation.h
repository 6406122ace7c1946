// Running out of memory on purpose: while a FailingAllocations lives, the
// program's nothrow allocations (new (std::nothrow) T) give null after the
// first few, as they do when memory runs out. Other allocations go on as
// usual, so that the test itself keeps working.
#ifndef VESTA_PLATFORM_TESTING_FAILING_ALLOCATION_H
#define VESTA_PLATFORM_TESTING_FAILING_ALLOCATION_H

#include <functional>

namespace vesta::testing {

class FailingAllocations {
 public:
  // Lets the first `allowed` nothrow allocations through; then `failing`
  // of them fail (every one, by default) and the rest go through again.
  explicit FailingAllocations(int allowed = 0, int failing = 1 << 30);
  ~FailingAllocations();
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;

  // How many allocations failed so far.
  int Failed() const;
};

// Runs attempt under FailingAllocations(allowed, failing) for allowed = 0,
// 1, 2, ... and hands check each run's result, whether an allocation failed
// in it and its allowed, until a run in which none failed (handed to check
// too). Returns the number of runs in which one failed.
int ForEveryFailingAllocation(int failing, const std::function<int()>& attempt,
                              const std::function<void(int result, bool failed, int allowed)>& check);

}  // namespace vesta::testing

#endif
