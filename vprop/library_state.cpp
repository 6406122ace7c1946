#include "vprop/library_state.h"

#include "common/text.h"
#include "vesta/vprop.h"

namespace vesta::vprop {
namespace {

struct LibraryState {
  uint32_t error = 0;
  int lineCounter = 0;
  MarkRecord currentMark = {};
  char comment[kCommentCapacity + 1] = "VPProp.dll";
  platform::KeptAppend saveTarget;
  std::string saveText;
  ValueCut lastCut;
};

LibraryState& State() {
  static LibraryState state;
  return state;
}

}  // namespace

void SetError(uint32_t code) { State().error = code; }
uint32_t Error() { return State().error; }
int* LineCounter() { return &State().lineCounter; }
MarkRecord* CurrentMark() { return &State().currentMark; }
char* CommentSlot() { return State().comment; }
platform::KeptAppend& SaveTarget() { return State().saveTarget; }
std::string& SaveText() { return State().saveText; }
ValueCut& LastCut() { return State().lastCut; }

}  // namespace vesta::vprop

int FFSetError(unsigned int code) {
  vesta::vprop::SetError(code);
  return 1;
}

int FFGetError(unsigned int* code) {
  if (code != nullptr) *code = vesta::vprop::Error();
  return 1;
}

int FFSetComment(const char* text) {
  VUCopyN(vesta::vprop::CommentSlot(), text, vesta::vprop::kCommentCapacity);
  return 1;
}

int FFGetComment(char* buffer, int size) {
  const char* comment = vesta::vprop::CommentSlot();
  if (comment[0] == '\0' || buffer == nullptr || size <= 0) return 0;
  VUCopyN(buffer, comment, size - 1);
  return 1;
}
