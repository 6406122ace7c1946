#include "vsetu/filetypes/ending_index.h"

#include <algorithm>
#include <cstring>

#include "platform/windows_names.h"
#include "vesta/vsetu.h"

namespace vesta::vsetu {
namespace {

// An ending as Windows compares names (only A to Z fold).
void FoldInto(std::string* key, const char* text, size_t length) {
  key->resize(length);
  for (size_t i = 0; i < length; ++i) (*key)[i] = vesta::platform::FoldedLetter(text[i]);
}

}  // namespace

EndingIndex::~EndingIndex() { Clear(); }

// Every record is in a bucket, under the ending it had when it came in (the
// empty key for none), so that Clear finds them all.
void EndingIndex::Added(CVFileType* record) {
  ++count_;
  record->catalogue.index = this;
  const size_t length = std::strlen(record->ending);
  FoldInto(&key_, record->ending, length);
  std::vector<CVFileType*>& bucket = buckets_[key_];
  bucket.push_back(record);
  if (bucket.size() == 1 && length > 0) {
    if (lengths_.size() <= length) lengths_.resize(length + 1, 0);
    ++lengths_[length];
  }
}

void EndingIndex::Removed(CVFileType* record) {
  --count_;
  if (record->catalogue.index == this) record->catalogue.index = nullptr;
  const size_t length = std::strlen(record->ending);
  FoldInto(&key_, record->ending, length);
  auto found = buckets_.find(key_);
  if (found == buckets_.end() || std::find(found->second.begin(), found->second.end(), record) == found->second.end()) {
    // Its ending changed since it came in: look for it everywhere.
    found = std::find_if(buckets_.begin(), buckets_.end(), [&](const auto& bucket) {
      return std::find(bucket.second.begin(), bucket.second.end(), record) != bucket.second.end();
    });
    if (found == buckets_.end()) return;
    stale_ = true;
  }
  std::vector<CVFileType*>& bucket = found->second;
  bucket.erase(std::find(bucket.begin(), bucket.end(), record));
  if (bucket.empty()) {
    const size_t keyLength = found->first.size();
    buckets_.erase(found);
    if (keyLength > 0) --lengths_[keyLength];
  }
}

void EndingIndex::Clear() {
  for (const auto& bucket : buckets_) {
    for (CVFileType* record : bucket.second) {
      if (record->catalogue.index == this) record->catalogue.index = nullptr;
    }
  }
  buckets_.clear();
  lengths_.clear();
  count_ = 0;
  stale_ = false;
}

void EndingIndex::Rebuild() {
  Clear();
  void* element = nullptr;
  VUListPosition position = nullptr;
  for (int more = VUListFirst(list_, &element, &position); more; more = VUListNext(list_, &element, &position)) {
    Added(static_cast<CVFileType*>(element));
  }
}

void EndingIndex::Fresh(VUList* list) {
  if (list != list_) {
    list_ = list;
    stale_ = true;
  }
  if (stale_ || count_ != VUListCount(list_)) Rebuild();
}

CVFileType* EndingIndex::Match(VUList* list, const char* name, size_t nameLength) {
  Fresh(list);
  const size_t longest = std::min(nameLength, lengths_.empty() ? 0 : lengths_.size() - 1);
  for (size_t length = longest; length > 0; --length) {
    if (lengths_[length] == 0) continue;
    FoldInto(&key_, name + nameLength - length, length);
    auto found = buckets_.find(key_);
    if (found != buckets_.end()) return found->second.front();
  }
  return nullptr;
}

CVFileType* EndingIndex::Exact(VUList* list, const char* ending) {
  Fresh(list);
  const size_t length = std::strlen(ending);
  if (length == 0) return nullptr;
  FoldInto(&key_, ending, length);
  auto found = buckets_.find(key_);
  if (found == buckets_.end()) return nullptr;
  const std::vector<CVFileType*>& bucket = found->second;
  for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
    if (std::strcmp((*it)->ending, ending) == 0) return *it;
  }
  return nullptr;
}

void NoteEndingChanged(const CVFileType* record) {
  if (record->catalogue.index != nullptr) record->catalogue.index->MarkStale();
}

}  // namespace vesta::vsetu
