#include "programs/vesta/world_model.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "programs/vesta/console.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

bool EndsWith(const std::string& text, const char* ending) {
  size_t length = std::strlen(ending);
  if (text.size() < length) return false;
  for (size_t i = 0; i < length; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - length + i])) !=
        std::tolower(static_cast<unsigned char>(ending[i]))) {
      return false;
    }
  }
  return true;
}

int AddTexture(const char* written, const char* found, void* context) {
  auto* dependants = static_cast<std::vector<FileUse>*>(context);
  FileUse use;
  use.field = "texture of the shape";
  use.stored = written;
  use.path = found[0] != '\0' ? found : written;
  char why[kVSBuffer] = "";
  const int looked = found[0] != '\0' ? VSLookAtStoredFile(found, why, sizeof why) : 0;
  use.present = looked == 1;
  if (looked < 0) use.refused = why;
  if (use.present) VSGetFileSize(use.path.c_str(), &use.size);
  dependants->push_back(use);
  return 1;
}

// Puts the file that a field names, when it names one, at files[*used]:
// an entry a record before left there is written over, so that its texts
// keep their room (a world names its files tens of thousands of times).
void Use(FileLookup* lookup, std::vector<FileUse>* files, size_t* used, const char* field, const char* stored,
         const std::string& holder) {
  if (stored == nullptr || stored[0] == '\0') return;
  const FileUse& found = lookup->Find(stored, holder);
  if (*used < files->size()) {
    (*files)[*used] = found;
  } else {
    files->push_back(found);
  }
  (*files)[(*used)++].field = field;
}

// Adds the file that a field names, when it names one.
void Use(FileLookup* lookup, std::vector<FileUse>* files, const char* field, const char* stored,
         const std::string& holder) {
  size_t used = files->size();
  Use(lookup, files, &used, field, stored, holder);
}

// The entries of the table of fields that name files which travel with the
// world, for each kind of record, with what each is called: "ceiling
// texture [CTX]".
struct TravellingField {
  const VPFileField* entry;
  std::string field;
};

const std::vector<TravellingField>& TravellingFields(int record) {
  static const std::vector<TravellingField>* const kByRecord = [] {
    auto* byRecord = new std::vector<TravellingField>[3];
    int count = 0;
    const VPFileField* table = FFFileFields(&count);
    for (int i = 0; i < count; ++i) {
      if (table[i].kind >= kVPFileProgram || table[i].record < 0 || table[i].record > 2) continue;
      byRecord[table[i].record].push_back({&table[i], std::string(table[i].what) + " " + table[i].tag});
    }
    return byRecord;
  }();
  return kByRecord[record];
}

// The files that the record's fields name (the kinds that travel with the
// world), in the order the normaliser copies them, after the first from of
// files, which holds nothing else after them. A world without a catalogue
// of its own uses the installation's.
void UseFields(FileLookup* lookup, std::vector<FileUse>* files, size_t from, int record, void* fields,
               const std::string& holder) {
  size_t used = from;
  for (const TravellingField& travelling : TravellingFields(record)) {
    const char* stored = FFFileFieldText(fields, travelling.entry);
    char fallback[kVSBuffer];
    if (travelling.entry->kind == kVPFileCatalogue && stored[0] == '\0' && VSGetFileTypeFile(fallback)) {
      stored = fallback;
    }
    Use(lookup, files, &used, travelling.field.c_str(), stored, holder);
  }
  files->erase(files->begin() + static_cast<std::ptrdiff_t>(used), files->end());
}

// The read under way: the world's model, the visitor, and one room and one
// item whose storage serves every record in turn.
struct Reading {
  WorldModel* model;
  WorldVisitor* visitor;
  FileLookup* lookup;
  std::vector<FileUse> sideFiles;
  bool told = false;  // the visitor has had the world
  RoomInfo room;
  ItemInfo item;

  void TellWorld() {
    if (told) return;
    told = true;
    model->files.insert(model->files.end(), sideFiles.begin(), sideFiles.end());
    visitor->World(*model);
  }
};

int OnWorld(CWorldProp* world, void* context) {
  Reading& reading = *static_cast<Reading*>(context);
  WorldModel& model = *reading.model;
  // A second world record adds its files to the first one's.
  if (reading.told) return 1;
  model.name = world->worldName;
  if (reading.lookup != nullptr) {
    UseFields(reading.lookup, &model.files, model.files.size(), kVPRecordWorld, world, model.path);
  }
  reading.TellWorld();
  return 1;
}

int OnRoom(CRoomProp* room, void* context) {
  Reading& reading = *static_cast<Reading*>(context);
  reading.TellWorld();
  RoomInfo& info = reading.room;
  info.index = room->roomIndex;
  info.parentRoom = room->parentRoomIndex;
  info.parentItem = room->parentItemIndex;
  info.name = room->roomName;
  info.folder = room->folder;
  info.sides = room->sideCount;
  if (reading.lookup != nullptr) {
    UseFields(reading.lookup, &info.files, 0, kVPRecordRoom, room, reading.model->path);
  } else {
    info.files.clear();
  }
  ++reading.model->rooms;
  reading.visitor->Room(info);
  return 1;
}

int OnItem(CItemProp* item, void* context) {
  Reading& reading = *static_cast<Reading*>(context);
  reading.TellWorld();
  ItemInfo& info = reading.item;
  info.index = item->itemIndex;
  info.room = item->roomIndex;
  info.name = item->name;
  info.target = item->target;
  info.type = item->fileType;
  if (reading.lookup != nullptr) {
    UseFields(reading.lookup, &info.files, 0, kVPRecordItem, item, reading.model->path);
  } else {
    info.files.clear();
  }
  ++reading.model->items;
  reading.visitor->Item(info);
  return 1;
}

void OnDamage(int kind, unsigned int code, long line, void* context) {
  static_cast<Reading*>(context)->model->damage.push_back({kind, code, line});
}

// The path with its ending replaced, or "" when it has none.
std::string WithEnding(const std::string& path, const char* ending) {
  size_t dot = path.find_last_of('.');
  size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return path.substr(0, dot) + ending;
}

// The side files that lie beside the world, and the setup file that its
// ".nss" names.
void AddSideFiles(FileLookup* lookup, const std::string& path, std::vector<FileUse>* files) {
  std::string nss = WithEnding(path, ".nss");
  if (!nss.empty() && VSFileExists(nss.c_str())) {
    Use(lookup, files, "side file (.nss)", nss.c_str(), path);
    FILE* stream = VSOpenFile(nss.c_str(), "r");
    char line[kVSBuffer] = "";
    if (stream != nullptr) {
      if (std::fgets(line, sizeof line, stream) == nullptr) line[0] = '\0';
      std::fclose(stream);
    }
    size_t length = std::strlen(line);
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = '\0';
    if (EndsWith(line, ".vss")) Use(lookup, files, "screensaver setup (.vss)", line, path);
  }
  for (const char* ending : {".txt", ".bmp"}) {
    std::string side = WithEnding(path, ending);
    if (!side.empty() && VSFileExists(side.c_str())) {
      Use(lookup, files, ending[1] == 't' ? "side file (.txt)" : "preview picture (.bmp)", side.c_str(), path);
    }
  }
}

void ReadCatalogue(FileLookup* lookup, WorldModel* model) {
  for (const FileUse& use : model->files) {
    if (use.field == "catalogue [FTY]") {
      model->catalogue = use.path;
      if (!use.present) return;
    }
  }
  if (model->catalogue.empty()) return;
  std::unique_ptr<CVFileTypeList> catalogue(new (std::nothrow) CVFileTypeList);
  if (catalogue == nullptr) return;
  catalogue->FLInitialise();
  catalogue->FLPrepare();
  catalogue->FLSetDeRelativiseOnLoad(1);
  if (!catalogue->FLLoadFileTypeList(model->catalogue.c_str())) return;
  model->catalogueRead = true;
  CVFileType* type = nullptr;
  for (int more = catalogue->FLGetFirstFileType(&type); more && type != nullptr;
       more = catalogue->FLGetNextFileType(&type)) {
    TypeInfo info;
    info.name = type->typeName;
    info.ending = type->ending;
    const std::string& holder = model->catalogue;
    int count = 0;
    const VSTypeFileField* fields = VSTypeFileFields(&count);
    for (int i = 0; i < count; ++i) {
      if (fields[i].kind == kVPFileProgram) continue;
      const std::string field = std::string(fields[i].what) + " " + fields[i].tag;
      Use(lookup, &info.files, field.c_str(), VSTypeFileFieldText(type, &fields[i]), holder);
    }
    model->types.push_back(info);
  }
}

}  // namespace

bool IsWorldFile(const std::string& path) { return EndsWith(path, ".vwq"); }

std::string DescribeDamage(const Damage& damage) {
  static const char* const kKinds[] = {"the world record", "a room", "an item"};
  const char* kind = damage.kind >= 0 && damage.kind <= 2 ? kKinds[damage.kind] : "a record";
  const std::string where = "line " + std::to_string(damage.line) + ": ";
  if (damage.code == kFFErrorRecordCut) return where + kind + " cut short was skipped";
  return where + "a field of " + kind + " that cannot be read (code " + std::to_string(damage.code) +
         ") was skipped with the rest of its line";
}

void Flatten(const std::vector<FileUse>& files, std::vector<const FileUse*>* out) {
  for (const FileUse& use : files) {
    out->push_back(&use);
    for (const FileUse& dependant : use.dependants) out->push_back(&dependant);
  }
}

const FileUse& FileLookup::Find(const char* stored, const std::string& holder) {
  // The key is made in a buffer that keeps its room from call to call.
  thread_local std::string key;
  key.assign(holder).append(1, '\n').append(stored);
  auto known = known_.find(key);
  if (known != known_.end()) return known->second;
  FileUse use;
  use.stored = stored;
  char path[kVSBuffer];
  use.path = VSResolveStoredPath(stored, holder.c_str(), path) ? path : stored;
  char why[kVSBuffer] = "";
  const int found = VSLookAtStoredFile(use.path.c_str(), why, sizeof why);
  use.present = found == 1;
  if (found < 0) use.refused = why;
  if (use.present) {
    VSGetFileSize(use.path.c_str(), &use.size);
    VSForEachShapeTexture(use.path.c_str(), AddTexture, &use.dependants);
  }
  return known_.emplace(key, std::move(use)).first->second;
}

bool ReadWorld(const std::string& path, WorldVisitor* visitor, FileLookup* lookup, WorldModel* world,
               std::string* problem) {
  *world = WorldModel();
  world->path = path;
  FileLookup ownLookup;
  Reading reading{world, visitor, lookup, {}, false, {}, {}};
  // The side files do not depend on the records: looked at first, so that
  // the visitor has the world's files whole before its first room.
  AddSideFiles(lookup != nullptr ? lookup : &ownLookup, path, &reading.sideFiles);
  Attempt();
  FILE* stream = VSOpenFile(path.c_str(), "r");
  if (stream == nullptr) {
    *problem = FileProblem(path + ": cannot be opened");
    return false;
  }
  CWorldProp worldRecord;
  CRoomProp room;
  CItemProp item;
  worldRecord.WPInitialise();
  room.RPInitialise();
  item.IPInitialise();
  FFReadHandlers handlers{OnWorld, OnRoom, OnItem, OnDamage, &reading};
  int result = FFReadTagFile(stream, &worldRecord, &room, &item, handlers, kFFReadAll);
  std::fclose(stream);
  FFGetError(&world->code);
  if (result != 1) {
    *problem = path + ": not a world file (no record could be read, code " + std::to_string(world->code) + ")";
    return false;
  }
  reading.TellWorld();
  ReadCatalogue(lookup != nullptr ? lookup : &ownLookup, world);
  return true;
}

}  // namespace vesta::tool
