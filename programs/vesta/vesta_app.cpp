// The command line of vesta: its commands, their options and their help.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <sstream>

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

// The help of a command: what it does, then an example.
std::string Example(const std::string& lines) { return "\nExample:\n  " + lines; }

// What a command works on is named: an empty name is a wrong command line.
const CLI::Validator kNamed(
    [](const std::string& text) { return text.empty() ? std::string("is empty; it names what to work on") : std::string(); },
    "", "named");

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

  // world
  CLI::App* world = app.add_subcommand("world", "Look at, check, pack or draw a world file (.vwq)");
  world->require_subcommand(1);
  world->footer(Example("vesta world check C:\\VESTA\\worlds\\Sample.vwq"));
  std::string worldFile;
  std::string folder;
  std::string svg;
  bool json = false;
  bool dryRun = false;
  bool damaged = false;
  bool quiet = false;
  CLI::App* show = world->add_subcommand("show", "The world, its rooms and items, and the files each uses (missing ones marked)");
  show->add_option("WORLD", worldFile, "The world file")->required()->check(kNamed);
  show->add_flag("--json", json, "Print it as JSON");
  show->footer(Example("vesta world show C:\\VESTA\\worlds\\Sample.vwq"));
  CLI::App* check = world->add_subcommand(
      "check", "Every file the world and its catalogue refer to, present or missing, with the record that names it");
  check->add_option("WORLD", worldFile, "The world file")->required()->check(kNamed);
  check->add_flag("--json", json, "Print it as JSON");
  check->footer(std::string("Exit status 1 when a file is missing.") + Example("vesta world check C:\\VESTA\\worlds\\Sample.vwq"));
  CLI::App* pack = world->add_subcommand(
      "pack", "Copy the world and every file it uses into FOLDER, with the paths rewritten to travel");
  pack->add_option("WORLD", worldFile, "The world file")->required()->check(kNamed);
  pack->add_option("FOLDER", folder, "The folder to pack into (made when missing)")->required()->check(kNamed);
  pack->add_flag("--dry-run,-n", dryRun, "List what would be copied and where, changing nothing");
  pack->add_flag("--quiet,-q", quiet, "Print nothing but errors");
  pack->add_flag("--damaged", damaged, "Pack a damaged world without the records and fields that cannot be read");
  pack->footer(Example("vesta world pack C:\\VESTA\\worlds\\Sample.vwq C:\\Travel\\Sample"));
  CLI::App* graph = world->add_subcommand(
      "graph", "The world as a Graphviz DOT graph: world, rooms, items, the files they use");
  graph->add_option("WORLD", worldFile, "The world file")->required()->check(kNamed);
  graph->add_option("--svg", svg, "Render it to this SVG file with Graphviz's dot")->type_name("FILE");
  graph->footer(Example("vesta world graph C:\\VESTA\\worlds\\Sample.vwq > sample.dot\n"
                        "  vesta world graph C:\\VESTA\\worlds\\Sample.vwq --svg /tmp/sample.svg"));

  // types
  CLI::App* types = app.add_subcommand("types", "The file-type catalogue (.vft)");
  types->require_subcommand(1);
  types->footer(Example("vesta types match Report.txt"));
  std::string catalogue;
  types->add_option("--catalogue,-c", catalogue, "The catalogue (default: the installation's worlds\\VESTA.vft)")
      ->check(kNamed)
      ->type_name("FILE");
  CLI::App* typesList = types->add_subcommand("list", "Every type: its ending and what an item of it looks like");
  typesList->add_flag("--json", json, "Print it as JSON");
  typesList->footer(Example("vesta types list"));
  std::vector<std::string> names;
  CLI::App* typesMatch = types->add_subcommand("match", "The type that each file name gets, by its ending");
  typesMatch->add_option("NAME", names, "File names")->required();
  typesMatch->add_flag("--json", json, "Print it as JSON");
  typesMatch->footer(std::string("Exit status 1 when a name matches no type.") +
                     Example("vesta types match Report.txt Beach.bmp"));
  TypeFields fields;
  CLI::App* typesAdd = types->add_subcommand("add", "Add a type to the catalogue");
  typesAdd->add_option("NAME", fields.name, "The type's name")->required()->check(kNamed);
  typesAdd->add_option("--ending", fields.ending, "The ending of its files (.txt)")->required()->check(kNamed);
  typesAdd->add_option("--program", fields.program, "The program that opens them");
  typesAdd->add_option("--command-line", fields.commandLine, "Its command line (\"%1\" for the file)");
  typesAdd->add_option("--folder", fields.folder, "Its working folder");
  typesAdd->add_option("--kolb", fields.kolb, "KOLB file");
  typesAdd->add_option("--shape", fields.unselectedShape, "Shape (.x)");
  typesAdd->add_option("--selected-shape", fields.selectedShape, "Shape when selected (default: --shape)");
  typesAdd->add_option("--texture", fields.texture, "Texture (.bmp)");
  typesAdd->add_option("--icon-index", fields.iconIndex, "Index of the icon in the texture");
  typesAdd->add_option("--selected-sound", fields.selectedSound, "Sound when selected");
  typesAdd->add_option("--collide-sound", fields.collideSound, "Sound when bumped into");
  typesAdd->add_option("--open-sound", fields.openSound, "Sound when opened");
  typesAdd->add_option("--delete-sound", fields.deleteSound, "Sound when deleted");
  typesAdd->add_option("--tiling", fields.tiling, "1 to tile the texture, 0 not to");
  typesAdd->add_option("--footprint-disabled", fields.footprintDisabled, "1 to give its items no footprint");
  typesAdd->footer(Example("vesta types add \"Web page\" --ending .htm --shape C:\\VESTA\\media\\globe.x "
                           "--texture C:\\VESTA\\media\\link.bmp"));
  std::string typeName;
  CLI::App* typesRemove = types->add_subcommand("remove", "Remove a type from the catalogue");
  typesRemove->add_option("NAME", typeName, "The type's name")->required()->check(kNamed);
  typesRemove->footer(Example("vesta types remove \"Web page\""));

  // package
  CLI::App* package = app.add_subcommand("package", "The installed packages, as the package manager keeps them");
  package->require_subcommand(1);
  package->footer(Example("vesta package verify MEDIA"));
  std::string manifest;
  package->add_option("--manifest,-m", manifest, "The manifest (default: the installation's bin\\Packages.txt)")
      ->check(kNamed)
      ->type_name("FILE");
  std::string packageName;
  bool yes = false;
  CLI::App* packageList = package->add_subcommand("list", "The installed packages");
  packageList->add_flag("--json", json, "Print it as JSON");
  packageList->footer(Example("vesta package list"));
  CLI::App* packageVerify = package->add_subcommand("verify", "Whether every file and key of the package is there");
  packageVerify->add_option("NAME", packageName, "The package's name")->required()->check(kNamed);
  packageVerify->footer(std::string("Exit status 1 when a component is missing.") + Example("vesta package verify MEDIA"));
  CLI::App* packageUninstall = package->add_subcommand(
      "uninstall", "Remove the package: its files, folders and keys that no other package lists");
  packageUninstall->add_option("NAME", packageName, "The package's name")->required()->check(kNamed);
  packageUninstall->add_flag("--yes,-y", yes, "Answer yes to every question");
  packageUninstall->footer(std::string("Without --yes it asks before the removal, as the package manager's dialog does.") +
                           Example("vesta package uninstall SAVER --yes"));

  // reg
  CLI::App* reg = app.add_subcommand("reg", "Read and change the registry");
  reg->require_subcommand(1);
  reg->footer("KEY begins with a root: HKEY_CURRENT_USER or HKCU, HKEY_LOCAL_MACHINE or HKLM, HKEY_CLASSES_ROOT or\n"
              "HKCR, HKEY_USERS or HKU, HKEY_CURRENT_CONFIG or HKCC." +
              Example("vesta reg query HKLM\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion"));
  std::string key;
  std::string valueName;
  std::string value;
  std::string type = "sz";
  std::string regFile;
  std::string format = "regedit4";
  bool recursive = false;
  CLI::App* regQuery = reg->add_subcommand("query", "A key's values and subkeys, or one value");
  regQuery->add_option("KEY", key, "The key, root first (HKEY_CURRENT_USER\\Software\\...)")->required()->check(kNamed);
  CLI::Option* queryName = regQuery->add_option("NAME", valueName, "One value (\"\" for the default value)");
  regQuery->add_flag("--recursive,-r", recursive, "The subkeys' values too, all the way down");
  regQuery->footer(Example("vesta reg query HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion Home"));
  CLI::App* regSet = reg->add_subcommand("set", "Write a value (the key is made when missing)");
  regSet->add_option("KEY", key, "The key")->required()->check(kNamed);
  regSet->add_option("NAME", valueName, "The value's name (\"\" for the default value)")->required();
  regSet->add_option("VALUE", value, "The data")->required();
  regSet->add_option("--type,-t", type,
                     "sz, expand_sz, multi_sz (entries split by \\0), dword, qword (decimal or 0x...), "
                     "binary (hex bytes)")
      ->check(CLI::IsMember({"sz", "expand_sz", "multi_sz", "dword", "qword", "binary"}));
  regSet->footer(Example("vesta reg set HKEY_CURRENT_USER\\Software\\vesta3d\\Vesta\\CurrentVersion Desktop C:\\Users\\Public\\Desktop"));
  CLI::App* regDelete = reg->add_subcommand("delete", "Delete a value, or a key with everything below it");
  regDelete->add_option("KEY", key, "The key")->required()->check(kNamed);
  CLI::Option* deleteName = regDelete->add_option("NAME", valueName, "The value (without it: the whole key)");
  regDelete->footer(Example("vesta reg delete HKEY_CURRENT_USER\\Software\\Zentrix-3D"));
  CLI::App* regImport = reg->add_subcommand("import", "Apply a registry file (.reg) to the registry");
  regImport->add_option("FILE", regFile, "The registry file")->required()->check(kNamed);
  regImport->footer(Example("vesta reg import saved.reg"));
  CLI::App* regExport = reg->add_subcommand("export", "Write a key and everything below it to a registry file");
  regExport->add_option("KEY", key, "The key")->required()->check(kNamed);
  regExport->add_option("FILE", regFile, "The registry file")->required()->check(kNamed);
  regExport->add_option("--format,-f", format, "regedit4 or v5")->check(CLI::IsMember({"regedit4", "v5"}));
  regExport->footer(Example("vesta reg export HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d saved.reg"));

  // shortcut
  CLI::App* shortcut = app.add_subcommand("shortcut", "Write and read shortcut files (.LNK)");
  shortcut->require_subcommand(1);
  shortcut->footer(Example("vesta shortcut show \"C:\\Users\\Public\\Desktop\\VESTA.lnk\""));
  std::string link;
  std::string target;
  std::string description;
  std::string icon;
  CLI::App* shortcutCreate = shortcut->add_subcommand("create", "Write a shortcut to TARGET");
  shortcutCreate->add_option("LINK", link, "The shortcut file")->required()->check(kNamed);
  shortcutCreate->add_option("TARGET", target, "What it opens")->required()->check(kNamed);
  shortcutCreate->add_option("--description,-d", description, "Its description");
  shortcutCreate->add_option("--icon,-i", icon, "Its icon: FILE,INDEX")->type_name("FILE,INDEX");
  shortcutCreate->footer(Example("vesta shortcut create \"C:\\Users\\Public\\Desktop\\VESTA.lnk\" C:\\VESTA\\bin\\VESTA.EXE "
                                 "--description \"VESTA 3D desktop\" --icon C:\\VESTA\\bin\\VESTA.EXE,0"));
  CLI::App* shortcutShow = shortcut->add_subcommand("show", "Read a shortcut: target=, description=, icon=, index= lines");
  shortcutShow->add_option("LINK", link, "The shortcut file")->required()->check(kNamed);
  shortcutShow->footer(Example("vesta shortcut show \"C:\\Users\\Public\\Desktop\\VESTA.lnk\""));

  // root
  bool init = false;
  std::string home;
  CLI::App* rootCommand = app.add_subcommand(
      "root", "Where the Windows side of the machine lies, and the installation in it");
  rootCommand->add_flag("--init", init, "Make the folders and settings of a fresh installation");
  rootCommand->add_option("--home", home, "With --init: the installation folder (default C:\\VESTA\\)")
      ->check(kNamed)->type_name("FOLDER");
  rootCommand->footer(Example("vesta root --init\n  vesta --root /tmp/machine root --init"));

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
  if (show->parsed()) return WorldShow(console, worldFile, json);
  if (check->parsed()) return WorldCheck(console, worldFile, json);
  if (pack->parsed()) return WorldPack(console, worldFile, folder, dryRun, quiet, damaged);
  if (graph->parsed()) return WorldGraph(console, worldFile, svg);
  if (typesList->parsed()) return TypesList(console, catalogue, json);
  if (typesMatch->parsed()) return TypesMatch(console, catalogue, names, json);
  if (typesAdd->parsed()) return TypesAdd(console, catalogue, fields);
  if (typesRemove->parsed()) return TypesRemove(console, catalogue, typeName);
  if (packageList->parsed()) return PackageList(console, manifest, json);
  if (packageVerify->parsed()) return PackageVerify(console, manifest, packageName);
  if (packageUninstall->parsed()) return PackageUninstall(console, manifest, packageName, yes);
  if (regQuery->parsed()) return RegQuery(console, key, queryName->count() > 0 ? &valueName : nullptr, recursive);
  if (regSet->parsed()) return RegSet(console, key, valueName, value, type);
  if (regDelete->parsed()) return RegDelete(console, key, deleteName->count() > 0 ? &valueName : nullptr);
  if (regImport->parsed()) return RegImport(console, regFile);
  if (regExport->parsed()) return RegExport(console, key, regFile, format);
  if (shortcutCreate->parsed()) return ShortcutCreate(console, link, target, description, icon);
  if (shortcutShow->parsed()) return ShortcutShow(console, link);
  if (rootCommand->parsed()) {
    if (!home.empty() && !init) {
      console.err << "vesta: root: --home needs --init\n";
      return kExitUsage;
    }
    return RootShow(console, init, home);
  }
  return kExitUsage;
}

}  // namespace vesta::tool
