// vesta world graph: the world as a Graphviz DOT graph.
#include <CLI/CLI.hpp>

#include <cstdlib>
#include <map>
#include <ostream>
#include <set>
#include <sstream>

#include "programs/vesta/commands.h"
#include "programs/vesta/world_group.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
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

int Graph(Console& console, const std::string& path, const std::string& svg) {
  WorldModel world;
  if (OpenWorld(console, path, &world) != kExitOk) return kExitFailed;
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

class GraphCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("WORLD", world_, "The world file")->required()->check(kNamed);
    node.add_option("--svg", svg_, "Render it to this SVG file with Graphviz's dot")->type_name("FILE");
    node.footer(Example("vesta world graph C:\\VESTA\\worlds\\Sample.vwq > sample.dot\n"
                        "  vesta world graph C:\\VESTA\\worlds\\Sample.vwq --svg /tmp/sample.svg"));
  }
  int Run(Console& console) const override { return Graph(console, world_, svg_); }

 private:
  std::string world_;
  std::string svg_;
};

}  // namespace

const CommandEntry kWorldGraph{"world", "graph", "The world as a Graphviz DOT graph: world, rooms, items, the files they use",
                               Make<GraphCommand>};

}  // namespace vesta::tool
