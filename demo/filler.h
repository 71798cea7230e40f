#pragma once

#include "level/tr4_level.h"
#include "builders/objects.h"
#include "builders/shapes.h"
#include "demo/random.h"
#include "wad/wad_library.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// Generated objects that bring the large demo files to the scale of a real game level.
namespace veltrane::demo {

// What a level or library should hold once generated objects are added to its hand-made ones.
struct FillerPlan {
    std::size_t Moveables = 0;
    std::size_t Meshes = 0; // of moveables and static meshes together
    std::size_t StaticMeshes = 0;
    std::size_t Animations = 0;
    std::size_t FrameWords = 0; // about
    std::uint32_t FirstMoveableId = 0;
    std::uint32_t FirstStaticId = 0;
    bool SomeStill = false; // every tenth generated moveable has no animations
};

// The texture words of the i-th generated object.
using SkinFor = std::function<builders::Skin(std::size_t i)>;

// Appends generated moveables and static meshes until the model holds what the plan says.
void addFillers(level::Tr4Level& level, const FillerPlan& plan, const SkinFor& moveableSkin, const SkinFor& staticSkin,
                Random& random);
void addFillers(wad::WadLibrary& library, const FillerPlan& plan, const SkinFor& moveableSkin,
                const SkinFor& staticSkin, Random& random);

} // namespace veltrane::demo
