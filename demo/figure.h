#pragma once

#include "level/mesh_record.h"
#include "builders/objects.h"
#include "builders/shapes.h"

#include <cstdint>

namespace veltrane::demo {

struct FigureLook {
    std::uint32_t ObjectId = 0;
    bool HandsAndFeet = false; // 15 meshes in the game player's order, else 11
    double Height = 1.0;       // scales the limbs' length
    double Girth = 1.0;        // scales their thickness
    builders::Skin Head;       // needs triangle textures: the head is a capped prism
    builders::Skin Body;
    builders::Skin Limbs;
};

// The states of the figure's animations.
inline constexpr std::uint16_t kStateWalk = 0;
inline constexpr std::uint16_t kStateStand = 2;
inline constexpr std::uint16_t kStateHop = 3;
inline constexpr std::uint16_t kStateWave = 4;

// A jointed figure (hips, legs, torso, arms, head) hung on a mesh tree that pushes and pops, with
// four animations: 0 stand, 1 walk, 2 wave, 3 hop. They change into each other through state
// changes and dispatches, and their commands play footsteps, leave footprints, empty the hands and
// set the jump velocity and the end position.
builders::Moveable jointedFigure(level::MeshKind kind, const FigureLook& look);

} // namespace veltrane::demo
