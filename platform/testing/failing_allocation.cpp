#include "platform/testing/failing_allocation.h"

#include <atomic>
#include <cstddef>
#include <new>

namespace {

std::atomic<bool> gArmed{false};
std::atomic<int> gAllowed{0};
std::atomic<int> gFailing{0};
std::atomic<int> gFailed{0};

}  // namespace

namespace vesta::testing {

FailingAllocations::FailingAllocations(int allowed, int failing) {
  gAllowed = allowed;
  gFailing = failing;
  gFailed = 0;
  gArmed = true;
}

FailingAllocations::~FailingAllocations() { gArmed = false; }

int FailingAllocations::Failed() const { return gFailed; }

int ForEveryFailingAllocation(int failing, const std::function<int()>& attempt,
                              const std::function<void(int result, bool failed, int allowed)>& check) {
  int failures = 0;
  for (int allowed = 0;; ++allowed) {
    int result;
    bool failed;
    {
      FailingAllocations noMemory(allowed, failing);
      result = attempt();
      failed = noMemory.Failed() > 0;
    }
    check(result, failed, allowed);
    if (!failed) return failures;
    ++failures;
  }
}

}  // namespace vesta::testing

// The program's nothrow allocation. It takes its memory from the plain
// allocation, so that every delete matches it (also under the sanitizers).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (gArmed) {
    if (gAllowed > 0) {
      --gAllowed;
    } else if (gFailing > 0) {
      --gFailing;
      ++gFailed;
      return nullptr;
    }
  }
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept { ::operator delete(pointer); }
