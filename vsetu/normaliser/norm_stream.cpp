// Normalising a world in one reading: each record is copied, rewritten
// into the relative form and written out as the reader hands it on, then
// let go. The steps are the same as those of the element list; only no
// list is held: what grows with the world is its new text alone.
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

struct Run {
  CVNormBuilder* builder;
  FILE* out;  // the new world file, not in place until it is whole
};

Run* Of(void* context) { return static_cast<Run*>(context); }

// One record through both steps, then into the new file. The relative
// form is written against the target folder; the copy step may normalise
// a nested world of its own meanwhile, as it does for the list. A shape is
// rewritten once, with the names of its textures' copies in the relative
// form.
int CopyStep(CVNormBuilder& builder, CWorldProp* world) { return builder.NBCopyWorld(world); }
int CopyStep(CVNormBuilder& builder, CRoomProp* room) {
  return vesta::vsetu::CopyRecordFiles(&builder, kVPRecordRoom, room, true);
}
int CopyStep(CVNormBuilder& builder, CItemProp* item) {
  return vesta::vsetu::CopyRecordFiles(&builder, kVPRecordItem, item, true);
}

template <typename Record, typename Relativise, typename Write>
int Normalise(Run* run, Record* record, Relativise relativise, Write write) {
  CVNormBuilder& builder = *run->builder;
  int result = CopyStep(builder, record);
  if (result == 1) {
    VURelativeBase base(builder.targetFolder);
    result = (builder.*relativise)(record);
  }
  return result == 1 ? write(run->out, record) : result;
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
  // The records are gathered in memory where the system can (each ends
  // with a flush), and reach the new file in one piece.
  vesta::platform::Replacement out;
  vesta::platform::MemoryStream gathered;
  int result = out.Begin(saved.c_str(), vesta::platform::FileMode::kText) ? 1 : 0;
  if (result == 1) {
    Run run{this, gathered.Stream() != nullptr ? gathered.Stream() : out.Stream()};
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
  std::string_view text;
  if (gathered.Stream() != nullptr && (!gathered.Text(&text) || !out.Write(text))) return 0;
  return out.Commit() ? 1 : 0;
}
