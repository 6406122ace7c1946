// The screensaver's setup file (".vss"): one tagged field a line, in the
// field form of the world file, no framing. A "[WOR]" or "[JFN]" value
// that begins with "?VESTAVWQDIR?" is relative to the setup file's folder.
#ifndef VESTA_VSETU_SERVICES_SAVER_CONFIG_H
#define VESTA_VSETU_SERVICES_SAVER_CONFIG_H

#include <cstddef>
#include <cstdio>

// The setup record. Capacities count the terminator; the fields after the
// first are in the order the writer writes them.
struct SaverConfig {
  char setupFile[261];      // the file read into the record; never written
  char pre[16];             // [PRE]
  char title[128];          // [TIT] title of the setup dialog
  char welcome[256];        // [WEL]
  char welcomeMore[256];    // [WXT]
  char world[256];          // [WOR] the world to fly through
  char type[32];            // [TYP]
  char journeyName[256];    // [JNA]
  char journeyFile[256];    // [JFN] the recorded journey
  char url[256];            // [URL]
  char wab[256];            // [WAB]
  char worldPage[8];        // [WPA]
  char worldText[256];      // [WTX]
  char journeyPage[8];      // [WJR]
  char journeyText[256];    // [JTX]
  char joc[8];              // [JOC]
  char jrp[8];              // [JRP]
  char graphicsPage[8];     // [GPA]
  char graphicsText[256];   // [GTX]
  char resolution[32];      // [GRS] width x height
  char gts[32];             // [GTS]
  char gss[32];             // [GSS]
  char renderer[256];       // [GFX] renderer title
  char gac[8];              // [GAC]
  char gax[256];            // [GAX]
  char opa[8];              // [OPA]
  char opx[256];            // [OPX]
  char osm[8];              // [OSM]
  char lpa[8];              // [LPA]
  char lpx[256];            // [LPX]
  char lbr[128];            // [LBR]
  char lll[256];            // [LLL]
  char lpr[256];            // [LPR]
  char tta[8];              // [TTA]
  char brandLink[256];      // [TBL]
  char epa[8];              // [EPA]
  char www[8];              // [WWW]
  char brandSite[256];      // [WBR]
  char moreWorldsText[256]; // [XWS]
  char moreWorldsLink[256]; // [XWU]
};

constexpr int kSaverFieldCount = 40;

// A field of the record: its tag ("" for the first) and where it lives.
struct SaverField {
  const char* tag;
  size_t offset;
  size_t capacity;
};
const SaverField& SaverFieldAt(int index);

// Defaults overlaid with the file's fields; field 0 is path. Always 1 (0
// for a null record).
int VSLoadSaverConfig(const char* path, SaverConfig* record);
// Every field empty.
int VSClearSaverConfig(SaverConfig* record);
// The defaults.
int VSSetSaverConfigDefaults(SaverConfig* record);
// Reads the file's fields into the record. 0 when the path is empty or the
// file cannot be opened.
int VSReadSaverConfigFile(SaverConfig* record, const char* path);
// The same from an open stream; field 0 must hold the file's path.
int VSReadSaverConfigStream(SaverConfig* record, FILE* stream);
// Writes every non-empty field after the first, in record order. 0 when
// the path is empty or the file cannot be created.
int VSWriteSaverConfigFile(SaverConfig* record, const char* path);
// Replaces a leading "?VESTAVWQDIR?" of value (size bytes) with the setup
// file's folder. 1 when there was no token or it was replaced; 0 (value
// untouched) when the setup path has no folder or the result does not fit.
int VSExpandSetupFolderToken(char* value, int size, const char* setupPath);

#endif
