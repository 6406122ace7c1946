// vesta types, package, reg, shortcut and root, and the command line
// itself, end to end.
#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include <set>
#include <string>

#include "platform/file_system.h"
#include "platform/testing/blocked_registry.h"
#include "platform/testing/child_process.h"
#include "platform/testing/fault_injection.h"
#include "platform/testing/files.h"
#include "programs/vesta/terminal.h"
#include "programs/vesta/test_vesta.h"
#include "vesta/vsetu.h"

namespace vesta::testing {
namespace {

std::string Field(const char* tag, const std::string& value) {
  return std::string(tag) + "[" + std::to_string(value.size()) + "]" + value;
}

using CommandLineTest = VestaToolTest;

TEST(TerminalTextTest, CodePageTextCrossesToUtf8AndBackOrIsRefused) {
  char out[32];
  char missing[8];
  ASSERT_EQ(VSCodePageToUtf8("Caf\xE9 \x80", out, sizeof out), 1);
  EXPECT_STREQ(out, "Caf\xC3\xA9 \xE2\x82\xAC");
  ASSERT_EQ(VSUtf8ToCodePage("Caf\xC3\xA9 \xE2\x82\xAC", out, sizeof out, missing, sizeof missing), 1);
  EXPECT_STREQ(out, "Caf\xE9 \x80");
  EXPECT_EQ(VSUtf8ToCodePage("snow \xE2\x98\x83", out, sizeof out, missing, sizeof missing), 0);
  EXPECT_STREQ(missing, "\xE2\x98\x83");
  EXPECT_EQ(VSCodePageToUtf8("\xE9\xE9", out, 4), 0);
  // JSON leaves as ASCII, the code page's characters escaped.
  EXPECT_EQ(tool::Dump({{"name", "Caf\xE9 Desktop"}}), "{\n  \"name\": \"Caf\\u00e9 Desktop\"\n}\n");
}

TEST_F(CommandLineTest, EveryCommandAnswersHelpWithAnExampleAndAWrongLineExitsTwo) {
  for (const std::vector<std::string>& asked :
       {std::vector<std::string>{"--help"}, {"world", "pack", "--help"}, {"types", "add", "--help"},
        {"package", "uninstall", "-h"}, {"reg", "export", "--help"}, {"shortcut", "create", "--help"},
        {"root", "--help"}, {"world", "--help"}, {"types", "--help"}, {"package", "--help"}, {"reg", "--help"},
        {"shortcut", "--help"}}) {
    RunResult help = RunTool(asked);
    EXPECT_EQ(help.status, 0) << asked[0];
    // Each command's example is of itself.
    const std::string example = "Example:\n  vesta " + (asked[0] == "--help" ? std::string() : asked[0] + " ");
    EXPECT_NE(help.out.find(example), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
  }
  EXPECT_NE(RunTool({"reg", "--help"}).out.find("HKCU"), std::string::npos);
  EXPECT_NE(RunTool({"world", "pack", "--help"}).out.find("--dry-run"), std::string::npos);
  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{}, {"world"}, {"world", "show"}, {"world", "fly", "x"}, {"types", "match"},
        {"reg", "set", "HKEY_CURRENT_USER\\X", "n", "v", "--type", "float"}, {"root", "--home", "C:\\V\\"},
        {"world", "show", "a.vwq", "--bogus"}, {"world", "check", ""}, {"types", "list", "--catalogue="},
        {"package", "list", "extra"}}) {
    RunResult usage = RunTool(wrong);
    EXPECT_EQ(usage.status, 2) << (wrong.empty() ? "" : wrong[0]) << usage.out;
    EXPECT_NE(usage.err.find("vesta: "), std::string::npos);
    EXPECT_EQ(usage.err.find("vesta: :"), std::string::npos) << usage.err;
    EXPECT_EQ(usage.out, "");
  }
}

class TypesCommandTest : public VestaToolTest {
 protected:
  void SetUp() override {
    VestaToolTest::SetUp();
    catalogue_ = home_ + "worlds\\VESTA.vft";
    Write(catalogue_, "[FTLS]\n" + Field("[TYP]", "Text document") + "\n" + Field("[END]", ".txt") + "\n" +
                          Field("[TXT]", home_ + "media\\doc.bmp") + "\n[SLTF]\n[FTLS]\n" + Field("[TYP]", "Picture") +
                          "\n" + Field("[END]", ".bmp") + "\n[SLTF]\n");
  }
  std::string catalogue_;
};

TEST_F(TypesCommandTest, ListAndMatchReadTheInstallationsCatalogue) {
  RunResult listed = RunTool({"types", "list"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("  .txt  Text document  texture " + home_ + "media\\doc.bmp"), std::string::npos)
      << listed.out;
  EXPECT_NE(listed.out.find("2 types"), std::string::npos);
  nlohmann::json json = nlohmann::json::parse(RunTool({"types", "list", "--json"}).out);
  EXPECT_EQ(json["types"].size(), 2u);
  EXPECT_EQ(json["types"][1]["ending"], ".bmp");

  RunResult matched = RunTool({"types", "match", "Report.TXT", "beach.bmp"});
  EXPECT_EQ(matched.status, 0) << matched.err;
  EXPECT_EQ(matched.out, "Report.TXT: Text document (.txt)\nbeach.bmp: Picture (.bmp)\n");
  RunResult unmatched = RunTool({"types", "match", "x.zip", "--json"});
  EXPECT_EQ(unmatched.status, 1);
  EXPECT_TRUE(nlohmann::json::parse(unmatched.out)[0]["type"].is_null());
  RunResult elsewhere = RunTool({"types", "--catalogue", scratch_.Path("none.vft"), "list"});
  EXPECT_EQ(elsewhere.status, 1);
  EXPECT_NE(elsewhere.err.find("none.vft"), std::string::npos) << elsewhere.err;
}

TEST_F(TypesCommandTest, AddAndRemoveRewriteTheCatalogueAndRefuseClashes) {
  RunResult added = RunTool({"types", "add", "Web page", "--ending", ".htm", "--shape", home_ + "media\\globe.x",
                             "--tiling", "1"});
  ASSERT_EQ(added.status, 0) << added.err;
  EXPECT_EQ(RunTool({"types", "match", "index.htm"}).out, "index.htm: Web page (.htm)\n");
  std::string saved = ReadTextFile(catalogue_);
  EXPECT_NE(saved.find("[SHP]"), std::string::npos) << "the selected shape defaults to the shape";

  RunResult sameEnding = RunTool({"types", "add", "Other", "--ending", ".htm"});
  EXPECT_EQ(sameEnding.status, 1);
  EXPECT_NE(sameEnding.err.find("the ending .htm is the type \"Web page\"'s already"), std::string::npos);
  EXPECT_EQ(RunTool({"types", "add", "Picture", "--ending", ".png"}).status, 1);
  EXPECT_EQ(ReadTextFile(catalogue_), saved);

  EXPECT_EQ(RunTool({"types", "remove", "Web page"}).status, 0);
  EXPECT_EQ(RunTool({"types", "match", "index.htm"}).status, 1);
  EXPECT_EQ(RunTool({"types", "remove", "Web page"}).status, 1);
  EXPECT_EQ(RunTool({"types", "remove", "Picture"}).status, 0);
  RunResult last = RunTool({"types", "remove", "Text document"});
  EXPECT_EQ(last.status, 1);
  EXPECT_NE(last.err.find("last type"), std::string::npos);
  EXPECT_EQ(RunTool({"types", "match", "a.txt"}).status, 0);

  // A file that is no catalogue is never rewritten as one.
  const std::string world = home_ + "worlds\\Sample.vwq";
  Write(world, "[WORL]\n[NAM][1]w\n[LROW]\n");
  for (const std::vector<std::string>& change :
       {std::vector<std::string>{"types", "-c", world, "add", "X", "--ending", ".x"},
        {"types", "-c", world, "list"}}) {
    RunResult refused = RunTool(change);
    EXPECT_EQ(refused.status, 1) << change[3];
    EXPECT_NE(refused.err.find(world + ": not a catalogue"), std::string::npos) << refused.err;
  }
  EXPECT_EQ(ReadTextFile(world), "[WORL]\n[NAM][1]w\n[LROW]\n");

  // A catalogue that does not exist yet is made by the first type.
  const std::string fresh = scratch_.Path("Fresh.vft");
  EXPECT_EQ(RunTool({"types", "-c", fresh, "add", "Sound", "--ending", ".wav"}).status, 0);
  EXPECT_EQ(RunTool({"types", "-c", fresh, "match", "a.wav"}).out, "a.wav: Sound (.wav)\n");
}

// Two processes adding types to one catalogue, then removing half of them,
// at the same time: every change stays.
constexpr int kTypesEach = 50;

TEST(TypesProcessTest, TwoProcessesAddingAndRemovingTypesLoseNothing) {
  ScratchFolder scratch;
  const std::string catalogue = scratch.Path("Shared.vft");
  ASSERT_EQ(RunTool({"types", "-c", catalogue, "add", "Base", "--ending", ".base"}).status, 0);
  const std::string logA = platform::HostPath(scratch.Path("a.log").c_str());
  const std::string logB = platform::HostPath(scratch.Path("b.log").c_str());
  ChildProcess a("TypesProcessTest.Changer", "a", logA);
  ChildProcess b("TypesProcessTest.Changer", "b", logB);
  ASSERT_TRUE(a.Started() && b.Started());
  EXPECT_TRUE(a.Wait()) << ReadTextFile(scratch.Path("a.log"));
  EXPECT_TRUE(b.Wait()) << ReadTextFile(scratch.Path("b.log"));
  nlohmann::json types = nlohmann::json::parse(RunTool({"types", "-c", catalogue, "list", "--json"}).out)["types"];
  std::set<std::string> names;
  for (const auto& type : types) names.insert(type["name"].get<std::string>());
  EXPECT_EQ(names.size(), 1u + kTypesEach);  // the odd ones were removed again
  for (int i = 0; i < kTypesEach; i += 2) EXPECT_EQ(names.count("a" + std::to_string(i)), 1u) << i;
  EXPECT_EQ(names.count("b1"), 0u);
}

TEST(TypesProcessTest, Changer) {
  const std::string job = ChildJob();
  if (job.empty()) GTEST_SKIP() << "runs only as a child";
  ScratchFolder scratch(ScratchFolder::kParents);
  const std::string catalogue = scratch.Path("Shared.vft");
  for (int i = 0; i < kTypesEach; ++i) {
    const std::string name = job + std::to_string(i);
    RunResult added = RunTool({"types", "-c", catalogue, "add", name, "--ending", "." + name});
    ASSERT_EQ(added.status, 0) << added.err;
    if (i % 2 == 1) {
      RunResult removed = RunTool({"types", "-c", catalogue, "remove", name});
      ASSERT_EQ(removed.status, 0) << removed.err;
    }
  }
}

class PackageCommandTest : public VestaToolTest {
 protected:
  void SetUp() override {
    VestaToolTest::SetUp();
    manifest_ = home_ + "bin\\Packages.txt";
    shared_ = home_ + "media\\shared.bmp";
    own_ = home_ + "media\\own.wav";
    Write(shared_, "shared");
    Write(own_, "own");
    Write(manifest_, Field("[NAM]", "MEDIA") + Field("[TYP]", "Media pack") + "\n" + Field("[NAM]", "SAVER") +
                         Field("[TYP]", "Screensaver") + "\n" + Field("[FIL]", shared_) + Field("[UBY]", "MEDIA") +
                         "\n" + Field("[FIL]", own_) + Field("[UBY]", "MEDIA") + "\n" + Field("[FIL]", shared_) +
                         Field("[UBY]", "SAVER") + "\n" + Field("[REG]", "HKEY_CURRENT_USER\\Software\\Gone") +
                         Field("[UBY]", "SAVER") + "\n");
  }
  std::string manifest_;
  std::string shared_;
  std::string own_;
};

TEST_F(PackageCommandTest, ListAndVerifyNameEveryMissingComponent) {
  RunResult listed = RunTool({"package", "list"});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("  MEDIA       Media pack\n  SAVER       Screensaver\n2 packages"), std::string::npos)
      << listed.out;
  EXPECT_EQ(RunTool({"package", "verify", "media"}).status, 0);
  RunResult saver = RunTool({"package", "verify", "SAVER"});
  EXPECT_EQ(saver.status, 1);
  EXPECT_NE(saver.out.find("MISSING  [REG] HKEY_CURRENT_USER\\Software\\Gone"), std::string::npos) << saver.out;
  EXPECT_NE(saver.out.find("1 of 2 components missing"), std::string::npos);
  ASSERT_TRUE(platform::RemoveFile(own_.c_str()));
  RunResult media = RunTool({"package", "verify", "MEDIA"});
  EXPECT_EQ(media.status, 1);
  EXPECT_NE(media.out.find("MISSING  [FIL] " + own_), std::string::npos) << media.out;
  EXPECT_NE(media.out.find("ok       [FIL] " + shared_), std::string::npos) << media.out;
  RunResult unknown = RunTool({"package", "verify", "NONE"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find(manifest_ + ": lists no installed package NONE"), std::string::npos);
  EXPECT_EQ(RunTool({"package", "-m", scratch_.Path("nothing.txt"), "list"}).status, 1);
}

TEST_F(PackageCommandTest, UninstallAsksFirstKeepsSharedFilesAndLogs) {
  RunResult declined = RunTool({"package", "uninstall", "MEDIA"}, "n\n");
  EXPECT_EQ(declined.status, 1);
  EXPECT_NE(declined.out.find("[VestaWare UnInstall] You are about to remove:"), std::string::npos) << declined.out;
  EXPECT_NE(declined.err.find("MEDIA: not uninstalled, as answered"), std::string::npos) << declined.err;
  EXPECT_TRUE(platform::FileExists(own_.c_str()));
  // The end of the input answers no.
  EXPECT_EQ(RunTool({"package", "uninstall", "MEDIA"}, "").status, 1);
  EXPECT_TRUE(platform::FileExists(own_.c_str()));

  RunResult agreed = RunTool({"package", "uninstall", "MEDIA"}, "y\n");
  ASSERT_EQ(agreed.status, 0) << agreed.out << agreed.err;
  EXPECT_FALSE(platform::FileExists(own_.c_str()));
  EXPECT_TRUE(platform::FileExists(shared_.c_str())) << "SAVER still lists it";
  EXPECT_EQ(RunTool({"package", "list"}).out.find("MEDIA"), std::string::npos);
  EXPECT_NE(ReadTextFile(home_ + "temp\\VestaUpg.txt").find("UnInstalling VESTA package: <Media pack>"),
            std::string::npos);

  RunResult yes = RunTool({"package", "uninstall", "SAVER", "--yes"});
  EXPECT_EQ(yes.status, 0) << yes.out << yes.err;
  EXPECT_NE(yes.out.find("yes (--yes)"), std::string::npos);
  EXPECT_FALSE(platform::FileExists(shared_.c_str()));
}

TEST_F(PackageCommandTest, AnUninstallWhoseManifestCannotBeRewrittenIsAFailure) {
  const std::string before = ReadTextFile(manifest_);
  RunResult failed;
  {
    FailingOutput full(platform::FaultPoint::kRename, 1);
    failed = RunTool({"package", "uninstall", "MEDIA", "--yes"});
  }
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("MEDIA: not uninstalled ("), std::string::npos) << failed.err;
  EXPECT_EQ(ReadTextFile(manifest_), before);
}

TEST_F(PackageCommandTest, AnUninstallNamesWhatStaysAndFinishesWhenRunAgain) {
  ASSERT_EQ(RunTool({"reg", "set", "HKEY_CURRENT_USER\\Software\\Gone", "v", "1"}).status, 0);
  {
    BlockedRegistry blocked(platform::RegRoot::kCurrentUser);
    if (!blocked.Supported()) GTEST_SKIP() << "the system's registry cannot be blocked";
    RunResult stays = RunTool({"package", "uninstall", "SAVER", "--yes"});
    EXPECT_EQ(stays.status, 1);
    EXPECT_NE(stays.err.find("not removed: [REG] HKEY_CURRENT_USER\\Software\\Gone: "), std::string::npos)
        << stays.err;
    EXPECT_NE(stays.err.find("SAVER: 1 component stays in " + manifest_), std::string::npos) << stays.err;
    EXPECT_NE(RunTool({"package", "list"}).out.find("SAVER"), std::string::npos);
  }
  RunResult again = RunTool({"package", "uninstall", "SAVER", "--yes"});
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(RunTool({"reg", "query", "HKEY_CURRENT_USER\\Software\\Gone"}).status, 1);
}

using RegistryCommandTest = VestaToolTest;

TEST_F(RegistryCommandTest, SetQueryAndDeleteValuesOfEveryType) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\VestaToolTest";
  // The root's short name, in any case, is the same root.
  EXPECT_EQ(RunTool({"reg", "set", "hkcu\\Software\\VestaToolTest", "Text", "C:\\VESTA\\"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Count", "0x10", "--type", "dword"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Big", "4294967296", "-t", "qword"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Bytes", "01,ff,20", "-t", "binary"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "List", "a\\0b", "-t", "multi_sz"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key + "\\Sub", "", "default"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "set", key, "Count", "4294967296", "--type", "dword"}).status, 2);
  EXPECT_EQ(RunTool({"reg", "set", key, "Bytes", "0g", "--type", "binary"}).status, 2);

  RunResult all = RunTool({"reg", "query", key});
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_NE(all.out.find("    Text    REG_SZ    C:\\VESTA\\\n"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("    Count    REG_DWORD    0x00000010 (16)\n"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find("    Big    REG_QWORD    0x0000000100000000 (4294967296)\n"), std::string::npos);
  EXPECT_NE(all.out.find("    Bytes    REG_BINARY    01,ff,20\n"), std::string::npos);
  EXPECT_NE(all.out.find("    List    REG_MULTI_SZ    a\\0b\n"), std::string::npos);
  EXPECT_NE(all.out.find("    Sub\\\n"), std::string::npos);
  RunResult deep = RunTool({"reg", "query", key, "-r"});
  EXPECT_NE(deep.out.find(key + "\\Sub\n    (default)    REG_SZ    default\n"), std::string::npos) << deep.out;
  EXPECT_EQ(RunTool({"reg", "query", key, "Text"}).out, key + "\n    Text    REG_SZ    C:\\VESTA\\\n");

  EXPECT_EQ(RunTool({"reg", "query", "HKCU\\Software\\VestaToolTest", "Count"}).status, 0);
  EXPECT_EQ(RunTool({"reg", "delete", "HKCU\\Software\\VestaToolTest", "Text"}).status, 0);
  RunResult gone = RunTool({"reg", "query", key, "Text"});
  EXPECT_EQ(gone.status, 1);
  EXPECT_NE(gone.err.find(key), std::string::npos);
  EXPECT_EQ(RunTool({"reg", "delete", "HKEY_CURRENT_USER"}).status, 1);
  EXPECT_EQ(RunTool({"reg", "delete", key}).status, 0);
  EXPECT_EQ(RunTool({"reg", "query", key}).status, 1);
  EXPECT_EQ(RunTool({"reg", "query", "HKEY_CURRENT_USERX\\Software"}).status, 2);
}

TEST_F(RegistryCommandTest, ExportThenImportRoundTripsAKeyTreeInBothFormats) {
  const std::string key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VestaToolTest";
  ASSERT_EQ(RunTool({"reg", "set", key, "Name", "a \"quoted\" back\\slash"}).status, 0);
  ASSERT_EQ(RunTool({"reg", "set", key + "\\Deeper\\Deepest", "Level", "2", "-t", "dword"}).status, 0);
  ASSERT_EQ(RunTool({"reg", "set", key + "\\Deeper", "", "default text"}).status, 0);
  const std::string before = RunTool({"reg", "query", key, "-r"}).out;
  for (const char* format : {"regedit4", "v5"}) {
    const std::string file = scratch_.Path(std::string("saved-") + format + ".reg");
    RunResult exported = RunTool({"reg", "export", "HKLM\\SOFTWARE\\VestaToolTest", file, "--format", format});
    ASSERT_EQ(exported.status, 0) << exported.err;
    ASSERT_EQ(RunTool({"reg", "delete", key}).status, 0);
    EXPECT_EQ(RunTool({"reg", "query", key}).status, 1);
    RunResult imported = RunTool({"reg", "import", file});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(RunTool({"reg", "query", key, "-r"}).out, before) << format;
  }
  RunResult missing = RunTool({"reg", "import", scratch_.Path("none.reg")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("none.reg"), std::string::npos);
  EXPECT_EQ(RunTool({"reg", "export", key + "\\Nothing", scratch_.Path("x.reg")}).status, 1);
  EXPECT_FALSE(platform::FileExists(scratch_.Path("x.reg").c_str()));
}

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
