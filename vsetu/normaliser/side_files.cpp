// The side files of a world (".nss", ".vss") and its catalogue, rewritten
// once copied; and normalising one world file in one call, which the
// catalogue also does for the worlds it names.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "actions/dependants.h"
#include "actions/file_copy.h"
#include "common/paths.h"
#include "common/text.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "platform/windows_names.h"
#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"
#include "vsetu/normaliser/side_file_name.h"
#include "vsetu/normaliser/normaliser.h"
#include "vsetu/services/saver_config.h"

namespace vesta::vsetu {

bool FirstLine(const char* path, std::string* line) {
  if (path == nullptr || path[0] == '\0') return false;
  FILE* stream = platform::OpenStream(path, "r");
  if (stream == nullptr) return false;
  char text[260];
  bool read = std::fgets(text, sizeof text, stream) != nullptr;
  std::fclose(stream);
  if (!read) return false;
  VUTrimLineEnd(text);
  *line = text;
  return true;
}

std::string SetupFileNamedBy(const char* nssFile) {
  std::string line;
  if (!FirstLine(nssFile, &line) || line.empty()) return std::string();
  if (!VUHasExtension(line.c_str(), ".vss") || !VUFileExists(line.c_str())) return std::string();
  return line;
}

}  // namespace vesta::vsetu

int CVNormBuilder::NBConvertNSSToRelative(const char* path) {
  vesta::vsetu::LogStep step;
  std::string line;
  // A file without a first line, or whose first line is empty, names no
  // setup file: it is left as it is.
  if (!vesta::vsetu::FirstLine(path, &line) || line.empty()) return 0;
  char rewritten[kVUPathBuffer];
  VUCopyN(rewritten, line.c_str(), kVUMaxPath);
  // The setup file travels with the world: name its copy, not the original
  // that stays behind.
  if (vssFile[0] != '\0' && vssCopy[0] != '\0' && VUCompareN(rewritten, vssFile, kVUPathBuffer)) {
    VUCopyN(rewritten, vssCopy, kVUMaxPath);
  }
  if (!NBConvertToRelative(rewritten)) return 0;
  std::string text = std::string(rewritten) + "\n";
  return vesta::platform::ReplaceWholeFile(path, text, vesta::platform::FileMode::kText) ? 1 : 0;
}

int CVNormBuilder::NBConvertVSSToRelative(const char* path) {
  vesta::vsetu::LogStep step;
  SaverConfig config;
  VSLoadSaverConfig(path, &config);
  bool failed = false;
  if (config.journeyFile[0] != '\0') {
    char journey[kVUPathBuffer] = "";
    if (VUHasExtension(config.journeyFile, ".vvc")) {
      failed = !(NBCopyToTarget(config.journeyFile, targetFolder, journey) && VUCopyKOLBDependants(journey) &&
                 VURelativiseKOLBDependants(journey) && NBConvertToRelative(journey));
      if (!failed) VUCopyToField(config.journeyFile, journey);
    } else if (VUHasExtension(config.journeyFile, ".vkp")) {
      failed = !(NBCopyToTarget(config.journeyFile, targetFolder, journey) && NBConvertToRelative(journey));
      if (!failed) VUCopyToField(config.journeyFile, journey);
    }
  }
  // The world path is rewritten but not copied. When it names the world
  // being normalised, it names the normalised world beside the setup file.
  char world[kVUPathBuffer];
  VUCopyN(world, config.world, kVUMaxPath);
  char name[kVUPathBuffer];
  if (sourceFile[0] != '\0' && VUCompareN(world, sourceFile, kVUPathBuffer) && VUGetNamePart(name, sourceFile)) {
    std::string normalised = std::string(targetFolder) + name;
    if (normalised.size() <= static_cast<size_t>(kVUMaxPath)) VUCopyN(world, normalised.c_str(), kVUMaxPath);
  }
  NBConvertToRelative(world);
  VUCopyToField(config.world, world);
  if (failed) return 0;
  return VSWriteSaverConfigFile(&config, path);
}

int CVNormBuilder::NBConvertVFTToRelative(const char* path) {
  vesta::vsetu::LogStep step;
  std::unique_ptr<CVFileTypeList> catalogue(new (std::nothrow) CVFileTypeList);
  if (catalogue == nullptr) return 1;
  catalogue->FLInitialise();
  catalogue->FLPrepare();
  if (!catalogue->FLLoadFileTypeList(path)) return 1;
  catalogue->FLSetNormaliseOnSave(1);
  return catalogue->FLSaveFileTypeList(path);
}

namespace {

std::string Folded(const char* path) { return vesta::platform::FoldPath(path); }

}  // namespace

int NUNormaliseVIQFile(const char* worldFile, const char* targetFolder) {
  if (worldFile == nullptr || !VUFileExists(worldFile)) return 0;
  vesta::vsetu::LogStep step;
  // A world that names itself, through its catalogue or further down, is
  // not normalised again inside its own normalisation.
  vesta::vsetu::Normaliser& normaliser = vesta::vsetu::Normaliser::Process();
  const std::string key = Folded(worldFile);
  if (!normaliser.BeginWorld(key)) {
    vesta::vsetu::Log(std::string("   Already being normalised: ") + worldFile + "\n");
    return 1;
  }
  // Under way until this normalisation returns, whichever way it returns.
  struct Running {
    vesta::vsetu::Normaliser& normaliser;
    const std::string& key;
    ~Running() { normaliser.EndWorld(key); }
  } running{normaliser, key};
  std::unique_ptr<CVNormBuilder> builder(new (std::nothrow) CVNormBuilder);
  if (builder == nullptr) return 0;
  builder->NBInitialise();
  // Outermost (no step of another normalisation under way): afresh.
  if (normaliser.Outermost()) {
    VUForgetCopies();
    VUForgetShapesDone();
  }

  // The world is read once, record by record: an outer normalisation's
  // list and world record stay as they are.
  builder->NBSetTargetDirectory(targetFolder);
  builder->NBSetClickCallback(nullptr);
  vesta::platform::MakeFolder(targetFolder);  // it may exist already
  return builder->NBNormaliseFile(worldFile);
}
