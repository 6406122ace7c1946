#include <cstring>

#include "common/text.h"
#include "vesta/vprop.h"
#include "vprop/record_kinds.h"

namespace vesta::vprop {
namespace {

const FieldDef kItemFields[] = {
    VPROP_INT(CItemProp, "[ITI]", itemIndex),
    VPROP_INT(CItemProp, "[IPS]", roomIndex),
    VPROP_INT(CItemProp, "[IGP]", igpValue),
    VPROP_TEXT(CItemProp, "[INA]", name),
    VPROP_TEXT(CItemProp, "[TGT]", target),
    VPROP_TEXT(CItemProp, "[WDR]", workingFolder),
    VPROP_TEXT(CItemProp, "[FTY]", fileType),
    VPROP_REAL(CItemProp, "[XCO]", posX),
    VPROP_REAL(CItemProp, "[YCO]", posY),
    VPROP_REAL(CItemProp, "[ZCO]", posZ),
    VPROP_REAL(CItemProp, "[UCL]", uclValue),
    VPROP_REAL(CItemProp, "[DCL]", dclValue),
    VPROP_REAL(CItemProp, "[UZO]", uzoValue),
    VPROP_REAL(CItemProp, "[MZO]", mzoValue),
    VPROP_REAL(CItemProp, "[SZO]", szoValue),
    VPROP_TEXT(CItemProp, "[PIF]", texture),
    VPROP_TEXT(CItemProp, "[PIX]", textureIcon),
    VPROP_TEXT(CItemProp, "[SSS]", selectedShape),
    VPROP_TEXT(CItemProp, "[CMD]", commandLine),
    VPROP_TEXT(CItemProp, "[XFL]", unselectedShape),
    VPROP_TEXT(CItemProp, "[COS]", collideSound),
    VPROP_TEXT(CItemProp, "[SES]", selectedSound),
    VPROP_TEXT(CItemProp, "[OPS]", openSound),
    VPROP_TEXT(CItemProp, "[XDS]", deleteSound),
    VPROP_TEXT(CItemProp, "[RVC]", kolbFile),
    VPROP_INT(CItemProp, "[SPT]", specialType),
    VPROP_INT(CItemProp, "[WTP]", wtpValue),
    VPROP_INT(CItemProp, "[TLE]", tiling),
    VPROP_INT(CItemProp, "[FUN]", funValue),
    VPROP_INT(CItemProp, "[RLO]", forceReload),
    VPROP_REAL(CItemProp, "[DSF]", dsfValue),
    VPROP_INT(CItemProp, "[SEL]", selected),
    VPROP_INT(CItemProp, "[ISG]", isgValue),
    VPROP_REAL(CItemProp, "[FFX]", facingX),
    VPROP_REAL(CItemProp, "[FFY]", facingY),
    VPROP_REAL(CItemProp, "[FFZ]", facingZ),
    VPROP_REAL(CItemProp, "[FAX]", upX),
    VPROP_REAL(CItemProp, "[FAY]", upY),
    VPROP_REAL(CItemProp, "[FAZ]", upZ),
    VPROP_INT(CItemProp, "[FPT]", footprint),
    VPROP_INT(CItemProp, "[ALA]", alaValue),
    VPROP_INT(CItemProp, "[FPD]", footprintDisabled),
    VPROP_TEXT(CItemProp, "[FTF]", ftfText),
};

}  // namespace

const RecordKind& ItemKind() {
  static const RecordKind kind("[ITEM]", kItemFields, sizeof kItemFields / sizeof kItemFields[0],
                               nullptr, 0, true);
  return kind;
}

}  // namespace vesta::vprop

namespace {

// Position, size and facing shared by the user and the room mate.
void PlaceSpecial(CItemProp* item, int index, const char* name, float spread) {
  item->itemIndex = index;
  VUCopyToField(item->name, name);
  item->posX = -spread;
  item->posY = 1.4f;
  item->posZ = spread;
  item->dsfValue = 1.4f;
  item->facingX = -0.3f;
  item->facingY = 0.0f;
  item->facingZ = 0.7f;
  item->upX = 0.0f;
  item->upY = 1.0f;
  item->upZ = 0.0f;
}

}  // namespace

CItemProp::CItemProp() = default;

CItemProp::~CItemProp() { IPTerminate(); }

int CItemProp::IPInitialise() {
  spareInteger1 = 0;
  spareInteger2 = 0;
  IPInitIndices();
  igpValue = -1;
  name[0] = '\0';
  target[0] = '\0';
  workingFolder[0] = '\0';
  fileType[0] = '\0';
  posX = 0.0f;
  posY = 1.4f;
  posZ = 1.0f;
  uclValue = 1.4f;
  dclValue = 1.4f;
  uzoValue = 1.1f;
  szoValue = 1.1f;
  mzoValue = 1.1f;
  commandLine[0] = '\0';
  kolbFile[0] = '\0';
  selectedShape[0] = '\0';
  texture[0] = '\0';
  VUCopyToField(textureIcon, "1");
  unselectedShape[0] = '\0';
  collideSound[0] = '\0';
  selectedSound[0] = '\0';
  openSound[0] = '\0';
  deleteSound[0] = '\0';
  specialType = 0;
  wtpValue = -1;
  tiling = 1;
  funValue = -1;
  footprintDisabled = 1;
  alaValue = 1;
  forceReload = 0;
  dsfValue = 1.0f;
  selected = 0;
  isgValue = 0;
  facingX = 0.0f;
  facingY = 0.0f;
  facingZ = 1.0f;
  upX = 0.0f;
  upY = 1.0f;
  upZ = 0.0f;
  footprint = 0;
  ftfText[0] = '\0';
  spareText[0] = '\0';
  spareIndex = -1;
  cogChanged = 0;
  static const float kFrame[9] = {0, 0, 0, 0, 0, 1.0f, 0, 1.0f, 0};
  for (auto& frame : frames) std::memcpy(frame, kFrame, sizeof kFrame);
  closing[0] = 1.0f;
  closing[1] = 1.0f;
  closing[2] = 0.0f;
  return 1;
}

int CItemProp::IPTerminate() { return 1; }

int CItemProp::IPInitIndices() {
  itemIndex = -1;
  roomIndex = -1;
  return 1;
}

int CItemProp::IPSetToTheUser(float d) {
  PlaceSpecial(this, 0, " You, The User ", d * 0.25f);
  return 1;
}

int CItemProp::IPSetToRoomMate(float d) {
  PlaceSpecial(this, 1, " RoomMate ", d * 0.5f);
  return 1;
}

int CItemProp::IPIsThisTheUser() { return itemIndex == 0 ? 1 : 0; }

int CItemProp::IPIsThisRoomMate() { return itemIndex == 1 ? 1 : 0; }

int CItemProp::IPIsSelected() { return selected != 0 ? 1 : 0; }

int CItemProp::IPIsObjectViable() { return name[0] != '\0' && dsfValue > 0.0f ? 1 : 0; }

int CItemProp::IPIsThisArchitecture() {
  return specialType >= 1 && specialType <= 3 ? 1 : 0;
}

int CItemProp::IPSetCOGChanged(int changed) {
  cogChanged = changed;
  return 1;
}

int CItemProp::IPIsCOGChanged() { return cogChanged; }

int CItemProp::IPSetForceReload(int reload) {
  forceReload = reload;
  return 1;
}

int CItemProp::IPIsForceReload() { return forceReload; }

int CItemProp::IPCopyFrom(const CItemProp* source) {
  if (source == nullptr || source == this) return 0;
  spareInteger1 = source->spareInteger1;
  spareInteger2 = source->spareInteger2;
  itemIndex = source->itemIndex;
  roomIndex = source->roomIndex;
  igpValue = source->igpValue;
  VUCopyToField(name, source->name);
  VUCopyToField(target, source->target);
  VUCopyToField(workingFolder, source->workingFolder);
  VUCopyToField(fileType, source->fileType);
  posX = source->posX;
  posY = source->posY;
  posZ = source->posZ;
  uclValue = source->uclValue;
  dclValue = source->dclValue;
  uzoValue = source->uzoValue;
  szoValue = source->szoValue;
  mzoValue = source->mzoValue;
  VUCopyToField(commandLine, source->commandLine);
  VUCopyToField(kolbFile, source->kolbFile);
  VUCopyToField(selectedShape, source->selectedShape);
  VUCopyToField(texture, source->texture);
  VUCopyToField(textureIcon, source->textureIcon);
  VUCopyToField(unselectedShape, source->unselectedShape);
  VUCopyToField(collideSound, source->collideSound);
  VUCopyToField(selectedSound, source->selectedSound);
  VUCopyToField(openSound, source->openSound);
  VUCopyToField(deleteSound, source->deleteSound);
  specialType = source->specialType;
  wtpValue = source->wtpValue;
  tiling = source->tiling;
  funValue = source->funValue;
  footprintDisabled = source->footprintDisabled;
  alaValue = source->alaValue;
  dsfValue = source->dsfValue;
  selected = source->selected;
  isgValue = source->isgValue;
  facingX = source->facingX;
  facingY = source->facingY;
  facingZ = source->facingZ;
  upX = source->upX;
  upY = source->upY;
  upZ = source->upZ;
  footprint = source->footprint;
  VUCopyToField(ftfText, source->ftfText);
  VUCopyToField(spareText, source->spareText);
  std::memcpy(closing, source->closing, sizeof closing);
  return 0;
}
