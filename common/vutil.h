// The utility layer: the operations that both libraries take from the
// installation's utility library.
#ifndef VESTA_COMMON_VUTIL_H
#define VESTA_COMMON_VUTIL_H

#include "common/mark_list.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/ptr_list.h"
#include "common/tag_field.h"
#include "common/text.h"
#include "common/vertex_list.h"

#endif
