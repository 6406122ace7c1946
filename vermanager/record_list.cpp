#include "vermanager/record_list.h"

#include <new>

bool CRecordList::Append(void* record) {
  Node* node = new (std::nothrow) Node{record, nullptr};
  if (node == nullptr) return false;
  if (head_ == nullptr) {
    head_ = node;
    return true;
  }
  Node* tail = head_;
  while (tail->next != nullptr) tail = tail->next;
  tail->next = node;
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
  cursor_ = nullptr;
}
