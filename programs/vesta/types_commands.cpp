// vesta types list | match | add | remove.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>
#include <new>
#include <ostream>

#include "programs/vesta/commands.h"
#include "programs/vesta/terminal.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

using nlohmann::json;

// A new type's fields, as given on the command line.
struct TypeFields {
  std::string name, ending, program, commandLine, folder, kolb, unselectedShape, selectedShape, texture,
      iconIndex, selectedSound, collideSound, openSound, deleteSound;
  int tiling = -1;
  int footprintDisabled = -1;
};

// The catalogue the command works on: the one given, else the
// installation's.
bool CataloguePath(Console& console, const std::string& given, std::string* path) {
  if (!given.empty()) {
    *path = given;
    return true;
  }
  char file[kVSBuffer];
  if (!VSGetFileTypeFile(file)) {
    Fail(console,
         "types: no catalogue given, and there is no installation (no \"Home\" under "
         "HKEY_LOCAL_MACHINE\\SOFTWARE\\vesta3d\\VESTA\\CurrentVersion); name one with --catalogue FILE");
    return false;
  }
  *path = file;
  return true;
}

std::unique_ptr<CVFileTypeList> NewCatalogue() {
  std::unique_ptr<CVFileTypeList> catalogue(new (std::nothrow) CVFileTypeList);
  if (catalogue != nullptr) {
    catalogue->FLInitialise();
    catalogue->FLPrepare();
  }
  return catalogue;
}

// Loads the catalogue; expanded: its paths as this machine finds them (for
// reading), else as the file stores them (for rewriting it). The
// installation's own catalogue (installations) is made by the first "types
// add": until then nothing is there, and it has no types.
std::unique_ptr<CVFileTypeList> Load(Console& console, const std::string& path, bool expanded,
                                     bool installations = false) {
  std::unique_ptr<CVFileTypeList> catalogue = NewCatalogue();
  if (catalogue == nullptr) {
    Fail(console, "types: out of memory");
    return nullptr;
  }
  char why[kVSBuffer];
  if (installations && VSLookAtStoredFile(path.c_str(), why, sizeof why) == 0 && !VSFolderExists(path.c_str())) {
    return catalogue;
  }
  catalogue->FLSetDeRelativiseOnLoad(expanded ? 1 : 0);
  Attempt();
  if (!catalogue->FLLoadFileTypeList(path.c_str())) {
    Fail(console, "types: cannot read the catalogue " + FileProblem(path + (VSFileExists(path.c_str())
                                                                                ? ": not a catalogue"
                                                                                : ": no such file")));
    return nullptr;
  }
  // The loader passes over what is no record: a file with text but not one
  // type is something else (a world, say), never to be rewritten as a
  // catalogue.
  CVFileType* first = nullptr;
  int64_t size = 0;
  if (!catalogue->FLGetFirstFileType(&first) && VSGetFileSize(path.c_str(), &size) && size > 0) {
    Fail(console, "types: " + path + ": not a catalogue (it holds no file type); it is left as it was");
    return nullptr;
  }
  return catalogue;
}

json TypeJson(const CVFileType& type) {
  json entry = {{"name", type.typeName}, {"ending", type.ending}};
  const std::pair<const char*, const char*> texts[] = {
      {"program", type.executable},        {"command_line", type.commandLine},
      {"folder", type.workingFolder},      {"kolb", type.kolbFile},
      {"shape", type.unselectedShape},     {"selected_shape", type.selectedShape},
      {"texture", type.texture},           {"icon_index", type.iconIndex},
      {"selected_sound", type.selectedSound}, {"collide_sound", type.collideSound},
      {"open_sound", type.openSound},      {"delete_sound", type.deleteSound}};
  for (const auto& text : texts) {
    if (text.second[0] != '\0') entry[text.first] = text.second;
  }
  if (type.tiling != -1) entry["tiling"] = type.tiling;
  if (type.footprintDisabled != -1) entry["footprint_disabled"] = type.footprintDisabled;
  return entry;
}


bool Save(Console& console, CVFileTypeList* catalogue, const std::string& path) {
  Attempt();
  if (catalogue->FLSaveFileTypeList(path.c_str())) return true;
  Fail(console, "types: cannot write the catalogue " + FileProblem(path) + "; it is as it was");
  return false;
}

int TypesList(Console& console, const std::string& given, bool asJson) {
  std::string path;
  if (!CataloguePath(console, given, &path)) return kExitFailed;
  std::unique_ptr<CVFileTypeList> catalogue = Load(console, path, true, given.empty());
  if (catalogue == nullptr) return kExitFailed;
  json list = json::array();
  int count = 0;
  if (!asJson) console.out << path << ":\n";
  CVFileType* type = nullptr;
  for (int more = catalogue->FLGetFirstFileType(&type); more && type != nullptr;
       more = catalogue->FLGetNextFileType(&type)) {
    ++count;
    if (asJson) {
      list.push_back(TypeJson(*type));
      continue;
    }
    console.out << "  " << type->ending << "  " << type->typeName;
    if (type->unselectedShape[0] != '\0') console.out << "  shape " << type->unselectedShape;
    if (type->texture[0] != '\0') console.out << "  texture " << type->texture;
    if (type->executable[0] != '\0') console.out << "  opened by " << type->executable;
    console.out << "\n";
  }
  if (asJson) {
    console.out << Dump({{"catalogue", path}, {"types", list}});
  } else {
    console.out << count << (count == 1 ? " type\n" : " types\n");
  }
  return Finish(console, kExitOk);
}

int TypesMatch(Console& console, const std::string& given, const std::vector<std::string>& names, bool asJson) {
  std::string path;
  if (!CataloguePath(console, given, &path)) return kExitFailed;
  std::unique_ptr<CVFileTypeList> catalogue = Load(console, path, true, given.empty());
  if (catalogue == nullptr) return kExitFailed;
  json list = json::array();
  bool unmatched = false;
  for (const std::string& name : names) {
    CVFileType* type = nullptr;
    bool found = catalogue->FLFindFileMatch(name.c_str(), &type) == 1 && type != nullptr;
    unmatched = unmatched || !found;
    if (asJson) {
      json entry = {{"name", name}};
      entry["type"] = found ? TypeJson(*type) : json(nullptr);
      list.push_back(entry);
    } else if (found) {
      console.out << name << ": " << type->typeName << " (" << type->ending << ")\n";
    } else {
      console.out << name << ": no type\n";
    }
  }
  if (asJson) console.out << Dump(list);
  return Finish(console, unmatched ? kExitFailed : kExitOk);
}

int TypesAdd(Console& console, const std::string& given, const TypeFields& fields) {
  std::string path;
  if (!CataloguePath(console, given, &path)) return kExitFailed;
  if (fields.name.empty() || fields.ending.empty()) return Fail(console, "types add: a type needs a name and an ending");
  for (const std::string* text : {&fields.name, &fields.ending, &fields.program, &fields.commandLine, &fields.folder,
                                  &fields.kolb, &fields.unselectedShape, &fields.selectedShape, &fields.texture,
                                  &fields.iconIndex, &fields.selectedSound, &fields.collideSound, &fields.openSound,
                                  &fields.deleteSound}) {
    if (text->size() > 260) return Fail(console, "types add: " + *text + ": longer than 260 characters");
  }
  // Read, changed and written back under its lock: another process's
  // change in between is kept.
  CVChangeLock lock;
  if (!lock.CLAcquire(path.c_str())) return Fail(console, "types add: cannot lock the catalogue " + FileProblem(path));
  // A catalogue that does not exist yet starts empty.
  std::unique_ptr<CVFileTypeList> catalogue =
      VSFileExists(path.c_str()) ? Load(console, path, false) : NewCatalogue();
  if (catalogue == nullptr) return kExitFailed;
  CVFileType* existing = nullptr;
  if (catalogue->FLFindFileType(fields.name.c_str(), &existing) && existing != nullptr) {
    return Fail(console, "types add: " + path + ": has a type \"" + fields.name + "\" already");
  }
  if (catalogue->FLFindFileEnding(fields.ending.c_str(), &existing) && existing != nullptr) {
    return Fail(console, "types add: " + path + ": the ending " + fields.ending + " is the type \"" +
                             existing->typeName + "\"'s already");
  }
  CVFileType* type = new (std::nothrow) CVFileType;
  if (type == nullptr) return Fail(console, "types add: out of memory");
  type->FTInitialise();
  type->FTSetFileType(fields.name.c_str());
  type->FTSetFileEnding(fields.ending.c_str());
  type->FTSetExecutable(fields.program.c_str());
  type->FTSetCommandLine(fields.commandLine.c_str());
  type->FTSetWorkingDir(fields.folder.c_str());
  type->FTSetKOLBFile(fields.kolb.c_str());
  type->FTSetUnSelectedShape(fields.unselectedShape.c_str());
  type->FTSetSelectedShape(fields.selectedShape.empty() ? fields.unselectedShape.c_str() : fields.selectedShape.c_str());
  type->FTSetTexture(fields.texture.c_str());
  type->FTSetIconIndex(fields.iconIndex.c_str());
  type->FTSetSelectedSound(fields.selectedSound.c_str());
  type->FTSetCollideSound(fields.collideSound.c_str());
  type->FTSetOpenSound(fields.openSound.c_str());
  type->FTSetDeleteSound(fields.deleteSound.c_str());
  type->FTSetTiling(fields.tiling);
  type->FTSetFootPrintDisabled(fields.footprintDisabled);
  if (!catalogue->FLAddFileType(type)) {
    delete type;
    return Fail(console, "types add: out of memory");
  }
  if (!Save(console, catalogue.get(), path)) return kExitFailed;
  console.out << "added \"" << fields.name << "\" (" << fields.ending << ") to " << path << "\n";
  return Finish(console, kExitOk);
}

int TypesRemove(Console& console, const std::string& given, const std::string& name) {
  std::string path;
  if (!CataloguePath(console, given, &path)) return kExitFailed;
  CVChangeLock lock;
  if (!lock.CLAcquire(path.c_str())) return Fail(console, "types remove: cannot lock the catalogue " + FileProblem(path));
  std::unique_ptr<CVFileTypeList> catalogue = Load(console, path, false);
  if (catalogue == nullptr) return kExitFailed;
  CVFileType* type = nullptr;
  if (!catalogue->FLFindFileType(name.c_str(), &type) || type == nullptr) {
    return Fail(console, "types remove: " + path + ": has no type \"" + name + "\"");
  }
  catalogue->FLDeleteFileType(name.c_str());
  CVFileType* left = nullptr;
  if (!catalogue->FLGetFirstFileType(&left) || left == nullptr) {
    // An empty catalogue cannot be saved as one; the file would be emptied.
    return Fail(console, "types remove: \"" + name + "\" is the last type of " + path +
                             "; a catalogue keeps at least one, so it is left as it was");
  }
  if (!Save(console, catalogue.get(), path)) return kExitFailed;
  console.out << "removed \"" << name << "\" from " << path << "\n";
  return Finish(console, kExitOk);
}

class ListCommand : public FileCommand {
 public:
  using FileCommand::FileCommand;
  void Declare(CLI::App& node) override {
    node.add_flag("--json", json_, "Print it as JSON");
    node.footer(Example("vesta types list"));
  }
  int Run(Console& console) const override { return TypesList(console, File(), json_); }

 private:
  bool json_ = false;
};

class MatchCommand : public FileCommand {
 public:
  using FileCommand::FileCommand;
  void Declare(CLI::App& node) override {
    node.add_option("NAME", names_, "File names")->required();
    node.add_flag("--json", json_, "Print it as JSON");
    node.footer(std::string("Exit status 1 when a name matches no type.") +
                Example("vesta types match Report.txt Beach.bmp"));
  }
  int Run(Console& console) const override { return TypesMatch(console, File(), names_, json_); }

 private:
  std::vector<std::string> names_;
  bool json_ = false;
};

class AddCommand : public FileCommand {
 public:
  using FileCommand::FileCommand;
  void Declare(CLI::App& node) override {
    node.add_option("NAME", fields_.name, "The type's name")->required()->check(kNamed);
    node.add_option("--ending", fields_.ending, "The ending of its files (.txt)")->required()->check(kNamed);
    node.add_option("--program", fields_.program, "The program that opens them");
    node.add_option("--command-line", fields_.commandLine, "Its command line (\"%1\" for the file)");
    node.add_option("--folder", fields_.folder, "Its working folder");
    node.add_option("--kolb", fields_.kolb, "KOLB file");
    node.add_option("--shape", fields_.unselectedShape, "Shape (.x)");
    node.add_option("--selected-shape", fields_.selectedShape, "Shape when selected (default: --shape)");
    node.add_option("--texture", fields_.texture, "Texture (.bmp)");
    node.add_option("--icon-index", fields_.iconIndex, "Index of the icon in the texture");
    node.add_option("--selected-sound", fields_.selectedSound, "Sound when selected");
    node.add_option("--collide-sound", fields_.collideSound, "Sound when bumped into");
    node.add_option("--open-sound", fields_.openSound, "Sound when opened");
    node.add_option("--delete-sound", fields_.deleteSound, "Sound when deleted");
    node.add_option("--tiling", fields_.tiling, "1 to tile the texture, 0 not to");
    node.add_option("--footprint-disabled", fields_.footprintDisabled, "1 to give its items no footprint");
    node.footer(Example("vesta types add \"Web page\" --ending .htm --shape C:\\VESTA\\media\\globe.x "
                        "--texture C:\\VESTA\\media\\link.bmp"));
  }
  int Run(Console& console) const override { return TypesAdd(console, File(), fields_); }

 private:
  TypeFields fields_;
};

class RemoveCommand : public FileCommand {
 public:
  using FileCommand::FileCommand;
  void Declare(CLI::App& node) override {
    node.add_option("NAME", name_, "The type's name")->required()->check(kNamed);
    node.footer(Example("vesta types remove \"Web page\""));
  }
  int Run(Console& console) const override { return TypesRemove(console, File(), name_); }

 private:
  std::string name_;
};

}  // namespace

const CommandEntry kTypesGroup{nullptr, "types", "The file-type catalogue (.vft)",
                               [](const Command*) -> std::unique_ptr<Command> {
                                 return std::make_unique<FileGroup>(
                                     Example("vesta types match Report.txt"), "--catalogue,-c",
                                     "The catalogue (default: the installation's worlds\\VESTA.vft)");
                               }};
const CommandEntry kTypesList{"types", "list", "Every type: its ending and what an item of it looks like",
                              MakeInFileGroup<ListCommand>};
const CommandEntry kTypesMatch{"types", "match", "The type that each file name gets, by its ending",
                               MakeInFileGroup<MatchCommand>};
const CommandEntry kTypesAdd{"types", "add", "Add a type to the catalogue", MakeInFileGroup<AddCommand>};
const CommandEntry kTypesRemove{"types", "remove", "Remove a type from the catalogue", MakeInFileGroup<RemoveCommand>};

}  // namespace vesta::tool
