// Where a pack puts each file that the world uses, and taking the copies
// back when the pack fails.
#ifndef VESTA_PROGRAMS_VESTA_PACK_PLAN_H
#define VESTA_PROGRAMS_VESTA_PACK_PLAN_H

#include <string>
#include <vector>

#include "programs/vesta/world_references.h"

namespace vesta::tool {

enum class Fate { kCopied, kRenamed, kReused };

struct Planned {
  const Reference* source;
  std::string destination;
  Fate fate;
  bool existed;  // the destination was there before
};

// Where each file goes in folder (which ends in a separator), as the
// normaliser's copy names it; a file without a free name has no entry.
std::vector<Planned> Plan(const References& references, const std::string& folder);

// After a failed pack: what it made goes again, what was there before
// stays. packed: the packed world, there before when packedBefore.
void TakeBack(const std::vector<Planned>& plan, const std::string& packed, bool packedBefore);

}  // namespace vesta::tool

#endif
