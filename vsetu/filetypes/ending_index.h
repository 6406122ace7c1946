// The catalogue's index by ending: for each ending (letter case folded as
// the matching folds it), the records that carry it in list order, so that
// matching a name costs the length of the name rather than the number of
// records.
//
// The catalogue owns its index beside its list; the index is filled as
// records are added and emptied as they are deleted, and each record it
// holds knows it (CVFileType::catalogue). A record whose ending a setter
// changes marks its index stale, and the next search builds it again from
// the list; so does a list whose count no longer agrees with the index, or
// another list in the catalogue's place (changed behind its back). A record
// deleted while indexed leaves the index.
#ifndef VESTA_VSETU_FILETYPES_ENDING_INDEX_H
#define VESTA_VSETU_FILETYPES_ENDING_INDEX_H

#include <cstddef>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/ptr_list.h"

class CVFileType;

namespace vesta::vsetu {

class EndingIndex {
 public:
  EndingIndex() = default;
  ~EndingIndex();
  EndingIndex(const EndingIndex&) = delete;
  EndingIndex& operator=(const EndingIndex&) = delete;

  // The record was appended to the list / removed from it (or is being
  // deleted).
  void Added(CVFileType* record);
  void Removed(CVFileType* record);
  // Every record is gone.
  void Clear();
  void MarkStale() { stale_ = true; }

  // In the catalogue's list: the record whose ending the name ends with,
  // the longest ending first and, among endings of that length, the first
  // in list order; null when none does.
  CVFileType* Match(VUList* list, const char* name, size_t nameLength);
  // The last record in list order whose ending is exactly ending (letter
  // case counts); null when none is.
  CVFileType* Exact(VUList* list, const char* ending);

 private:
  void Fresh(VUList* list);
  void Rebuild();

  VUList* list_ = nullptr;  // the list indexed
  bool stale_ = false;
  int count_ = 0;  // records of the list, with or without an ending
  // Folded ending -> the records that have it, in list order.
  std::unordered_map<std::string, std::vector<CVFileType*>> buckets_;
  // How many endings of each length there are, so that a match tries only
  // the lengths that occur, longest first.
  std::vector<int> lengths_;
  std::string key_;  // reused for lookups
};

// The index of the catalogue that holds record, which a change of its
// ending makes stale; nothing when the record is in no catalogue.
void NoteEndingChanged(const CVFileType* record);

}  // namespace vesta::vsetu

#endif
