#include "programs/vesta/world_references.h"

#include <deque>
#include <set>
#include <unordered_map>

#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

class Collector : public WorldVisitor {
 public:
  Collector(References* out, bool keepEveryNaming) : out_(out), keepEveryNaming_(keepEveryNaming) {}

  // The world, then the worlds that catalogues name, each once, in the
  // order met: one record in memory at a time, however large the worlds
  // and however long a chain of nested worlds is.
  bool Worlds(const std::string& path, WorldModel* world, std::string* problem) {
    if (!One(path, "", 0, world, problem)) return false;
    while (!pending_.empty()) {
      const Pending next = pending_.front();
      pending_.pop_front();
      WorldModel nested;
      std::string why;
      if (!One(next.path, "world " + next.path + ": ", next.last, &nested, &why)) out_->problems.push_back(why);
    }
    return true;
  }

  void World(const WorldModel& world) override {
    Add(world.files, prefix_ + "world \"" + world.name + "\"", last_);
  }

  void Room(const RoomInfo& room) override {
    Add(room.files, prefix_ + "room " + std::to_string(room.index) + " \"" + room.name + "\"", Next());
  }

  void Item(const ItemInfo& item) override {
    Add(item.files, prefix_ + "item " + std::to_string(item.index) + " \"" + item.name + "\"", Next());
  }

 private:
  struct Pending {
    std::string path;
    size_t last;  // where its files are met in the outer world
  };

  // Where the files of the element just read are met: the n-th element of
  // the outer world at n, a nested world's all where it is met.
  size_t Next() { return prefix_.empty() ? ++elements_ : last_; }

  // last: where the files of a nested world are met in the outer one.
  bool One(const std::string& path, const std::string& prefix, size_t last, WorldModel* world, std::string* problem) {
    visited_.insert(Folded(path));
    prefix_ = prefix;
    last_ = last;
    elements_ = 0;
    if (!ReadWorld(path, this, &lookup_, world, problem)) return false;
    for (const Damage& damage : world->damage) out_->problems.push_back(world->path + ": " + DescribeDamage(damage));
    out_->damaged += static_cast<int>(world->damage.size());
    if (!world->catalogue.empty() && !world->catalogueRead) {
      bool present = false;
      for (const FileUse& use : world->files) present = present || (use.path == world->catalogue && use.present);
      if (present) out_->problems.push_back(world->catalogue + ": cannot be read as a catalogue");
    }
    const size_t nestedAt = prefix.empty() ? elements_ : last;
    for (const TypeInfo& type : world->types) {
      // The catalogue's files travel when the catalogue is rewritten, after
      // the world's elements.
      std::string holder = prefix + "catalogue type \"" + type.name + "\"";
      Add(type.files, holder, nestedAt);
      for (const FileUse& use : type.files) {
        if (!use.present || !IsWorldFile(use.path) || !visited_.insert(Folded(use.path)).second) continue;
        pending_.push_back({use.path, nestedAt});
      }
    }
    return true;
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
    // A path is folded once: every later naming finds it as it is spelled.
    auto found = spelled_.find(use.path);
    if (found == spelled_.end()) {
      const std::string key = Folded(use.path);
      auto folded = index_.find(key);
      if (folded == index_.end()) {
        Reference reference;
        reference.path = use.path;
        reference.present = use.present;
        reference.size = use.size;
        reference.element = element;
        reference.refused = use.refused;
        reference.first = {record, field, use.stored};
        if (!use.refused.empty()) {
          ++out_->refused;
        } else if (!use.present) {
          ++out_->missing;
        }
        folded = index_.emplace(key, out_->files.size()).first;
        out_->files.push_back(reference);
      }
      found = spelled_.emplace(use.path, folded->second).first;
    }
    Reference& reference = out_->files[found->second];
    ++reference.named;
    if (keepEveryNaming_) reference.namedBy.push_back({record, field, use.stored});
  }

  References* out_;
  bool keepEveryNaming_;
  FileLookup lookup_;
  std::unordered_map<std::string, size_t> index_;    // by the folded path
  std::unordered_map<std::string, size_t> spelled_;  // by the path as spelled
  std::set<std::string> visited_;
  std::deque<Pending> pending_;
  std::string prefix_;    // of the records of the world being read
  size_t last_ = 0;       // where a nested world's files are met
  size_t elements_ = 0;   // the rooms and items read of the world being read
};

}  // namespace

std::string Folded(const std::string& path) {
  std::string folded(path.size() + 1, '\0');
  if (!VSFoldPath(path.c_str(), &folded[0], static_cast<int>(folded.size()))) return path;
  folded.pop_back();
  return folded;
}

bool CollectReferences(const std::string& path, bool keepEveryNaming, WorldModel* world, References* references,
                       std::string* problem) {
  *references = References();
  Collector collector(references, keepEveryNaming);
  return collector.Worlds(path, world, problem);
}

}  // namespace vesta::tool
