// The three kinds of record of a world file.
#ifndef VESTA_VPROP_RECORD_KINDS_H
#define VESTA_VPROP_RECORD_KINDS_H

#include "vprop/record_kind.h"

namespace vesta::vprop {

const RecordKind& WorldKind();  // "[WORL]"
const RecordKind& RoomKind();   // "[SECT]"
const RecordKind& ItemKind();   // "[ITEM]"

}  // namespace vesta::vprop

#endif
