// vesta shortcut create | show, and vesta root, end to end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/files.h"
#include "programs/vesta/test_vesta.h"
#include "vesta/vsetu.h"

namespace vesta::testing {
namespace {

using ShortcutCommandTest = VestaToolTest;

TEST_F(ShortcutCommandTest, CreateThenShowGivesTargetDescriptionAndIcon) {
  const std::string link = scratch_.Path("VESTA.lnk");
  RunResult made = RunTool({"shortcut", "create", link, "C:\\VESTA\\bin\\VESTA.EXE", "--description", "3D desktop",
                            "--icon", "C:\\VESTA\\bin\\VHelp.ico,3"});
  ASSERT_EQ(made.status, 0) << made.err;
  RunResult shown = RunTool({"shortcut", "show", link});
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_EQ(shown.out,
            "target=C:\\VESTA\\bin\\VESTA.EXE\ndescription=3D desktop\nicon=C:\\VESTA\\bin\\VHelp.ico\nindex=3\n");
  // An empty --description= is empty; an index is any 32-bit one.
  for (const char* index : {"2147483647", "-2147483648"}) {
    ASSERT_EQ(RunTool({"shortcut", "create", link, "C:\\x", "--description=", "--icon", std::string("i.ico,") + index})
                  .status,
              0);
    EXPECT_EQ(RunTool({"shortcut", "show", link}).out,
              std::string("target=C:\\x\ndescription=\nicon=i.ico\nindex=") + index + "\n");
  }
  EXPECT_EQ(RunTool({"shortcut", "create", link, "C:\\x", "--icon", "i.ico,2147483648"}).status, 2);
  EXPECT_EQ(RunTool({"shortcut", "create", link, "C:\\x", "--icon", "noindex"}).status, 2);
  EXPECT_EQ(RunTool({"shortcut", "create", link, "C:\\x", "--icon", "a.ico,3x"}).status, 2);
  RunResult missing = RunTool({"shortcut", "show", scratch_.Path("none.lnk")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.lnk"), std::string::npos);
  Write(scratch_.Path("text.lnk"), "not a shortcut");
  EXPECT_EQ(RunTool({"shortcut", "show", scratch_.Path("text.lnk")}).status, 1);
}

using RootCommandTest = VestaToolTest;

TEST_F(RootCommandTest, InitMakesAFreshInstallationOnce) {
  ASSERT_EQ(RunTool({"reg", "delete", "HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d"}).status, 0);
  Forget();
  RunResult bare = RunTool({"root"});
  ASSERT_EQ(bare.status, 0) << bare.err;
  EXPECT_NE(bare.out.find("root: "), std::string::npos);
  EXPECT_NE(bare.out.find("installation: none"), std::string::npos) << bare.out;

  const std::string home = scratch_.Path("Fresh\\");
  RunResult made = RunTool({"root", "--init", "--home", home});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_NE(made.out.find("initialised " + home + ": 5 folders made, \"Home\" registered"), std::string::npos)
      << made.out;
  EXPECT_NE(made.out.find("installation: " + home), std::string::npos);
  for (const char* folder : {"bin", "media", "temp", "worlds"}) {
    EXPECT_TRUE(platform::FolderExists((home + folder).c_str())) << folder;
  }
  RunResult again = RunTool({"root", "--init"});
  EXPECT_NE(again.out.find("0 folders made, \"Home\" was registered already"), std::string::npos) << again.out;
  // Where the machine can be chosen, --root chooses it for the one command.
  if (VSCanSetMachineRoot()) {
    char root[1024];
    ASSERT_EQ(VSGetMachineRoot(root, sizeof root), 1);
    RunResult chosen = RunTool({"--root", root, "root"});
    EXPECT_NE(chosen.out.find(std::string("root: ") + root + " (VESTA_ROOT)"), std::string::npos) << chosen.out;
    // A machine that does not exist yet, or an empty folder, is made whole,
    // and every command works on it at once.
    const std::string kept = root;
    for (const std::string& fresh : {kept + "/machine/missing", kept + "/machine/empty"}) {
      if (fresh.back() == 'y') std::filesystem::create_directories(fresh);
      Forget();
      RunResult init = RunTool({"--root", fresh, "root", "--init"});
      EXPECT_EQ(init.status, 0) << fresh << init.err;
      EXPECT_EQ(RunTool({"types", "list"}).out, "C:\\VESTA\\worlds\\VESTA.vft:\n0 types\n");
      EXPECT_EQ(RunTool({"package", "list"}).out, "C:\\VESTA\\bin\\Packages.txt:\n0 packages\n");
      EXPECT_EQ(RunTool({"package", "verify", "X"}).status, 1);
      EXPECT_EQ(RunTool({"reg", "query", "HKLM\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion", "Home"}).status, 0);
      EXPECT_EQ(RunTool({"types", "add", "Text", "--ending", ".txt"}).status, 0);
      EXPECT_EQ(RunTool({"types", "match", "a.txt"}).status, 0);
      Forget();
    }
    ASSERT_EQ(RunTool({"--root", kept, "root"}).status, 0);
    Forget();
  } else {
    EXPECT_EQ(RunTool({"--root", "C:\\elsewhere", "root"}).status, 2);
  }
}

}  // namespace
}  // namespace vesta::testing
