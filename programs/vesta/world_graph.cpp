// vesta world graph: the world as a Graphviz DOT graph.
#include <CLI/CLI.hpp>

#include <cstdlib>
#include <functional>
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

// A read whose records go to the functions given.
struct Pass : WorldVisitor {
  std::function<void(const WorldModel&)> world = [](const WorldModel&) {};
  std::function<void(const RoomInfo&)> room = [](const RoomInfo&) {};
  std::function<void(const ItemInfo&)> item = [](const ItemInfo&) {};
  void World(const WorldModel& model) override { world(model); }
  void Room(const RoomInfo& info) override { room(info); }
  void Item(const ItemInfo& info) override { item(info); }
};

class GraphWriter {
 public:
  explicit GraphWriter(std::ostream& out) : out_(out) {}

  // False, with the reason, when the world cannot be read.
  bool Graph(const std::string& path, std::string* problem) {
    const std::string opening = "digraph world {\n  rankdir=LR;\n  node [fontname=\"Helvetica\", fontsize=10];\n";
    if (!World(path, "w", opening, problem)) return false;
    out_ << "}\n";
    return true;
  }

 private:
  // The world is read as a stream, four times, so that what is held is the
  // rooms' numbers and not its items: the rooms' indices and the items that
  // lead into rooms; which of those items the world has; the world and its
  // rooms drawn; its items drawn. opening goes out once the world is found
  // readable: nothing does when it is not.
  bool World(const std::string& path, const std::string& id, const std::string& opening, std::string* problem) {
    WorldModel world;
    std::set<int> roomIndices;
    std::set<int> leading;  // items that rooms hang from
    Pass rooms;
    rooms.room = [&](const RoomInfo& room) {
      roomIndices.insert(room.index);
      if (room.parentItem >= 0) leading.insert(room.parentItem);
    };
    if (!ReadWorld(path, &rooms, nullptr, &world, problem)) return false;
    worlds_.insert(Folded(path));
    out_ << opening;
    std::set<int> items;  // those of leading that the world has
    Pass scan;
    scan.item = [&](const ItemInfo& item) {
      if (leading.count(item.index) != 0) items.insert(item.index);
    };
    if (!ReadWorld(path, &scan, nullptr, &world, problem)) return false;
    auto itemId = [&id](int index) { return id + "_i" + std::to_string(index); };

    Pass drawRooms;
    drawRooms.world = [&](const WorldModel& model) {
      out_ << "  " << id << " [shape=doubleoctagon, label=" << Quoted("world\n" + model.name) << ", tooltip="
           << Quoted(model.path) << "];\n";
      Files(id, model.files);
    };
    drawRooms.room = [&](const RoomInfo& room) {
      std::string roomId = id + "_r" + std::to_string(room.index);
      out_ << "  " << roomId << " [shape=house, label=" << Quoted("room " + std::to_string(room.index) + "\n" + room.name)
           << "];\n";
      // A room hangs from the item that leads into it, else from the world.
      std::string from = room.parentItem >= 0 && items.count(room.parentItem) != 0 ? itemId(room.parentItem)
                         : roomIndices.count(room.parentRoom) != 0 ? id + "_r" + std::to_string(room.parentRoom)
                                                                    : id;
      out_ << "  " << from << " -> " << roomId << ";\n";
      Files(roomId, room.files);
    };
    if (!ReadWorld(path, &drawRooms, &lookup_, &world, problem)) return false;
    Pass drawItems;
    drawItems.item = [&](const ItemInfo& item) {
      const std::string itemIdText = itemId(item.index);
      out_ << "  " << itemIdText << " [shape=box, style=rounded, label="
           << Quoted("item " + std::to_string(item.index) + "\n" + item.name) << "];\n";
      std::string from = roomIndices.count(item.room) != 0 ? id + "_r" + std::to_string(item.room) : id;
      out_ << "  " << from << " -> " << itemIdText << ";\n";
      Files(itemIdText, item.files);
    };
    if (!ReadWorld(path, &drawItems, &lookup_, &world, problem)) return false;
    // The worlds that the catalogue names, under the catalogue's node.
    for (const TypeInfo& type : world.types) {
      for (const FileUse& use : type.files) {
        if (!use.present || !IsWorldFile(use.path)) continue;
        std::string catalogueId = FileId(world.catalogue);
        if (worlds_.count(Folded(use.path)) != 0) {
          out_ << "  " << catalogueId << " -> " << FileId(use.path) << " [style=dotted];\n";
          continue;
        }
        // A nested world that cannot be read is left out.
        std::string nestedId = "w" + std::to_string(nestedWorlds_ + 1);
        std::string edge = "  " + catalogueId + " -> " + nestedId + " [label=" + Quoted(type.name) + "];\n";
        std::string why;
        ++nestedWorlds_;
        if (!World(use.path, nestedId, edge, &why)) --nestedWorlds_;
      }
    }
    return true;
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
  FileLookup lookup_;
  std::map<std::string, std::string> fileIds_;
  std::set<std::string> worlds_;
  int nestedWorlds_ = 0;
};

// A path that goes on a shell's command line between double quotes.
bool SafeForCommand(const std::string& path) {
  return !path.empty() && path.find_first_of("\"$`%!\r\n") == std::string::npos;
}

int Graph(Console& console, const std::string& path, const std::string& svg) {
  std::string problem;
  if (svg.empty()) {
    // What is drawn goes out as it is drawn.
    if (!GraphWriter(console.out).Graph(path, &problem)) return Fail(console, problem);
    return Finish(console, kExitOk);
  }
  std::ostringstream dot;
  if (!GraphWriter(dot).Graph(path, &problem)) return Fail(console, problem);
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
