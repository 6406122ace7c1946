// The catalogue's list of records: making it, adding, deleting, walking.
#include <cstring>
#include <new>

#include "common/ptr_list.h"
#include "vesta/vsetu.h"
#include "vsetu/filetypes/ending_index.h"

namespace {

void DeleteRecords(VUList* list) {
  void* element = nullptr;
  VUListPosition position = nullptr;
  for (int more = VUListFirst(list, &element, &position); more;
       more = VUListNext(list, &element, &position)) {
    delete static_cast<CVFileType*>(element);
  }
}

int Walk(VUList* list, CVFileType** record, bool first) {
  if (list == nullptr || record == nullptr) return 0;
  void* element = nullptr;
  int found = first ? VUListFirst(list, &element) : VUListNext(list, &element);
  if (!found) return 0;
  *record = static_cast<CVFileType*>(element);
  return 1;
}

}  // namespace

CVFileTypeList::CVFileTypeList() : types(nullptr), index_(nullptr) {}

CVFileTypeList::~CVFileTypeList() {
  FLDeleteAllFileTypes();
  delete index_;
}

vesta::vsetu::EndingIndex* CVFileTypeList::Index() {
  if (index_ == nullptr) index_ = new (std::nothrow) vesta::vsetu::EndingIndex;
  return index_;
}

int CVFileTypeList::FLInitialise() {
  // The path rewriting of travelling catalogues needs the machine's folders.
  VSSetNormalisationVariables();
  cataloguePath[0] = '\0';
  deRelativiseOnLoad = 0;
  normaliseOnSave = 0;
  types = nullptr;
  return 1;
}

int CVFileTypeList::FLPrepare() {
  FLDeleteAllFileTypes();
  if (Index() == nullptr) return 0;
  VUList* list = new (std::nothrow) VUList;
  if (list == nullptr) return 0;
  VUListConstruct(list);
  if (!VUListPrepare(list)) {
    VUListDestroy(list);
    delete list;
    return 0;
  }
  types = list;
  return 1;
}

int CVFileTypeList::FLAddFileType(CVFileType* record) {
  if (types == nullptr || record == nullptr) return 0;
  if (!VUListAdd(types, record, 0)) return 0;
  if (index_ != nullptr) index_->Added(record);
  return 1;
}

int CVFileTypeList::FLDeleteAllFileTypes() {
  if (index_ != nullptr) index_->Clear();
  if (types != nullptr) {
    DeleteRecords(types);
    VUListDestroy(types);
    delete types;
    types = nullptr;
  }
  return 1;
}

int CVFileTypeList::FLDeleteFileType(const char* name) {
  if (types == nullptr || name == nullptr) return 0;
  CVFileType* record = nullptr;
  if (!FLGetFirstFileType(&record)) return 0;
  if (std::strcmp(record->typeName, name) == 0) {
    // Only the first record goes when it carries the name.
    VUListRemove(types, record);
    if (index_ != nullptr) index_->Removed(record);
    delete record;
    return 1;
  }
  int removed = 0;
  while (FLGetNextFileType(&record)) {
    if (std::strcmp(record->typeName, name) != 0) continue;
    VUListRemove(types, record);
    if (index_ != nullptr) index_->Removed(record);
    delete record;
    removed = 1;
  }
  return removed;
}

int CVFileTypeList::FLGetFirstFileType(CVFileType** record) { return Walk(types, record, true); }

int CVFileTypeList::FLGetNextFileType(CVFileType** record) { return Walk(types, record, false); }

int CVFileTypeList::FLSetDeRelativiseOnLoad(int flag) {
  deRelativiseOnLoad = flag;
  return 1;
}

int CVFileTypeList::FLSetNormaliseOnSave(int flag) {
  normaliseOnSave = flag;
  return 1;
}
