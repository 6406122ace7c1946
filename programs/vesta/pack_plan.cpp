// The pack's plan: a destination for each file, and the way back.
#include "programs/vesta/pack_plan.h"

#include <map>

#include "programs/vesta/world_group.h"
#include "vesta/vsetu.h"

namespace vesta::tool {

// Where each file goes, as the normaliser's copy names it: the plain name
// when it is free, or held by a file of the same bytes; else the first free
// numbered name ("wall_2.bmp").
std::vector<Planned> Plan(const References& references, const std::string& folder) {
  std::vector<Planned> plan;
  std::map<std::string, const Reference*> taken;  // destinations planned so far
  const bool folderThere = VSFolderExists(folder.c_str()) == 1;  // else no name there is taken
  for (const Reference& reference : references.files) {
    char name[kVSBuffer];
    for (int number = 1; VSCopyName(reference.path.c_str(), number, name, sizeof name); ++number) {
      std::string candidate = folder + name;
      std::string key = Folded(candidate);
      if (key == Folded(reference.path)) {
        plan.push_back({&reference, candidate, Fate::kReused, true});
        taken[key] = &reference;
        break;
      }
      auto held = taken.find(key);
      bool onDisk = folderThere && VSFileExists(candidate.c_str()) == 1;
      if (held != taken.end()) {
        if (!VSSameContent(held->second->path.c_str(), reference.path.c_str())) continue;
      } else if (onDisk && !VSSameContent(candidate.c_str(), reference.path.c_str())) {
        continue;
      }
      Fate fate = onDisk || held != taken.end() ? Fate::kReused : number == 1 ? Fate::kCopied : Fate::kRenamed;
      plan.push_back({&reference, candidate, fate, onDisk});
      taken[key] = &reference;
      break;
    }
  }
  return plan;
}

void TakeBack(const std::vector<Planned>& plan, const std::string& packed, bool packedBefore) {
  for (const Planned& entry : plan) {
    if (!entry.existed) VSDeleteFile(entry.destination.c_str());
  }
  if (!packedBefore) VSDeleteFile(packed.c_str());
}

}  // namespace vesta::tool
