#include "platform/registry_file/import_steps.h"

namespace vesta::platform::regfile {

std::vector<ImportStep> ImportSteps(const Hive& file, ImportProblem* firstProblem) {
  using Kind = HiveLine::Kind;
  std::vector<ImportStep> steps;
  *firstProblem = ImportProblem();
  auto skip = [firstProblem](const HiveLine& line, const std::string& what) {
    if (firstProblem->line == 0) *firstProblem = ImportProblem{line.number, what};
  };
  bool inKey = false;  // below a key line whose values are applied
  ImportStep key;
  for (const HiveLine& line : file.lines) {
    const bool keyLine = line.kind == Kind::kKey || line.kind == Kind::kDeleteKey;
    if (keyLine) inKey = false;
    if (!line.problem.empty()) {
      skip(line, line.problem);
      continue;
    }
    if (keyLine) {
      if (!RegRootNamed(line.root, &key.root)) {
        skip(line, "key of an unknown root \"" + line.root + "\"");
        continue;
      }
      if (line.kind == Kind::kDeleteKey && line.path.empty()) {
        skip(line, "a root key cannot be deleted");
        continue;
      }
      key.kind = line.kind;
      key.path = line.path;
      key.line = line.number;
      steps.push_back(key);
      inKey = line.kind == Kind::kKey;
    } else if ((line.kind == Kind::kValue || line.kind == Kind::kDeleteValue) && inKey) {
      ImportStep step = key;
      step.kind = line.kind;
      step.value = line.value;
      step.line = line.number;
      steps.push_back(std::move(step));
    }
  }
  return steps;
}

}  // namespace vesta::platform::regfile
