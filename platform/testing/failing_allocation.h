// Running out of memory on purpose: while a FailingAllocations lives, the
// program's nothrow allocations (new (std::nothrow) T) give null after the
// first few, as they do when memory runs out. Other allocations go on as
// usual, so that the test itself keeps working.
#ifndef VESTA_PLATFORM_TESTING_FAILING_ALLOCATION_H
#define VESTA_PLATFORM_TESTING_FAILING_ALLOCATION_H

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

}  // namespace vesta::testing

#endif
