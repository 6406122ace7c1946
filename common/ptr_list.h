// The pointer list of the utility layer: a doubly linked list of element
// pointers that it does not own. Besides positions that callers keep, the
// list keeps one cursor of its own, used when no position is passed.
#ifndef VESTA_COMMON_PTR_LIST_H
#define VESTA_COMMON_PTR_LIST_H

#include <cstdint>

struct VUListNode;
// A position names the node that the next VUListNext returns; null past the
// end.
typedef VUListNode* VUListPosition;

struct VUList {
  VUListNode* head;
  VUListNode* tail;
  VUListNode* cursor;  // the list's own position
  int32_t count;
  int32_t prepared;
};

// Makes the list empty and unusable until VUListPrepare. Returns 1.
int VUListConstruct(VUList* list);
// Makes the list ready to take elements. Returns 1.
int VUListPrepare(VUList* list);
// Adds element at the end (where 0) or at the front (any other where). 0
// when the list is not prepared or memory runs out.
int VUListAdd(VUList* list, void* element, int where);
// Removes the first node that holds element. A cursor or the given position
// that names that node moves on to the node after it. 1 when one was
// removed.
int VUListRemove(VUList* list, void* element, VUListPosition* position = nullptr);
// The first element, and the position after it in *position (or in the
// list's cursor when position is null). 0 on an empty list.
int VUListFirst(VUList* list, void** element, VUListPosition* position = nullptr);
// The element at *position (or the cursor), which then moves on. 0 past
// the end.
int VUListNext(VUList* list, void** element, VUListPosition* position = nullptr);
// The number of elements.
int VUListCount(const VUList* list);
// Frees every node (not the elements) and leaves the list as constructed.
// Returns 1.
int VUListDestroy(VUList* list);

#endif
