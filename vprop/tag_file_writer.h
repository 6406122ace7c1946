// A record's text as the record writers lay it out.
#ifndef VESTA_VPROP_TAG_FILE_WRITER_H
#define VESTA_VPROP_TAG_FILE_WRITER_H

#include <string>

#include "vprop/record_kind.h"

namespace vesta::vprop {

// The record of kind as its writer would write it, into *text (the shared
// line counter moves on as it does for a write).
void RecordText(const RecordKind& kind, const void* record, std::string* text);

// After a record was written whole to path: when a text of it had to be cut
// to fit a line, the error slot gets kFFErrorValueCut and the last file
// problem says which field and how much.
void TellCut(const char* path);

}  // namespace vesta::vprop

#endif
