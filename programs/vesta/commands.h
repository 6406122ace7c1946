// The commands of vesta, each taking its parsed command line and returning
// its exit status.
#ifndef VESTA_PROGRAMS_VESTA_COMMANDS_H
#define VESTA_PROGRAMS_VESTA_COMMANDS_H

#include <string>
#include <vector>

#include "programs/vesta/console.h"

namespace vesta::tool {

int WorldShow(Console& console, const std::string& world, bool json);
int WorldCheck(Console& console, const std::string& world, bool json);
// whatCanBeRead: pack a damaged world without what cannot be read of it.
int WorldPack(Console& console, const std::string& world, const std::string& folder, bool dryRun, bool quiet,
              bool whatCanBeRead = false);
int WorldGraph(Console& console, const std::string& world, const std::string& svg);

// A new type's fields, as given on the command line.
struct TypeFields {
  std::string name, ending, program, commandLine, folder, kolb, unselectedShape, selectedShape, texture,
      iconIndex, selectedSound, collideSound, openSound, deleteSound;
  int tiling = -1;
  int footprintDisabled = -1;
};
int TypesList(Console& console, const std::string& catalogue, bool json);
int TypesMatch(Console& console, const std::string& catalogue, const std::vector<std::string>& names, bool json);
int TypesAdd(Console& console, const std::string& catalogue, const TypeFields& fields);
int TypesRemove(Console& console, const std::string& catalogue, const std::string& name);

int PackageList(Console& console, const std::string& manifest, bool json);
int PackageVerify(Console& console, const std::string& manifest, const std::string& name);
int PackageUninstall(Console& console, const std::string& manifest, const std::string& name, bool yes);

int RegQuery(Console& console, const std::string& key, const std::string* name, bool recursive);
int RegSet(Console& console, const std::string& key, const std::string& name, const std::string& value,
           const std::string& type);
int RegDelete(Console& console, const std::string& key, const std::string* name);
int RegImport(Console& console, const std::string& file);
int RegExport(Console& console, const std::string& key, const std::string& file, const std::string& format);

int ShortcutCreate(Console& console, const std::string& link, const std::string& target,
                   const std::string& description, const std::string& icon);
int ShortcutShow(Console& console, const std::string& link);

int RootShow(Console& console, bool init, const std::string& home);

}  // namespace vesta::tool

#endif
