// The world normaliser: copies a world and every file it names into a
// target folder and rewrites the paths into the relative form, so that the
// world can travel to another installation. Part of vsetu.h.
//
// The element list, the world record and the item count are process-wide:
// one normalisation at a time in a process.
#ifndef VESTA_VSETU_NORMALISER_H
#define VESTA_VSETU_NORMALISER_H

#include "vesta/export.h"
#include "vesta/vprop.h"

// One element of the normaliser's list: its own copy of a room or an item.
class VSETU_API CTheList {
 public:
  CTheList();
  // Destroys the room or item copy; does not follow next.
  ~CTheList();
  CTheList(const CTheList&) = delete;
  CTheList& operator=(const CTheList&) = delete;

  // Room, item and next to null. Returns 0.
  int TLInitialise();

  CRoomProp* room;
  CItemProp* item;
  CTheList* next;
};

class VSETU_API CVNormBuilder {
 public:
  typedef int (*ClickCallback)();
  // The same, handed the context it was set with.
  typedef int (*ClickContextCallback)(void* context);

  CVNormBuilder();
  // Frees nothing: the list and the world record are the process's. What
  // the copy step set aside (the old versions of copies it rewrote) is
  // removed.
  ~CVNormBuilder();

  // Empties the paths and both forms of the click callback. Returns 1.
  int NBInitialise();
  int NBSetTargetDirectory(const char* folder);
  // The source file, and its ".nss" and ".txt" side files.
  int NBSetSourceFile(const char* path);
  // Called once per element while copying and relativising. Setting one
  // form of the callback clears the other.
  int NBSetClickCallback(ClickCallback callback);
  int NBSetClickCallback(ClickContextCallback callback, void* context);

  // The process-wide list head, world record and item count. Setting
  // replaces without freeing; what is set must come from new.
  int NBSetListHeadPointer(CTheList* head);
  int NBGetListHeadPointer(CTheList** head);
  int NBSetWorldPointer(CWorldProp* world);
  int NBGetWorldPointer(CWorldProp** world);
  int NBSetItemCount(int count);   // returns 0
  int NBGetItemCount(int* count);  // returns 0

  // Loads a world file into the world record and the element list.
  int NBLoadFile(const char* path);
  // Frees the list and the world record.
  int NBDeleteAllTheList();
  int NBDeleteAllTheList(CTheList* element);

  // Copies every file the world names into the target folder.
  int NBCopyList();
  int NBCopyList(CTheList* element);
  int NBCopyWorld(CWorldProp* world);
  int NBCopyRoom(CRoomProp* room);
  int NBCopyItem(CItemProp* item);
  // Copies source into folder; destination (a path field, 261 bytes,
  // which may be source itself) names the copy.
  int NBCopyToTarget(const char* source, const char* folder, char* destination);

  // Rewrites every path into the relative form.
  int NBRelativize();
  int NBRelativize(CTheList* element);
  int NBRevWorld(CWorldProp* world);
  int NBRevRoom(CRoomProp* room);
  int NBRevItem(CItemProp* item);
  // Rewrites one path field (261 bytes) in place.
  int NBConvertToRelative(char* path);

  // Writes the normalised world file into the target folder.
  int NBSaveWorld();
  int NBSaveWorld(const char* folder, CTheList* element);

  // Normalises the world file into the target folder (which must exist) in
  // one reading: each record is copied, rewritten and written out as it is
  // read, then let go. What NBLoadFile, NBCopyList, NBRelativize and
  // NBSaveWorld do in turn, without the list; the list and the world
  // record are left as they are. 1 when the world file is in place.
  int NBNormaliseFile(const char* path);

  // Side files and the world's catalogue, once copied.
  int NBConvertNSSToRelative(const char* path);
  int NBConvertVSSToRelative(const char* path);
  int NBConvertVFTToRelative(const char* path);

  char targetFolder[261];
  char sourceFile[261];
  char sourceNss[261];
  char vssFile[261];
  char nssCopy[261];
  char vssCopy[261];
  char sourceTxt[261];
  char txtCopy[261];
  ClickCallback clickCallback;
  ClickContextCallback clickContextCallback;
  void* clickContext;
};

// Makes an element holding a copy of room (or, without a room, of item).
VSETU_API int GNBNewListElement(CRoomProp* room, CItemProp* item, CTheList** element);
// Links element behind the last element of *head (or makes it the head).
VSETU_API int GNBAddListElement(CTheList* element, CTheList** head);
// The reader's callbacks while a world file is loaded.
VSETU_API int GWorldFunc(CWorldProp* world);
VSETU_API int GRoomFunc(CRoomProp* room);
VSETU_API int GItemFunc(CItemProp* item);

// Normalises one world file into the target folder in one call.
VSETU_API int NUNormaliseVIQFile(const char* worldFile, const char* targetFolder);

// Appends text to the normaliser log (flag nonzero), or shows the log
// (flag 0).
VSETU_API int VSAppendNormaliserLog(const char* text, int flag);
// Hands the Windows, system, program-files and installation folders to the
// path rewriting.
VSETU_API int VSSetNormalisationVariables();

#endif
