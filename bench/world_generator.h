// Generates worlds of many items for the benchmarks: one world record, a
// room for every 20 items (each with 4 to 8 vertices), and the items.
#ifndef VESTA_BENCH_WORLD_GENERATOR_H
#define VESTA_BENCH_WORLD_GENERATOR_H

#include <memory>
#include <string>
#include <vector>

#include "vesta/vprop.h"

namespace vesta::bench {

struct GeneratedWorld {
  CWorldProp world;
  std::vector<std::unique_ptr<CRoomProp>> rooms;
  std::vector<std::unique_ptr<CItemProp>> items;
  // Records in file order: 'R' a room, 'I' an item (after the world).
  std::string order;
};

// A world of itemCount items, the same for the same count.
std::unique_ptr<GeneratedWorld> GenerateWorld(int itemCount);

}  // namespace vesta::bench

#endif
