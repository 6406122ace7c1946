#include "programs/vesta/world_references.h"

#include <deque>
#include <map>
#include <set>

#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

class Collector {
 public:
  explicit Collector(References* out) : out_(out) {}

  // The world, then the worlds that catalogues name, each once, in the
  // order met: one world in memory at a time, however long a chain of
  // nested worlds is.
  void Worlds(const WorldModel& world) {
    One(world, "", 0);
    while (!pending_.empty()) {
      const Pending next = pending_.front();
      pending_.pop_front();
      WorldModel nested;
      std::string problem;
      if (!LoadWorld(next.path, &nested, &problem)) {
        out_->problems.push_back(problem);
        continue;
      }
      One(nested, "world " + next.path + ": ", next.last);
    }
  }

 private:
  struct Pending {
    std::string path;
    size_t last;  // where its files are met in the outer world
  };

  // last: where the files of a nested world are met in the outer one.
  void One(const WorldModel& world, const std::string& prefix, size_t last) {
    visited_.insert(Folded(world.path));
    for (const Damage& damage : world.damage) out_->problems.push_back(world.path + ": " + DescribeDamage(damage));
    out_->damaged += static_cast<int>(world.damage.size());
    std::string record = prefix + "world \"" + world.name + "\"";
    Add(world.files, record, last);
    for (size_t n = 0; n < world.elements.size(); ++n) {
      const auto& element = world.elements[n];
      size_t at = prefix.empty() ? n + 1 : last;
      if (element.first == 'r') {
        const RoomInfo& room = world.rooms[element.second];
        Add(room.files, prefix + "room " + std::to_string(room.index) + " \"" + room.name + "\"", at);
      } else {
        const ItemInfo& item = world.items[element.second];
        Add(item.files, prefix + "item " + std::to_string(item.index) + " \"" + item.name + "\"", at);
      }
    }
    if (!world.catalogue.empty() && !world.catalogueRead) {
      bool present = false;
      for (const FileUse& use : world.files) present = present || (use.path == world.catalogue && use.present);
      if (present) out_->problems.push_back(world.catalogue + ": cannot be read as a catalogue");
    }
    const size_t nestedAt = prefix.empty() ? world.elements.size() : last;
    for (const TypeInfo& type : world.types) {
      // The catalogue's files travel when the catalogue is rewritten, after
      // the world's elements.
      std::string holder = prefix + "catalogue type \"" + type.name + "\"";
      Add(type.files, holder, nestedAt);
      for (const FileUse& use : type.files) {
        if (!use.present || !IsWorldFile(use.path) || !visited_.insert(Folded(use.path)).second) continue;
        pending_.push_back({use.path, nestedAt});
      }
    }
  }

  void Add(const std::vector<FileUse>& files, const std::string& record, size_t element) {
    for (const FileUse& use : files) {
      Add(use, record, use.field, element);
      for (const FileUse& dependant : use.dependants) {
        Add(dependant, record, dependant.field + " " + use.path, element);
      }
    }
  }

  void Add(const FileUse& use, const std::string& record, const std::string& field, size_t element) {
    std::string key = Folded(use.path);
    auto found = index_.find(key);
    if (found == index_.end()) {
      Reference reference;
      reference.path = use.path;
      reference.present = use.present;
      reference.size = use.size;
      reference.element = element;
      reference.refused = use.refused;
      if (!use.refused.empty()) {
        ++out_->refused;
      } else if (!use.present) {
        ++out_->missing;
      }
      found = index_.emplace(key, out_->files.size()).first;
      out_->files.push_back(reference);
    }
    out_->files[found->second].namedBy.push_back({record, field, use.stored});
  }

  References* out_;
  std::map<std::string, size_t> index_;
  std::set<std::string> visited_;
  std::deque<Pending> pending_;
};

}  // namespace

std::string Folded(const std::string& path) {
  std::string folded(path.size() + 1, '\0');
  if (!VSFoldPath(path.c_str(), &folded[0], static_cast<int>(folded.size()))) return path;
  folded.pop_back();
  return folded;
}

References CollectReferences(const WorldModel& world) {
  References references;
  Collector collector(&references);
  collector.Worlds(world);
  return references;
}

}  // namespace vesta::tool
