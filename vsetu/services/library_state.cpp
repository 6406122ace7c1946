#include "vsetu/services/library_state.h"

namespace vesta::vsetu {
namespace {

struct LibraryState {
  char home[kStateText + 1] = "";
  int error = -1;
  char comment[kStateText + 1] = "VSetu.dll";
  bool comStarted = false;
  int rendererCursor = -1;
  CTheList* listHead = nullptr;
  CTheList* listTail = nullptr;
  CWorldProp* normaliserWorld = nullptr;
  int itemCount = 0;
  char logPath[kStateText + 1] = "";
  std::string logPending;
  int logSteps = 0;
  std::set<std::string> worldsInNormalisation;
  std::unordered_map<const CVFileType*, EndingIndex*>* indexedRecords = nullptr;
};

LibraryState& State() {
  static LibraryState state;
  return state;
}

}  // namespace

char* HomeCache() { return State().home; }
int* ErrorSlot() { return &State().error; }
char* CommentSlot() { return State().comment; }
bool* ComStarted() { return &State().comStarted; }
int* RendererCursor() { return &State().rendererCursor; }
CTheList** ListHead() { return &State().listHead; }
CTheList** ListTail() { return &State().listTail; }
CWorldProp** NormaliserWorld() { return &State().normaliserWorld; }
int* ItemCount() { return &State().itemCount; }

std::unordered_map<const CVFileType*, EndingIndex*>* IndexedRecords() {
  auto*& records = State().indexedRecords;
  if (records == nullptr) records = new std::unordered_map<const CVFileType*, EndingIndex*>;
  return records;
}
char* NormaliserLogPath() { return State().logPath; }
std::string* NormaliserLogPending() { return &State().logPending; }
int* NormaliserLogSteps() { return &State().logSteps; }
std::set<std::string>* WorldsInNormalisation() { return &State().worldsInNormalisation; }

}  // namespace vesta::vsetu
