// A scratch installation for the setup library's tests: a home folder with
// its bin, media, temp and worlds folders registered as "Home", a Windows
// folder of its own, and the library's process-wide state as at load.
#ifndef VESTA_VSETU_SERVICES_TEST_INSTALLATION_H
#define VESTA_VSETU_SERVICES_TEST_INSTALLATION_H

#include <gtest/gtest.h>

#include <string>

#include "platform/file_system.h"
#include "platform/system_info.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "vesta/vsetu.h"
#include "vsetu/services/library_state.h"

namespace vesta::testing {

class InstallationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetState();
    windows_ = scratch_.Path("Windows");
    ASSERT_TRUE(platform::MakeFolder(windows_.c_str()));
    ASSERT_TRUE(platform::MakeFolder((windows_ + "\\System32").c_str()));
    platform::OverrideWindowsFolder(windows_.c_str());
    home_ = scratch_.Path("VESTA\\");
    ASSERT_TRUE(platform::MakeFolder(home_.c_str()));
    for (const char* folder : {"bin", "media", "temp", "worlds"}) {
      ASSERT_TRUE(platform::MakeFolder((home_ + folder).c_str()));
    }
  }

  void TearDown() override {
    platform::OverrideWindowsFolder(nullptr);
    ForgetState();
  }

  // Registers the scratch home as the installation folder.
  void Install() { ASSERT_EQ(VSSetVESTAHome(home_.c_str()), 1); }

  // The state a freshly loaded library has.
  static void ForgetState() {
    vsetu::HomeCache()[0] = '\0';
    *vsetu::RendererCursor() = -1;
  }

  void Touch(const std::string& path) { ASSERT_TRUE(WriteTextFile(path, "x")) << path; }

  ScratchFolder scratch_;
  std::string home_;     // ends with a back-slash
  std::string windows_;  // without one
};

}  // namespace vesta::testing

#endif
