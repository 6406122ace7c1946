#include "vsetu/services/saver_config.h"

#include <cstring>
#include <string>

#include "common/paths.h"
#include "common/tag_field.h"
#include "common/text.h"
#include "platform/file_output.h"
#include "platform/file_system.h"
#include "vesta/vsetu.h"

namespace {

#define FIELD(tag, member) \
  { tag, offsetof(SaverConfig, member), sizeof(SaverConfig::member) }

const SaverField kFields[kSaverFieldCount] = {
    FIELD("", setupFile),           FIELD("[PRE]", pre),
    FIELD("[TIT]", title),          FIELD("[WEL]", welcome),
    FIELD("[WXT]", welcomeMore),    FIELD("[WOR]", world),
    FIELD("[TYP]", type),           FIELD("[JNA]", journeyName),
    FIELD("[JFN]", journeyFile),    FIELD("[URL]", url),
    FIELD("[WAB]", wab),            FIELD("[WPA]", worldPage),
    FIELD("[WTX]", worldText),      FIELD("[WJR]", journeyPage),
    FIELD("[JTX]", journeyText),    FIELD("[JOC]", joc),
    FIELD("[JRP]", jrp),            FIELD("[GPA]", graphicsPage),
    FIELD("[GTX]", graphicsText),   FIELD("[GRS]", resolution),
    FIELD("[GTS]", gts),            FIELD("[GSS]", gss),
    FIELD("[GFX]", renderer),       FIELD("[GAC]", gac),
    FIELD("[GAX]", gax),            FIELD("[OPA]", opa),
    FIELD("[OPX]", opx),            FIELD("[OSM]", osm),
    FIELD("[LPA]", lpa),            FIELD("[LPX]", lpx),
    FIELD("[LBR]", lbr),            FIELD("[LLL]", lll),
    FIELD("[LPR]", lpr),            FIELD("[TTA]", tta),
    FIELD("[TBL]", brandLink),      FIELD("[EPA]", epa),
    FIELD("[WWW]", www),            FIELD("[WBR]", brandSite),
    FIELD("[XWS]", moreWorldsText), FIELD("[XWU]", moreWorldsLink),
};

#undef FIELD

const char kFolderToken[] = "?VESTAVWQDIR?";

char* FieldText(SaverConfig* record, int index) {
  return reinterpret_cast<char*>(record) + kFields[index].offset;
}

void SetField(SaverConfig* record, int index, const char* text) {
  VUCopyN(FieldText(record, index), text, static_cast<int>(kFields[index].capacity) - 1);
}

// The field whose tag begins line, or -1.
int FieldOfLine(const char* line) {
  for (int index = 1; index < kSaverFieldCount; ++index) {
    if (std::strncmp(line, kFields[index].tag, kVUTagLength) == 0) return index;
  }
  return -1;
}

bool IsFolderField(int index) { return index == 5 || index == 8; }  // [WOR], [JFN]

}  // namespace

const SaverField& SaverFieldAt(int index) { return kFields[index]; }

int VSClearSaverConfig(SaverConfig* record) {
  if (record == nullptr) return 0;
  for (int index = 0; index < kSaverFieldCount; ++index) FieldText(record, index)[0] = '\0';
  return 1;
}

int VSSetSaverConfigDefaults(SaverConfig* record) {
  if (record == nullptr) return 0;
  char home[kVSBuffer] = "";
  VSGetVESTAHome(home);
  std::string journey = std::string(home) + "worlds" + "\\InputRecording1.vkp";
  const char* defaults[][2] = {
      {"[PRE]", "STATIC"},
      {"[TIT]", "Zentrix-3D Screensaver setup"},
      {"[WEL]",
       "For a new setup: (1) Select a world, (2) Select a journey through the world, and (3) Save "
       "setup to file."},
      {"[WXT]", "Or try the other options to change the graphics, the texts and the links."},
      {"[TYP]", "PREDEFINED"},
      {"[JNA]", "Camera moves, view changes"},
      {"[JFN]", journey.c_str()},
      {"[WPA]", "YES"},
      {"[WTX]", "Select the 3d world you want your screensaver to journey through"},
      {"[WJR]", "YES"},
      {"[JTX]", "Select a journey through the world."},
      {"[JOC]", "100"},
      {"[JRP]", "-1"},
      {"[GPA]", "YES"},
      {"[GTX]", "These settings help you trade off graphics quality against speed."},
      {"[GRS]", "800x600"},
      {"[GTS]", "auto"},
      {"[GSS]", "512"},
      {"[GFX]", "OpenGL"},
      {"[GAC]", "NO"},
      {"[OPA]", "YES"},
      {"[OSM]", "YES"},
      {"[LPA]", "YES"},
      {"[TTA]", "YES"},
      {"[TBL]", "http://www.zentrix-3d.com/"},
      {"[EPA]", "YES"},
      {"[WWW]", "YES"},
      {"[WBR]", "www.zentrix-3d.com"},
      {"[XWS]", "get more 3D worlds..."},
      {"[XWU]", "http://www.vesta3d.com/cgi-bin/rfinder.pl?type=saverlatest"},
  };
  for (const auto& entry : defaults) SetField(record, FieldOfLine(entry[0]), entry[1]);
  return 1;
}

int VSExpandSetupFolderToken(char* value, int size, const char* setupPath) {
  const size_t tokenLength = sizeof kFolderToken - 1;
  if (value == nullptr || std::strncmp(value, kFolderToken, tokenLength) != 0) return 1;
  if (setupPath == nullptr || setupPath[0] == '\0') return 0;
  size_t cut = std::strlen(setupPath);
  while (cut > 1 && setupPath[cut - 1] != '\\' && setupPath[cut - 1] != '/') --cut;
  if (cut <= 1) return 0;  // a separator in the first place does not count
  const char* rest = value + tokenLength;
  size_t restLength = std::strlen(rest);
  if (size <= 0 || cut + restLength >= static_cast<size_t>(size)) return 0;
  std::memmove(value + cut, rest, restLength + 1);
  std::memcpy(value, setupPath, cut);
  return 1;
}

int VSReadSaverConfigStream(SaverConfig* record, FILE* stream) {
  if (record == nullptr || stream == nullptr) return 0;
  char line[260];
  char value[kVUPathBuffer + 512];
  while (std::fgets(line, sizeof line, stream) != nullptr) {
    VUTrimLineEnd(line);
    int index = FieldOfLine(line);
    if (index < 0) continue;
    if (!VUGetTaggedValue(kFields[index].tag, line, value, 260)) continue;
    if (IsFolderField(index)) VSExpandSetupFolderToken(value, sizeof value, record->setupFile);
    SetField(record, index, value);
  }
  return 1;
}

int VSReadSaverConfigFile(SaverConfig* record, const char* path) {
  if (record == nullptr || path == nullptr || path[0] == '\0') return 0;
  FILE* stream = vesta::platform::OpenStream(path, "r");
  if (stream == nullptr) return 0;
  VSReadSaverConfigStream(record, stream);
  std::fclose(stream);
  return 1;
}

int VSLoadSaverConfig(const char* path, SaverConfig* record) {
  if (record == nullptr) return 0;
  VSClearSaverConfig(record);
  VSSetSaverConfigDefaults(record);
  SetField(record, 0, path);
  VSReadSaverConfigFile(record, path);
  return 1;
}

int VSWriteSaverConfigFile(SaverConfig* record, const char* path) {
  if (record == nullptr || path == nullptr || path[0] == '\0') return 0;
  std::string text;
  char field[kVUFieldBuffer];
  int length = 0;
  for (int index = 1; index < kSaverFieldCount; ++index) {
    const char* value = FieldText(record, index);
    if (value[0] == '\0') continue;
    VUFormatTextField(field, kFields[index].tag, value, &length);
    text.append(field, static_cast<size_t>(length));
    text += '\n';
  }
  // A setup that did not reach the disk is not reported as written, and
  // leaves the old one whole.
  return vesta::platform::ReplaceWholeFile(path, text, vesta::platform::FileMode::kText) ? 1 : 0;
}
