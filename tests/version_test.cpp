// The version header as a program of the tree includes it: made by the
// build, its number and its text agree.
#include <gtest/gtest.h>

#include <string>

#include "vesta/version.h"

namespace vesta::testing {
namespace {

TEST(VersionTest, TheTextIsTheThreeNumbers) {
  const std::string numbers = std::to_string(VESTA_VERSION_MAJOR) + "." + std::to_string(VESTA_VERSION_MINOR) + "." +
                              std::to_string(VESTA_VERSION_PATCH);
  EXPECT_EQ(numbers, VESTA_VERSION_STRING);
  EXPECT_GE(VESTA_VERSION_MAJOR, 1);
}

}  // namespace
}  // namespace vesta::testing
