// vesta world check.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <ostream>

#include "programs/vesta/commands.h"
#include "programs/vesta/terminal.h"
#include "programs/vesta/world_group.h"

namespace vesta::tool {
namespace {

using nlohmann::json;

int Check(Console& console, const std::string& path, bool asJson) {
  WorldModel world;
  References references;
  std::string unreadable;
  // Every naming is printed in JSON; the text names the first of each file.
  if (!CollectReferences(path, asJson, &world, &references, &unreadable)) return Fail(console, unreadable);
  std::ostream& out = console.out;
  bool problems = references.missing > 0 || references.refused > 0 || !references.problems.empty();
  if (asJson) {
    json files = json::array();
    for (const Reference& reference : references.files) {
      json named = json::array();
      for (const Naming& naming : reference.namedBy) {
        named.push_back({{"record", naming.record}, {"field", naming.field}, {"stored", naming.stored}});
      }
      json entry = {{"path", reference.path}, {"present", reference.present}, {"named_by", named}};
      if (reference.present) entry["size"] = reference.size;
      if (!reference.refused.empty()) entry["refused"] = reference.refused;
      files.push_back(entry);
    }
    out << Dump({{"world", world.path},
                 {"files", files},
                 {"missing", references.missing},
                 {"refused", references.refused},
                 {"problems", references.problems}});
    return Finish(console, problems ? kExitFailed : kExitOk);
  }
  out << world.path << ": world \"" << world.name << "\", " << world.rooms << " rooms, " << world.items << " items\n";
  for (const Reference& reference : references.files) {
    const char* verdict = !reference.refused.empty() ? "  REFUSED  " : reference.present ? "  ok       " : "  MISSING  ";
    out << verdict << reference.path << "  (" << RecordOf(reference.first);
    size_t more = reference.named - 1;
    if (more > 0) out << ", and " << more << " more";
    out << ")";
    if (!reference.refused.empty()) out << ": " << reference.refused;
    out << "\n";
  }
  for (const std::string& problem : references.problems) out << "  PROBLEM  " << problem << "\n";
  const size_t absent = static_cast<size_t>(references.missing + references.refused);
  out << references.files.size() << " files: " << references.files.size() - absent << " present, "
      << references.missing << " missing";
  if (references.refused > 0) out << ", " << references.refused << " refused";
  out << "\n";
  return Finish(console, problems ? kExitFailed : kExitOk);
}

class CheckCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("WORLD", world_, "The world file")->required()->check(kNamed);
    node.add_flag("--json", json_, "Print it as JSON");
    node.footer(std::string("Exit status 1 when a file is missing.") +
                Example("vesta world check C:\\VESTA\\worlds\\Sample.vwq"));
  }
  int Run(Console& console) const override { return Check(console, world_, json_); }

 private:
  std::string world_;
  bool json_ = false;
};

}  // namespace

const CommandEntry kWorldCheck{
    "world", "check", "Every file the world and its catalogue refer to, present or missing, with the record that names it",
    Make<CheckCommand>};

}  // namespace vesta::tool
