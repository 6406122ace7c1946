// A registry writer killed at random moments: after every kill the hive
// file parses and is one whole version, the old one or the new one; the
// temporaries of killed writers go with the next process's change.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/registry/hive.h"
#include "platform/posix/registry/hive_file.h"
#include "platform/posix/host_path.h"
#include "platform/registry.h"
#include "platform/testing/crash.h"
#include "platform/testing/crash_rounds.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
namespace posix = vesta::platform::posix;
using vesta::testing::KillOutcome;
using vesta::testing::KillRound;
using vesta::testing::NumberedText;

const char kRoot[] = "HKEY_CURRENT_USER";
const char kKey[] = "Software\\Crash";
const char kPayload[] = "Software\\Crash\\Payload";
constexpr int kPayloadValues = 120;

std::string Counter(std::int64_t n) { return NumberedText(n, 200); }

// Version n of the hive: the counter n, beside 120 values that never change
// (about 15 KB in all).
posix::Hive HiveVersion(std::int64_t n) {
  posix::Hive hive;
  posix::SetString(&hive.keys[posix::EnsureKey(&hive, kKey)], "Counter", Counter(n));
  const size_t payload = posix::EnsureKey(&hive, kPayload);
  for (int k = 0; k < kPayloadValues; ++k) {
    posix::SetString(&hive.keys[payload], "Value" + std::to_string(k), NumberedText(-k, 100));
  }
  return hive;
}

std::string HiveText(std::int64_t n) { return posix::WriteHive(HiveVersion(n), kRoot); }

TEST(HiveCrashTest, TheHiveIsAlwaysOneWholeVersion) {
  if (!vesta::testing::CanKillWriters()) GTEST_SKIP() << "writers cannot be killed here";
  vesta::testing::ScratchFolder scratch;
  const std::string folder = posix::VestaRoot() + "/registry/";
  const std::string file = folder + kRoot + ".reg";
  ASSERT_TRUE(platform::MakeFolder(folder.c_str()));
  ASSERT_TRUE(vesta::testing::WriteTextFile(file, HiveText(-1)));
  auto write = [](std::int64_t n) {
    return platform::RegistryWriteString(platform::RegRoot::kCurrentUser, kKey, "Counter", Counter(n).c_str());
  };

  vesta::testing::KillRewriterRepeatedly("registry hive", file, folder, write, HiveText, [&](std::int64_t) {
    posix::Hive hive;
    posix::HiveSyntaxError error;
    EXPECT_TRUE(posix::ParseHive(vesta::testing::ReadTextFile(file), kRoot, &hive, &error))
        << "line " << error.line << ": " << error.what;
  });
  // The hive's lock was never left held.
  std::string counter;
  EXPECT_TRUE(platform::RegistryReadString(platform::RegRoot::kCurrentUser, kKey, "Counter", &counter));
  EXPECT_EQ(counter.rfind("#", 0), 0u);
}

}  // namespace
