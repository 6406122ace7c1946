// vesta world: the group, and what its commands share.
#include "programs/vesta/world_group.h"

#include "programs/vesta/commands.h"

namespace vesta::tool {

const CommandEntry kWorldGroup{nullptr, "world", "Look at, check, pack or draw a world file (.vwq)",
                               [](const Command*) -> std::unique_ptr<Command> {
                                 return std::make_unique<Group>(Example("vesta world check C:\\VESTA\\worlds\\Sample.vwq"));
                               }};

int OpenWorld(Console& console, const std::string& path, WorldVisitor* visitor, FileLookup* lookup,
              WorldModel* world) {
  std::string problem;
  if (!ReadWorld(path, visitor, lookup, world, &problem)) return Fail(console, problem);
  return kExitOk;
}

std::string RecordOf(const Naming& naming) { return naming.record + ": " + naming.field; }

std::string NamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderPart(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace vesta::tool
