// A singly linked list of record pointers with one cursor. The removal
// procedures nest walks over the same list: a walk inside another saves the
// cursor before and restores it after.
#ifndef VESTA_VERMANAGER_RECORD_LIST_H
#define VESTA_VERMANAGER_RECORD_LIST_H

class CRecordList {
 public:
  struct Node {
    void* record;
    Node* next;
  };

  CRecordList() = default;
  ~CRecordList() { Clear(); }
  CRecordList(const CRecordList&) = delete;
  CRecordList& operator=(const CRecordList&) = delete;

  // Appends at the tail, so that the list keeps the order of addition.
  // False when memory runs out.
  bool Append(void* record);
  // The cursor goes to the head; false on an empty list.
  bool First(void** record);
  // The cursor moves one on; false at the end (the cursor stays on the
  // last node).
  bool Next(void** record);
  Node* GetCursor() const { return cursor_; }
  // False on an empty list.
  bool SetCursor(Node* cursor);
  void ClearCursor() { cursor_ = nullptr; }
  bool Empty() const { return head_ == nullptr; }
  // Frees the nodes; the records belong to the list's owner.
  void Clear();

 private:
  Node* head_ = nullptr;
  Node* tail_ = nullptr;  // so that appending does not walk the list
  Node* cursor_ = nullptr;
};

#endif
