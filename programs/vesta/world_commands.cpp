// vesta world show | check | pack | graph.
#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

#include "programs/vesta/commands.h"
#include "programs/vesta/progress.h"
#include "programs/vesta/terminal.h"
#include "programs/vesta/world_model.h"
#include "programs/vesta/world_references.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

using nlohmann::json;

json FilesJson(const std::vector<FileUse>& files) {
  json list = json::array();
  for (const FileUse& use : files) {
    json entry = {{"field", use.field}, {"stored", use.stored}, {"path", use.path}, {"present", use.present}};
    if (use.present) entry["size"] = use.size;
    if (!use.refused.empty()) entry["refused"] = use.refused;
    if (!use.dependants.empty()) entry["dependants"] = FilesJson(use.dependants);
    list.push_back(entry);
  }
  return list;
}

// "  [missing]", "  [refused: why]", or nothing for a file that is there.
std::string Mark(const FileUse& use) {
  if (!use.refused.empty()) return "  [refused: " + use.refused + "]";
  return use.present ? "" : "  [missing]";
}

void PrintFiles(std::ostream& out, const std::vector<FileUse>& files, const std::string& indent) {
  for (const FileUse& use : files) {
    out << indent << use.field << ": " << use.path << Mark(use) << "\n";
    for (const FileUse& dependant : use.dependants) {
      out << indent << "  " << dependant.field << ": " << dependant.path << Mark(dependant) << "\n";
    }
  }
}

json DamageJson(const WorldModel& world) {
  json list = json::array();
  for (const Damage& damage : world.damage) {
    list.push_back({{"line", damage.line}, {"code", damage.code}, {"what", DescribeDamage(damage)}});
  }
  return list;
}

int Load(Console& console, const std::string& path, WorldModel* world) {
  std::string problem;
  if (!LoadWorld(path, world, &problem)) return Fail(console, problem);
  return kExitOk;
}

std::string RecordOf(const Naming& naming) { return naming.record + ": " + naming.field; }

}  // namespace

int WorldShow(Console& console, const std::string& path, bool asJson) {
  WorldModel world;
  if (Load(console, path, &world) != kExitOk) return kExitFailed;
  std::ostream& out = console.out;
  if (asJson) {
    json rooms = json::array();
    for (const RoomInfo& room : world.rooms) {
      json items = json::array();
      for (const ItemInfo& item : world.items) {
        if (item.room != room.index) continue;
        items.push_back({{"index", item.index}, {"name", item.name}, {"target", item.target}, {"type", item.type},
                         {"files", FilesJson(item.files)}});
      }
      rooms.push_back({{"index", room.index}, {"name", room.name}, {"folder", room.folder}, {"sides", room.sides},
                       {"parent_room", room.parentRoom}, {"parent_item", room.parentItem},
                       {"files", FilesJson(room.files)}, {"items", items}});
    }
    json document = {{"path", world.path}, {"name", world.name}, {"code", world.code},
                     {"files", FilesJson(world.files)}, {"rooms", rooms}};
    if (!world.damage.empty()) document["damage"] = DamageJson(world);
    json outside = json::array();
    std::set<int> rooms_seen;
    for (const RoomInfo& room : world.rooms) rooms_seen.insert(room.index);
    for (const ItemInfo& item : world.items) {
      if (rooms_seen.count(item.room) == 0) {
        outside.push_back({{"index", item.index}, {"name", item.name}, {"room", item.room},
                           {"files", FilesJson(item.files)}});
      }
    }
    if (!outside.empty()) document["items_without_room"] = outside;
    out << Dump(document);
    return Finish(console, kExitOk);
  }

  int missing = 0;
  auto count = [&missing](const std::vector<FileUse>& files) {
    std::vector<const FileUse*> flat;
    Flatten(files, &flat);
    for (const FileUse* use : flat) missing += use->present ? 0 : 1;
  };
  out << "world \"" << world.name << "\"  " << world.path << "\n";
  PrintFiles(out, world.files, "  ");
  count(world.files);
  std::set<int> shown;
  for (const RoomInfo& room : world.rooms) {
    out << "  room " << room.index << " \"" << room.name << "\"";
    if (!room.folder.empty()) out << " showing " << room.folder;
    out << " (" << room.sides << " sides)\n";
    PrintFiles(out, room.files, "    ");
    count(room.files);
    for (const ItemInfo& item : world.items) {
      if (item.room != room.index) continue;
      shown.insert(item.index);
      out << "    item " << item.index << " \"" << item.name << "\"";
      if (!item.target.empty()) out << " -> " << item.target;
      if (!item.type.empty()) out << " (" << item.type << ")";
      out << "\n";
      PrintFiles(out, item.files, "      ");
      count(item.files);
    }
  }
  for (const ItemInfo& item : world.items) {
    if (shown.count(item.index) != 0) continue;
    out << "  item " << item.index << " \"" << item.name << "\" in room " << item.room << ", which the world lacks\n";
    PrintFiles(out, item.files, "    ");
    count(item.files);
  }
  out << world.rooms.size() << (world.rooms.size() == 1 ? " room, " : " rooms, ") << world.items.size()
      << (world.items.size() == 1 ? " item" : " items");
  if (missing > 0) out << "; " << missing << (missing == 1 ? " file missing" : " files missing");
  out << "\n";
  // What the read passed over is not in the lists above.
  for (const Damage& damage : world.damage) out << "DAMAGED  " << world.path << ": " << DescribeDamage(damage) << "\n";
  return Finish(console, kExitOk);
}

int WorldCheck(Console& console, const std::string& path, bool asJson) {
  WorldModel world;
  if (Load(console, path, &world) != kExitOk) return kExitFailed;
  References references = CollectReferences(world);
  std::ostream& out = console.out;
  bool problems = references.missing > 0 || references.refused > 0 || !references.problems.empty();
  if (asJson) {
    json files = json::array();
    for (const Reference& reference : references.files) {
      json named = json::array();
      for (const Naming& naming : reference.namedBy) {
        named.push_back({{"record", naming.record}, {"field", naming.field}, {"stored", naming.stored}});
      }
      json entry = {{"path", reference.path}, {"present", reference.present}, {"named_by", named}};
      if (reference.present) entry["size"] = reference.size;
      if (!reference.refused.empty()) entry["refused"] = reference.refused;
      files.push_back(entry);
    }
    out << Dump({{"world", world.path},
                 {"files", files},
                 {"missing", references.missing},
                 {"refused", references.refused},
                 {"problems", references.problems}});
    return Finish(console, problems ? kExitFailed : kExitOk);
  }
  out << world.path << ": world \"" << world.name << "\", " << world.rooms.size() << " rooms, " << world.items.size()
      << " items\n";
  for (const Reference& reference : references.files) {
    const char* verdict = !reference.refused.empty() ? "  REFUSED  " : reference.present ? "  ok       " : "  MISSING  ";
    out << verdict << reference.path << "  (" << RecordOf(reference.namedBy.front());
    size_t more = reference.namedBy.size() - 1;
    if (more > 0) out << ", and " << more << " more";
    out << ")";
    if (!reference.refused.empty()) out << ": " << reference.refused;
    out << "\n";
  }
  for (const std::string& problem : references.problems) out << "  PROBLEM  " << problem << "\n";
  const size_t absent = static_cast<size_t>(references.missing + references.refused);
  out << references.files.size() << " files: " << references.files.size() - absent << " present, "
      << references.missing << " missing";
  if (references.refused > 0) out << ", " << references.refused << " refused";
  out << "\n";
  return Finish(console, problems ? kExitFailed : kExitOk);
}

// ---------------------------------------------------------------------------
// pack

namespace {

enum class Fate { kCopied, kRenamed, kReused };

struct Planned {
  const Reference* source;
  std::string destination;
  Fate fate;
  bool existed;  // the destination was there before
};

std::string NamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderPart(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Where each file goes, as the normaliser's copy names it: the plain name
// when it is free, or held by a file of the same bytes; else the first free
// numbered name ("wall_2.bmp").
std::vector<Planned> Plan(const References& references, const std::string& folder) {
  std::vector<Planned> plan;
  std::map<std::string, const Reference*> taken;  // destinations planned so far
  for (const Reference& reference : references.files) {
    std::string name = NamePart(reference.path);
    size_t dot = name.find_last_of('.');
    std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::string ending = dot == std::string::npos ? std::string() : name.substr(dot);
    for (int number = 1; number <= 9999; ++number) {
      std::string candidate = folder + (number == 1 ? name : stem + "_" + std::to_string(number) + ending);
      std::string key = Folded(candidate);
      if (key == Folded(reference.path)) {
        plan.push_back({&reference, candidate, Fate::kReused, true});
        taken[key] = &reference;
        break;
      }
      auto held = taken.find(key);
      bool onDisk = VSFileExists(candidate.c_str()) == 1;
      if (held != taken.end()) {
        if (!VSSameContent(held->second->path.c_str(), reference.path.c_str())) continue;
      } else if (onDisk && !VSSameContent(candidate.c_str(), reference.path.c_str())) {
        continue;
      }
      Fate fate = onDisk || held != taken.end() ? Fate::kReused : number == 1 ? Fate::kCopied : Fate::kRenamed;
      plan.push_back({&reference, candidate, fate, onDisk});
      taken[key] = &reference;
      break;
    }
  }
  return plan;
}

// What the progress shows while the normaliser walks the elements: the
// files of each element are copied when the walk reaches it.
struct PackProgress {
  Progress* bar = nullptr;
  std::vector<int> files;      // done once element n (0: the world) is reached
  std::vector<int64_t> bytes;
  size_t clicks = 0;
};
PackProgress* gPack = nullptr;

int OnElement() {
  if (gPack == nullptr || gPack->bar == nullptr) return 1;
  ++gPack->clicks;
  size_t at = gPack->clicks < gPack->files.size() ? gPack->clicks : gPack->files.size() - 1;
  gPack->bar->Update(gPack->files[at], gPack->bytes[at]);
  return 1;
}

}  // namespace

int WorldPack(Console& console, const std::string& path, const std::string& target, bool dryRun, bool quiet,
              bool whatCanBeRead) {
  WorldModel world;
  if (Load(console, path, &world) != kExitOk) return kExitFailed;
  // The normaliser saves a world through its list of rooms and items.
  if (world.elements.empty()) return Fail(console, "pack: " + path + ": the world has no rooms; nothing was packed");
  References references = CollectReferences(world);
  if (references.missing > 0 || references.refused > 0) {
    for (const Reference& reference : references.files) {
      if (!reference.refused.empty()) {
        console.err << "vesta: pack: refused " << reference.path << " (" << RecordOf(reference.namedBy.front())
                    << "): " << reference.refused << "\n";
      } else if (!reference.present) {
        console.err << "vesta: pack: missing " << reference.path << " (" << RecordOf(reference.namedBy.front())
                    << ")\n";
      }
    }
    if (references.refused > 0) {
      return Fail(console, "pack: " + path + ": " + std::to_string(references.refused) +
                               (references.refused == 1 ? " file the world names is" : " files the world names are") +
                               " not to be read from it (outside the installation, or not a file); nothing was "
                               "packed");
    }
    return Fail(console, "pack: " + path + ": " + std::to_string(references.missing) +
                             (references.missing == 1 ? " file the world uses is" : " files the world uses are") +
                             " missing; nothing was packed");
  }
  // A damaged world is packed only when asked: what the read passed over
  // would be lost from the package without a word.
  if (references.damaged > 0 && !whatCanBeRead) {
    for (const std::string& problem : references.problems) console.err << "vesta: pack: " << problem << "\n";
    return Fail(console, "pack: " + path + ": the world is damaged (" + std::to_string(references.damaged) +
                             (references.damaged == 1 ? " record or field" : " records or fields") +
                             " cannot be read); pack what can be read with --damaged; nothing was packed");
  }
  for (const std::string& problem : references.problems) console.err << "vesta: pack: warning: " << problem << "\n";

  std::string folder = target;
  char separator = folder.find('\\') == std::string::npos && folder.find('/') != std::string::npos ? '/' : '\\';
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += separator;
  const std::string packed = folder + NamePart(path);
  if (Folded(FolderPart(path)) == Folded(folder) || Folded(packed) == Folded(path)) {
    return Fail(console, "pack: " + target + ": is the world's own folder; pack into another one");
  }
  if (packed.size() > 260) return Fail(console, "pack: " + packed + ": the path is too long");

  std::vector<Planned> plan = Plan(references, folder);
  int copied = 0;
  int renamed = 0;
  int reused = 0;
  int64_t bytes = 0;
  for (const Planned& entry : plan) {
    (entry.fate == Fate::kCopied ? copied : entry.fate == Fate::kRenamed ? renamed : reused) += 1;
    if (entry.fate != Fate::kReused) bytes += entry.source->size;
  }
  if (plan.size() != references.files.size()) return Fail(console, "pack: " + folder + ": no free name for a copy");

  if (dryRun) {
    for (const Planned& entry : plan) {
      const char* verb = entry.fate == Fate::kCopied ? "copy  " : entry.fate == Fate::kRenamed ? "rename" : "reuse ";
      console.out << verb << "  " << entry.source->path << " -> " << entry.destination << "\n";
    }
    console.out << "write   " << packed << (VSFileExists(packed.c_str()) ? " (replacing it)" : "") << "\n";
    console.out << "dry run: " << plan.size() << " files (" << copied << " to copy, " << renamed << " renamed, "
                << reused << " reused), " << Bytes(bytes) << "; nothing was changed\n";
    return Finish(console, kExitOk);
  }

  // The progress: what each element of the world brings.
  PackProgress progress;
  size_t elements = world.elements.size();
  progress.files.assign(elements + 1, 0);
  progress.bytes.assign(elements + 1, 0);
  for (const Planned& entry : plan) {
    if (entry.fate == Fate::kReused) continue;
    size_t at = entry.source->element <= elements ? entry.source->element : elements;
    progress.files[at] += 1;
    progress.bytes[at] += entry.source->size;
  }
  for (size_t n = 1; n <= elements; ++n) {
    progress.files[n] += progress.files[n - 1];
    progress.bytes[n] += progress.bytes[n - 1];
  }
  Progress bar(console.err, console.errIsTerminal, console.width, copied + renamed, bytes);
  if (!quiet) progress.bar = &bar;
  gPack = &progress;

  if (!quiet) bar.Update(0, 0);
  bool packedBefore = VSFileExists(packed.c_str()) == 1;
  Attempt();
  auto started = std::chrono::steady_clock::now();
  if (!VSMakeFolders(folder.c_str())) {
    gPack = nullptr;
    return Fail(console, "pack: cannot make the folder " + FileProblem(folder));
  }
  VSSetNormalisationVariables();
  CVNormBuilder builder;
  builder.NBInitialise();
  builder.NBSetListHeadPointer(nullptr);
  builder.NBSetWorldPointer(nullptr);
  builder.NBSetTargetDirectory(folder.c_str());
  builder.NBSetClickCallback(OnElement);
  int result = builder.NBLoadFile(path.c_str());
  if (result) result = builder.NBCopyList();
  if (result) result = builder.NBRelativize();
  if (result) result = builder.NBSaveWorld();
  std::string problem = FileProblem("");
  builder.NBDeleteAllTheList();
  gPack = nullptr;
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char log[kVSBuffer] = "";
  VSGetNormaliserLogFile(log, sizeof log);

  if (!result) {
    if (!quiet && console.errIsTerminal) console.err << "\n";
    // What this run made goes again; what was there before stays.
    for (const Planned& entry : plan) {
      if (!entry.existed) VSDeleteFile(entry.destination.c_str());
    }
    if (!packedBefore) VSDeleteFile(packed.c_str());
    return Fail(console, "pack: " + path + " into " + folder + " failed" + (problem.empty() ? "" : ": " + problem) +
                             "; the copies it made are removed; the log is " + log);
  }
  if (!quiet) bar.Done();
  if (!quiet) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    console.out << "packed " << path << " into " << packed << "\n"
                << "  " << plan.size() << " files: " << copied << " copied, " << reused << " reused, " << renamed
                << " renamed; " << Bytes(bytes) << " in " << text << "\n"
                << "  log: " << log << "\n";
  }
  return Finish(console, kExitOk);
}

// ---------------------------------------------------------------------------
// graph

namespace {

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c == '\n') {
      quoted += "\\n";
      continue;
    }
    quoted += c;
  }
  return quoted + "\"";
}

class GraphWriter {
 public:
  explicit GraphWriter(std::ostream& out) : out_(out) {}

  void Graph(const WorldModel& world) {
    out_ << "digraph world {\n"
         << "  rankdir=LR;\n"
         << "  node [fontname=\"Helvetica\", fontsize=10];\n";
    World(world, "w");
    out_ << "}\n";
  }

 private:
  void World(const WorldModel& world, const std::string& id) {
    worlds_.insert(Folded(world.path));
    out_ << "  " << id << " [shape=doubleoctagon, label=" << Quoted("world\n" + world.name) << ", tooltip="
         << Quoted(world.path) << "];\n";
    Files(id, world.files);
    std::map<int, std::string> itemIds;
    for (const ItemInfo& item : world.items) itemIds[item.index] = id + "_i" + std::to_string(item.index);
    std::set<int> roomIndices;
    for (const RoomInfo& room : world.rooms) roomIndices.insert(room.index);
    for (const RoomInfo& room : world.rooms) {
      std::string roomId = id + "_r" + std::to_string(room.index);
      out_ << "  " << roomId << " [shape=house, label=" << Quoted("room " + std::to_string(room.index) + "\n" + room.name)
           << "];\n";
      // A room hangs from the item that leads into it, else from the world.
      auto parent = itemIds.find(room.parentItem);
      std::string from = room.parentItem >= 0 && parent != itemIds.end() ? parent->second
                         : roomIndices.count(room.parentRoom) != 0 ? id + "_r" + std::to_string(room.parentRoom)
                                                                    : id;
      out_ << "  " << from << " -> " << roomId << ";\n";
      Files(roomId, room.files);
    }
    for (const ItemInfo& item : world.items) {
      const std::string& itemId = itemIds[item.index];
      out_ << "  " << itemId << " [shape=box, style=rounded, label="
           << Quoted("item " + std::to_string(item.index) + "\n" + item.name) << "];\n";
      std::string from = roomIndices.count(item.room) != 0 ? id + "_r" + std::to_string(item.room) : id;
      out_ << "  " << from << " -> " << itemId << ";\n";
      Files(itemId, item.files);
    }
    // The worlds that the catalogue names, under the catalogue's node.
    for (const TypeInfo& type : world.types) {
      for (const FileUse& use : type.files) {
        if (!use.present || !IsWorldFile(use.path)) continue;
        std::string catalogueId = FileId(world.catalogue);
        if (worlds_.count(Folded(use.path)) != 0) {
          out_ << "  " << catalogueId << " -> " << FileId(use.path) << " [style=dotted];\n";
          continue;
        }
        WorldModel nested;
        std::string problem;
        if (!LoadWorld(use.path, &nested, &problem)) continue;
        std::string nestedId = "w" + std::to_string(++nestedWorlds_);
        out_ << "  " << catalogueId << " -> " << nestedId << " [label=" << Quoted(type.name) << "];\n";
        World(nested, nestedId);
      }
    }
  }

  std::string FileId(const std::string& path) {
    std::string key = Folded(path);
    auto found = fileIds_.find(key);
    if (found != fileIds_.end()) return found->second;
    std::string id = "f" + std::to_string(fileIds_.size());
    fileIds_[key] = id;
    return id;
  }

  void File(const std::string& from, const FileUse& use, const std::string& label) {
    std::string key = Folded(use.path);
    bool known = fileIds_.count(key) != 0;
    std::string id = FileId(use.path);
    if (!known) {
      out_ << "  " << id << " [shape=note, label=" << Quoted(NamePart(use.path) + (use.present ? "" : "\n(missing)"))
           << ", tooltip=" << Quoted(use.path) << (use.present ? "" : ", color=red, fontcolor=red, style=dashed")
           << "];\n";
    }
    out_ << "  " << from << " -> " << id << " [label=" << Quoted(label) << ", fontsize=8];\n";
  }

  void Files(const std::string& from, const std::vector<FileUse>& files) {
    for (const FileUse& use : files) {
      std::string field = use.field;
      size_t tag = field.find(" [");
      File(from, use, tag == std::string::npos ? field : field.substr(0, tag));
      for (const FileUse& dependant : use.dependants) File(FileId(use.path), dependant, "texture");
    }
  }

  std::ostream& out_;
  std::map<std::string, std::string> fileIds_;
  std::set<std::string> worlds_;
  int nestedWorlds_ = 0;
};

// A path that goes on a shell's command line between double quotes.
bool SafeForCommand(const std::string& path) {
  return !path.empty() && path.find_first_of("\"$`%!\r\n") == std::string::npos;
}

}  // namespace

int WorldGraph(Console& console, const std::string& path, const std::string& svg) {
  WorldModel world;
  if (Load(console, path, &world) != kExitOk) return kExitFailed;
  if (svg.empty()) {
    GraphWriter(console.out).Graph(world);
    return Finish(console, kExitOk);
  }
  std::ostringstream dot;
  GraphWriter(dot).Graph(world);
  const std::string dotFile = svg + ".dot";
  Attempt();
  if (!VSReplaceFile(dotFile.c_str(), dot.str().c_str(), static_cast<int64_t>(dot.str().size()))) {
    return Fail(console, "graph: cannot write " + FileProblem(dotFile));
  }
  char hostDot[1024];
  char hostSvg[1024];
  if (!VSGetHostPath(dotFile.c_str(), hostDot, sizeof hostDot) || !VSGetHostPath(svg.c_str(), hostSvg, sizeof hostSvg) ||
      !SafeForCommand(hostDot) || !SafeForCommand(hostSvg)) {
    VSDeleteFile(dotFile.c_str());
    return Fail(console, "graph: " + svg + ": a name that cannot be handed to dot (quotes, $, %, ` or ! in it)");
  }
  std::string command = std::string("dot -Tsvg -o \"") + hostSvg + "\" \"" + hostDot + "\"";
  console.out.flush();
  int status = std::system(command.c_str());
  VSDeleteFile(dotFile.c_str());
  if (status != 0) {
    return Fail(console,
                "graph: " + svg +
                    ": Graphviz's dot could not make it (is Graphviz installed? Debian: apt-get install graphviz; "
                    "Windows: https://graphviz.org/download/, with dot on the PATH). Without it: vesta world graph " +
                    path + " > world.dot, and render world.dot elsewhere");
  }
  console.out << "wrote " << svg << "\n";
  return Finish(console, kExitOk);
}

}  // namespace vesta::tool
