// Running vesta in a test as the program runs it: arguments in; output,
// errors and exit status out; in a scratch installation of its own.
#ifndef VESTA_PROGRAMS_VESTA_TEST_VESTA_H
#define VESTA_PROGRAMS_VESTA_TEST_VESTA_H

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "platform/testing/scratch.h"
#include "programs/vesta/console.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"
#include "vsetu/services/library_state.h"

namespace vesta::testing {

// A field as the files store it: "[TYP][4]Text".
inline std::string Field(const char* tag, const std::string& value) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value;
}

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline RunResult RunTool(const std::vector<std::string>& args, const std::string& input = "") {
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in(input);
  tool::Console console{out, err, in};
  RunResult result;
  result.status = tool::RunVesta(args, console);
  result.out = out.str();
  result.err = err.str();
  return result;
}

// A scratch installation: home C:\scratch\VESTA\ (or the scratch folder's
// equivalent) with bin, media, temp and worlds, registered as "Home".
class VestaToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Forget();
    home_ = scratch_.Path("VESTA\\");
    ASSERT_TRUE(platform::MakeFolder(home_.c_str()));
    for (const char* folder : {"bin", "media", "temp", "worlds"}) {
      ASSERT_TRUE(platform::MakeFolder((home_ + folder).c_str()));
    }
    ASSERT_EQ(VSSetVESTAHome(home_.c_str()), 1);
  }

  void TearDown() override { Forget(); }

  // The library's state as at load: the home folder read, the log.
  static void Forget() {
    vsetu::HomeCache()[0] = '\0';
    vsetu::ForgetNormaliserLog();
  }

  std::string Media(const std::string& name) const { return home_ + "media\\" + name; }
  void Write(const std::string& path, const std::string& text) {
    ASSERT_TRUE(WriteTextFile(path, text)) << path;
  }

  ScratchFolder scratch_;
  std::string home_;
};

}  // namespace vesta::testing

#endif
