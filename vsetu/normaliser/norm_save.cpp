// Writing the normalised world: the world record, then each element's
// room or item, into a world file of the source's name in the folder.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "actions/file_copy.h"
#include "common/paths.h"
#include "platform/file_error.h"
#include "platform/file_output.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser.h"
#include "vsetu/normaliser/normaliser_log.h"

bool vesta::vsetu::SavedWorldPath(const CVNormBuilder& builder, const char* folder, std::string* path) {
  char name[kVUPathBuffer];
  if (folder == nullptr || !VUGetNamePart(name, builder.sourceFile)) return false;
  *path = std::string(folder) + name;
  return path->size() <= static_cast<size_t>(kVUMaxPath);
}

int CVNormBuilder::NBSaveWorld() {
  CTheList* head = nullptr;
  NBGetListHeadPointer(&head);
  if (head == nullptr || targetFolder[0] == '\0') return 0;
  return NBSaveWorld(targetFolder, head);
}

int CVNormBuilder::NBSaveWorld(const char* folder, CTheList* element) {
  vesta::vsetu::LogStep step;
  std::string path;
  if (!vesta::vsetu::SavedWorldPath(*this, folder, &path)) return 0;
  // The copies, written without a sync each, reach the disk together before
  // the world that names them is put in place.
  if (!VUSyncCopies()) return 0;
  // The records follow one another as the save operations append them,
  // through one stream rather than one opening of the file per record, into
  // a new file that takes the old one's place only once it is whole. Each
  // record ends with a flush: they are gathered in memory where the system
  // can, and reach the file in one piece.
  vesta::platform::Replacement saved;
  if (!saved.Begin(path.c_str(), vesta::platform::FileMode::kText)) return 0;
  vesta::platform::MemoryStream gathered;
  FILE* stream = gathered.Stream() != nullptr ? gathered.Stream() : saved.Stream();
  int result = 1;
  CWorldProp* world = nullptr;
  NBGetWorldPointer(&world);
  if (world != nullptr) result = FFWriteWorldProp(stream, world);
  for (; result == 1 && element != nullptr; element = element->next) {
    if (element->room != nullptr) {
      result = FFWriteRoomProp(stream, element->room);
    } else if (element->item != nullptr) {
      result = FFWriteItemProp(stream, element->item);
    } else {
      vesta::vsetu::Log("        ERROR: <Empty List Element>\n");
      result = 0;
    }
  }
  if (result != 1) {
    // The property store writes the records and keeps the reason to itself;
    // the stream's error tells it.
    const int error = errno;
    vesta::platform::SetFileError(path.c_str(), std::ferror(stream) && error != 0 ? std::strerror(error)
                                                                                 : "a record could not be written");
    return 0;
  }
  std::string_view text;
  if (stream == gathered.Stream() && (!gathered.Text(&text) || !saved.Write(text))) return 0;
  return saved.Commit() ? 1 : 0;
}
