#pragma once

#include "level/tr4_level.h"
#include "wad/wad_library.h"

#include <cstdint>
#include <optional>
#include <span>

namespace veltrane::merge {

// Animation 0xFFFF: the moveable has no animations.
constexpr std::uint16_t kNoAnimation = 0xFFFF;

// Bytes [start, end) of the library's Frames that moveable `moveable` plays: from its FrameOffset to
// the next moveable's, the last one to the end of Frames. `end` is below `start` in a damaged library.
struct FrameBlock {
    std::int64_t start = 0;
    std::int64_t end = 0;
};
FrameBlock moveableFrameBlock(const wad::WadLibrary& library, std::int32_t moveable);

// The words that `commandCount` whole animation commands take from word `firstWord` on (an opcode
// word and its operands: 3 for opcode 1, 2 for opcodes 2, 5 and 6, none for the others), or nothing
// when the table ends inside them.
std::optional<std::size_t> commandRunWords(std::span<const std::uint16_t> commands, std::size_t firstWord,
                                           std::size_t commandCount);

// The number of library animations that belong to moveable `moveable`: from its Animation up to the
// next moveable that has animations, or to the end. 0 or below means none.
std::int32_t CountMoveableAnimations(const wad::WadLibrary& library, std::int32_t moveable);

// Copies the dispatches of `count` library state changes from `firstStateChange` on, as one run from
// the first one's dispatches, and points the target state changes from `firstTargetStateChange` on at
// the copies. Returns the dispatches appended.
std::uint32_t AppendAnimDispatches(level::Tr4Level& target, const wad::WadLibrary& library,
                                   std::uint32_t firstStateChange, std::int32_t count,
                                   std::uint32_t firstTargetStateChange);

struct MergedAnimations {
    std::uint32_t FrameOffset = 0;         // byte offset of the moveable's frames in the target
    std::uint16_t Animation = kNoAnimation; // its first animation in the target
};

// Appends moveable `moveable`'s frame block, animations, state changes, dispatches and commands to the
// target, every index rebased to the target's tables. The moveable must have passed CheckMoveable.
MergedAnimations MergeAnimations(level::Tr4Level& target, const wad::WadLibrary& library, std::int32_t moveable);

} // namespace veltrane::merge
