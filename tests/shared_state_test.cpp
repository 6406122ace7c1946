// The libraries as a program loads them: the property store and the setup
// library share one state of the seam, so that a reason recorded while one
// of them works is what the other tells.
#include <gtest/gtest.h>

#include <string>

#include "platform/fault_points.h"
#include "platform/testing/scratch.h"
#include "vesta/vprop.h"
#include "vesta/vsetu.h"

namespace vesta::testing {
namespace {

std::string LastProblem() {
  char problem[1024];
  return VSGetLastFileProblem(problem, sizeof problem) ? std::string(problem) : std::string();
}

TEST(SharedStateTest, AWriteThePropertyStoreFailedIsToldByTheSetupLibrary) {
  ScratchFolder scratch;
  CWorldProp world;
  world.WPInitialise();
  VSClearLastFileProblem();
  const std::string nowhere = scratch.Path("Missing\\World.vwq");
  EXPECT_EQ(FFSaveWorldProp(nowhere.c_str(), &world), 0);
  const std::string told = LastProblem();
  EXPECT_EQ(told.rfind(nowhere + ": ", 0), 0u) << told;
  EXPECT_GT(told.size(), nowhere.size() + 2) << "a reason follows the path";

  // Cleared through the one library, it is cleared for the other.
  VSClearLastFileProblem();
  EXPECT_EQ(LastProblem(), "");

  // A fault armed here fails the property store's output as a full disk.
  const std::string path = scratch.Path("World.vwq");
  platform::ArmFault(platform::FaultPoint::kWrite, 1);
  EXPECT_EQ(FFSaveWorldProp(path.c_str(), &world), 0);
  platform::ArmFault(platform::FaultPoint::kWrite, 0);
  EXPECT_EQ(LastProblem().rfind(path + ": ", 0), 0u) << LastProblem();
  EXPECT_EQ(FFSaveWorldProp(path.c_str(), &world), 1);
  EXPECT_EQ(VSFileExists(path.c_str()), 1);

  // A load of a missing file is told by both, with the system's reason.
  const std::string missing = scratch.Path("Gone.vwq");
  EXPECT_EQ(FFLoadWorldProp(missing.c_str(), &world), 0);
  unsigned int code = 0;
  FFGetError(&code);
  EXPECT_EQ(code, kFFErrorWorldOpenRead);
  EXPECT_STREQ(FFErrorText(code), "the world file cannot be opened for reading");
  EXPECT_STREQ(VSErrorText(static_cast<int>(code)), FFErrorText(code));
  EXPECT_STREQ(VSErrorText(-1), "no code");
  EXPECT_STREQ(VSErrorText(-7), "an unknown code");
  char problem[1024];
  ASSERT_EQ(FFGetLastFileProblem(problem, sizeof problem), 1);
  EXPECT_EQ(LastProblem(), problem);
  EXPECT_EQ(LastProblem().rfind(missing + ": ", 0), 0u) << LastProblem();
  EXPECT_NE(LastProblem().find("No such file"), std::string::npos) << LastProblem();
  world.WPTerminate();
}

}  // namespace
}  // namespace vesta::testing
