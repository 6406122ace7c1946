// The registry's last problem, kept by both backends in the seam's state.
#include <mutex>

#include "platform/process_state.h"
#include "platform/registry.h"

namespace vesta::platform {

std::string RegistryLastProblem() {
  std::lock_guard<std::mutex> lock(state::Registry().mutex);
  return state::Registry().last;
}

void ReportRegistryProblem(const std::string& problem) {
  std::lock_guard<std::mutex> lock(state::Registry().mutex);
  state::Registry().last = problem;
}

void ClearRegistryLastProblem() {
  std::lock_guard<std::mutex> lock(state::Registry().mutex);
  state::Registry().last.clear();
}

}  // namespace vesta::platform
