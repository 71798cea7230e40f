#pragma once

#include "level/tr4_level.h"
#include "merge/merge_plan.h"
#include "wad/wad_library.h"

#include <cstdint>

namespace veltrane::merge {

// Copies the `dispatches` dispatches of `count` library state changes from `firstStateChange` on, as
// one run from the first one's dispatches, and points the target state changes from
// `firstTargetStateChange` on at the copies. Without dispatches the copied state changes keep their
// library DispatchOffset.
void AppendAnimDispatches(level::Tr4Level& target, const wad::WadLibrary& library, std::uint32_t firstStateChange,
                          std::uint32_t count, std::uint32_t dispatches, std::uint32_t firstTargetStateChange);

struct MergedAnimations {
    std::uint32_t frameOffset = 0;                 // byte offset of the moveable's frames in the target
    std::uint16_t animation = level::kNoAnimation; // its first animation in the target
};

// Appends a planned moveable's frame block, animations, state changes, dispatches and commands to the
// target, every index rebased to the target's tables.
MergedAnimations MergeAnimations(level::Tr4Level& target, const wad::WadLibrary& library,
                                 const PlannedMoveable& moveable);

} // namespace veltrane::merge
