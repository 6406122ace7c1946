// The catalogue's index by ending: for each ending (letter case folded as
// the matching folds it), the records that carry it in list order, so that
// matching a name costs the length of the name rather than the number of
// records.
//
// The index lives beside the catalogue's list (TypeList below), is filled
// as records are added and emptied as they are deleted. A record of the
// catalogue whose ending a setter changes marks its index stale, and the
// next search builds it again from the list; so does a list whose count no
// longer agrees with the index (changed behind the catalogue's back).
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
  explicit EndingIndex(VUList* list) : list_(list) {}
  ~EndingIndex();
  EndingIndex(const EndingIndex&) = delete;
  EndingIndex& operator=(const EndingIndex&) = delete;

  // The record was appended to the list / removed from it.
  void Added(CVFileType* record);
  void Removed(CVFileType* record);
  // Every record is gone.
  void Clear();
  void MarkStale() { stale_ = true; }

  // The record whose ending the name ends with, the longest ending first
  // and, among endings of that length, the first in list order; null when
  // none does.
  CVFileType* Match(const char* name, size_t nameLength);
  // The last record in list order whose ending is exactly ending (letter
  // case counts); null when none is.
  CVFileType* Exact(const char* ending);

 private:
  void Fresh();
  void Rebuild();

  VUList* list_;
  bool stale_ = false;
  int count_ = 0;  // records of the list, with or without an ending
  // Folded ending -> the records that have it, in list order.
  std::unordered_map<std::string, std::vector<CVFileType*>> buckets_;
  // How many endings of each length there are, so that a match tries only
  // the lengths that occur, longest first.
  std::vector<int> lengths_;
  std::string key_;  // reused for lookups
};

// The catalogue's list: the utility layer's pointer list with its index.
struct TypeList : VUList {
  TypeList() : index(this) {}
  EndingIndex index;
};

// The index of the catalogue that holds record, which a change of its
// ending makes stale; nothing when the record is in no catalogue.
void NoteEndingChanged(const CVFileType* record);

}  // namespace vesta::vsetu

#endif
