#include "platform/testing/boundary.h"

namespace vesta::testing {

// The whole machine is the installation on Windows: there is no boundary to
// test.
RootBoundary::RootBoundary() = default;
RootBoundary::~RootBoundary() = default;

std::vector<std::string> RootBoundary::ClimbingPaths(const std::string&) const { return {}; }
std::vector<std::string> RootBoundary::LinkPaths(const std::string&) const { return {}; }
std::vector<std::string> RootBoundary::HostPaths(const std::string&) const { return {}; }
std::string RootBoundary::ChangesOutside() const { return std::string(); }

}  // namespace vesta::testing
