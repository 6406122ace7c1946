// A registry writer killed at random moments: after every kill the hive
// file parses and is one whole version, the old one or the new one; the
// temporaries of killed writers go with the next process's change.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/registry_file/hive.h"
#include "platform/registry_file/hive_file.h"
#include "platform/posix/host_path.h"
#include "platform/registry.h"
#include "platform/testing/crash.h"
#include "platform/testing/crash_rounds.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"

namespace {

namespace platform = vesta::platform;
namespace posix = vesta::platform::posix;
namespace regfile = vesta::platform::regfile;
using vesta::platform::AnsiToUtf16;
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
regfile::Hive HiveVersion(std::int64_t n) {
  regfile::Hive hive = regfile::NewHive(kRoot);
  regfile::SetValue(&hive, kKey, regfile::StringValue("Counter", AnsiToUtf16(Counter(n))));
  for (int k = 0; k < kPayloadValues; ++k) {
    regfile::SetValue(&hive, kPayload,
                    regfile::StringValue("Value" + std::to_string(k), AnsiToUtf16(NumberedText(-k, 100))));
  }
  return hive;
}

std::string HiveText(std::int64_t n) { return regfile::WriteHive(HiveVersion(n)); }

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
    regfile::Hive hive;
    regfile::HiveSyntaxError error;
    EXPECT_TRUE(regfile::ParseHive(vesta::testing::ReadTextFile(file), kRoot, &hive, &error))
        << "line " << error.line << ": " << error.what;
    EXPECT_EQ(regfile::FirstProblem(hive), nullptr);
  });
  // The hive's lock was never left held.
  std::string counter;
  EXPECT_TRUE(platform::RegistryReadString(platform::RegRoot::kCurrentUser, kKey, "Counter", &counter));
  EXPECT_EQ(counter.rfind("#", 0), 0u);
}

}  // namespace
