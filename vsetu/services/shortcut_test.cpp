// Shortcuts: the shortcut object, and the installation's shortcuts in the
// Start-up and Start-menu folders.
#include <cstring>
#include <string>

#include "platform/shell_link.h"
#include "platform/shell_places.h"
#include "platform/testing/fault_injection.h"
#include "vsetu/services/test_installation.h"

namespace {

using vesta::platform::OverrideSpecialFolder;
using vesta::platform::SpecialFolder;

class ShortcutTest : public vesta::testing::InstallationTest {
 protected:
  void SetUp() override {
    InstallationTest::SetUp();
    startUp_ = scratch_.Path("StartUp");
    programs_ = scratch_.Path("Programs");
    ASSERT_TRUE(vesta::platform::MakeFolder(startUp_.c_str()));
    ASSERT_TRUE(vesta::platform::MakeFolder(programs_.c_str()));
    OverrideSpecialFolder(SpecialFolder::kStartUp, startUp_.c_str());
    OverrideSpecialFolder(SpecialFolder::kPrograms, programs_.c_str());
  }

  void TearDown() override {
    OverrideSpecialFolder(SpecialFolder::kStartUp, nullptr);
    OverrideSpecialFolder(SpecialFolder::kPrograms, nullptr);
    InstallationTest::TearDown();
  }

  // What a fresh shortcut object reads from the file: target | description.
  static std::string Resolved(const std::string& file) {
    CVShortcut shortcut;
    char target[kVSBuffer] = "";
    char description[kVSBuffer] = "";
    if (!shortcut.SHInitialise() || !shortcut.SHResolve(nullptr, file.c_str(), target, description, nullptr, nullptr)) {
      return "<unresolved>";
    }
    return std::string(target) + "|" + description;
  }

  std::string startUp_;
  std::string programs_;
};

const char kTarget[] = "C:\\VESTA\\bin\\VESTA.EXE";

TEST_F(ShortcutTest, AnObjectThatWasNeverStartedRefusesWork) {
  CVShortcut shortcut;
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(shortcut.SHCreateShortcut(kTarget, scratch_.Path("a.LNK").c_str(), "a"), 0);
  EXPECT_EQ(shortcut.SHResolve(nullptr, scratch_.Path("a.LNK").c_str(), out, out, out, out), 0);
  EXPECT_STREQ(out, "untouched");
  EXPECT_EQ(shortcut.SHTerminate(), 1);
  EXPECT_EQ(shortcut.SHTerminate(), 1);
}

TEST_F(ShortcutTest, AShortcutReadsBackAsItWasWritten) {
  const std::string file = scratch_.Path("Desktop.LNK");
  CVShortcut writer;
  ASSERT_EQ(writer.SHInitialise(), 1);
  ASSERT_NE(writer.shellLink, nullptr);
  ASSERT_NE(writer.persistFile, nullptr);
  ASSERT_EQ(writer.SHCreateShortcut(kTarget, file.c_str(), "VESTA 3D desktop"), 1);
  EXPECT_EQ(Resolved(file), std::string(kTarget) + "|VESTA 3D desktop");

  CVShortcut reader;
  ASSERT_EQ(reader.SHInitialise(), 1);
  char target[kVSBuffer] = "";
  char description[kVSBuffer] = "untouched";
  char icon[kVSBuffer] = "untouched";
  char index[kVSBuffer] = "untouched";
  // Without a description that output is left alone; the link's icon
  // location is always given.
  ASSERT_EQ(writer.SHCreateShortcut(kTarget, file.c_str(), ""), 1);
  ASSERT_EQ(reader.SHResolve(nullptr, file.c_str(), target, description, icon, index), 1);
  EXPECT_STREQ(description, "untouched");
  EXPECT_STREQ(index, "0");
  EXPECT_NE(std::string(icon), "untouched");

  EXPECT_EQ(writer.SHTerminate(), 1);
  EXPECT_EQ(writer.shellLink, nullptr);
  EXPECT_EQ(writer.persistFile, nullptr);
  EXPECT_EQ(writer.comStarted, 0);
}

TEST_F(ShortcutTest, AShortcutThatCannotBeWrittenWholeStaysAsItWas) {
  const std::string file = scratch_.Path("Desktop.LNK");
  const std::string old = "C:\\Old\\OLD.EXE";
  CVShortcut writer;
  ASSERT_EQ(writer.SHInitialise(), 1);
  int fired = vesta::testing::ForEveryFault(
      [&] { ASSERT_EQ(writer.SHCreateShortcut(old.c_str(), file.c_str(), "old"), 1); },
      [&] { return writer.SHCreateShortcut(kTarget, file.c_str(), "new") == 1; },
      [&](const vesta::testing::FaultCase& run, bool created) {
        const std::string where = std::string(vesta::testing::FaultName(run.point)) + " " + std::to_string(run.nth);
        EXPECT_EQ(created, !run.fired) << where;
        EXPECT_EQ(Resolved(file), created ? std::string(kTarget) + "|new" : old + "|old") << where;
      });
  // Windows' shell writes the file itself, past the seam's output.
  EXPECT_TRUE(fired == 0 || fired == 5) << fired;
  EXPECT_TRUE(vesta::platform::FindFiles(scratch_.Path("*.tmp").c_str()).empty());

  // What is missing is refused and changes nothing.
  EXPECT_EQ(writer.SHCreateShortcut(kTarget, file.c_str(), nullptr), 0);
  EXPECT_FALSE(vesta::platform::ShellLinkSetIconLocation(writer.shellLink, nullptr, 0));
  EXPECT_FALSE(vesta::platform::ShellLinkSave(writer.persistFile, ""));
  EXPECT_FALSE(vesta::platform::ShellLinkSave(nullptr, file.c_str()));
  EXPECT_EQ(Resolved(file), std::string(kTarget) + "|new");
}

TEST_F(ShortcutTest, AFileThatIsNoShortcutResolvesToNothing) {
  CVShortcut reader;
  ASSERT_EQ(reader.SHInitialise(), 1);
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(reader.SHResolve(nullptr, scratch_.Path("missing.LNK").c_str(), out, out, out, out), 0);
  Touch(scratch_.Path("text.LNK"));
  EXPECT_EQ(reader.SHResolve(nullptr, scratch_.Path("text.LNK").c_str(), out, out, out, out), 0);
  EXPECT_STREQ(out, "untouched");
}

TEST_F(ShortcutTest, TheStartUpShortcutIsNamedFromTheStartUpFolderOrTheWindowsFolder) {
  char out[kVSBuffer] = "";
  ASSERT_EQ(VSGetShortcutFile(nullptr, out), 1);
  EXPECT_EQ(std::string(out), startUp_ + "\\VESTA 3D Desktop.LNK");

  OverrideSpecialFolder(SpecialFolder::kStartUp, "");
  ASSERT_EQ(VSGetShortcutFile(nullptr, out), 1);
  EXPECT_EQ(std::string(out), windows_ + "\\Start Menu\\Programs\\Startup\\VESTA 3D Desktop.LNK");
  std::string user;
  ASSERT_TRUE(vesta::platform::UserName(&user));
  std::string profile = windows_ + "\\Profiles";
  for (const std::string& part : {std::string(), "\\" + user, std::string("\\Start Menu"),
                                  std::string("\\Programs"), std::string("\\Startup")}) {
    profile += part;
    ASSERT_TRUE(vesta::platform::MakeFolder(profile.c_str())) << profile;
  }
  ASSERT_EQ(VSGetShortcutFile(nullptr, out), 1);
  EXPECT_EQ(std::string(out), profile + "\\VESTA 3D Desktop.LNK");

  // The constructed name is copied only as far as the caller allows.
  const std::string whole = profile + "\\VESTA 3D Desktop.LNK";
  const int length = static_cast<int>(whole.size());
  EXPECT_EQ(VSConstructShortcutFile(out, length), 1);
  EXPECT_EQ(VSConstructShortcutFile(out, length - 1), 0);
  EXPECT_EQ(std::string(out), whole.substr(0, whole.size() - 1));
}

TEST_F(ShortcutTest, NamesLongerThanTheBufferAreRefused) {
  // A folder the shell may name, but too long for a shortcut in it.
  std::string deep = startUp_ + "\\";
  deep += std::string(256 - deep.size(), 'd');
  OverrideSpecialFolder(SpecialFolder::kStartUp, deep.c_str());
  OverrideSpecialFolder(SpecialFolder::kPrograms, deep.c_str());
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(VSGetShortcutFile(nullptr, out), 0);
  EXPECT_EQ(VSGetCommonShortcutFile(nullptr, out), 0);
  EXPECT_STREQ(out, "untouched");
}

TEST_F(ShortcutTest, TheStartUpShortcutIsAddedFoundAndDeleted) {
  const std::string file = startUp_ + "\\VESTA 3D Desktop.LNK";
  // No installation folder, no shortcut; adding always answers 0.
  EXPECT_EQ(VSAddShortcutToStartUp(nullptr), 0);
  EXPECT_EQ(VSIsShortcutInStartUp(nullptr), 0);
  Install();
  EXPECT_EQ(VSAddShortcutToStartUp(nullptr), 0);
  EXPECT_EQ(VSIsShortcutInStartUp(nullptr), 1);
  EXPECT_EQ(Resolved(file), home_ + "bin\\VESTA.EXE|VESTA 3D desktop");
  EXPECT_EQ(VSDeleteShortcutFromStartUp(nullptr), 1);
  EXPECT_EQ(VSIsShortcutInStartUp(nullptr), 0);
  EXPECT_EQ(VSDeleteShortcutFromStartUp(nullptr), 0);
}

TEST_F(ShortcutTest, TheStartMenuShortcutNeedsTheStartMenu) {
  Install();
  const std::string file = programs_ + "\\VESTA Setup and Start.LNK";
  EXPECT_EQ(VSAddShortcutToStartMenu(nullptr), 0);
  EXPECT_EQ(VSIsShortcutInStartMenu(nullptr), 1);
  EXPECT_EQ(Resolved(file), home_ + "bin\\VSETUP.EXE|VESTA Setup and Start");

  OverrideSpecialFolder(SpecialFolder::kPrograms, "");
  char out[kVSBuffer] = "untouched";
  EXPECT_EQ(VSGetCommonShortcutFile(nullptr, out), 0);
  EXPECT_STREQ(out, "untouched");
  EXPECT_EQ(VSIsShortcutInStartMenu(nullptr), 0);
  EXPECT_EQ(VSDeleteShortcutFromStartMenu(nullptr), 0);
  OverrideSpecialFolder(SpecialFolder::kPrograms, programs_.c_str());
  EXPECT_EQ(VSDeleteShortcutFromStartMenu(nullptr), 1);
  EXPECT_FALSE(vesta::platform::FileExists(file.c_str()));
}

}  // namespace
