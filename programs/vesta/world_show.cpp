// vesta world show.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>
#include <set>

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

int Show(Console& console, const std::string& path, bool asJson) {
  WorldModel world;
  if (OpenWorld(console, path, &world) != kExitOk) return kExitFailed;
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
