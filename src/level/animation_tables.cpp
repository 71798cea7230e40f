#include "level/animation_tables.h"

#include <string>

namespace veltrane::level {

io::Outcome<AnimationRange> moveableAnimations(std::span<const Tr4Moveable> moveables, std::size_t index,
                                               std::size_t animationCount) {
    using Result = io::Outcome<AnimationRange>;
    if (index >= moveables.size())
        return Result::failure("there is no moveable " + std::to_string(index));
    const std::uint16_t first = moveables[index].Animation;
    if (first == kNoAnimation)
        return AnimationRange{};
    if (first > animationCount)
        return Result::failure("animations start past Animations (record " + std::to_string(first) +
                               ", the table has " + std::to_string(animationCount) + ")");
    std::size_t end = animationCount;
    for (std::size_t later = index + 1; later < moveables.size(); ++later) {
        if (moveables[later].Animation != kNoAnimation) {
            end = moveables[later].Animation;
            break;
        }
    }
    if (end <= first)
        return AnimationRange{first, 0};
    if (end > animationCount)
        return Result::failure("animations run past Animations (records " + std::to_string(first) + " to " +
                               std::to_string(end - 1) + ", the table has " + std::to_string(animationCount) + ")");
    return AnimationRange{first, static_cast<std::uint32_t>(end - first)};
}

io::Outcome<FrameBlock> moveableFrameBlock(std::span<const Tr4Moveable> moveables, std::size_t index,
                                           std::size_t frameWords) {
    using Result = io::Outcome<FrameBlock>;
    const std::size_t tableBytes = frameWords * 2;
    const std::size_t start = moveables[index].FrameOffset;
    const std::size_t end = index + 1 == moveables.size() ? tableBytes : moveables[index + 1].FrameOffset;
    if (end < start)
        return Result::failure("frame block has negative length (from byte " + std::to_string(start) +
                               " of Frames to byte " + std::to_string(end) + ")");
    if (end > tableBytes)
        return Result::failure("frame block runs past Frames (bytes " + std::to_string(start) + " to " +
                               std::to_string(end) + ", the table has " + std::to_string(tableBytes) + ")");
    return FrameBlock{start, end};
}

std::size_t commandOperandCount(std::uint16_t opcode) {
    switch (opcode) {
    case 1: return 3;                 // position change
    case 2: case 5: case 6: return 2; // jump, sound, effect
    default: return 0;
    }
}

std::optional<std::size_t> commandRunWords(std::span<const std::uint16_t> commands, std::size_t firstWord,
                                           std::size_t commandCount) {
    std::size_t at = firstWord;
    for (std::size_t command = 0; command < commandCount; ++command) {
        if (at >= commands.size())
            return std::nullopt;
        at += 1 + commandOperandCount(commands[at]);
        if (at > commands.size())
            return std::nullopt;
    }
    return at - firstWord;
}

} // namespace veltrane::level
