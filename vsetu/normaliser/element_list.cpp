// The normaliser's element list and world record, and the reader's
// callbacks that fill them while a world file loads.
#include <new>
#include <string>

#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser_log.h"
#include "vsetu/services/library_state.h"

using vesta::vsetu::ItemCount;
using vesta::vsetu::ListHead;
using vesta::vsetu::ListTail;
using vesta::vsetu::Log;
using vesta::vsetu::NormaliserWorld;

CTheList::CTheList() : room(nullptr), item(nullptr), next(nullptr) {}

CTheList::~CTheList() {
  delete room;
  delete item;
}

int CTheList::TLInitialise() {
  room = nullptr;
  item = nullptr;
  next = nullptr;
  return 0;
}

int GNBNewListElement(CRoomProp* room, CItemProp* item, CTheList** element) {
  if (element == nullptr) return 0;
  vesta::vsetu::LogStep step;
  CTheList* made = new (std::nothrow) CTheList;
  if (made == nullptr) {
    *element = nullptr;
    return 0;
  }
  made->TLInitialise();
  ++*ItemCount();
  std::string line;
  bool ok = false;
  if (room != nullptr) {
    line = std::string("   Adding ROOM: ") + room->roomName;
    CRoomProp* copy = new (std::nothrow) CRoomProp;
    if (copy != nullptr) {
      copy->RPInitialise();
      ok = copy->RPCopyFrom(room) == 1;
      made->room = copy;
    }
    line += ok ? "\n" : " - ERROR creating room object [not enough memory].\n";
  } else if (item != nullptr) {
    line = std::string("   Adding ITEM: ") + item->name;
    CItemProp* copy = new (std::nothrow) CItemProp;
    if (copy != nullptr) {
      copy->IPInitialise();
      copy->IPCopyFrom(item);
      made->item = copy;
      ok = true;
    }
    line += ok ? "\n" : " - ERROR creating item object [not enough memory].\n";
  } else {
    delete made;
    *element = nullptr;
    return 0;
  }
  Log(line);
  if (!ok) {
    delete made;
    *element = nullptr;
    return 0;
  }
  *element = made;
  return 1;
}

int GNBAddListElement(CTheList* element, CTheList** head) {
  if (head == nullptr) return 0;
  if (*head == nullptr) {
    *head = element;
    return 1;
  }
  CTheList* last = *head;
  while (last->next != nullptr) last = last->next;
  last->next = element;
  return 1;
}

namespace {

// Appends to the process's list in constant time: the loader keeps the
// last element it linked, so a world of many records loads in linear time.
int AppendToList(CTheList* element) {
  CTheList** head = ListHead();
  CTheList** tail = ListTail();
  if (*head == nullptr || *tail == nullptr) {
    GNBAddListElement(element, head);
    CTheList* last = *head;
    while (last->next != nullptr) last = last->next;
    *tail = last;
    return 1;
  }
  while ((*tail)->next != nullptr) *tail = (*tail)->next;  // someone linked more
  (*tail)->next = element;
  *tail = element;
  return 1;
}

}  // namespace

int GWorldFunc(CWorldProp* world) {
  CWorldProp** kept = NormaliserWorld();
  if (*kept == nullptr) {
    *kept = new (std::nothrow) CWorldProp;
    if (*kept == nullptr) return 0;
  } else {
    (*kept)->WPTerminate();
  }
  (*kept)->WPInitialise();
  return (*kept)->WPCopyFrom(world);
}

int GRoomFunc(CRoomProp* room) {
  CTheList* element = nullptr;
  if (!GNBNewListElement(room, nullptr, &element)) return 0;
  return AppendToList(element);
}

int GItemFunc(CItemProp* item) {
  CTheList* element = nullptr;
  if (!GNBNewListElement(nullptr, item, &element)) return 0;
  return AppendToList(element);
}

int CVNormBuilder::NBDeleteAllTheList(CTheList* element) {
  CWorldProp** world = NormaliserWorld();
  delete *world;
  *world = nullptr;
  if (element == nullptr) return 0;
  while (element != nullptr) {
    CTheList* next = element->next;
    if (*ListTail() == element) *ListTail() = nullptr;
    delete element;
    element = next;
  }
  return 1;
}

int CVNormBuilder::NBDeleteAllTheList() {
  if (*ListHead() == nullptr) return 1;
  NBDeleteAllTheList(*ListHead());
  *ListHead() = nullptr;
  *ListTail() = nullptr;
  return 1;
}

int CVNormBuilder::NBSetListHeadPointer(CTheList* head) {
  *ListHead() = head;
  *ListTail() = nullptr;  // found again from the head at the next append
  return 1;
}

int CVNormBuilder::NBGetListHeadPointer(CTheList** head) {
  if (head != nullptr) *head = *ListHead();
  return 1;
}

int CVNormBuilder::NBSetWorldPointer(CWorldProp* world) {
  *NormaliserWorld() = world;
  return 1;
}

int CVNormBuilder::NBGetWorldPointer(CWorldProp** world) {
  if (world != nullptr) *world = *NormaliserWorld();
  return 1;
}

int CVNormBuilder::NBSetItemCount(int count) {
  *ItemCount() = count;
  return 0;
}

int CVNormBuilder::NBGetItemCount(int* count) {
  if (count != nullptr) *count = *ItemCount();
  return 0;
}
