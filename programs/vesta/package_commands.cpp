// vesta package list | verify | uninstall.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "programs/vesta/commands.h"
#include "programs/vesta/terminal.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

bool ManifestPath(Console& console, const std::string& given, std::string* path) {
  if (!given.empty()) {
    *path = given;
    return true;
  }
  char bin[kVSBuffer];
  if (!VSGetBinDir(bin)) {
    Fail(console,
         "package: no manifest given, and there is no installation (no \"Home\" under "
         "HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion); name one with --manifest FILE");
    return false;
  }
  *path = std::string(bin) + "\\Packages.txt";
  return true;
}

// Nothing at the path: a manifest given that is missing, or an installation
// that has no package installed yet.
bool NoManifest(const std::string& manifest) {
  char why[kVSBuffer];
  return VSLookAtStoredFile(manifest.c_str(), why, sizeof why) == 0 && !VSFolderExists(manifest.c_str());
}

int CannotRead(Console& console, const std::string& manifest, bool installations) {
  if (installations && NoManifest(manifest)) {
    return Fail(console, "package: " + manifest + ": no package is installed yet (the manifest is made by the first)");
  }
  return Fail(console, "package: cannot read the manifest " + FileProblem(manifest + (NoManifest(manifest)
                                                                                          ? ": no such file"
                                                                                          : ": not a manifest")));
}

struct Listing {
  Console* console;
  nlohmann::json list = nlohmann::json::array();
  bool json = false;
  int count = 0;
};

int ListOne(const char* name, const char* title, void* context) {
  auto* listing = static_cast<Listing*>(context);
  ++listing->count;
  if (listing->json) {
    listing->list.push_back({{"name", name}, {"title", title}});
  } else {
    std::string padded = name;
    if (padded.size() < 10) padded.resize(10, ' ');
    listing->console->out << "  " << padded << "  " << title << "\n";
  }
  return 1;
}

struct Verifying {
  Console* console;
  int components = 0;
  int missing = 0;
};

int VerifyOne(const char* kind, const char* value, int present, void* context) {
  auto* verifying = static_cast<Verifying*>(context);
  ++verifying->components;
  if (!present) ++verifying->missing;
  verifying->console->out << (present ? "  ok       " : "  MISSING  ") << kind << " " << value << "\n";
  return 1;
}

struct Asking {
  Console* console;
  bool yes;
  bool declined = false;
  std::vector<std::string> stayed;   // "[KIND] value: reason"
  std::vector<std::string> refused;  // the same, left alone outside the installation
  int deferred = 0;
};

// The dialog's questions on the console: answered yes by --yes, else by
// the user ("y" or "yes"); the end of the input is a no.
int Ask(const char* text, const char* caption, void* context) {
  auto* asking = static_cast<Asking*>(context);
  std::ostream& out = asking->console->out;
  out << "[" << caption << "] " << text << " [y/N] ";
  if (asking->yes) {
    out << "yes (--yes)\n";
    return 1;
  }
  out.flush();
  std::string answer;
  if (!std::getline(asking->console->in, answer)) {
    out << "\n";
    answer.clear();
  }
  bool agreed = answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
  asking->declined = asking->declined || !agreed;
  return agreed ? 1 : 0;
}

int Outcome(const char* kind, const char* value, const char* /*owner*/, int fate, const char* reason, void* context) {
  auto* asking = static_cast<Asking*>(context);
  if (fate == VS_COMPONENT_NOT_REMOVED) asking->stayed.push_back(std::string(kind) + " " + value + ": " + reason);
  if (fate == VS_COMPONENT_REFUSED) asking->refused.push_back(std::string(kind) + " " + value + ": " + reason);
  if (fate == VS_COMPONENT_DEFERRED) ++asking->deferred;
  return 1;
}

void Tell(const char* text, const char* caption, void* context) {
  auto* asking = static_cast<Asking*>(context);
  asking->console->out << "[" << caption << "] " << text << "\n";
}

int PackageList(Console& console, const std::string& given, bool asJson) {
  std::string manifest;
  if (!ManifestPath(console, given, &manifest)) return kExitFailed;
  Listing listing{&console};
  listing.json = asJson;
  if (!asJson) console.out << manifest << ":\n";
  // An installation that has no package yet has no manifest either.
  if (!(given.empty() && NoManifest(manifest)) && !VSListPackages(manifest.c_str(), ListOne, &listing)) {
    return CannotRead(console, manifest, false);
  }
  if (asJson) {
    console.out << Dump({{"manifest", manifest}, {"packages", listing.list}});
  } else {
    console.out << listing.count << (listing.count == 1 ? " package\n" : " packages\n");
  }
  return Finish(console, kExitOk);
}

int PackageVerify(Console& console, const std::string& given, const std::string& name) {
  std::string manifest;
  if (!ManifestPath(console, given, &manifest)) return kExitFailed;
  Verifying verifying{&console};
  int result = VSVerifyPackage(manifest.c_str(), name.c_str(), VerifyOne, &verifying);
  if (result == -1) return CannotRead(console, manifest, given.empty());
  if (result == -2) return Fail(console, "package verify: " + manifest + ": lists no installed package " + name);
  if (result == 1) {
    console.out << name << ": all " << verifying.components << " components present\n";
  } else {
    console.out << name << ": " << verifying.missing << " of " << verifying.components
                << " components missing; the package can be downloaded and installed again\n";
  }
  return Finish(console, result == 1 ? kExitOk : kExitFailed);
}

int PackageUninstall(Console& console, const std::string& given, const std::string& name, bool yes) {
  std::string manifest;
  if (!ManifestPath(console, given, &manifest)) return kExitFailed;
  Asking asking{&console, yes, false, {}, {}, 0};
  Attempt();
  int result = VSUninstallPackageWithOutcomes(manifest.c_str(), name.c_str(), Ask, Tell, Outcome, &asking);
  if (result == -1) return CannotRead(console, manifest, given.empty());
  if (result == -2) return Fail(console, "package uninstall: " + manifest + ": lists no installed package " + name);
  if (result == 0 && asking.declined) return Fail(console, "package uninstall: " + name + ": not uninstalled, as answered");
  if (result == 0 && !asking.stayed.empty()) {
    // Each component that stayed is named; the manifest keeps them.
    for (const std::string& stayed : asking.stayed) console.err << "vesta: package uninstall: not removed: " << stayed << "\n";
    return Fail(console, "package uninstall: " + name + ": " + std::to_string(asking.stayed.size()) +
                             (asking.stayed.size() == 1 ? " component stays" : " components stay") + " in " +
                             manifest + "; uninstall it again once the cause is mended");
  }
  if (result == 0) {
    std::string problem = FileProblem("");
    return Fail(console, "package uninstall: " + name + ": not uninstalled" +
                             (problem.empty() ? std::string() : " (" + problem + ")"));
  }
  console.out << "uninstalled " << name << "; " << manifest << " rewritten";
  if (asking.deferred > 0) console.out << "; " << asking.deferred << " deleted at the next restart (WININIT.INI)";
  console.out << "\n";
  // What leads outside the installation is never touched (the message
  // above names it): the uninstall is not a whole success.
  if (!asking.refused.empty()) {
    return Fail(console, "package uninstall: " + name + ": " + std::to_string(asking.refused.size()) +
                             (asking.refused.size() == 1 ? " item was" : " items were") +
                             " left alone: the manifest names them outside the installation");
  }
  return Finish(console, kExitOk);
}

class ListCommand : public FileCommand {
 public:
  using FileCommand::FileCommand;
  void Declare(CLI::App& node) override {
    node.add_flag("--json", json_, "Print it as JSON");
    node.footer(Example("vesta package list"));
  }
  int Run(Console& console) const override { return PackageList(console, File(), json_); }

 private:
  bool json_ = false;
};

class VerifyCommand : public FileCommand {
 public:
  using FileCommand::FileCommand;
  void Declare(CLI::App& node) override {
    node.add_option("NAME", name_, "The package's name")->required()->check(kNamed);
    node.footer(std::string("Exit status 1 when a component is missing.") + Example("vesta package verify MEDIA"));
  }
  int Run(Console& console) const override { return PackageVerify(console, File(), name_); }

 private:
  std::string name_;
};

class UninstallCommand : public FileCommand {
 public:
  using FileCommand::FileCommand;
  void Declare(CLI::App& node) override {
    node.add_option("NAME", name_, "The package's name")->required()->check(kNamed);
    node.add_flag("--yes,-y", yes_, "Answer yes to every question");
    node.footer(std::string("Without --yes it asks before the removal, as the package manager's dialog does.") +
                Example("vesta package uninstall SAVER --yes"));
  }
  int Run(Console& console) const override { return PackageUninstall(console, File(), name_, yes_); }

 private:
  std::string name_;
  bool yes_ = false;
};

}  // namespace

const CommandEntry kPackageGroup{nullptr, "package", "The installed packages, as the package manager keeps them",
                                 [](const Command*) -> std::unique_ptr<Command> {
                                   return std::make_unique<FileGroup>(
                                       Example("vesta package verify MEDIA"), "--manifest,-m",
                                       "The manifest (default: the installation's bin\\Packages.txt)");
                                 }};
const CommandEntry kPackageList{"package", "list", "The installed packages", MakeInFileGroup<ListCommand>};
const CommandEntry kPackageVerify{"package", "verify", "Whether every file and key of the package is there",
                                  MakeInFileGroup<VerifyCommand>};
const CommandEntry kPackageUninstall{
    "package", "uninstall", "Remove the package: its files, folders and keys that no other package lists",
    MakeInFileGroup<UninstallCommand>};

}  // namespace vesta::tool
