// The error and comment slots, through which one caller leaves a code or a
// text for a later one, and the library's start and end.
#include "common/text.h"
#include "platform/shell.h"
#include "vesta/vsetu.h"
#include "vsetu/services/library_state.h"

int VSSetError(int code) {
  *vesta::vsetu::ErrorSlot() = code;
  return 1;
}

int VSGetError(int* code) {
  int stored = *vesta::vsetu::ErrorSlot();
  if (stored == -1 || code == nullptr) return 0;
  *code = stored;
  return 1;
}

int VSSetComment(const char* text) {
  VUCopyN(vesta::vsetu::CommentSlot(), text, vesta::vsetu::kStateText);
  return 1;
}

int VSGetComment(char* out) {
  const char* comment = vesta::vsetu::CommentSlot();
  if (comment[0] == '\0' || out == nullptr) return 0;
  VUCopyN(out, comment, kVSBuffer - 1);
  return 1;
}

int VSetuInitialise() {
  // Only a start made here is ended by VSetuTerminate.
  if (vesta::platform::StartCom() == vesta::platform::ComStart::kStarted) {
    *vesta::vsetu::ComStarted() = true;
  }
  return 0;
}

int VSetuTerminate() {
  if (*vesta::vsetu::ComStarted()) {
    vesta::platform::StopCom();
    *vesta::vsetu::ComStarted() = false;
  }
  return 0;
}

int VSInit() { return 1; }

const char* VSErrorText(int code) {
  if (code == -1) return "no code";
  return code < 0 ? FFErrorText(~0u) : FFErrorText(static_cast<unsigned int>(code));
}
