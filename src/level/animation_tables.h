#pragma once

#include "io/outcome.h"
#include "level/records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// How a moveable's animation data lies in the tables that levels and libraries share: which frames and
// animations belong to it, and how long its animations' command runs are.
namespace veltrane::level {

// The animations of a moveable: records first to first + count - 1 of Animations.
struct AnimationRange {
    std::uint32_t first = 0;
    std::uint32_t count = 0;
    bool operator==(const AnimationRange&) const = default;
};

// The animations of moveable `index`: from its Animation up to the Animation of the nearest later
// moveable that has any, or to the end of the table. None when its Animation is kNoAnimation or the
// next moveable's animations start at or before its own. A range that starts or ends past the table
// (`animationCount` records) is refused, saying which records it names.
io::Outcome<AnimationRange> moveableAnimations(std::span<const Tr4Moveable> moveables, std::size_t index,
                                               std::size_t animationCount);

// Bytes [start, end) of Frames that a moveable plays.
struct FrameBlock {
    std::size_t start = 0;
    std::size_t end = 0;
};

// The frames of moveable `index`: from its FrameOffset to the next moveable's, the last moveable's to
// the end of Frames (`frameWords` words). A block that runs backwards or past the table is refused.
io::Outcome<FrameBlock> moveableFrameBlock(std::span<const Tr4Moveable> moveables, std::size_t index,
                                           std::size_t frameWords);

// The operands an animation command takes after its opcode word: 3 for a position change (1), 2 for a
// jump (2), a sound (5) or an effect (6), none for the others.
std::size_t commandOperandCount(std::uint16_t opcode);

// The words that `commandCount` whole commands take from word `firstWord` of AnimCommands on, or
// nothing when the table ends inside them.
std::optional<std::size_t> commandRunWords(std::span<const std::uint16_t> commands, std::size_t firstWord,
                                           std::size_t commandCount);

} // namespace veltrane::level
