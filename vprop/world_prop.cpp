#include <cstdio>
#include <cstring>
#include <new>

#include "common/mark_list.h"
#include "common/text.h"
#include "vesta/vprop.h"
#include "vprop/record_kinds.h"

namespace vesta::vprop {
namespace {

#define MARK_INT(tag, member) \
  { tag, FieldType::kMarkInt, offsetof(MarkRecord, member), 0 }
#define MARK_REAL(tag, member) \
  { tag, FieldType::kMarkReal, offsetof(MarkRecord, member), 0 }

const FieldDef kWorldFields[] = {
    VPROP_INT(CWorldProp, "[MAP]", mapNumber),
    VPROP_INT(CWorldProp, "[ICN]", iconNumber),
    VPROP_INT(CWorldProp, "[SNO]", snoValue),
    VPROP_INT(CWorldProp, "[ACD]", acdValue),
    VPROP_TEXT(CWorldProp, "[NAM]", worldName),
    VPROP_TEXT(CWorldProp, "[FTY]", fileTypeCatalogue),
    VPROP_TEXT(CWorldProp, "[RWN]", rwnText),
    VPROP_TEXT(CWorldProp, "[UUF]", uufShape),
    VPROP_TEXT(CWorldProp, "[MUF]", mufShape),
    VPROP_TEXT(CWorldProp, "[DEX]", dexFile),
    VPROP_TEXT(CWorldProp, "[DEI]", deiIndex),
    VPROP_TEXT(CWorldProp, "[UBR]", firstBuild),
    VPROP_TEXT(CWorldProp, "[UBS]", secondBuild),
    VPROP_TEXT(CWorldProp, "[UBF]", thirdBuild),
    VPROP_TEXT(CWorldProp, "[CLN]", clnText),
    VPROP_INT(CWorldProp, "[BAK]", bakValue),
    {"", FieldType::kMarks, offsetof(CWorldProp, markList), 0},
};

// The marks are read field by field into the current mark.
const FieldDef kMarkFields[] = {
    {"[MKJ]", FieldType::kMarkBegin, offsetof(CWorldProp, markList), 0},
    {"[MKN]", FieldType::kMarkText, offsetof(MarkRecord, name), sizeof(MarkRecord::name) - 1},
    MARK_INT("[MKI]", i),
    MARK_INT("[MKS]", s),
    MARK_REAL("[MKX]", x),
    MARK_REAL("[MKY]", y),
    MARK_REAL("[MKZ]", z),
    MARK_REAL("[MKP]", p),
    MARK_REAL("[MKQ]", q),
    MARK_REAL("[MKR]", r),
    MARK_REAL("[MKA]", a),
    MARK_REAL("[MKB]", b),
    MARK_REAL("[MKC]", c),
    MARK_INT("[MKV]", v),
    MARK_REAL("[MKO]", o),
    MARK_REAL("[MKF]", f),
    {"[MKE]", FieldType::kMarkEnd, offsetof(CWorldProp, markList), 0},
};

}  // namespace

const RecordKind& WorldKind() {
  static const RecordKind kind("[WORL]", kWorldFields, sizeof kWorldFields / sizeof kWorldFields[0],
                               kMarkFields, sizeof kMarkFields / sizeof kMarkFields[0], false);
  return kind;
}

}  // namespace vesta::vprop

CWorldProp::CWorldProp() : markList(nullptr) {}

CWorldProp::~CWorldProp() { WPTerminate(); }

int CWorldProp::WPInitialise() {
  firstBuild[0] = '\0';
  secondBuild[0] = '\0';
  thirdBuild[0] = '\0';
  clnText[0] = '\0';
  mapNumber = 0;
  snoValue = 1;
  iconNumber = 0;
  acdValue = 3;
  worldName[0] = '\0';
  rwnText[0] = '\0';
  fileTypeCatalogue[0] = '\0';
  bakValue = 1;
  dexFile[0] = '\0';
  deiIndex[0] = '\0';
  uufShape[0] = '\0';
  mufShape[0] = '\0';

  markList = new (std::nothrow) CMarkList;
  if (markList == nullptr) return 0;
  VUMarkListConstruct(markList);
  return VUMarkListInitialise(markList);
}

int CWorldProp::WPTerminate() {
  if (markList != nullptr) {
    VUMarkListDestroy(markList);
    delete markList;
    markList = nullptr;
  }
  return 1;
}

int CWorldProp::WPSetBuildNumbers(int first, int /*second*/, int /*third*/, int fourth,
                                  int fifth) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", first);
  VUCopyToField(firstBuild, text);
  std::snprintf(text, sizeof text, "%d", fourth);
  VUCopyToField(secondBuild, text);
  if (fifth != -1) {
    std::snprintf(text, sizeof text, "%d", fifth);
    VUCopyToField(thirdBuild, text);
  }
  return 0;
}

int CWorldProp::WPCopyFrom(const CWorldProp* source) {
  if (source == nullptr || source == this) return 1;
  VUCopyToField(firstBuild, source->firstBuild);
  VUCopyToField(secondBuild, source->secondBuild);
  VUCopyToField(thirdBuild, source->thirdBuild);
  VUCopyToField(clnText, source->clnText);
  mapNumber = source->mapNumber;
  snoValue = source->snoValue;
  iconNumber = source->iconNumber;
  acdValue = source->acdValue;
  VUCopyToField(worldName, source->worldName);
  VUCopyToField(rwnText, source->rwnText);
  VUCopyToField(fileTypeCatalogue, source->fileTypeCatalogue);
  bakValue = source->bakValue;
  VUCopyToField(dexFile, source->dexFile);
  VUCopyToField(deiIndex, source->deiIndex);
  VUCopyToField(uufShape, source->uufShape);
  VUCopyToField(mufShape, source->mufShape);

  if (markList == nullptr) {
    markList = new (std::nothrow) CMarkList;
    if (markList == nullptr) return 1;
    VUMarkListConstruct(markList);
    VUMarkListInitialise(markList);
  }
  VUMarkListCopyFrom(markList, source->markList);
  return 1;
}
