// vesta world show.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <map>
#include <ostream>
#include <set>
#include <vector>

#include "programs/vesta/commands.h"
#include "programs/vesta/terminal.h"
#include "programs/vesta/world_group.h"

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

// The JSON document nests each room's items in it, and the document's keys
// come in their sorted order: its rooms and items are kept until the end.
class JsonCollector : public WorldVisitor {
 public:
  void Room(const RoomInfo& room) override { rooms_.push_back(room); }
  void Item(const ItemInfo& item) override { items_.push_back(item); }

  json Document(const WorldModel& world) const {
    std::map<int, std::vector<const ItemInfo*>> byRoom;
    for (const ItemInfo& item : items_) byRoom[item.room].push_back(&item);
    json rooms = json::array();
    for (const RoomInfo& room : rooms_) {
      json items = json::array();
      auto found = byRoom.find(room.index);
      if (found != byRoom.end()) {
        for (const ItemInfo* item : found->second) {
          items.push_back({{"index", item->index}, {"name", item->name}, {"target", item->target},
                           {"type", item->type}, {"files", FilesJson(item->files)}});
        }
      }
      rooms.push_back({{"index", room.index}, {"name", room.name}, {"folder", room.folder}, {"sides", room.sides},
                       {"parent_room", room.parentRoom}, {"parent_item", room.parentItem},
                       {"files", FilesJson(room.files)}, {"items", items}});
    }
    json document = {{"path", world.path}, {"name", world.name}, {"code", world.code},
                     {"files", FilesJson(world.files)}, {"rooms", rooms}};
    if (!world.damage.empty()) document["damage"] = DamageJson(world);
    json outside = json::array();
    std::set<int> roomsSeen;
    for (const RoomInfo& room : rooms_) roomsSeen.insert(room.index);
    for (const ItemInfo& item : items_) {
      if (roomsSeen.count(item.room) == 0) {
        outside.push_back({{"index", item.index}, {"name", item.name}, {"room", item.room},
                           {"files", FilesJson(item.files)}});
      }
    }
    if (!outside.empty()) document["items_without_room"] = outside;
    return document;
  }

 private:
  std::vector<RoomInfo> rooms_;
  std::vector<ItemInfo> items_;
};

// The text, printed as the records come: each room, then its items. An
// item that comes before any room of its index waits for that room (or,
// when the world has none, for the end, where such items are listed); one
// whose room came earlier and was followed by another is listed where it
// stands, with its room named.
class TextPrinter : public WorldVisitor {
 public:
  explicit TextPrinter(std::ostream& out) : out_(out) {}

  void World(const WorldModel& world) override {
    out_ << "world \"" << world.name << "\"  " << world.path << "\n";
    Files(world.files, "  ");
  }

  void Room(const RoomInfo& room) override {
    out_ << "  room " << room.index << " \"" << room.name << "\"";
    if (!room.folder.empty()) out_ << " showing " << room.folder;
    out_ << " (" << room.sides << " sides)\n";
    Files(room.files, "    ");
    current_ = room.index;
    inRoom_ = true;
    roomsSeen_.insert(room.index);
    auto waiting = waitingFor_.find(room.index);
    if (waiting == waitingFor_.end()) return;
    for (size_t at : waiting->second) {
      Nested(waiting_[at]);
      waiting_[at] = ItemInfo();
      taken_[at] = true;
    }
    waitingFor_.erase(waiting);
  }

  void Item(const ItemInfo& item) override {
    if (inRoom_ && item.room == current_) {
      Nested(item);
    } else if (roomsSeen_.count(item.room) == 0) {
      waitingFor_[item.room].push_back(waiting_.size());
      waiting_.push_back(item);
      taken_.push_back(false);
    } else {
      out_ << "  item " << item.index << " \"" << item.name << "\" in room " << item.room << "\n";
      Files(item.files, "    ");
    }
  }

  // The items whose room the world lacks, and the summary.
  void Finish(const WorldModel& world) {
    for (size_t at = 0; at < waiting_.size(); ++at) {
      if (taken_[at]) continue;
      const ItemInfo& item = waiting_[at];
      out_ << "  item " << item.index << " \"" << item.name << "\" in room " << item.room << ", which the world lacks\n";
      Files(item.files, "    ");
    }
    out_ << world.rooms << (world.rooms == 1 ? " room, " : " rooms, ") << world.items
         << (world.items == 1 ? " item" : " items");
    if (missing_ > 0) out_ << "; " << missing_ << (missing_ == 1 ? " file missing" : " files missing");
    out_ << "\n";
  }

 private:
  void Nested(const ItemInfo& item) {
    out_ << "    item " << item.index << " \"" << item.name << "\"";
    if (!item.target.empty()) out_ << " -> " << item.target;
    if (!item.type.empty()) out_ << " (" << item.type << ")";
    out_ << "\n";
    Files(item.files, "      ");
  }

  void Files(const std::vector<FileUse>& files, const std::string& indent) {
    PrintFiles(out_, files, indent);
    std::vector<const FileUse*> flat;
    Flatten(files, &flat);
    for (const FileUse* use : flat) missing_ += use->present ? 0 : 1;
  }

  std::ostream& out_;
  int missing_ = 0;
  int current_ = 0;
  bool inRoom_ = false;
  std::set<int> roomsSeen_;
  // The items that wait for their room, in the file's order, and where
  // those of each room lie among them.
  std::vector<ItemInfo> waiting_;
  std::vector<bool> taken_;
  std::map<int, std::vector<size_t>> waitingFor_;
};

int Show(Console& console, const std::string& path, bool asJson) {
  WorldModel world;
  FileLookup lookup;
  std::ostream& out = console.out;
  if (asJson) {
    JsonCollector collector;
    if (OpenWorld(console, path, &collector, &lookup, &world) != kExitOk) return kExitFailed;
    out << Dump(collector.Document(world));
    return Finish(console, kExitOk);
  }
  TextPrinter printer(out);
  if (OpenWorld(console, path, &printer, &lookup, &world) != kExitOk) return kExitFailed;
  printer.Finish(world);
  // What the read passed over is not in the lists above.
  for (const Damage& damage : world.damage) out << "DAMAGED  " << world.path << ": " << DescribeDamage(damage) << "\n";
  return Finish(console, kExitOk);
}

class ShowCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("WORLD", world_, "The world file")->required()->check(kNamed);
    node.add_flag("--json", json_, "Print it as JSON");
    node.footer(Example("vesta world show C:\\VESTA\\worlds\\Sample.vwq"));
  }
  int Run(Console& console) const override { return Show(console, world_, json_); }

 private:
  std::string world_;
  bool json_ = false;
};

}  // namespace

const CommandEntry kWorldShow{"world", "show",
                              "The world, its rooms and items, and the files each uses (missing ones marked)",
                              Make<ShowCommand>};

}  // namespace vesta::tool
