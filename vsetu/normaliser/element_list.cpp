// The normaliser's element list and world record, and the reader's
// callbacks that fill them while a world file loads: the process's
// normaliser, and the exported functions over it.
#include <memory>
#include <new>
#include <string>

#include "vesta/vsetu.h"
#include "vsetu/normaliser/normaliser.h"
#include "vsetu/normaliser/normaliser_log.h"

using vesta::vsetu::LogStep;
using vesta::vsetu::Normaliser;

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

namespace vesta::vsetu {

Normaliser& Normaliser::Process() {
  static Normaliser normaliser;
  return normaliser;
}

void Normaliser::SetHead(CTheList* head) {
  head_ = head;
  tail_ = nullptr;
}

std::string Normaliser::TakenLine(const CRoomProp* room, const CItemProp* item) {
  if (room != nullptr) return std::string("   Adding ROOM: ") + room->roomName;
  return std::string("   Adding ITEM: ") + item->name;
}

CTheList* Normaliser::NewElement(CRoomProp* room, CItemProp* item) {
  if (room == nullptr && item == nullptr) return nullptr;
  LogStep step(*this);
  std::unique_ptr<CTheList> made(new (std::nothrow) CTheList);
  if (made == nullptr) return nullptr;
  made->TLInitialise();
  ++itemCount_;
  std::string line;
  bool ok = false;
  if (room != nullptr) {
    line = TakenLine(room, nullptr);
    CRoomProp* copy = new (std::nothrow) CRoomProp;
    if (copy != nullptr) {
      copy->RPInitialise();
      ok = copy->RPCopyFrom(room) == 1;
      made->room = copy;
    }
    line += ok ? "\n" : " - ERROR creating room object [not enough memory].\n";
  } else {
    line = TakenLine(nullptr, item);
    CItemProp* copy = new (std::nothrow) CItemProp;
    if (copy != nullptr) {
      copy->IPInitialise();
      copy->IPCopyFrom(item);
      made->item = copy;
      ok = true;
    }
    line += ok ? "\n" : " - ERROR creating item object [not enough memory].\n";
  }
  Log(line);
  return ok ? made.release() : nullptr;
}

// The last element linked is kept, so that a world of many records loads
// in linear time.
void Normaliser::Append(CTheList* element) {
  if (head_ == nullptr || tail_ == nullptr) {
    GNBAddListElement(element, &head_);
    for (tail_ = head_; tail_->next != nullptr;) tail_ = tail_->next;
    return;
  }
  while (tail_->next != nullptr) tail_ = tail_->next;  // someone linked more
  tail_->next = element;
  tail_ = element;
}

int Normaliser::DeleteElements(CTheList* element) {
  delete world_;
  world_ = nullptr;
  if (element == nullptr) return 0;
  while (element != nullptr) {
    CTheList* next = element->next;
    if (tail_ == element) tail_ = nullptr;
    delete element;
    element = next;
  }
  return 1;
}

void Normaliser::DeleteAll() {
  if (head_ == nullptr) return;
  DeleteElements(head_);
  SetHead(nullptr);
}

int Normaliser::KeepWorld(CWorldProp* world) {
  if (world_ == nullptr) {
    world_ = new (std::nothrow) CWorldProp;
    if (world_ == nullptr) return 0;
  } else {
    world_->WPTerminate();
  }
  world_->WPInitialise();
  return world_->WPCopyFrom(world);
}

int Normaliser::AddRecord(CRoomProp* room, CItemProp* item) {
  CTheList* element = NewElement(room, item);
  if (element == nullptr) return 0;
  Append(element);
  return 1;
}

namespace {

Normaliser* Of(void* context) { return static_cast<Normaliser*>(context); }

}  // namespace

int Normaliser::Load(FILE* stream, CWorldProp* world, CRoomProp* room, CItemProp* item) {
  FFReadHandlers handlers{};
  handlers.world = [](CWorldProp* record, void* context) { return Of(context)->KeepWorld(record); };
  handlers.room = [](CRoomProp* record, void* context) { return Of(context)->AddRecord(record, nullptr); };
  handlers.item = [](CItemProp* record, void* context) { return Of(context)->AddRecord(nullptr, record); };
  handlers.context = this;
  return FFReadTagFile(stream, world, room, item, handlers, kFFReadAll);
}

}  // namespace vesta::vsetu

int GNBNewListElement(CRoomProp* room, CItemProp* item, CTheList** element) {
  if (element == nullptr) return 0;
  *element = Normaliser::Process().NewElement(room, item);
  return *element != nullptr ? 1 : 0;
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

int GWorldFunc(CWorldProp* world) { return Normaliser::Process().KeepWorld(world); }

int GRoomFunc(CRoomProp* room) { return Normaliser::Process().AddRecord(room, nullptr); }

int GItemFunc(CItemProp* item) { return Normaliser::Process().AddRecord(nullptr, item); }

int CVNormBuilder::NBDeleteAllTheList(CTheList* element) { return Normaliser::Process().DeleteElements(element); }

int CVNormBuilder::NBDeleteAllTheList() {
  Normaliser::Process().DeleteAll();
  return 1;
}

int CVNormBuilder::NBSetListHeadPointer(CTheList* head) {
  Normaliser::Process().SetHead(head);
  return 1;
}

int CVNormBuilder::NBGetListHeadPointer(CTheList** head) {
  if (head != nullptr) *head = Normaliser::Process().Head();
  return 1;
}

int CVNormBuilder::NBSetWorldPointer(CWorldProp* world) {
  Normaliser::Process().SetWorld(world);
  return 1;
}

int CVNormBuilder::NBGetWorldPointer(CWorldProp** world) {
  if (world != nullptr) *world = Normaliser::Process().World();
  return 1;
}

int CVNormBuilder::NBSetItemCount(int count) {
  Normaliser::Process().SetItemCount(count);
  return 0;
}

int CVNormBuilder::NBGetItemCount(int* count) {
  if (count != nullptr) *count = Normaliser::Process().ItemCount();
  return 0;
}
