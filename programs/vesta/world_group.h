// What the world commands share: the world read for a command, and the
// names of a record and of a file as they tell them.
#ifndef VESTA_PROGRAMS_VESTA_WORLD_GROUP_H
#define VESTA_PROGRAMS_VESTA_WORLD_GROUP_H

#include <string>

#include "programs/vesta/console.h"
#include "programs/vesta/world_model.h"
#include "programs/vesta/world_references.h"

namespace vesta::tool {

// Reads the world file, handing its records to visitor with their files;
// kExitFailed, with the reason told, when it cannot be read as a world.
int OpenWorld(Console& console, const std::string& path, WorldVisitor* visitor, FileLookup* lookup,
              WorldModel* world);

// "item 2 \"Report\": texture [PIF]"
std::string RecordOf(const Naming& naming);

// The file's name without its folder; its folder with the last separator
// ("" for a bare name).
std::string NamePart(const std::string& path);
std::string FolderPart(const std::string& path);

}  // namespace vesta::tool

#endif
