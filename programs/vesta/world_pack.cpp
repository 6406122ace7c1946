// vesta world pack: the world and every file it uses copied into a folder,
// with the paths rewritten to travel.
#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <ostream>

#include "programs/vesta/commands.h"
#include "programs/vesta/pack_plan.h"
#include "programs/vesta/progress.h"
#include "programs/vesta/world_group.h"
#include "vesta/vsetu.h"

namespace vesta::tool {
namespace {

// What the progress shows while the normaliser walks the elements: the
// files of each element are copied when the walk reaches it.
struct PackProgress {
  Progress* bar = nullptr;
  std::vector<int> files;      // done once element n (0: the world) is reached
  std::vector<int64_t> bytes;
  size_t clicks = 0;
};

// The normaliser's click: context is the pack's PackProgress.
int OnElement(void* context) {
  PackProgress* pack = static_cast<PackProgress*>(context);
  if (pack->bar == nullptr) return 1;
  ++pack->clicks;
  size_t at = pack->clicks < pack->files.size() ? pack->clicks : pack->files.size() - 1;
  pack->bar->Update(pack->files[at], pack->bytes[at]);
  return 1;
}

// whatCanBeRead: pack a damaged world without what cannot be read of it.
int Pack(Console& console, const std::string& path, const std::string& target, bool dryRun, bool quiet,
         bool whatCanBeRead) {
  WorldModel world;
  References references;
  std::string unreadable;
  if (!CollectReferences(path, false, &world, &references, &unreadable)) return Fail(console, unreadable);
  // The normaliser saves a world through its list of rooms and items.
  const size_t elements = world.rooms + world.items;
  if (elements == 0) return Fail(console, "pack: " + path + ": the world has no rooms; nothing was packed");
  if (references.missing > 0 || references.refused > 0) {
    for (const Reference& reference : references.files) {
      if (!reference.refused.empty()) {
        console.err << "vesta: pack: refused " << reference.path << " (" << RecordOf(reference.first)
                    << "): " << reference.refused << "\n";
      } else if (!reference.present) {
        console.err << "vesta: pack: missing " << reference.path << " (" << RecordOf(reference.first)
                    << ")\n";
      }
    }
    if (references.refused > 0) {
      return Fail(console, "pack: " + path + ": " + std::to_string(references.refused) +
                               (references.refused == 1 ? " file the world names is" : " files the world names are") +
                               " not to be read from it (outside the installation, or not a file); nothing was "
                               "packed");
    }
    return Fail(console, "pack: " + path + ": " + std::to_string(references.missing) +
                             (references.missing == 1 ? " file the world uses is" : " files the world uses are") +
                             " missing; nothing was packed");
  }
  // A damaged world is packed only when asked: what the read passed over
  // would be lost from the package without a word.
  if (references.damaged > 0 && !whatCanBeRead) {
    for (const std::string& problem : references.problems) console.err << "vesta: pack: " << problem << "\n";
    return Fail(console, "pack: " + path + ": the world is damaged (" + std::to_string(references.damaged) +
                             (references.damaged == 1 ? " record or field" : " records or fields") +
                             " cannot be read); pack what can be read with --damaged; nothing was packed");
  }
  for (const std::string& problem : references.problems) console.err << "vesta: pack: warning: " << problem << "\n";

  std::string folder = target;
  char separator = folder.find('\\') == std::string::npos && folder.find('/') != std::string::npos ? '/' : '\\';
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += separator;
  const std::string packed = folder + NamePart(path);
  if (Folded(FolderPart(path)) == Folded(folder) || Folded(packed) == Folded(path)) {
    return Fail(console, "pack: " + target + ": is the world's own folder; pack into another one");
  }
  if (packed.size() > 260) return Fail(console, "pack: " + packed + ": the path is too long");

  std::vector<Planned> plan = Plan(references, folder);
  int copied = 0;
  int renamed = 0;
  int reused = 0;
  int64_t bytes = 0;
  for (const Planned& entry : plan) {
    (entry.fate == Fate::kCopied ? copied : entry.fate == Fate::kRenamed ? renamed : reused) += 1;
    if (entry.fate != Fate::kReused) bytes += entry.source->size;
  }
  if (plan.size() != references.files.size()) return Fail(console, "pack: " + folder + ": no free name for a copy");

  if (dryRun) {
    for (const Planned& entry : plan) {
      const char* verb = entry.fate == Fate::kCopied ? "copy  " : entry.fate == Fate::kRenamed ? "rename" : "reuse ";
      console.out << verb << "  " << entry.source->path << " -> " << entry.destination << "\n";
    }
    console.out << "write   " << packed << (VSFileExists(packed.c_str()) ? " (replacing it)" : "") << "\n";
    console.out << "dry run: " << plan.size() << " files (" << copied << " to copy, " << renamed << " renamed, "
                << reused << " reused), " << Bytes(bytes) << "; nothing was changed\n";
    return Finish(console, kExitOk);
  }

  // The progress: what each element of the world brings.
  PackProgress progress;
  progress.files.assign(elements + 1, 0);
  progress.bytes.assign(elements + 1, 0);
  for (const Planned& entry : plan) {
    if (entry.fate == Fate::kReused) continue;
    size_t at = entry.source->element <= elements ? entry.source->element : elements;
    progress.files[at] += 1;
    progress.bytes[at] += entry.source->size;
  }
  for (size_t n = 1; n <= elements; ++n) {
    progress.files[n] += progress.files[n - 1];
    progress.bytes[n] += progress.bytes[n - 1];
  }
  Progress bar(console.err, console.errIsTerminal, console.width, copied + renamed, bytes);
  if (!quiet) progress.bar = &bar;

  if (!quiet) bar.Update(0, 0);
  bool packedBefore = VSFileExists(packed.c_str()) == 1;
  Attempt();
  auto started = std::chrono::steady_clock::now();
  if (!VSMakeFolders(folder.c_str())) return Fail(console, "pack: cannot make the folder " + FileProblem(folder));
  VSSetNormalisationVariables();
  CVNormBuilder builder;
  builder.NBInitialise();
  builder.NBSetTargetDirectory(folder.c_str());
  builder.NBSetClickCallback(OnElement, &progress);
  int result = builder.NBNormaliseFile(path.c_str());
  std::string problem = FileProblem("");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  char log[kVSBuffer] = "";
  VSGetNormaliserLogFile(log, sizeof log);

  if (!result) {
    if (!quiet && console.errIsTerminal) console.err << "\n";
    TakeBack(plan, packed, packedBefore);
    return Fail(console, "pack: " + path + " into " + folder + " failed" + (problem.empty() ? "" : ": " + problem) +
                             "; the copies it made are removed; the log is " + log);
  }
  if (!quiet) bar.Done();
  if (!quiet) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    console.out << "packed " << path << " into " << packed << "\n"
                << "  " << plan.size() << " files: " << copied << " copied, " << reused << " reused, " << renamed
                << " renamed; " << Bytes(bytes) << " in " << text << "\n"
                << "  log: " << log << "\n";
  }
  return Finish(console, kExitOk);
}

class PackCommand : public Command {
 public:
  void Declare(CLI::App& node) override {
    node.add_option("WORLD", world_, "The world file")->required()->check(kNamed);
    node.add_option("FOLDER", folder_, "The folder to pack into (made when missing)")->required()->check(kNamed);
    node.add_flag("--dry-run,-n", dryRun_, "List what would be copied and where, changing nothing");
    node.add_flag("--quiet,-q", quiet_, "Print nothing but errors");
    node.add_flag("--damaged", damaged_, "Pack a damaged world without the records and fields that cannot be read");
    node.footer(Example("vesta world pack C:\\VESTA\\worlds\\Sample.vwq C:\\Travel\\Sample"));
  }
  int Run(Console& console) const override { return Pack(console, world_, folder_, dryRun_, quiet_, damaged_); }

 private:
  std::string world_;
  std::string folder_;
  bool dryRun_ = false;
  bool quiet_ = false;
  bool damaged_ = false;
};

}  // namespace

const CommandEntry kWorldPack{"world", "pack",
                              "Copy the world and every file it uses into FOLDER, with the paths rewritten to travel",
                              Make<PackCommand>};

}  // namespace vesta::tool
