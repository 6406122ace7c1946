// The world's mark list. The world reader fills one MarkRecord field by
// field and hands it over at the start and at the end of each mark.
#ifndef VESTA_COMMON_MARK_LIST_H
#define VESTA_COMMON_MARK_LIST_H

#include <cstdint>
#include <cstdio>

#include "common/output_buffer.h"

struct MarkRecord {
  char name[132];  // 131 characters
  int32_t i;
  int32_t s;
  float x, y, z;
  float p, q, r;
  float a, b, c;
  int32_t v;
  float o;
  float f;
};

class CMarkList {
 public:
  MarkRecord* marks;  // from malloc, capacity entries
  int32_t count;
  int32_t capacity;
  int32_t open;  // a mark has begun and not yet ended
};

// Makes the list empty. Returns 1.
int VUMarkListConstruct(CMarkList* list);
// Empties the list, ready for marks. Returns 1.
int VUMarkListInitialise(CMarkList* list);
// Frees the marks and leaves the list empty. Returns 1.
int VUMarkListDestroy(CMarkList* list);
// Makes list a copy of source (a null source empties it). 0 when memory
// runs out; list is then empty.
int VUMarkListCopyFrom(CMarkList* list, const CMarkList* source);
// A mark begins; its fields arrive in record until VUMarkListEndMark.
int VUMarkListBeginMark(CMarkList* list, const MarkRecord* record);
// The mark that began last ends: a copy of record is appended. 0 (nothing
// appended) when no mark has begun or memory runs out.
int VUMarkListEndMark(CMarkList* list, const MarkRecord* record);
// Writes every mark as the fields "[MKJ]", "[MKN]", "[MKI]", "[MKS]",
// "[MKX]" to "[MKZ]", "[MKP]" to "[MKR]", "[MKA]" to "[MKC]", "[MKV]",
// "[MKO]", "[MKF]", "[MKE]", laid on lines of the tag file with the
// writer's line counter. Returns 1.
int VUMarkListWrite(const CMarkList* list, VUOutput* out, int* lineCounter);

int VUMarkListCount(const CMarkList* list);
// The mark at index, or null.
const MarkRecord* VUMarkListGet(const CMarkList* list, int index);

#endif
