// Normalising a world in one reading: each record is copied, rewritten
// into the relative form and written out as the reader hands it on, then
// let go. The steps are the same as those of the element list; only no
// list is held, and the new text goes to the file a block at a time: what
// grows with the world is the record of the files it names.
#include <cstdio>
#include <string>
#include <string_view>

#include "actions/file_copy.h"
#include "common/path_tokens.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/element_walk.h"
#include "vsetu/normaliser/normaliser.h"
#include "vsetu/normaliser/normaliser_log.h"

namespace {

// The records are gathered in memory where the system can (each ends with
// a flush) and passed on to the new world file a block at a time.
constexpr size_t kPassOnAt = 1 << 20;

struct Run {
  CVNormBuilder* builder;
  vesta::platform::Replacement* file;       // the new world file, not in place until it is whole
  vesta::platform::MemoryStream* gathered;  // null: the records go to the file's stream
  FILE* Out() const { return gathered != nullptr ? gathered->Stream() : file->Stream(); }
};

Run* Of(void* context) { return static_cast<Run*>(context); }

// Passes what was gathered on to the new file once it holds least bytes
// or more; false when it could not be written.
bool PassOn(const Run& run, size_t least) {
  if (run.gathered == nullptr || run.gathered->Held() < least || run.gathered->Held() == 0) return true;
  std::string_view text;
  if (!run.gathered->Text(&text) || !run.file->Write(text)) return false;
  run.gathered->Clear();
  return true;
}

// A shape is rewritten once, with the names of its textures' copies in
// the relative form.
int CopyStep(CVNormBuilder& builder, CWorldProp* world) { return builder.NBCopyWorld(world); }
int CopyStep(CVNormBuilder& builder, CRoomProp* room) {
  return vesta::vsetu::CopyRecordFiles(&builder, kVPRecordRoom, room, true);
}
int CopyStep(CVNormBuilder& builder, CItemProp* item) {
  return vesta::vsetu::CopyRecordFiles(&builder, kVPRecordItem, item, true);
}

// One record through both steps, then into the new file. The relative
// form is written against the target folder; the copy step may normalise
// a nested world of its own meanwhile, as it does for the list.
template <typename Record, typename Relativise, typename Write>
int Normalise(Run* run, Record* record, Relativise relativise, Write write) {
  CVNormBuilder& builder = *run->builder;
  int result = CopyStep(builder, record);
  if (result == 1) {
    VURelativeBase base(builder.targetFolder);
    result = (builder.*relativise)(record);
  }
  if (result == 1) result = write(run->Out(), record);
  return result == 1 && PassOn(*run, kPassOnAt) ? result : 0;
}

int OnWorld(CWorldProp* world, void* context) {
  return Normalise(Of(context), world, &CVNormBuilder::NBRevWorld, FFWriteWorldProp);
}

// Each room and item is an element: a click once it is done.
int OnRoom(CRoomProp* room, void* context) {
  vesta::vsetu::Log(vesta::vsetu::Normaliser::TakenLine(room, nullptr) + "\n");
  const int result = Normalise(Of(context), room, &CVNormBuilder::NBRevRoom, FFWriteRoomProp);
  vesta::vsetu::Click(*Of(context)->builder);
  return result;
}

int OnItem(CItemProp* item, void* context) {
  vesta::vsetu::Log(vesta::vsetu::Normaliser::TakenLine(nullptr, item) + "\n");
  const int result = Normalise(Of(context), item, &CVNormBuilder::NBRevItem, FFWriteItemProp);
  vesta::vsetu::Click(*Of(context)->builder);
  return result;
}

}  // namespace

int CVNormBuilder::NBNormaliseFile(const char* path) {
  if (path == nullptr || targetFolder[0] == '\0') return 0;
  vesta::vsetu::LogStep step;
  vesta::vsetu::StartRun(*this, path);
  std::string saved;
  if (!vesta::vsetu::SavedWorldPath(*this, targetFolder, &saved)) return 0;
  vesta::vsetu::RecordObjects records;
  if (!records.Make()) return 0;
  FILE* stream = vesta::platform::OpenStream(path, "r");
  if (stream == nullptr) return 0;

  // The target folder is filled with new copies, as by the copy step.
  vesta::platform::FolderFill fill(targetFolder);
  VUBeginCopies();
  vesta::platform::Replacement out;
  vesta::platform::MemoryStream gathered;
  Run run{this, &out, gathered.Stream() != nullptr ? &gathered : nullptr};
  int result = out.Begin(saved.c_str(), vesta::platform::FileMode::kText) ? 1 : 0;
  if (result == 1) {
    FFReadHandlers handlers{};
    handlers.world = OnWorld;
    handlers.room = OnRoom;
    handlers.item = OnItem;
    handlers.context = &run;
    result = FFReadTagFile(stream, records.world.get(), records.room.get(), records.item.get(), handlers, kFFReadAll);
  }
  std::fclose(stream);
  if (result != 1) return 0;
  vesta::vsetu::CopyWhatGoesAlong(*this, true);
  // The copies reach the disk together, and only then the world that
  // names them takes its place.
  if (!vesta::vsetu::RelativiseSideFiles(*this) || !VUSyncCopies()) return 0;
  return PassOn(run, 0) && out.Commit() ? 1 : 0;
}
