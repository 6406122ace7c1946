#include "vsetu/services/library_state.h"

namespace vesta::vsetu {
namespace {

struct LibraryState {
  char home[kStateText + 1] = "";
  int error = -1;
  char comment[kStateText + 1] = "VSetu.dll";
  bool comStarted = false;
  int rendererCursor = -1;
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


}  // namespace vesta::vsetu
