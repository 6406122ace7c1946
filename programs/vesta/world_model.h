// A world as the vesta command sees it: its rooms and items, and every file
// each of them uses, found or missing.
#ifndef VESTA_PROGRAMS_VESTA_WORLD_MODEL_H
#define VESTA_PROGRAMS_VESTA_WORLD_MODEL_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vesta::tool {

// One file that a record names.
struct FileUse {
  std::string field;   // what it is to the record: "ceiling texture [CTX]"
  std::string stored;  // as the record stores it
  std::string path;    // the file it names on this machine
  bool present = false;
  int64_t size = 0;
  std::string refused;  // why it may not be read (it leads outside the installation), or ""
  std::vector<FileUse> dependants;  // a shape's textures
};

// A record or field of the world file that could not be read whole.
struct Damage {
  int kind = 0;        // 0 the world record, 1 a room, 2 an item
  unsigned code = 0;   // the property store's code
  long line = 0;       // where the record began, or the field stands
};

// "line 12: a room cut short was skipped", and the like.
std::string DescribeDamage(const Damage& damage);

struct RoomInfo {
  int index = -1;
  int parentRoom = -1;
  int parentItem = -1;
  std::string name;
  std::string folder;
  int sides = 0;
  std::vector<FileUse> files;
};

struct ItemInfo {
  int index = -1;
  int room = -1;
  std::string name;
  std::string target;
  std::string type;
  std::vector<FileUse> files;
};

// One type of the world's catalogue and the files it names.
struct TypeInfo {
  std::string name;
  std::string ending;
  std::vector<FileUse> files;
};

// What a read tells of a world besides its rooms and items, which it hands
// on one at a time (WorldVisitor) and lets go.
struct WorldModel {
  std::string path;
  std::string name;
  unsigned code = 0;  // the property store's error slot after the read
  std::vector<FileUse> files;      // the catalogue, the world's shapes and texture, side files
  size_t rooms = 0;                // how many rooms and items were read
  size_t items = 0;
  std::string catalogue;           // the catalogue's file ("" when none)
  bool catalogueRead = false;
  std::vector<TypeInfo> types;     // what the catalogue names
  std::vector<Damage> damage;      // what the read passed over, in the file's order
};

// What a read hands on, in the order of the file. Each room and item is
// looked at during its call and let go after it, so that a world of any size
// is read in the memory of one record (and of the files looked up).
class WorldVisitor {
 public:
  virtual ~WorldVisitor() = default;
  // Once, before any room or item: the world's name and files (its record's
  // fields, then the side files). A file without a world record tells it
  // with no name before its first room or item, or at its end.
  virtual void World(const WorldModel& /*world*/) {}
  virtual void Room(const RoomInfo& /*room*/) {}
  virtual void Item(const ItemInfo& /*item*/) {}
};

// What the files that records name are: each file looked up once (found or
// not, its size, a shape's textures), however many records name it.
class FileLookup {
 public:
  // The file that stored names, read from holder's folder. field is left
  // empty.
  const FileUse& Find(const char* stored, const std::string& holder);

 private:
  std::unordered_map<std::string, FileUse> known_;  // by holder and stored path
};

// Reads the world file, handing each record to visitor as it comes, looking
// its files up through lookup (null: the records come without their files),
// and then the catalogue. False, with the reason in *problem, when the file
// cannot be read as a world.
bool ReadWorld(const std::string& path, WorldVisitor* visitor, FileLookup* lookup, WorldModel* world,
               std::string* problem);

// True for a path that names a world file.
bool IsWorldFile(const std::string& path);

// The files of the record, its shapes' textures included, in order.
void Flatten(const std::vector<FileUse>& files, std::vector<const FileUse*>* out);

}  // namespace vesta::tool

#endif
