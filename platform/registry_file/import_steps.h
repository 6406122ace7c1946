// What a file to import asks of the registry, step by step, whichever
// backend makes the changes.
#ifndef VESTA_PLATFORM_REGISTRY_FILE_IMPORT_STEPS_H
#define VESTA_PLATFORM_REGISTRY_FILE_IMPORT_STEPS_H

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/registry_file/hive.h"

namespace vesta::platform::regfile {

struct ImportStep {
  // kKey: make the key; kDeleteKey: delete it with its subkeys; kValue: set
  // the value; kDeleteValue: delete the value (value.name).
  HiveLine::Kind kind = HiveLine::Kind::kKey;
  RegRoot root = RegRoot::kCurrentUser;
  std::string path;  // below the root, UTF-8; "" for the root itself
  HiveValue value;
  int line = 0;  // of the file, for problems
};

// A line of the file that is skipped.
struct ImportProblem {
  int line = 0;  // 0: none
  std::string what;
};

// The steps of a file read by ParseImportFile, in file order. A line that
// cannot be read, a key of an unknown root or the deletion of a root is
// skipped, with the values below such a key line; *firstProblem tells the
// first one skipped (line 0 when none was).
std::vector<ImportStep> ImportSteps(const Hive& file, ImportProblem* firstProblem);

}  // namespace vesta::platform::regfile

#endif
