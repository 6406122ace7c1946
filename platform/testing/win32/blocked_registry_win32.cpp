#include "platform/testing/blocked_registry.h"

namespace vesta::testing {

// The system's registry takes no lock that a test could stand in the way of.
BlockedRegistry::BlockedRegistry(platform::RegRoot /*root*/) {}

BlockedRegistry::~BlockedRegistry() {}

}  // namespace vesta::testing
