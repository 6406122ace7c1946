// A record's text as the record writers lay it out.
#ifndef VESTA_VPROP_TAG_FILE_WRITER_H
#define VESTA_VPROP_TAG_FILE_WRITER_H

#include <string>

#include "vprop/record_kind.h"

namespace vesta::vprop {

// The record of kind as its writer would write it (the shared line counter
// moves on as it does for a write).
std::string RecordText(const RecordKind& kind, const void* record);

}  // namespace vesta::vprop

#endif
