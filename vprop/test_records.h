// Test helpers: records filled away from their defaults, and field-for-field
// comparison (reals bit for bit).
#ifndef VESTA_VPROP_TEST_RECORDS_H
#define VESTA_VPROP_TEST_RECORDS_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/mark_list.h"
#include "common/ptr_list.h"
#include "common/vertex_list.h"
#include "vesta/vprop.h"

namespace vesta::testing {

inline bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

#define VESTA_EXPECT_SAME_REAL(a, b, field) \
  EXPECT_TRUE(::vesta::testing::SameBits((a).field, (b).field)) << #field << ": " << (a).field << " " << (b).field
#define VESTA_EXPECT_SAME_TEXT(a, b, field) EXPECT_STREQ((a).field, (b).field) << #field
#define VESTA_EXPECT_SAME_INT(a, b, field) EXPECT_EQ((a).field, (b).field) << #field

inline void ExpectSameMark(const MarkRecord& a, const MarkRecord& b) {
  VESTA_EXPECT_SAME_TEXT(a, b, name);
  VESTA_EXPECT_SAME_INT(a, b, i);
  VESTA_EXPECT_SAME_INT(a, b, s);
  VESTA_EXPECT_SAME_INT(a, b, v);
  VESTA_EXPECT_SAME_REAL(a, b, x);
  VESTA_EXPECT_SAME_REAL(a, b, y);
  VESTA_EXPECT_SAME_REAL(a, b, z);
  VESTA_EXPECT_SAME_REAL(a, b, p);
  VESTA_EXPECT_SAME_REAL(a, b, q);
  VESTA_EXPECT_SAME_REAL(a, b, r);
  VESTA_EXPECT_SAME_REAL(a, b, a);
  VESTA_EXPECT_SAME_REAL(a, b, b);
  VESTA_EXPECT_SAME_REAL(a, b, c);
  VESTA_EXPECT_SAME_REAL(a, b, o);
  VESTA_EXPECT_SAME_REAL(a, b, f);
}

inline void ExpectSameWorld(const CWorldProp& a, const CWorldProp& b) {
  VESTA_EXPECT_SAME_TEXT(a, b, firstBuild);
  VESTA_EXPECT_SAME_TEXT(a, b, secondBuild);
  VESTA_EXPECT_SAME_TEXT(a, b, thirdBuild);
  VESTA_EXPECT_SAME_TEXT(a, b, clnText);
  VESTA_EXPECT_SAME_INT(a, b, mapNumber);
  VESTA_EXPECT_SAME_INT(a, b, snoValue);
  VESTA_EXPECT_SAME_INT(a, b, iconNumber);
  VESTA_EXPECT_SAME_INT(a, b, acdValue);
  VESTA_EXPECT_SAME_TEXT(a, b, worldName);
  VESTA_EXPECT_SAME_TEXT(a, b, rwnText);
  VESTA_EXPECT_SAME_TEXT(a, b, fileTypeCatalogue);
  VESTA_EXPECT_SAME_INT(a, b, bakValue);
  VESTA_EXPECT_SAME_TEXT(a, b, dexFile);
  VESTA_EXPECT_SAME_TEXT(a, b, deiIndex);
  VESTA_EXPECT_SAME_TEXT(a, b, uufShape);
  VESTA_EXPECT_SAME_TEXT(a, b, mufShape);
  ASSERT_EQ(VUMarkListCount(a.markList), VUMarkListCount(b.markList));
  for (int k = 0; k < VUMarkListCount(a.markList); ++k) {
    ExpectSameMark(*VUMarkListGet(a.markList, k), *VUMarkListGet(b.markList, k));
  }
}

// The stored fields of two rooms, vertices included.
inline void ExpectSameRoom(const CRoomProp& a, const CRoomProp& b) {
  VESTA_EXPECT_SAME_INT(a, b, roomIndex);
  VESTA_EXPECT_SAME_INT(a, b, parentRoomIndex);
  VESTA_EXPECT_SAME_INT(a, b, parentItemIndex);
  VESTA_EXPECT_SAME_TEXT(a, b, roomName);
  VESTA_EXPECT_SAME_TEXT(a, b, folder);
  VESTA_EXPECT_SAME_REAL(a, b, posX);
  VESTA_EXPECT_SAME_REAL(a, b, posY);
  VESTA_EXPECT_SAME_REAL(a, b, posZ);
  VESTA_EXPECT_SAME_REAL(a, b, elhValue);
  VESTA_EXPECT_SAME_REAL(a, b, facingX);
  VESTA_EXPECT_SAME_REAL(a, b, facingY);
  VESTA_EXPECT_SAME_REAL(a, b, facingZ);
  VESTA_EXPECT_SAME_REAL(a, b, upX);
  VESTA_EXPECT_SAME_REAL(a, b, upY);
  VESTA_EXPECT_SAME_REAL(a, b, upZ);
  VESTA_EXPECT_SAME_INT(a, b, wlnValue);
  VESTA_EXPECT_SAME_INT(a, b, sideCount);
  VESTA_EXPECT_SAME_REAL(a, b, sideLength);
  VESTA_EXPECT_SAME_REAL(a, b, wallHeight);
  VESTA_EXPECT_SAME_INT(a, b, wallTiling);
  VESTA_EXPECT_SAME_INT(a, b, floorTiling);
  VESTA_EXPECT_SAME_INT(a, b, ceilingTiling);
  VESTA_EXPECT_SAME_INT(a, b, phyValue);
  VESTA_EXPECT_SAME_TEXT(a, b, ceilingTexture);
  VESTA_EXPECT_SAME_TEXT(a, b, ceilingIcon);
  VESTA_EXPECT_SAME_TEXT(a, b, floorTexture);
  VESTA_EXPECT_SAME_TEXT(a, b, floorIcon);
  VESTA_EXPECT_SAME_TEXT(a, b, wallTexture);
  VESTA_EXPECT_SAME_TEXT(a, b, wallIcon);
  VESTA_EXPECT_SAME_TEXT(a, b, hitSound);
  VESTA_EXPECT_SAME_TEXT(a, b, usnSound);
  VESTA_EXPECT_SAME_TEXT(a, b, bsnSound);
  VESTA_EXPECT_SAME_TEXT(a, b, doorTexture);
  VESTA_EXPECT_SAME_TEXT(a, b, doorKolbFile);
  VESTA_EXPECT_SAME_INT(a, b, adtValue);
  VESTA_EXPECT_SAME_INT(a, b, skyValue);
  VESTA_EXPECT_SAME_INT(a, b, dsnValue);
  VESTA_EXPECT_SAME_INT(a, b, issValue);
  VESTA_EXPECT_SAME_INT(a, b, isbValue);
  VESTA_EXPECT_SAME_REAL(a, b, trmValue);
  VESTA_EXPECT_SAME_REAL(a, b, rstValue);
  VESTA_EXPECT_SAME_INT(a, b, jenValue);
  VESTA_EXPECT_SAME_INT(a, b, jixValue);
  VESTA_EXPECT_SAME_TEXT(a, b, jwlText);
  VESTA_EXPECT_SAME_INT(a, b, footprint);
  VESTA_EXPECT_SAME_INT(a, b, cufValue);
  VESTA_EXPECT_SAME_INT(a, b, wzyValue);
  ASSERT_EQ(VUListCount(a.vertices), VUListCount(b.vertices));
  VUListPosition pa = nullptr;
  VUListPosition pb = nullptr;
  void* va = nullptr;
  void* vb = nullptr;
  for (int more = VUListFirst(a.vertices, &va, &pa) && VUListFirst(b.vertices, &vb, &pb); more;
       more = VUListNext(a.vertices, &va, &pa) && VUListNext(b.vertices, &vb, &pb)) {
    EXPECT_EQ(std::memcmp(va, vb, 3 * sizeof(float)), 0);
  }
}

// The fields of two items that the file stores.
inline void ExpectSameStoredItem(const CItemProp& a, const CItemProp& b) {
  VESTA_EXPECT_SAME_INT(a, b, itemIndex);
  VESTA_EXPECT_SAME_INT(a, b, roomIndex);
  VESTA_EXPECT_SAME_INT(a, b, igpValue);
  VESTA_EXPECT_SAME_TEXT(a, b, name);
  VESTA_EXPECT_SAME_TEXT(a, b, target);
  VESTA_EXPECT_SAME_TEXT(a, b, workingFolder);
  VESTA_EXPECT_SAME_TEXT(a, b, fileType);
  VESTA_EXPECT_SAME_REAL(a, b, posX);
  VESTA_EXPECT_SAME_REAL(a, b, posY);
  VESTA_EXPECT_SAME_REAL(a, b, posZ);
  VESTA_EXPECT_SAME_REAL(a, b, uclValue);
  VESTA_EXPECT_SAME_REAL(a, b, dclValue);
  VESTA_EXPECT_SAME_REAL(a, b, uzoValue);
  VESTA_EXPECT_SAME_REAL(a, b, szoValue);
  VESTA_EXPECT_SAME_REAL(a, b, mzoValue);
  VESTA_EXPECT_SAME_TEXT(a, b, commandLine);
  VESTA_EXPECT_SAME_TEXT(a, b, kolbFile);
  VESTA_EXPECT_SAME_TEXT(a, b, selectedShape);
  VESTA_EXPECT_SAME_TEXT(a, b, texture);
  VESTA_EXPECT_SAME_TEXT(a, b, textureIcon);
  VESTA_EXPECT_SAME_TEXT(a, b, unselectedShape);
  VESTA_EXPECT_SAME_TEXT(a, b, collideSound);
  VESTA_EXPECT_SAME_TEXT(a, b, selectedSound);
  VESTA_EXPECT_SAME_TEXT(a, b, openSound);
  VESTA_EXPECT_SAME_TEXT(a, b, deleteSound);
  VESTA_EXPECT_SAME_INT(a, b, specialType);
  VESTA_EXPECT_SAME_INT(a, b, wtpValue);
  VESTA_EXPECT_SAME_INT(a, b, tiling);
  VESTA_EXPECT_SAME_INT(a, b, funValue);
  VESTA_EXPECT_SAME_INT(a, b, footprintDisabled);
  VESTA_EXPECT_SAME_INT(a, b, alaValue);
  VESTA_EXPECT_SAME_INT(a, b, forceReload);
  VESTA_EXPECT_SAME_REAL(a, b, dsfValue);
  VESTA_EXPECT_SAME_INT(a, b, selected);
  VESTA_EXPECT_SAME_INT(a, b, isgValue);
  VESTA_EXPECT_SAME_REAL(a, b, facingX);
  VESTA_EXPECT_SAME_REAL(a, b, facingY);
  VESTA_EXPECT_SAME_REAL(a, b, facingZ);
  VESTA_EXPECT_SAME_REAL(a, b, upX);
  VESTA_EXPECT_SAME_REAL(a, b, upY);
  VESTA_EXPECT_SAME_REAL(a, b, upZ);
  VESTA_EXPECT_SAME_INT(a, b, footprint);
  VESTA_EXPECT_SAME_TEXT(a, b, ftfText);
}

// Sets every text field of a record to a distinct value derived from seed,
// every integer and real away from its default.
inline void FillRoom(CRoomProp* room, int seed) {
  room->RPInitialise();
  room->roomIndex = seed;
  room->parentRoomIndex = seed - 1;
  room->parentItemIndex = seed + 100;
  std::snprintf(room->roomName, sizeof room->roomName, "Room %d [x]", seed);
  std::snprintf(room->folder, sizeof room->folder, "C:\\Users\\Public\\Desktop\\Folder %d\\", seed);
  float* reals[] = {&room->posX, &room->posY, &room->posZ, &room->elhValue, &room->facingX,
                    &room->facingY, &room->facingZ, &room->upX, &room->upY, &room->upZ,
                    &room->sideLength, &room->wallHeight, &room->trmValue, &room->rstValue};
  for (size_t k = 0; k < sizeof reals / sizeof reals[0]; ++k) {
    *reals[k] = static_cast<float>(seed) / 7.0f + static_cast<float>(k) * 0.3f - 2.0f;
  }
  int32_t* ints[] = {&room->wlnValue, &room->sideCount, &room->wallTiling, &room->floorTiling,
                     &room->ceilingTiling, &room->phyValue, &room->adtValue, &room->skyValue,
                     &room->dsnValue, &room->issValue, &room->isbValue, &room->jenValue,
                     &room->jixValue, &room->footprint, &room->cufValue, &room->wzyValue};
  for (size_t k = 0; k < sizeof ints / sizeof ints[0]; ++k) {
    *ints[k] = seed * 31 + static_cast<int32_t>(k) - 7;
  }
  char* texts[] = {room->ceilingTexture, room->floorTexture, room->wallTexture, room->hitSound,
                   room->usnSound, room->bsnSound, room->doorTexture, room->doorKolbFile, room->jwlText};
  for (size_t k = 0; k < sizeof texts / sizeof texts[0]; ++k) {
    std::snprintf(texts[k], 261, "C:\\VESTA\\media\\file%d_%d.bmp", seed, static_cast<int>(k));
  }
  std::snprintf(room->ceilingIcon, sizeof room->ceilingIcon, "%d", seed);
  std::snprintf(room->floorIcon, sizeof room->floorIcon, "%d", seed + 1);
  std::snprintf(room->wallIcon, sizeof room->wallIcon, "%d", seed + 2);
  for (int v = 0; v < seed % 5 + 1; ++v) {
    const float vertex[3] = {static_cast<float>(v) * 0.1f, static_cast<float>(seed), -static_cast<float>(v) / 3.0f};
    VUVertexListAdd(&room->vertices, vertex);
  }
}

inline void FillItem(CItemProp* item, int seed) {
  item->IPInitialise();
  item->itemIndex = seed;
  item->roomIndex = seed / 3;
  item->igpValue = seed * 2;
  char* texts[] = {item->name, item->target, item->workingFolder, item->fileType,
                   item->commandLine, item->kolbFile, item->selectedShape, item->texture,
                   item->unselectedShape, item->collideSound, item->selectedSound,
                   item->openSound, item->deleteSound, item->ftfText};
  for (size_t k = 0; k < sizeof texts / sizeof texts[0]; ++k) {
    std::snprintf(texts[k], 261, "C:\\Docs\\item %d\\value %d.txt", seed, static_cast<int>(k));
  }
  std::snprintf(item->textureIcon, sizeof item->textureIcon, "%d", seed % 9);
  float* reals[] = {&item->posX, &item->posY, &item->posZ, &item->uclValue, &item->dclValue,
                    &item->uzoValue, &item->szoValue, &item->mzoValue, &item->dsfValue,
                    &item->facingX, &item->facingY, &item->facingZ, &item->upX, &item->upY, &item->upZ};
  for (size_t k = 0; k < sizeof reals / sizeof reals[0]; ++k) {
    *reals[k] = static_cast<float>(seed) / 11.0f - static_cast<float>(k) * 0.7f;
  }
  int32_t* ints[] = {&item->specialType, &item->wtpValue, &item->tiling, &item->funValue,
                     &item->footprintDisabled, &item->alaValue, &item->forceReload,
                     &item->selected, &item->isgValue, &item->footprint};
  for (size_t k = 0; k < sizeof ints / sizeof ints[0]; ++k) {
    *ints[k] = seed * 13 - static_cast<int32_t>(k);
  }
}

}  // namespace vesta::testing

#endif
