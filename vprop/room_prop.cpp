#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common/paths.h"
#include "common/ptr_list.h"
#include "common/text.h"
#include "common/vertex_list.h"
#include "vesta/vprop.h"
#include "vprop/record_kinds.h"

namespace vesta::vprop {
namespace {

const FieldDef kRoomFields[] = {
    VPROP_INT(CRoomProp, "[RIX]", roomIndex),
    VPROP_INT(CRoomProp, "[PSX]", parentRoomIndex),
    VPROP_INT(CRoomProp, "[PIX]", parentItemIndex),
    VPROP_TEXT(CRoomProp, "[RNA]", roomName),
    VPROP_TEXT(CRoomProp, "[DNA]", folder),
    VPROP_INT(CRoomProp, "[WLN]", wlnValue),
    VPROP_INT(CRoomProp, "[NSI]", sideCount),
    VPROP_REAL(CRoomProp, "[LSI]", sideLength),
    VPROP_REAL(CRoomProp, "[HSI]", wallHeight),
    VPROP_INT(CRoomProp, "[PHY]", phyValue),
    VPROP_TEXT(CRoomProp, "[CTX]", ceilingTexture),
    VPROP_TEXT(CRoomProp, "[CII]", ceilingIcon),
    VPROP_TEXT(CRoomProp, "[FTX]", floorTexture),
    VPROP_TEXT(CRoomProp, "[FII]", floorIcon),
    VPROP_TEXT(CRoomProp, "[WTX]", wallTexture),
    VPROP_TEXT(CRoomProp, "[WII]", wallIcon),
    VPROP_TEXT(CRoomProp, "[DTX]", doorTexture),
    VPROP_TEXT(CRoomProp, "[JWL]", jwlText),
    VPROP_TEXT(CRoomProp, "[DVA]", doorKolbFile),
    {"[FVE]", FieldType::kVertices, offsetof(CRoomProp, vertices), 0},
    VPROP_TEXT(CRoomProp, "[HSN]", hitSound),
    VPROP_TEXT(CRoomProp, "[USN]", usnSound),
    VPROP_TEXT(CRoomProp, "[BSN]", bsnSound),
    VPROP_INT(CRoomProp, "[DSN]", dsnValue),
    VPROP_REAL(CRoomProp, "[ELH]", elhValue),
    VPROP_REAL(CRoomProp, "[TRM]", trmValue),
    VPROP_REAL(CRoomProp, "[RST]", rstValue),
    VPROP_REAL(CRoomProp, "[XCS]", posX),
    VPROP_REAL(CRoomProp, "[YCS]", posY),
    VPROP_REAL(CRoomProp, "[ZCS]", posZ),
    VPROP_REAL(CRoomProp, "[SFX]", facingX),
    VPROP_REAL(CRoomProp, "[SFY]", facingY),
    VPROP_REAL(CRoomProp, "[SFZ]", facingZ),
    VPROP_REAL(CRoomProp, "[SAX]", upX),
    VPROP_REAL(CRoomProp, "[SAY]", upY),
    VPROP_REAL(CRoomProp, "[SAZ]", upZ),
    VPROP_INT(CRoomProp, "[FPT]", footprint),
    VPROP_INT(CRoomProp, "[CUF]", cufValue),
    VPROP_INT(CRoomProp, "[WTI]", wallTiling),
    VPROP_INT(CRoomProp, "[FTI]", floorTiling),
    VPROP_INT(CRoomProp, "[CTI]", ceilingTiling),
    VPROP_INT(CRoomProp, "[WZY]", wzyValue),
    VPROP_INT(CRoomProp, "[JEN]", jenValue),
    VPROP_INT(CRoomProp, "[JIX]", jixValue),
    VPROP_INT(CRoomProp, "[SKY]", skyValue),
    VPROP_INT(CRoomProp, "[ISS]", issValue),
    VPROP_INT(CRoomProp, "[ISB]", isbValue),
    VPROP_INT(CRoomProp, "[ADT]", adtValue),
};

}  // namespace

const RecordKind& RoomKind() {
  static const RecordKind kind("[SECT]", kRoomFields, sizeof kRoomFields / sizeof kRoomFields[0],
                               nullptr, 0, true);
  return kind;
}

}  // namespace vesta::vprop

namespace {

// Longest suffix that seeding appends to the media folder.
constexpr int kLongestSuffix = 12;  // "\_doorup.vvc"

// folder + suffix into field. The folder is cut so that the longest suffix
// always fits, whatever the field; every seeded path then names the same
// folder.
template <size_t N>
void SeedPath(char (&field)[N], const char* folder, const char* suffix) {
  char path[N + kLongestSuffix];
  VUCopyN(path, folder, static_cast<int>(N - 1) - kLongestSuffix);
  std::strcat(path, suffix);
  VUCopyToField(field, path);
}

// Position at the origin, facing along Z, up along Y.
void PlaceAtOrigin(CRoomProp* room) {
  room->posX = 0.0f;
  room->posY = 0.0f;
  room->posZ = 0.0f;
  room->facingX = 0.0f;
  room->facingY = 0.0f;
  room->facingZ = 1.0f;
  room->upX = 0.0f;
  room->upY = 1.0f;
  room->upZ = 0.0f;
}

bool InRange(float value, float low, float high) {
  // A value that is not a number fails both comparisons.
  return value >= low && value <= high;
}

}  // namespace

CRoomProp::CRoomProp() : vertices(nullptr) {}

CRoomProp::~CRoomProp() { RPTerminate(); }

int CRoomProp::RPInitialise() {
  roomIndex = -1;
  parentRoomIndex = -1;
  parentItemIndex = -1;
  roomName[0] = '\0';
  folder[0] = '\0';
  PlaceAtOrigin(this);
  elhValue = 1.0f;
  wlnValue = 1;
  sideCount = 8;
  sideLength = 8.0f;
  wallHeight = 3.0f;
  wallTiling = 1;
  floorTiling = 0;
  ceilingTiling = 0;
  phyValue = -1;
  ceilingTexture[0] = '\0';
  ceilingIcon[0] = '\0';
  floorTexture[0] = '\0';
  floorIcon[0] = '\0';
  wallTexture[0] = '\0';
  wallIcon[0] = '\0';
  hitSound[0] = '\0';
  usnSound[0] = '\0';
  bsnSound[0] = '\0';
  doorTexture[0] = '\0';
  doorKolbFile[0] = '\0';
  adtValue = 0;
  skyValue = -1;
  dsnValue = 10;
  issValue = 1;
  isbValue = 0;
  trmValue = 0.9f;
  rstValue = 0.75f;
  jenValue = 0;
  jixValue = -1;
  jwlText[0] = '\0';
  footprint = 0;
  cufValue = 0;
  wzyValue = -1;
  vertices = nullptr;
  return 1;
}

int CRoomProp::RPTerminate() {
  if (vertices != nullptr) {
    void* vertex = nullptr;
    VUListPosition position = nullptr;
    for (int more = VUListFirst(vertices, &vertex, &position); more;
         more = VUListNext(vertices, &vertex, &position)) {
      std::free(vertex);
    }
    VUListDestroy(vertices);
    delete vertices;
    vertices = nullptr;
  }
  return 1;
}

int CRoomProp::RPSeedProperties(const char* mediaFolder) {
  RPInitialise();
  if (mediaFolder == nullptr) mediaFolder = "";
  SeedPath(ceilingTexture, mediaFolder, "\\FWC01.bmp");
  SeedPath(floorTexture, mediaFolder, "\\FWF01.bmp");
  SeedPath(wallTexture, mediaFolder, "\\FWW01.bmp");
  SeedPath(hitSound, mediaFolder, "\\HIT01.wav");
  SeedPath(usnSound, mediaFolder, "\\STP01.wav");
  SeedPath(doorTexture, mediaFolder, "\\DOR01.bmp");
  SeedPath(doorKolbFile, mediaFolder, "\\_doorup.vvc");
  VUCopyToField(roomName, "Desktop Room");
  posX = 0.0f;
  posY = 0.0f;
  posZ = 0.0f;
  wlnValue = 1;
  sideCount = 8;
  sideLength = 10.0f;
  wallHeight = 3.0f;
  phyValue = 0;
  wallTiling = 1;
  floorTiling = 0;
  ceilingTiling = 0;
  bsnSound[0] = '\0';
  adtValue = 0;
  return 1;
}

int CRoomProp::RPSeedDesktop() {
  VUCopyToField(roomName, "Desktop Room");
  PlaceAtOrigin(this);
  elhValue = 1.0f;
  doorTexture[0] = '\0';
  doorKolbFile[0] = '\0';
  footprint = 0;
  adtValue = -1;
  wlnValue = 1;
  return 1;
}

int CRoomProp::RPIsObjectViable() {
  if (roomName[0] == '\0') return 0;
  if (sideCount < 3 || sideCount > 64) return 0;
  if (!InRange(sideLength, 1.0f, 256.0f) || !InRange(wallHeight, 1.0f, 256.0f)) return 0;
  if (ceilingTexture[0] == '\0' || floorTexture[0] == '\0' || wallTexture[0] == '\0') return 0;
  return 1;
}

int CRoomProp::RPSetFirstBuild() {
  roomIndex = -1;
  return 1;
}

int CRoomProp::RPIsDirectoryViable() {
  return folder[0] != '\0' && VUFolderExists(folder) ? 1 : 0;
}

int CRoomProp::RPMakeChildOf(const CItemProp* item) {
  if (item == nullptr) return 0;
  parentRoomIndex = item->roomIndex;
  parentItemIndex = item->itemIndex;
  roomIndex = -1;
  posX = item->posX + item->facingX;
  posY = item->posY + item->facingY;
  posZ = item->posZ + item->facingZ;
  wlnValue = 1;
  sideLength = std::sqrt(item->facingX * item->facingX + item->facingZ * item->facingZ);
  wallHeight = item->uclValue - item->dclValue;
  float facing[3] = {-item->facingZ, item->facingY, item->facingX};
  VUNormalise3(facing);
  facingX = facing[0];
  facingY = facing[1];
  facingZ = facing[2];
  float up[3] = {item->upX, item->upY, item->upZ};
  VUNormalise3(up);
  upX = up[0];
  upY = up[1];
  upZ = up[2];
  return 1;
}

int CRoomProp::RPCopyFrom(const CRoomProp* source) {
  if (source == nullptr || source == this) return 1;
  VUList* keep = vertices;
  // Every field but the vertex list is plain data.
  std::memcpy(static_cast<void*>(this), source, offsetof(CRoomProp, vertices));
  vertices = keep;
  void* element = nullptr;
  VUListPosition position = nullptr;
  for (int more = VUListFirst(source->vertices, &element, &position); more;
       more = VUListNext(source->vertices, &element, &position)) {
    if (!VUVertexListAdd(&vertices, static_cast<const float*>(element))) return 0;
  }
  return 1;
}
