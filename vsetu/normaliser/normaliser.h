// The normaliser's state, owned by one object: the element list with its
// last element, the world record and the item count that a load fills, the
// log with the lines that wait for the step under way, and the worlds being
// normalised now.
//
// The normaliser has always been one per process: CVNormBuilder, the
// reader's callbacks (GWorldFunc, GRoomFunc, GItemFunc) and the log's
// exported functions all work on the process's instance, Process().
#ifndef VESTA_VSETU_NORMALISER_NORMALISER_H
#define VESTA_VSETU_NORMALISER_NORMALISER_H

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "vesta/vsetu.h"

namespace vesta::vsetu {

class Normaliser {
 public:
  // The process's normaliser.
  static Normaliser& Process();

  Normaliser() = default;
  // Frees nothing: what the list and the world record hold was handed out
  // (NBGetListHeadPointer) and is freed through DeleteElements.
  ~Normaliser() = default;
  Normaliser(const Normaliser&) = delete;
  Normaliser& operator=(const Normaliser&) = delete;

  // The element list. Setting the head replaces it without freeing.
  CTheList* Head() const { return head_; }
  void SetHead(CTheList* head);
  // The log's line for a record taken in: room, or without one item.
  static std::string TakenLine(const CRoomProp* room, const CItemProp* item);
  // Makes an element holding a copy of room (or, without one, of item),
  // counts and logs it; null when it cannot be made.
  CTheList* NewElement(CRoomProp* room, CItemProp* item);
  // Links the element behind the last one, in constant time.
  void Append(CTheList* element);
  // Both: 1 when the element was made and linked.
  int AddRecord(CRoomProp* room, CItemProp* item);
  // Frees the world record and the elements from element on; 1 when there
  // was an element.
  int DeleteElements(CTheList* element);
  // Frees the world record and the whole list.
  void DeleteAll();

  // The world record a load keeps; setting replaces without freeing.
  CWorldProp* World() const { return world_; }
  void SetWorld(CWorldProp* world) { world_ = world; }
  // Keeps a copy of world as the world record.
  int KeepWorld(CWorldProp* world);

  int ItemCount() const { return itemCount_; }
  void SetItemCount(int count) { itemCount_ = count; }

  // Reads every record of the stream into the world record and the list
  // (the reader's handlers, with this normaliser as their context); the
  // reader's result.
  int Load(FILE* stream, CWorldProp* world, CRoomProp* room, CItemProp* item);

  // The log: a line of the normaliser's own, which may wait in memory until
  // the outermost step under way returns; what a caller appends, in the
  // file when the call returns (false when it could not be written).
  void Log(std::string_view text);
  void Log(std::initializer_list<std::string_view> pieces);  // one line in pieces
  bool AppendToLog(const char* text);
  bool Flush();
  // "Normaliz.txt" in the installation's temp folder, or "C:\VESTNORM.LOG"
  // without one; fixed at its first use.
  const char* LogFile();
  // Drops what waits and forgets the path, as at the start of a process.
  void ForgetLog();

  // The steps under way (exported operations that log): the lines of a
  // step and of the steps it calls reach the file when the outermost one
  // returns. Outermost() is true inside a step that no other encloses.
  void BeginStep() { ++steps_; }
  void EndStep();
  bool Outermost() const { return steps_ == 1; }

  // The world files being normalised now, nested ones included, by folded
  // path: Begin is false for one already under way.
  bool BeginWorld(const std::string& folded) { return worlds_.insert(folded).second; }
  void EndWorld(const std::string& folded) { worlds_.erase(folded); }

 private:
  CTheList* head_ = nullptr;
  CTheList* tail_ = nullptr;  // null: found again from the head at the next append
  CWorldProp* world_ = nullptr;
  int itemCount_ = 0;
  std::string logPath_;
  std::string pending_;
  int steps_ = 0;
  std::set<std::string> worlds_;
};

// The record objects that a reading fills, one of each kind, made and
// initialised; Make is false when there is no memory for them.
struct RecordObjects {
  std::unique_ptr<CWorldProp> world;
  std::unique_ptr<CRoomProp> room;
  std::unique_ptr<CItemProp> item;
  bool Make();
};

// What the steps of a run share, taken one by one or in one reading of the
// world (NBNormaliseFile).
// The log's stamp, a fresh start for an outermost run, and the source file.
void StartRun(CVNormBuilder& builder, const char* path);
// The copy step of one record (kVPRecordWorld, Room or Item): each file its
// fields name copied, the field naming the copy. shapesRelative: a shape's
// names are made relative as they are rewritten, for a run that rewrites
// the record's paths right after.
int CopyRecordFiles(CVNormBuilder* builder, int record, void* fields, bool shapesRelative);
// The preview picture (once the records' files are copied) and the side
// files, into the target folder.
void CopyWhatGoesAlong(CVNormBuilder& builder, bool recordsCopied);
// The copied side files rewritten into the relative form; 1 when done.
int RelativiseSideFiles(CVNormBuilder& builder);
// The normalised world's path in folder: the source's name. False when it
// does not fit a path.
bool SavedWorldPath(const CVNormBuilder& builder, const char* folder, std::string* path);

}  // namespace vesta::vsetu

#endif
