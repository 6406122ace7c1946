// VProp, the property store: the world, room and item records of a VESTA
// world, their tag file (".vwq"), and the gather list.
//
// Records are plain classes passed by pointer. Construction leaves a record
// undefined (only its owned pointer is cleared, so that destroying a record
// that was never initialised is safe); the initialise operation sets the
// defaults, the terminate operation frees what the record owns, and the
// destructor calls the terminate operation.
//
// Results. Operations return 1 for success and 0 for failure, except these,
// which always return 0: WPSetBuildNumbers, IPCopyFrom. A failed operation
// leaves its output parameters as they were, unless its comment says
// otherwise; a failed load may have set some fields of the record. The
// loads, saves, writes and reads leave a code in the error slot
// (FFGetError, the codes and FFErrorText below), and a file that cannot be
// opened, read or written leaves "path: reason" (FFGetLastFileProblem).
//
// Texts are 8-bit strings in the Western code page (1252), in fixed arrays
// of capacity + 1 bytes; a longer value given to a setter or read from a
// file is cut to the capacity. In the tag file a field is written on a line
// of at most 266 characters, so a text value of more than 256 characters
// (260 is the capacity of names, paths and command lines) is written cut to
// 256: the save succeeds with kFFErrorValueCut, naming the field and how
// much was cut.
//
// Paths are Windows paths ("C:\VESTA\worlds\Sample.vwq"). On Linux they
// are the machine's under VESTA_ROOT, as the setup library's paths are; a
// path that would lead outside it is refused. Streams passed in are the
// caller's: the library reads or writes at their position and never closes
// them.
//
// Threads: one thread at a time may use the library. The error slot, the
// comment slot, the line-break counter and the world reader's current mark
// are library-wide; the last file problem is the calling thread's.
#ifndef VESTA_VPROP_H
#define VESTA_VPROP_H

#include <cstdint>
#include <cstdio>

#include "vesta/export.h"

class CMarkList;
struct VUList;

// ---------------------------------------------------------------------------
// World record: tag "[WORL]".
class VPROP_API CWorldProp {
 public:
  CWorldProp();
  ~CWorldProp();
  CWorldProp(const CWorldProp&) = delete;
  CWorldProp& operator=(const CWorldProp&) = delete;

  // Every field to its default and a new, empty mark list. 0 when the mark
  // list cannot be made (the fields are set all the same). A record that
  // holds a mark list must be terminated first: this does not free it.
  int WPInitialise();
  // Frees the mark list. Returns 1.
  int WPTerminate();
  // first into the first build number, fourth into the second and, unless
  // fifth is -1, fifth into the third, as decimal text; second and third
  // are not used. Returns 0.
  int WPSetBuildNumbers(int first, int second, int third, int fourth, int fifth);
  // Copies every field and makes the mark list a copy of the source's (a
  // record without a list gets one; a source without a list gives an empty
  // one). Returns 1.
  int WPCopyFrom(const CWorldProp* source);

  char firstBuild[8];            // [UBR]
  char secondBuild[8];           // [UBS]
  char thirdBuild[8];            // [UBF]
  char clnText[261];             // [CLN]
  int32_t mapNumber;             // [MAP]
  int32_t snoValue;              // [SNO]
  int32_t iconNumber;            // [ICN]
  int32_t acdValue;              // [ACD]
  char worldName[261];           // [NAM]
  char rwnText[261];             // [RWN]
  char fileTypeCatalogue[261];   // [FTY] path of the world's catalogue
  int32_t bakValue;              // [BAK]
  char dexFile[261];             // [DEX]
  char deiIndex[17];             // [DEI]
  char uufShape[261];            // [UUF]
  char mufShape[261];            // [MUF]
  CMarkList* markList;           // [MKJ] ... [MKE], owned
};

// ---------------------------------------------------------------------------
// Item record: tag "[ITEM]".
class VPROP_API CItemProp {
 public:
  CItemProp();
  ~CItemProp();

  // Every field to its default: texts empty (the texture icon "1"), the
  // indices -1, the item standing at (0, 1.4, 1) facing +z, upright,
  // unselected. Returns 1.
  int IPInitialise();
  // Nothing to free. Returns 1.
  int IPTerminate();
  // Item index and room index to -1.
  int IPInitIndices();
  // Makes the item the user at distance d (index 0, " You, The User ").
  int IPSetToTheUser(float d);
  // Makes the item the room mate at distance d (index 1, " RoomMate ").
  int IPSetToRoomMate(float d);
  int IPIsThisTheUser();
  int IPIsThisRoomMate();
  int IPIsSelected();
  // 1 when the name is not empty and DSF is above 0.
  int IPIsObjectViable();
  // 1 when the special type is 1, 2 or 3.
  int IPIsThisArchitecture();
  int IPSetCOGChanged(int changed);
  int IPIsCOGChanged();
  int IPSetForceReload(int reload);
  int IPIsForceReload();
  // Copies every field but the force-reload field, the spare index, the
  // COG-changed flag and the placement frames. Returns 0.
  int IPCopyFrom(const CItemProp* source);

  int32_t spareInteger1;          // not stored
  int32_t spareInteger2;          // not stored
  int32_t itemIndex;              // [ITI] 0 the user, 1 the room mate
  int32_t roomIndex;              // [IPS]
  int32_t igpValue;               // [IGP]
  char name[261];                 // [INA]
  char target[261];               // [TGT]
  char workingFolder[261];        // [WDR]
  char fileType[261];             // [FTY]
  float posX, posY, posZ;         // [XCO] [YCO] [ZCO]
  float uclValue;                 // [UCL]
  float dclValue;                 // [DCL]
  float uzoValue;                 // [UZO]
  float szoValue;                 // [SZO]
  float mzoValue;                 // [MZO]
  char commandLine[261];          // [CMD]
  char kolbFile[261];             // [RVC]
  char selectedShape[261];        // [SSS]
  char texture[261];              // [PIF]
  char textureIcon[17];           // [PIX]
  char unselectedShape[261];      // [XFL]
  char collideSound[261];         // [COS]
  char selectedSound[261];        // [SES]
  char openSound[261];            // [OPS]
  char deleteSound[261];          // [XDS]
  int32_t specialType;            // [SPT]
  int32_t wtpValue;               // [WTP]
  int32_t tiling;                 // [TLE]
  int32_t funValue;               // [FUN]
  int32_t footprintDisabled;      // [FPD]
  int32_t alaValue;               // [ALA]
  int32_t forceReload;            // [RLO]
  float dsfValue;                 // [DSF]
  int32_t selected;               // [SEL]
  int32_t isgValue;               // [ISG]
  float facingX, facingY, facingZ;  // [FFX] [FFY] [FFZ]
  float upX, upY, upZ;              // [FAX] [FAY] [FAZ]
  int32_t footprint;              // [FPT]
  char ftfText[261];              // [FTF]
  char spareText[261];            // not stored
  int32_t spareIndex;             // neither copied nor stored
  int32_t cogChanged;             // neither copied nor stored
  float frames[3][9];             // neither copied nor stored
  float closing[3];               // not stored
};

// ---------------------------------------------------------------------------
// Room record: tag "[SECT]" (a room is a sector in the file).
class VPROP_API CRoomProp {
 public:
  CRoomProp();
  ~CRoomProp();
  CRoomProp(const CRoomProp&) = delete;
  CRoomProp& operator=(const CRoomProp&) = delete;

  // Every field to its default; forgets the vertex list without freeing
  // it, so a record that holds vertices must be terminated first.
  int RPInitialise();
  // Frees the vertices and their list.
  int RPTerminate();
  // A new desktop room whose media come from folder.
  int RPSeedProperties(const char* folder);
  // Turns the record into the desktop room in place.
  int RPSeedDesktop();
  // 1 when the room can be built: a name, 3 to 64 sides, side length and
  // wall height from 1 to 256, and the three textures.
  int RPIsObjectViable();
  // Room index to -1.
  int RPSetFirstBuild();
  // 1 when the folder is set and exists.
  int RPIsDirectoryViable();
  // Places the room as the one that item leads into.
  int RPMakeChildOf(const CItemProp* item);
  // Copies every field and appends copies of the source's vertices. 0 when
  // memory for a vertex runs out.
  int RPCopyFrom(const CRoomProp* source);

  int32_t roomIndex;              // [RIX]
  int32_t parentRoomIndex;        // [PSX]
  int32_t parentItemIndex;        // [PIX]
  char roomName[65];              // [RNA]
  char folder[261];               // [DNA]
  float posX, posY, posZ;         // [XCS] [YCS] [ZCS]
  float elhValue;                 // [ELH]
  float facingX, facingY, facingZ;  // [SFX] [SFY] [SFZ]
  float upX, upY, upZ;              // [SAX] [SAY] [SAZ]
  int32_t wlnValue;               // [WLN]
  int32_t sideCount;              // [NSI]
  float sideLength;               // [LSI]
  float wallHeight;               // [HSI]
  int32_t wallTiling;             // [WTI]
  int32_t floorTiling;            // [FTI]
  int32_t ceilingTiling;          // [CTI]
  int32_t phyValue;               // [PHY]
  char ceilingTexture[261];       // [CTX]
  char ceilingIcon[17];           // [CII]
  char floorTexture[261];         // [FTX]
  char floorIcon[17];             // [FII]
  char wallTexture[261];          // [WTX]
  char wallIcon[17];              // [WII]
  char hitSound[261];             // [HSN]
  char usnSound[261];             // [USN]
  char bsnSound[261];             // [BSN]
  char doorTexture[261];          // [DTX]
  char doorKolbFile[261];         // [DVA]
  int32_t adtValue;               // [ADT]
  int32_t skyValue;               // [SKY]
  int32_t dsnValue;               // [DSN]
  int32_t issValue;               // [ISS]
  int32_t isbValue;               // [ISB]
  float trmValue;                 // [TRM]
  float rstValue;                 // [RST]
  int32_t jenValue;               // [JEN]
  int32_t jixValue;               // [JIX]
  char jwlText[261];              // [JWL]
  int32_t footprint;              // [FPT]
  int32_t cufValue;               // [CUF]
  int32_t wzyValue;               // [WZY]
  VUList* vertices;               // [FVE] one per vertex; owned
};

// ---------------------------------------------------------------------------
// Gather list: a data file of four-line entries, each a file meant for a
// room with the icon that shows it.
class VPROP_API CVGather {
 public:
  CVGather();
  // Closes the open data file.
  ~CVGather();
  CVGather(const CVGather&) = delete;
  CVGather& operator=(const CVGather&) = delete;

  int GAInitialise();
  int GATerminate();
  int GASetDataFileName(const char* path);
  int GAInitNewEntry();
  int GASetTargetSectorID(int room);
  int GASetTargetFilePath(const char* path);
  int GASetIconFilePath(const char* path);
  int GASetIconIndex(const char* index);
  // Appends the current entry to the data file.
  int GAAppendNewEntry();
  // Opens the data file again and reads its first entry.
  int GASelectFirst();
  // Reads the next entry; 0 at the end.
  int GASelectNext();
  int GAGetTargetSectorID(int* room);
  // The getters copy into buffers of at least 261 bytes (17 for the icon
  // index).
  int GAGetFileAndPath(char* buffer);
  int GAGetTitle(char* buffer);
  int GAGetDirectory(char* buffer);
  int GAGetIconFilePath(char* buffer);
  int GAGetIconIndex(char* buffer);

  char dataFileName[261];
  char targetFilePath[261];
  int32_t targetRoomIndex;
  char iconFilePath[261];
  char iconIndex[17];
  char title[261];
  char folder[261];
  FILE* dataFile;  // owned
};

// ---------------------------------------------------------------------------
// The tag file.

typedef int (*FFWorldCallback)(CWorldProp* world);
typedef int (*FFRoomCallback)(CRoomProp* room);
typedef int (*FFItemCallback)(CItemProp* item);

// Reads records from the stream's position. mode 0 reads the first world
// record, 1 the first room record, 2 the first item record; mode 3 reads
// every record and hands each to its kind's callback (1 goes on, anything
// else stops the read), then terminates and initialises every record
// object given. A record object may be null: its fields are dropped. A
// record whose object or callback is null is read and skipped, not
// delivered. 1 when at least one record was completed (and,
// in mode 3, accepted) and no callback refused; the error slot tells more.
// A record cut short (a new opening tag comes before its end tag, or the
// file ends inside it) is dropped without taking the next record with it;
// the error slot then holds kFFErrorRecordCut.
VPROP_API int FFReadTagFile(FILE* stream, CWorldProp* world, FFWorldCallback worldFunc,
                            CRoomProp* room, FFRoomCallback roomFunc, CItemProp* item,
                            FFItemCallback itemFunc, int mode);
// The same without the world record.
VPROP_API int FFReadTagFile(FILE* stream, CRoomProp* room, FFRoomCallback roomFunc,
                            CItemProp* item, FFItemCallback itemFunc, int mode);

// The read modes of FFReadTagFile.
enum FFReadMode {
  kFFReadWorld = 0,  // the first world record
  kFFReadRoom = 1,   // the first room record
  kFFReadItem = 2,   // the first item record
  kFFReadAll = 3,    // every record, each handed to its kind's callback
};

// What FFReadTagFile hands to a caller that keeps its own state: each
// record to its kind's callback with the caller's context, as the first
// form does; and, when damage is given, each piece of damage it read past:
// a record cut short and dropped (kFFErrorRecordCut, with the line where
// the record began), or a field that could not be read, whose line's rest
// was dropped (its code, with the field's line). kind is 0 for the world
// record, 1 for a room, 2 for an item. Lines count from 1; a line longer
// than the reader's 266 characters counts once.
struct FFReadHandlers {
  int (*world)(CWorldProp* world, void* context);
  int (*room)(CRoomProp* room, void* context);
  int (*item)(CItemProp* item, void* context);
  void (*damage)(int kind, unsigned int code, long line, void* context);
  void* context;
};

// FFReadTagFile as above, through handlers: the same records, results and
// error slot, with the caller's context and the damage told.
VPROP_API int FFReadTagFile(FILE* stream, CWorldProp* world, CRoomProp* room, CItemProp* item,
                            const FFReadHandlers& handlers, int mode);

// Reads the first record of the kind from the file into an initialised
// record.
VPROP_API int FFLoadWorldProp(const char* path, CWorldProp* world);
VPROP_API int FFLoadRoomProp(const char* path, CRoomProp* room);
VPROP_API int FFLoadItemProp(const char* path, CItemProp* item);

// Appends one record to the file, creating it when absent: whole, or not at
// all (a record that cannot be written whole is cut off again, and the
// error slot holds kFFErrorWriteFailed).
VPROP_API int FFSaveWorldProp(const char* path, CWorldProp* world);
VPROP_API int FFSaveRoomProp(const char* path, CRoomProp* room);
VPROP_API int FFSaveItemProp(const char* path, CItemProp* item);

// Writes one record at the stream's position and flushes it. 1 when the
// stream took all of it; else 0, with kFFErrorWriteFailed.
VPROP_API int FFWriteWorldProp(FILE* stream, CWorldProp* world);
VPROP_API int FFWriteRoomProp(FILE* stream, CRoomProp* room);
VPROP_API int FFWriteItemProp(FILE* stream, CItemProp* item);

// The error slot: the last code set by a load, save, write or read.
VPROP_API int FFSetError(unsigned int code);
VPROP_API int FFGetError(unsigned int* code);

// The comment slot (up to 263 characters, "VPProp.dll" at first).
VPROP_API int FFSetComment(const char* text);
// Copies the comment into buffer (size bytes, cut to fit); 0 when empty.
VPROP_API int FFGetComment(char* buffer, int size = 264);

// Codes of the error slot. Every load, save, write and read sets one at its
// start, and the slot keeps the last code set: after a successful save it
// holds kFFErrorGeneral, after a clean successful read kFFErrorReadClean.
// FFErrorText gives each code's text.
enum : unsigned int {
  kFFErrorNone = 0,               // nothing was loaded, saved, written or read yet
  kFFErrorGeneral = 5,            // set at the start of every load, save and write; a read
                                  // stopped by a callback that refused a record
  kFFErrorRoomOpenRead = 5000,    // FFLoadRoomProp: the file cannot be opened for reading
  kFFErrorRoomOpenAppend = 5001,  // FFSaveRoomProp: the file cannot be opened for appending
  kFFErrorItemOpenRead = 5002,    // FFLoadItemProp: the file cannot be opened for reading
  kFFErrorItemOpenAppend = 5003,  // FFSaveItemProp: the file cannot be opened for appending
  kFFErrorReadClean = 5006,       // set at the start of every read: nothing else happened;
                                  // with result 0, no complete record was found
  // Codes 5011 to 5014 do not stop a read: the rest of the field's line was
  // dropped, and the record can still complete.
  kFFErrorLengthNotClosed = 5011,  // a field's length is not closed by "]"
  kFFErrorLengthTooLarge = 5012,   // a field's declared length is 266 or more
  kFFErrorNoLengthBracket = 5013,  // a tag is not followed by "["
  kFFErrorNotAField = 5014,        // the text is not a field of the open record's kind
  kFFErrorRecordCut = 5015,        // a record (or gather entry) cut short was skipped
  kFFErrorWriteFailed = 5016,      // a record could not be written whole; nothing of it stays
  kFFErrorValueCut = 5017,         // written, but a text was cut to fit the file's line of 266
                                   // characters: the last file problem names the field and how much
  kFFErrorWorldOpenRead = 5053,    // FFLoadWorldProp: the file cannot be opened for reading
  kFFErrorWorldOpenAppend = 5054,  // FFSaveWorldProp: the file cannot be opened for appending
};

// The text of a code of the error slot ("the file cannot be opened for
// reading"); "an unknown code" for any other. Never null; the text is the
// library's and lives as long as it is loaded.
VPROP_API const char* FFErrorText(unsigned int code);

// The last file problem of the calling thread, "path: reason": a file that
// could not be opened, read or written, with the system's words ("No such
// file or directory"), or a text cut to fit a line. Shared with the setup
// library (VSGetLastFileProblem tells the same). 1 and the text (cut to
// size bytes) when there is one; 0 and "" when none.
VPROP_API int FFGetLastFileProblem(char* out, int size);


// ---------------------------------------------------------------------------
// The fields that name a file.
//
// Every field of a world, room or item record that names a file or folder,
// in the order the normaliser copies them: which record it belongs to, its
// tag, what it is to a person, and the kind of file. The normaliser copies
// the kinds up to kVPFileKolb and rewrites every one into the relative form;
// tools list the same.

enum VPRecord : int { kVPRecordWorld = 0, kVPRecordRoom = 1, kVPRecordItem = 2 };

enum VPFileKind : int {
  kVPFileCatalogue = 0,  // a file-type catalogue (.vft)
  kVPFileShape = 1,      // a shape (.x), which names its own textures
  kVPFileTexture = 2,    // a picture (.bmp)
  kVPFileSound = 3,      // a sound (.wav)
  kVPFileKolb = 4,       // a KOLB file
  kVPFileProgram = 5,    // what an item opens: its target, folder, command line
  kVPFileFolder = 6,     // the folder that a room shows
};

struct VPFileField {
  int record;        // VPRecord
  const char* tag;   // "[CTX]"
  const char* what;  // "ceiling texture"
  int kind;          // VPFileKind
};

// The table; *count gets the number of its entries.
VPROP_API const VPFileField* FFFileFields(int* count);
// The field's text (its full capacity) in record: a CWorldProp, CRoomProp or
// CItemProp as field->record says. Null when either is null.
VPROP_API char* FFFileFieldText(void* record, const VPFileField* field);

#endif
