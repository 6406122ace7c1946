// The property store's library-wide state, all in one place.
#ifndef VESTA_VPROP_LIBRARY_STATE_H
#define VESTA_VPROP_LIBRARY_STATE_H

#include <cstdint>
#include <string>

#include "common/mark_list.h"
#include "platform/file_output.h"

namespace vesta::vprop {

// The error slot: 0 when the library is loaded, then the last code set.
void SetError(uint32_t code);
uint32_t Error();

// Field characters written since a writer last broke a line; shared by all
// writes to all files and never reset.
int* LineCounter();

// The mark that the world reader fills field by field; zero-filled when the
// library is loaded and never cleared by the reader.
MarkRecord* CurrentMark();

// The comment slot: up to 263 characters, "VPProp.dll" at first.
constexpr int kCommentCapacity = 263;
char* CommentSlot();

// The world file that the save operations last appended to, kept open so
// that saving a world record by record does not open and close it for each.
platform::KeptAppend& SaveTarget();
// The text of the record being saved, kept so that its room is made once.
std::string& SaveText();

// The first text that the writer cut to fit a line in the record it laid
// out last: its tag, its length and how much of it was written; tag null
// when nothing was cut.
struct ValueCut {
  const char* tag = nullptr;
  int length = 0;
  int written = 0;
};
ValueCut& LastCut();

}  // namespace vesta::vprop

#endif
