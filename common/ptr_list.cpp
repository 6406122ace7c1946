#include "common/ptr_list.h"

#include <new>

struct VUListNode {
  void* element;
  VUListNode* previous;
  VUListNode* next;
};

int VUListConstruct(VUList* list) {
  if (list == nullptr) return 0;
  list->head = nullptr;
  list->tail = nullptr;
  list->cursor = nullptr;
  list->count = 0;
  list->prepared = 0;
  return 1;
}

int VUListPrepare(VUList* list) {
  if (list == nullptr) return 0;
  list->prepared = 1;
  return 1;
}

int VUListAdd(VUList* list, void* element, int where) {
  if (list == nullptr || !list->prepared) return 0;
  VUListNode* node = new (std::nothrow) VUListNode{element, nullptr, nullptr};
  if (node == nullptr) return 0;
  if (where == 0) {
    node->previous = list->tail;
    if (list->tail != nullptr) list->tail->next = node;
    list->tail = node;
    if (list->head == nullptr) list->head = node;
  } else {
    node->next = list->head;
    if (list->head != nullptr) list->head->previous = node;
    list->head = node;
    if (list->tail == nullptr) list->tail = node;
  }
  ++list->count;
  return 1;
}

int VUListRemove(VUList* list, void* element, VUListPosition* position) {
  if (list == nullptr) return 0;
  VUListNode* node = list->head;
  while (node != nullptr && node->element != element) node = node->next;
  if (node == nullptr) return 0;
  if (list->cursor == node) list->cursor = node->next;
  if (position != nullptr && *position == node) *position = node->next;
  if (node->previous != nullptr) {
    node->previous->next = node->next;
  } else {
    list->head = node->next;
  }
  if (node->next != nullptr) {
    node->next->previous = node->previous;
  } else {
    list->tail = node->previous;
  }
  delete node;
  --list->count;
  return 1;
}

int VUListFirst(VUList* list, void** element, VUListPosition* position) {
  if (list == nullptr) return 0;
  VUListPosition& at = position != nullptr ? *position : list->cursor;
  at = list->head;
  return VUListNext(list, element, position);
}

int VUListNext(VUList* list, void** element, VUListPosition* position) {
  if (list == nullptr) return 0;
  VUListPosition& at = position != nullptr ? *position : list->cursor;
  if (at == nullptr) return 0;
  if (element != nullptr) *element = at->element;
  at = at->next;
  return 1;
}

int VUListCount(const VUList* list) { return list != nullptr ? list->count : 0; }

int VUListDestroy(VUList* list) {
  if (list == nullptr) return 0;
  VUListNode* node = list->head;
  while (node != nullptr) {
    VUListNode* next = node->next;
    delete node;
    node = next;
  }
  VUListConstruct(list);
  return 1;
}
