#include "vermanager/record_list.h"

#include <new>

bool CRecordList::Append(void* record) {
  Node* node = new (std::nothrow) Node{record, nullptr};
  if (node == nullptr) return false;
  if (head_ == nullptr) {
    head_ = node;
  } else {
    tail_->next = node;
  }
  tail_ = node;
  return true;
}

bool CRecordList::First(void** record) {
  cursor_ = head_;
  if (cursor_ == nullptr) return false;
  *record = cursor_->record;
  return true;
}

bool CRecordList::Next(void** record) {
  if (cursor_ == nullptr || cursor_->next == nullptr) return false;
  cursor_ = cursor_->next;
  *record = cursor_->record;
  return true;
}

bool CRecordList::SetCursor(Node* cursor) {
  if (head_ == nullptr) return false;
  cursor_ = cursor;
  return true;
}

void CRecordList::Clear() {
  while (head_ != nullptr) {
    Node* next = head_->next;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
  cursor_ = nullptr;
}
