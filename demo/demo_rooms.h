#pragma once

#include "level/tr4_level.h"
#include "demo/level_atlas.h"
#include "demo/random.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::demo {

// The middle of a room's floor, in world units.
struct RoomPlace {
    std::int32_t X = 0;
    std::int32_t Z = 0;
    std::int32_t Floor = 0;
};

// Lays out `count` rooms of 10 x 10 sectors in a winding row, each joined to the next through a
// doorway: floor, ceiling and two-storey walls, a few triangles and sprites, portals and the floor
// data that leads through them, one pathfinding box a room with its overlaps and zone, lights, and
// the given static meshes placed about. Returns where each room lies.
std::vector<RoomPlace> addRooms(level::Tr4Level& level, const LevelAtlas& atlas, std::size_t count,
                                std::span<const std::uint32_t> staticIds, Random& random);

} // namespace veltrane::demo
