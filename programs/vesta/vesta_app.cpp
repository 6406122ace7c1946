// The command line of vesta: the list of its commands, from which the parser
// is built and the command reached is run.
#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "programs/vesta/commands.h"
#include "programs/vesta/console.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

const char kStatuses[] =
    "Exit status: 0 on success, 1 when an operation failed or a check found problems,\n"
    "2 for a wrong command line.";

const char kPaths[] =
    "Paths are Windows paths (C:\\VESTA\\worlds\\Sample.vwq); on Linux they lie in the folder\n"
    "that VESTA_ROOT names (default ~/.vesta), and a path that begins with / is the host's.";

// Every command of vesta, in the order of the help: a group before its
// commands.
const CommandEntry* const kCommands[] = {
    &kWorldGroup, &kWorldShow, &kWorldCheck, &kWorldPack, &kWorldGraph,
    &kTypesGroup, &kTypesList, &kTypesMatch, &kTypesAdd, &kTypesRemove,
    &kPackageGroup, &kPackageList, &kPackageVerify, &kPackageUninstall,
    &kRegGroup, &kRegQuery, &kRegSet, &kRegDelete, &kRegImport, &kRegExport,
    &kShortcutGroup, &kShortcutCreate, &kShortcutShow,
    &kRoot,
};

// A command made for this run, on its node of the command line.
struct Made {
  CLI::App* node;
  std::unique_ptr<Command> command;
};

// The command that was reached: the deepest one given on the command line.
CLI::App* Reached(CLI::App* app) {
  for (std::vector<CLI::App*> given = app->get_subcommands(); !given.empty(); given = app->get_subcommands()) {
    app = given.front();
  }
  return app;
}

// The words as the parser takes them, last first. "--name=" gives the option
// an empty value; the parser alone would take the next word for it.
std::vector<std::string> ParserWords(const std::vector<std::string>& args) {
  std::vector<std::string> words;
  bool options = true;
  for (const std::string& arg : args) {
    if (arg == "--") options = false;
    if (options && arg.size() > 3 && arg.compare(0, 2, "--") == 0 && arg.find('=') == arg.size() - 1) {
      words.push_back(arg.substr(0, arg.size() - 1));
      words.emplace_back();
    } else {
      words.push_back(arg);
    }
  }
  return std::vector<std::string>(words.rbegin(), words.rend());
}

}  // namespace

std::string Example(const std::string& lines) { return "\nExample:\n  " + lines; }

const CLI::Validator kNamed(
    [](const std::string& text) { return text.empty() ? std::string("is empty; it names what to work on") : std::string(); },
    "", "named");

void Group::Declare(CLI::App& node) {
  node.require_subcommand(1);
  node.footer(footer_);
}

// The parse stops at a group without one of its commands.
int Group::Run(Console& /*console*/) const { return kExitUsage; }

void FileGroup::Declare(CLI::App& node) {
  Group::Declare(node);
  node.add_option(names_, file_, description_)->check(kNamed)->type_name("FILE");
}

int Fail(Console& console, const std::string& text) {
  console.err << "vesta: " << text << "\n";
  console.err.flush();
  return kExitFailed;
}

std::string FileProblem(const std::string& fallback) {
  char problem[1024];
  return VSGetLastFileProblem(problem, sizeof problem) ? std::string(problem) : fallback;
}

void Attempt() { VSClearLastFileProblem(); }

int Finish(Console& console, int status) {
  console.out.flush();
  if (!console.out) {
    console.err << "vesta: the output could not all be written (standard output: closed or full)\n";
    return kExitFailed;
  }
  return status;
}

int RunVesta(const std::vector<std::string>& args, Console& console) {
  CLI::App app{"vesta: worlds, file types, packages, the registry and shortcuts of a VESTA installation."};
  app.name("vesta");
  app.footer(std::string(kPaths) + "\n" + kStatuses + Example("vesta world check C:\\VESTA\\worlds\\Sample.vwq"));
  app.require_subcommand(1);
  app.fallthrough();
  std::string root;
  app.add_option("--root", root, "The folder that stands for the Windows side of the machine (Linux: instead of VESTA_ROOT)")
      ->check(kNamed)
      ->type_name("DIR");

  std::vector<Made> made;
  for (const CommandEntry* entry : kCommands) {
    CLI::App* parent = &app;
    const Command* group = nullptr;
    if (entry->group != nullptr) {
      parent = app.get_subcommand(entry->group);
      for (const Made& earlier : made) {
        if (earlier.node == parent) group = earlier.command.get();
      }
    }
    Made command{parent->add_subcommand(entry->name, entry->summary), entry->make(group)};
    command.command->Declare(*command.node);
    made.push_back(std::move(command));
  }

  std::vector<std::string> words = ParserWords(args);
  try {
    app.parse(words);
  } catch (const CLI::CallForHelp& e) {
    console.out << Reached(&app)->help();
    return Finish(console, kExitOk);
  } catch (const CLI::ParseError& e) {
    console.err << "vesta: " << e.what() << "\n";
    CLI::App* failed = Reached(&app);
    std::string path = failed->get_name();
    for (CLI::App* parent = failed->get_parent(); parent != nullptr; parent = parent->get_parent()) {
      path = parent->get_name() + " " + path;
    }
    console.err << "Run '" << path << " --help' for its usage.\n";
    return kExitUsage;
  }

  if (!root.empty()) {
    if (!VSCanSetMachineRoot()) {
      console.err << "vesta: --root " << root << ": Windows has one machine, the one this runs on\n";
      return kExitUsage;
    }
    if (!VSSetMachineRoot(root.c_str())) return Fail(console, "--root " + root + ": cannot be used");
  }

  Attempt();
  CLI::App* reached = Reached(&app);
  for (const Made& command : made) {
    if (command.node == reached) return command.command->Run(console);
  }
  return kExitUsage;
}

}  // namespace vesta::tool
