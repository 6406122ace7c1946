// The cross-check of tools/test: shortcuts of the shapes the shell writes
// (a relative path, arguments, a working folder, with and without a
// description and an icon), written by this platform's link object and read
// by the other's. VESTA_LINK_EXCHANGE names the folder (as this platform
// names it, with its final separator); VESTA_LINK_SIDE names this side and
// VESTA_LINK_OTHER the other ("linux", "windows").
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/shell.h"
#include "platform/shell_link.h"

namespace vesta::platform {
namespace {

struct Shape {
  const char* name;
  const char* relative;
  const char* arguments;
  const char* folder;
  const char* description;
  const char* icon;
  int index;
};

const char kTarget[] = "C:\\VESTA\\bin\\VESTA.EXE";

const Shape kShapes[] = {
    {"relative", "..\\VESTA\\bin\\VESTA.EXE", "-world Sample.vwq", "C:\\VESTA", "", "", 0},
    {"arguments", "", "-w 1", "C:\\VESTA\\worlds", "Caf\xE9 \x80 desk", "", 0},
    {"icon", "..\\bin\\VESTA.EXE", "", "", "", "C:\\VESTA\\bin\\VHelp.ico", 2147483647},
    {"whole", "bin\\VESTA.EXE", "/s", "C:\\VESTA", "VESTA 3D desktop", "C:\\VESTA\\bin\\VHelp.ico", -2},
};

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

class ShellLinkExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = Variable("VESTA_LINK_EXCHANGE");
    if (folder_.empty()) GTEST_SKIP() << "VESTA_LINK_EXCHANGE names no folder";
    com_ = StartCom() == ComStart::kStarted;
    link_ = CreateShellLink();
    file_ = ShellLinkFileInterface(link_);
    ASSERT_NE(file_, nullptr);
  }
  void TearDown() override {
    ReleaseShellLinkInterface(file_);
    ReleaseShellLinkInterface(link_);
    if (com_) StopCom();
  }

  std::string folder_;
  bool com_ = false;
  void* link_ = nullptr;
  void* file_ = nullptr;
};

TEST_F(ShellLinkExchange, WritesTheShapes) {
  for (const Shape& shape : kShapes) {
    void* link = CreateShellLink();
    void* file = ShellLinkFileInterface(link);
    ASSERT_TRUE(ShellLinkSetPath(link, kTarget));
    // Only what the shape has is set.
    auto set = [link](bool (*setter)(void*, const char*), const char* text) { return *text == '\0' || setter(link, text); };
    EXPECT_TRUE(set(ShellLinkSetRelativePath, shape.relative)) << shape.name;
    EXPECT_TRUE(set(ShellLinkSetArguments, shape.arguments)) << shape.name;
    EXPECT_TRUE(set(ShellLinkSetWorkingDirectory, shape.folder)) << shape.name;
    EXPECT_TRUE(set(ShellLinkSetDescription, shape.description)) << shape.name;
    EXPECT_TRUE(*shape.icon == '\0' || ShellLinkSetIconLocation(link, shape.icon, shape.index)) << shape.name;
    const std::string path = folder_ + Variable("VESTA_LINK_SIDE") + "-" + shape.name + ".lnk";
    EXPECT_TRUE(ShellLinkSave(file, path.c_str())) << path;
    ReleaseShellLinkInterface(file);
    ReleaseShellLinkInterface(link);
  }
}

TEST_F(ShellLinkExchange, ReadsTheOthersShapes) {
  for (const Shape& shape : kShapes) {
    const std::string path = folder_ + Variable("VESTA_LINK_OTHER") + "-" + shape.name + ".lnk";
    ASSERT_TRUE(ShellLinkLoad(file_, path.c_str())) << path;
    char text[300];
    ASSERT_TRUE(ShellLinkGetPath(link_, text, sizeof text)) << path;
    EXPECT_STREQ(text, kTarget) << path;
    ASSERT_TRUE(ShellLinkGetDescription(link_, text, sizeof text));
    EXPECT_STREQ(text, shape.description) << path;
    ASSERT_TRUE(ShellLinkGetArguments(link_, text, sizeof text));
    EXPECT_STREQ(text, shape.arguments) << path;
    ASSERT_TRUE(ShellLinkGetWorkingDirectory(link_, text, sizeof text));
    EXPECT_STREQ(text, shape.folder) << path;
    // Without an icon of its own, a link's icon is the shell's to choose.
    int index = 0;
    ASSERT_TRUE(ShellLinkGetIconLocation(link_, text, sizeof text, &index));
    if (*shape.icon) {
      EXPECT_STREQ(text, shape.icon) << path;
      EXPECT_EQ(index, shape.index) << path;
    }
  }
}

}  // namespace
}  // namespace vesta::platform
