// The normaliser object, its side-file paths, and loading a world file
// into the element list.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "actions/dependants.h"
#include "actions/file_copy.h"
#include "common/paths.h"
#include "common/stamp.h"
#include "common/text.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"
#include "vsetu/normaliser/normaliser.h"

CVNormBuilder::CVNormBuilder() : clickCallback(nullptr), clickContextCallback(nullptr), clickContext(nullptr) {}

// Old versions of the copies rewritten are garbage from the moment they
// are set aside; a batch that did not reach its sync leaves none behind.
CVNormBuilder::~CVNormBuilder() { vesta::platform::EndNewFiles(); }

int CVNormBuilder::NBInitialise() {
  for (char* path : {targetFolder, sourceFile, sourceNss, vssFile, nssCopy, vssCopy, sourceTxt, txtCopy}) {
    path[0] = '\0';
  }
  clickCallback = nullptr;
  clickContextCallback = nullptr;
  clickContext = nullptr;
  return 1;
}

int CVNormBuilder::NBSetTargetDirectory(const char* folder) {
  VUCopyToField(targetFolder, folder);
  return 1;
}

namespace {

// path with everything from position on replaced by extension; empty when
// that does not fit a path field.
template <size_t N>
void SideFile(char (&field)[N], const char* path, int position, const char* extension) {
  std::string side = std::string(path, static_cast<size_t>(position)) + extension;
  if (side.size() > N - 1) side.clear();
  VUCopyToField(field, side.c_str());
}

}  // namespace

int CVNormBuilder::NBSetSourceFile(const char* path) {
  VUCopyToField(sourceFile, path);
  // The side files lie beside the world as it was written: beside the
  // original of a world copied in this run.
  const std::string origin = VUOriginOf(sourceFile);
  int dot = 0;
  if (VUFindExtension(origin.c_str(), &dot) && dot > 0) {
    SideFile(sourceNss, origin.c_str(), dot, ".nss");
    SideFile(sourceTxt, origin.c_str(), dot, ".txt");
  } else {
    sourceNss[0] = '\0';
    vssFile[0] = '\0';
    sourceTxt[0] = '\0';
  }
  return 1;
}

int CVNormBuilder::NBSetClickCallback(ClickCallback callback) {
  clickCallback = callback;
  clickContextCallback = nullptr;
  clickContext = nullptr;
  return 1;
}

int CVNormBuilder::NBSetClickCallback(ClickContextCallback callback, void* context) {
  clickCallback = nullptr;
  clickContextCallback = callback;
  clickContext = context;
  return 1;
}

bool vesta::vsetu::RecordObjects::Make() {
  world.reset(new (std::nothrow) CWorldProp);
  room.reset(new (std::nothrow) CRoomProp);
  item.reset(new (std::nothrow) CItemProp);
  if (world == nullptr || room == nullptr || item == nullptr) return false;
  world->WPInitialise();
  room->RPInitialise();
  item->IPInitialise();
  return true;
}

void vesta::vsetu::StartRun(CVNormBuilder& builder, const char* path) {
  char stamp[kVUStampText + 1];
  if (VUGetStampText(stamp)) Log(std::string(stamp) + "\n");
  // A run that is no world nested in another starts afresh: what earlier
  // runs of the process copied may be gone or changed.
  if (Normaliser::Process().Outermost()) {
    VUForgetCopies();
    VUForgetShapesDone();
  }
  builder.NBSetSourceFile(path);
}

int CVNormBuilder::NBLoadFile(const char* path) {
  vesta::vsetu::LogStep step;
  vesta::vsetu::StartRun(*this, path);

  vesta::vsetu::RecordObjects records;
  if (!records.Make()) return 0;

  CTheList* head = nullptr;
  NBGetListHeadPointer(&head);
  if (head != nullptr) {
    NBDeleteAllTheList(head);
    NBSetListHeadPointer(nullptr);
  }

  int result = 0;
  FILE* stream = vesta::platform::OpenStream(path, "r");
  if (stream != nullptr) {
    result = vesta::vsetu::Normaliser::Process().Load(stream, records.world.get(), records.room.get(),
                                                      records.item.get());
    std::fclose(stream);
  }
  return result;
}
