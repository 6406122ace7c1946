// VSetu, the setup and services library: the file-type catalogue, the world
// normaliser (vsetu_normaliser.h), installation folders and well-known
// files, input maps, the renderer list, the screensaver, and the shell
// services: shortcuts, shell folders and the hyperlink control
// (vsetu_shell.h); for tools, the machine and its files (vsetu_machine.h),
// the registry (vsetu_registry.h) and the packages (vsetu_packages.h).
//
// Results. Operations return 1 for success and 0 for failure, except
// these, which always return 0: VSetuInitialise, VSetuTerminate,
// VSInitKeyBuf, VSInitJoyBuf, VSLoadJoyBuf, VSAddShortcutToStartUp,
// VSAddShortcutToStartMenu, CTheList::TLInitialise,
// CVNormBuilder::NBSetItemCount and NBGetItemCount; and those whose comment
// gives another meaning (counts, -1/0/1 answers). A failed operation leaves
// its output buffers untouched unless its comment says otherwise. A file
// that cannot be read or written leaves "path: reason" for
// VSGetLastFileProblem (the property store's FFGetLastFileProblem tells the
// same); a registry request that cannot be done leaves its reason for
// VSRegGetLastProblem. The error slot (VSSetError, VSGetError) holds a code
// that one caller leaves for another; VSErrorText gives the text of the
// property store's codes.
//
// Output buffers are the caller's and hold at least 264 bytes (kVSBuffer);
// paths longer than that are refused (0, the buffer untouched). Texts are in
// the Western code page (1252).
//
// Paths are Windows paths ("C:\VESTA\worlds\Sample.vwq"). On Linux the
// machine's drive C: is the folder VESTA_ROOT names and its registry the
// hive files under it; a path that would lead outside it is refused.
// VSGetHostPath gives the host's path of a Windows path.
//
// Threads: one thread at a time may use the library. The installation-
// folder cache, the error and comment slots, the COM flag, the renderer
// list's position and the normaliser are process-wide; the last file
// problem is the calling thread's.
#ifndef VESTA_VSETU_H
#define VESTA_VSETU_H

#include "vesta/export.h"
#include "vesta/vprop.h"
#include "vesta/vsetu_machine.h"
#include "vesta/vsetu_normaliser.h"
#include "vesta/vsetu_packages.h"
#include "vesta/vsetu_registry.h"
#include "vesta/vsetu_shell.h"

// Buffer of every text the operations give back.
constexpr int kVSBuffer = 264;

// ---------------------------------------------------------------------------
// The file-type catalogue: what an item looks like and does, by the ending
// of the file it stands for. A text field that is empty is "not set"; an
// integer field of -1 is "not set".

namespace vesta::vsetu {
class EndingIndex;
}

// How a record knows the catalogue that holds it: the catalogue's index by
// ending, or null. Not copied with the record.
struct CVCatalogueLink {
  CVCatalogueLink() = default;
  CVCatalogueLink(const CVCatalogueLink&) {}
  CVCatalogueLink& operator=(const CVCatalogueLink&) { return *this; }
  vesta::vsetu::EndingIndex* index = nullptr;
};

class VSETU_API CVFileType {
 public:
  CVFileType();
  // A record deleted while in a catalogue leaves it.
  ~CVFileType();

  // Every text empty, both integers -1. Returns 1.
  int FTInitialise();
  int FTTerminate();

  // Getters copy the field into out (261 bytes) and return 1; 0, out
  // untouched, when the field is not set. Setters copy at most 260
  // characters and return 1.
  int FTGetFileType(char* out);
  int FTSetFileType(const char* text);
  int FTGetFileEnding(char* out);
  int FTSetFileEnding(const char* text);
  int FTGetExecutable(char* out);
  int FTSetExecutable(const char* text);
  int FTGetCommandLine(char* out);
  int FTSetCommandLine(const char* text);
  int FTGetWorkingDir(char* out);
  int FTSetWorkingDir(const char* text);
  int FTGetKOLBFile(char* out);
  int FTSetKOLBFile(const char* text);
  int FTGetUnSelectedShape(char* out);
  int FTSetUnSelectedShape(const char* text);
  int FTGetSelectedShape(char* out);
  int FTSetSelectedShape(const char* text);
  int FTGetTexture(char* out);
  int FTSetTexture(const char* text);
  int FTGetIconIndex(char* out);
  int FTSetIconIndex(const char* text);
  int FTGetSelectedSound(char* out);
  int FTSetSelectedSound(const char* text);
  int FTGetCollideSound(char* out);
  int FTSetCollideSound(const char* text);
  int FTGetOpenSound(char* out);
  int FTSetOpenSound(const char* text);
  int FTGetDeleteSound(char* out);
  int FTSetDeleteSound(const char* text);
  int FTGetTiling(int* out);
  int FTSetTiling(int value);
  int FTGetFootPrintDisabled(int* out);
  int FTSetFootPrintDisabled(int value);

  // Initialises this record, then copies every field set in other.
  int FTCopyFrom(CVFileType* other);
  // 1 and the tag's code (0 to 15) when line begins with one of the
  // record's tags; 0, code untouched, otherwise.
  int FTIsFileTypeTag(const char* line, int* code);
  // Copies the set fields into the item (icon index and tiling only with a
  // texture). Returns 1.
  int FTType2Prop(CItemProp* item);
  // Copies the item's fields into the record. Returns 1.
  int FTProp2Type(CItemProp* item);

  char typeName[261];         // [TYP]
  char ending[261];           // [END]
  char executable[261];       // [EXC]
  char commandLine[261];      // [CMD]
  char workingFolder[261];    // [DIR]
  char kolbFile[261];         // [KOL]
  char unselectedShape[261];  // [USH]
  char selectedShape[261];    // [SHP]
  char texture[261];          // [TXT]
  char iconIndex[261];        // [ICO]
  char selectedSound[261];    // [SND]
  char collideSound[261];     // [COL]
  char openSound[261];        // [OPN]
  char deleteSound[261];      // [DEL]
  int32_t footprintDisabled;  // [FOO]
  int32_t tiling;             // [TIL]

  // The library's own: the catalogue that holds the record, told when its
  // ending changes. A copy of a record is in no catalogue.
  CVCatalogueLink catalogue;
};

// The catalogue: records in the order they were added (the order of the
// file they were loaded from), owned by the catalogue. One cursor is shared
// by the walks, the searches, the deletions and the writer.
class VSETU_API CVFileTypeList {
 public:
  CVFileTypeList();
  // Deletes every record.
  ~CVFileTypeList();
  CVFileTypeList(const CVFileTypeList&) = delete;
  CVFileTypeList& operator=(const CVFileTypeList&) = delete;

  // No path, both flags clear, no list. Call once after construction.
  int FLInitialise();
  // Deletes every record and makes a new, empty list.
  int FLPrepare();
  // Appends the record, which the catalogue then owns. 0 (the caller keeps
  // it) when there is no list.
  int FLAddFileType(CVFileType* record);
  // Deletes every record and the list itself. Returns 1.
  int FLDeleteAllFileTypes();
  // Deletes the first record when it has this type name; else every later
  // record that has it. 1 when one was deleted.
  int FLDeleteFileType(const char* name);
  // The walk of the records in list order, on the catalogue's one cursor:
  // the first record / the one after the cursor, into *record (which the
  // catalogue still owns). 0, *record untouched, when there is none (no
  // list, an empty list, past the last).
  int FLGetFirstFileType(CVFileType** record);
  int FLGetNextFileType(CVFileType** record);
  // Reads a catalogue file (".vft") into a fresh list.
  int FLLoadFileTypeList(const char* path);
  // Writes the catalogue file; a failed save leaves the old file whole. 0
  // for an empty catalogue (the file is then emptied).
  int FLSaveFileTypeList(const char* path);
  int FLSetDeRelativiseOnLoad(int flag);
  int FLSetNormaliseOnSave(int flag);

  // The record whose ending the name ends with, longest ending first.
  int FLFindFileMatch(const char* name, CVFileType** record);
  // The last record whose ending is exactly this text.
  int FLFindFileEnding(const char* ending, CVFileType** record);
  // The first record if it has this type name, else the last one that has.
  int FLFindFileType(const char* name, CVFileType** record);
  // Fills the item from the record that matches its target.
  int FLMatchFillItemProp(CItemProp* item);
  // Adds the records of another catalogue file whose endings this one lacks.
  int FLLoadNewTypesFrom(const char* path);

  char cataloguePath[261];
  int32_t deRelativiseOnLoad;
  int32_t normaliseOnSave;
  VUList* types;  // owned

 private:
  // The index of types by ending, made with the list; null when none could be.
  vesta::vsetu::EndingIndex* Index();
  vesta::vsetu::EndingIndex* index_;  // owned
};

// The fields of a file-type record that name a file, in the order of the
// catalogue file: tag, what the field is to a person, and the kind of file
// (VPFileKind; the command line, program and working folder are
// kVPFileProgram). A catalogue saved to travel has the other kinds copied
// beside it and every one rewritten into the relative form.
struct VSTypeFileField {
  const char* tag;   // "[USH]"
  const char* what;  // "unselected shape"
  int kind;          // VPFileKind
};
// The table; *count gets the number of its entries.
VSETU_API const VSTypeFileField* VSTypeFileFields(int* count);
// The field's text (its full capacity) in record. Null when either is null
// or field is not an entry of the table.
VSETU_API char* VSTypeFileFieldText(CVFileType* record, const VSTypeFileField* field);

// The program and command line that open files of this ending (from
// HKEY_CLASSES_ROOT), into buffers of 261 bytes.
VSETU_API int VSResolveAssociation(const char* ending, char* program, char* commandLine);
// The icon of files of this ending: icon file and index.
VSETU_API int VSFindIconForEnding(const char* ending, char* iconFile, char* iconIndex);
// The icon of a file type name.
VSETU_API int VSFindIconForFileType(const char* typeName, char* iconFile, char* iconIndex);

// ---------------------------------------------------------------------------
// Installation folders and settings.

// The installation folder ("Home" under HKEY_LOCAL_MACHINE
// "SOFTWARE\vesta3d\VESTA\CurrentVersion", ending with a back-slash), read
// once and kept for the life of the process.
VSETU_API int VSGetVESTAHome(char* out);
// Writes the registry value; the folder already read stays in use.
VSETU_API int VSSetVESTAHome(const char* folder);
VSETU_API int VSGetUserDesktop(char* out);
VSETU_API int VSSetUserDesktop(const char* text);
VSETU_API int VSGetProgramFilesDir(char* out);

// home + "bin", "media", "temp", "worlds" (no back-slash between).
VSETU_API int VSGetBinDir(char* out);
VSETU_API int VSGetMediaDir(char* out);
VSETU_API int VSGetTempDir(char* out);
VSETU_API int VSGetWorldDir(char* out);
// bin + "\VHelp.hlp", bin + "\VStrings.ifs", worlds + "\VESTA.vft".
VSETU_API int VSGetVESTAHelpFile(char* out);
VSETU_API int VSGetLoadStringFile(char* out);
VSETU_API int VSGetFileTypeFile(char* out);

// The first free temp + "\Vt0000.tmp" ... "\Vt9998.tmp" (no file is made).
VSETU_API int VSGetTempName(char* out);
// temp + "\World" + a name stamp + ".vud", when that file does not exist.
VSETU_API int VSGetVUDName(char* out);
// Delete every temp\Vt*.tmp or temp\World*.vud; 1 when one was found.
VSETU_API int VSDeleteAllTempFiles();
VSETU_API int VSDeleteAllVUDFiles();

// media + "\_" + user name + "_VESTA3D.bmp".
VSETU_API int VSGetUserWallPaperFileName(char* out);
// Makes the bitmap the desktop wallpaper.
VSETU_API int VSApplyUserWallPaperFile(const char* path);

// A numeric code one caller leaves for another; -1 is none. Always 1.
VSETU_API int VSSetError(int code);
// The text of a code: "no code" for -1, else the property store's text of
// it (FFErrorText: "an unknown code" for a code of neither library). Never
// null.
VSETU_API const char* VSErrorText(int code);
// 0 when no code is recorded, else 1 and the code.
VSETU_API int VSGetError(int* code);
// A text one caller leaves for another ("VSetu.dll" at first). Always 1.
VSETU_API int VSSetComment(const char* text);
// 0 when the text is empty, else 1 and a copy.
VSETU_API int VSGetComment(char* out);

// Starts COM for the calling thread (before shortcuts and shell folders);
// always 0.
VSETU_API int VSetuInitialise();
// Ends COM when VSetuInitialise started it; always 0.
VSETU_API int VSetuTerminate();
// Does nothing; always 1.
VSETU_API int VSInit();

// ---------------------------------------------------------------------------
// Input maps, kept under HKEY_CURRENT_USER
// "Software\vesta3d\Vesta\CurrentVersion". A table is an array of pairs of
// ints; the caller passes its first pair.

constexpr int kVSKeyRows = 24;  // (virtual-key code, action code)
constexpr int kVSJoyRows = 4;   // (setting, direction code)
constexpr int kVSJoyButtonRows = 4;  // (unused, key code)

VSETU_API int VSInitKeyBuf(int (*table)[2]);      // always 0
VSETU_API int VSLoadKeyBuf(int (*table)[2]);      // always 1
VSETU_API int VSSaveKeyBuf(int (*table)[2]);      // always 1
VSETU_API int VSInitJoyBuf(int (*table)[2]);      // always 0
VSETU_API int VSLoadJoyBuf(int (*table)[2]);      // always 0
VSETU_API int VSSaveJoyBuf(int (*table)[2]);      // always 1
VSETU_API int VSInitJoyTrigger(int (*table)[2]);  // always 1
VSETU_API int VSLoadJoyTrigger(int (*table)[2]);  // always 1
VSETU_API int VSSaveJoyTrigger(int (*table)[2]);  // always 1
// A mouse setting under a name the caller chooses.
VSETU_API int VSSetMouseConfigCmd(const char* name, int setting);
VSETU_API int VSGetMouseConfigCmd(const char* name, int* setting);

// ---------------------------------------------------------------------------
// Renderer libraries: HKEY_LOCAL_MACHINE "SOFTWARE\vesta3d\VESTA\VGXLib_n"
// with "LibTitle" and "LibFile", n = 0, 1, ... up to the first gap. The
// walks, finds and adds move one process-wide current entry.

VSETU_API int VSGetFirstVGXEntry(char* title, char* file);
VSETU_API int VSGetNextVGXEntry(char* title, char* file);
// The file of the first entry with exactly this title.
VSETU_API int VSFindVGXEntry(const char* title, char* file);
// Writes a new entry after the last one.
VSETU_API int VSAddVGXEntry(const char* title, const char* file);
// Empties the current entry's texts.
VSETU_API int VSNullifyCurrentVGXEntry();
// Makes sure "OpenGL" (VOpGL.dll) and "DirectX" (VDXRM.dll) are listed.
VSETU_API int VSSetStockVGXEntries();

// ---------------------------------------------------------------------------
// The screensaver, bin + "\Zentrix-3D.scr".

VSETU_API int VSIsScreensaverInstalled();
VSETU_API int VSInstallScreensaver();
VSETU_API int VSUnInstallScreensaver();
// Makes the sample world the screensaver's world ("UseWorld" under
// HKEY_CURRENT_USER "Software\Zentrix-3D\Screensaver\Settings").
VSETU_API int VSSetDefaultScreensaver();

#endif
