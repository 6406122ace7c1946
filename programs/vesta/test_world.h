// The world commands' tests: a scratch installation with media, a
// catalogue, and a small world made on demand.
#ifndef VESTA_PROGRAMS_VESTA_TEST_WORLD_H
#define VESTA_PROGRAMS_VESTA_TEST_WORLD_H

#include <cstring>
#include <string>

#include "programs/vesta/test_vesta.h"
#include "vesta/vprop.h"

namespace vesta::testing {

class WorldCommandTest : public VestaToolTest {
 protected:
  // A field on a line of its own.
  static std::string Field(const char* tag, const std::string& value) {
    return vesta::testing::Field(tag, value) + "\n";
  }

  template <size_t N>
  static void Set(char (&field)[N], const std::string& text) {
    std::strncpy(field, text.c_str(), N - 1);
    field[N - 1] = '\0';
  }

  void SetUp() override {
    VestaToolTest::SetUp();
    for (const char* name : {"wall.bmp", "floor.bmp", "doc.bmp", "hit.wav", "lamp.bmp"}) {
      Write(Media(name), std::string("media ") + name);
    }
    Write(Media("lamp.x"), "xof 0302txt 0032\nMaterial { TextureFilename { \"shade.bmp\"; } }\n");
    catalogue_ = home_ + "worlds\\VESTA.vft";
    Write(catalogue_, "[FTLS]\n" + Field("[TYP]", "Text document") + Field("[END]", ".txt") +
                          Field("[TXT]", Media("doc.bmp")) + Field("[COL]", Media("hit.wav")) + "[SLTF]\n");
    world_ = home_ + "worlds\\Small.vwq";
  }

  // A world of one room and two items; the lamp's texture is gone.
  void MakeWorld(const std::string& lampTexture) {
    CWorldProp world;
    world.WPInitialise();
    Set(world.worldName, "Small");
    ASSERT_EQ(FFSaveWorldProp(world_.c_str(), &world), 1);
    world.WPTerminate();
    CRoomProp room;
    room.RPInitialise();
    room.roomIndex = 0;
    Set(room.roomName, "Hall");
    Set(room.wallTexture, Media("wall.bmp"));
    Set(room.floorTexture, Media("floor.bmp"));
    Set(room.hitSound, Media("hit.wav"));
    ASSERT_EQ(FFSaveRoomProp(world_.c_str(), &room), 1);
    room.RPTerminate();
    CItemProp item;
    item.IPInitialise();
    item.roomIndex = 0;
    item.itemIndex = 2;
    Set(item.name, "Report");
    Set(item.texture, Media("doc.bmp"));
    Set(item.collideSound, Media("hit.wav"));
    ASSERT_EQ(FFSaveItemProp(world_.c_str(), &item), 1);
    item.IPInitialise();
    item.roomIndex = 0;
    item.itemIndex = 3;
    Set(item.name, "Lamp");
    Set(item.texture, lampTexture);
    Set(item.unselectedShape, Media("lamp.x"));
    ASSERT_EQ(FFSaveItemProp(world_.c_str(), &item), 1);
  }

  std::string catalogue_;
  std::string world_;
};

}  // namespace vesta::testing

#endif
