// vesta shortcut create | show, and vesta root.
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ostream>

#include "programs/vesta/commands.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

int ShortcutCreate(Console& console, const std::string& link, const std::string& target,
                   const std::string& description, const std::string& icon) {
  std::string iconFile;
  long long index = 0;
  if (!icon.empty()) {
    // The index is the link's 32-bit signed field.
    size_t comma = icon.find_last_of(',');
    char* end = nullptr;
    errno = 0;
    if (comma != std::string::npos) index = std::strtoll(icon.c_str() + comma + 1, &end, 10);
    if (comma == std::string::npos || comma == 0 || end == icon.c_str() + comma + 1 || *end != '\0' ||
        errno != 0 || index < INT32_MIN || index > INT32_MAX) {
      console.err << "vesta: shortcut create: --icon " << icon
                  << ": not FILE,INDEX (an index from -2147483648 to 2147483647)\n";
      return kExitUsage;
    }
    iconFile = icon.substr(0, comma);
  }
  for (const std::string* text : {&link, &target, &description, static_cast<const std::string*>(&iconFile)}) {
    if (text->size() > 260) return Fail(console, "shortcut create: " + *text + ": longer than 260 characters");
  }
  Attempt();
  if (!VSWriteShortcut(link.c_str(), target.c_str(), description.c_str(), iconFile.c_str(), static_cast<int>(index))) {
    return Fail(console, "shortcut create: cannot write " + FileProblem(link));
  }
  console.out << "wrote " << link << " -> " << target << "\n";
  return Finish(console, kExitOk);
}

int ShortcutShow(Console& console, const std::string& link) {
  CVShortcut shortcut;
  char target[kVSBuffer] = "";
  char description[kVSBuffer] = "";
  char icon[kVSBuffer] = "";
  char index[kVSBuffer] = "";
  if (!VSFileExists(link.c_str())) return Fail(console, "shortcut show: " + link + ": no such file");
  Attempt();
  if (!shortcut.SHInitialise() || !shortcut.SHResolve(nullptr, link.c_str(), target, description, icon, index)) {
    return Fail(console, "shortcut show: cannot read " + FileProblem(link + ": not a shortcut"));
  }
  console.out << "target=" << target << "\ndescription=" << description << "\nicon=" << icon << "\nindex=" << index
              << "\n";
  return Finish(console, kExitOk);
}

int RootShow(Console& console, bool init, const std::string& home) {
  char root[1024];
  if (!VSGetMachineRoot(root, sizeof root)) return Fail(console, "root: the Windows side of the machine cannot be found");
  std::ostream& out = console.out;
  if (VSCanSetMachineRoot()) {
    out << "root: " << root << (std::getenv("VESTA_ROOT") != nullptr ? " (VESTA_ROOT)" : " (the default; VESTA_ROOT is not set)")
        << "\n";
  } else {
    out << "root: " << root << " (this machine)\n";
  }
  if (init) {
    VSInstallationReport report;
    if (!VSInitialiseInstallation(home.empty() ? nullptr : home.c_str(), &report)) {
      char problem[1024];
      std::string why = VSRegGetLastProblem(problem, sizeof problem) ? problem : FileProblem("refused");
      return Fail(console, "root --init: the installation " + std::string(report.home) + " cannot be made: " + why);
    }
    out << "initialised " << report.home << ": " << report.foldersMade
        << (report.foldersMade == 1 ? " folder made" : " folders made")
        << (report.homeWritten ? ", \"Home\" registered" : ", \"Home\" was registered already") << "\n";
  }
  char installation[kVSBuffer];
  if (!VSGetVESTAHome(installation)) {
    out << "installation: none (no \"Home\" under HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion; "
           "make one with: vesta root --init)\n";
    return Finish(console, kExitOk);
  }
  char host[1024] = "";
  VSGetHostPath(installation, host, sizeof host);
  out << "installation: " << installation << (VSFolderExists(installation) ? "" : " (missing)");
  if (std::string(host) != installation) out << "  (" << host << ")";
  out << "\n";
  return Finish(console, kExitOk);
}

class CreateCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("LINK", link_, "The shortcut file")->required()->check(kNamed);
    node.add_option("TARGET", target_, "What it opens")->required()->check(kNamed);
    node.add_option("--description,-d", description_, "Its description");
    node.add_option("--icon,-i", icon_, "Its icon: FILE,INDEX")->type_name("FILE,INDEX");
    node.footer(Example("vesta shortcut create \"C:\\Users\\Public\\Desktop\\VESTA.lnk\" C:\\VESTA\\bin\\VESTA.EXE "
                        "--description \"VESTA 3D desktop\" --icon C:\\VESTA\\bin\\VESTA.EXE,0"));
  }
  int Run(Console& console) const override { return ShortcutCreate(console, link_, target_, description_, icon_); }

 private:
  std::string link_;
  std::string target_;
  std::string description_;
  std::string icon_;
};

class ShowCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("LINK", link_, "The shortcut file")->required()->check(kNamed);
    node.footer(Example("vesta shortcut show \"C:\\Users\\Public\\Desktop\\VESTA.lnk\""));
  }
  int Run(Console& console) const override { return ShortcutShow(console, link_); }

 private:
  std::string link_;
};

class RootCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_flag("--init", init_, "Make the folders and settings of a fresh installation");
    node.add_option("--home", home_, "With --init: the installation folder (default C:\\VESTA\\)")
        ->check(kNamed)
        ->type_name("FOLDER");
    node.footer(Example("vesta root --init\n  vesta --root /tmp/machine root --init"));
  }
  int Run(Console& console) const override {
    if (!home_.empty() && !init_) {
      console.err << "vesta: root: --home needs --init\n";
      return kExitUsage;
    }
    return RootShow(console, init_, home_);
  }

 private:
  bool init_ = false;
  std::string home_;
};

}  // namespace

const CommandEntry kShortcutGroup{nullptr, "shortcut", "Write and read shortcut files (.LNK)",
                                  [](const Command*) -> std::unique_ptr<Command> {
                                    return std::make_unique<Group>(
                                        Example("vesta shortcut show \"C:\\Users\\Public\\Desktop\\VESTA.lnk\""));
                                  }};
const CommandEntry kShortcutCreate{"shortcut", "create", "Write a shortcut to TARGET", Make<CreateCommand>};
const CommandEntry kShortcutShow{"shortcut", "show", "Read a shortcut: target=, description=, icon=, index= lines",
                                 Make<ShowCommand>};
const CommandEntry kRoot{nullptr, "root", "Where the Windows side of the machine lies, and the installation in it",
                         Make<RootCommand>};

}  // namespace vesta::tool
