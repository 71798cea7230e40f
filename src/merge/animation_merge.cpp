#include "merge/animation_merge.h"

#include <cstring>

namespace veltrane::merge {
namespace {

std::size_t operandsOf(std::uint16_t opcode) {
    switch (opcode) {
    case 1: return 3;          // position change
    case 2: case 5: case 6: return 2; // jump, sound, effect
    default: return 0;
    }
}

std::uint16_t rebased(std::uint16_t libraryIndex, std::uint16_t libraryFirst, std::uint32_t targetFirst) {
    return static_cast<std::uint16_t>(libraryIndex - libraryFirst + targetFirst);
}

} // namespace

FrameBlock moveableFrameBlock(const wad::WadLibrary& library, std::int32_t moveable) {
    const auto index = static_cast<std::size_t>(moveable);
    const std::int64_t start = library.Moveables[index].FrameOffset;
    if (index + 1 == library.Moveables.size())
        return {start, static_cast<std::int64_t>(library.Frames.size() * 2)};
    return {start, library.Moveables[index + 1].FrameOffset};
}

std::optional<std::size_t> commandRunWords(std::span<const std::uint16_t> commands, std::size_t firstWord,
                                           std::size_t commandCount) {
    std::size_t at = firstWord;
    for (std::size_t command = 0; command < commandCount; ++command) {
        if (at >= commands.size())
            return std::nullopt;
        at += 1 + operandsOf(commands[at]);
        if (at > commands.size())
            return std::nullopt;
    }
    return at - firstWord;
}

std::int32_t CountMoveableAnimations(const wad::WadLibrary& library, std::int32_t moveable) {
    const auto& moveables = library.Moveables;
    const std::int32_t first = static_cast<std::int16_t>(moveables[static_cast<std::size_t>(moveable)].Animation);
    if (first == -1)
        return 0;
    for (std::size_t later = static_cast<std::size_t>(moveable) + 1; later < moveables.size(); ++later) {
        const std::int32_t next = static_cast<std::int16_t>(moveables[later].Animation);
        if (next != -1)
            return next - first;
    }
    return static_cast<std::int32_t>(library.Animations.size()) - first;
}

std::uint32_t AppendAnimDispatches(level::Tr4Level& target, const wad::WadLibrary& library,
                                   std::uint32_t firstStateChange, std::int32_t count,
                                   std::uint32_t firstTargetStateChange) {
    if (count < 1)
        return 0;
    const auto changes = std::span(library.StateChanges).subspan(firstStateChange, static_cast<std::size_t>(count));
    std::uint32_t dispatches = 0;
    for (const auto& change : changes)
        dispatches += change.DispatchCount;
    if (dispatches == 0)
        return 0; // the copied state changes keep their library DispatchOffset

    const std::uint16_t libraryFirst = changes.front().DispatchOffset;
    const auto before = static_cast<std::uint32_t>(target.AnimDispatches.size());
    const auto run = library.AnimDispatches.begin() + libraryFirst;
    target.AnimDispatches.insert(target.AnimDispatches.end(), run, run + dispatches);
    for (std::size_t j = 0; j < changes.size(); ++j)
        target.StateChanges[firstTargetStateChange + j].DispatchOffset =
            rebased(changes[j].DispatchOffset, libraryFirst, before);
    return dispatches;
}

MergedAnimations MergeAnimations(level::Tr4Level& target, const wad::WadLibrary& library, std::int32_t moveable) {
    const level::Tr4Moveable& source = library.Moveables[static_cast<std::size_t>(moveable)];
    MergedAnimations merged;

    // The frame block, byte for byte; an odd last byte is dropped with the word count.
    const FrameBlock block = moveableFrameBlock(library, moveable);
    const auto words = static_cast<std::size_t>((block.end - block.start) / 2);
    merged.FrameOffset = static_cast<std::uint32_t>(target.Frames.size() * 2);
    const std::size_t framesBefore = target.Frames.size();
    target.Frames.resize(framesBefore + words);
    if (words > 0)
        std::memcpy(target.Frames.data() + framesBefore,
                    reinterpret_cast<const std::uint8_t*>(library.Frames.data()) + block.start, words * 2);

    const std::int32_t count = CountMoveableAnimations(library, moveable);
    const auto firstTarget = static_cast<std::uint32_t>(target.Animations.size());
    if (count > 0)
        merged.Animation = static_cast<std::uint16_t>(firstTarget);

    const std::uint32_t libraryFramesEnd = static_cast<std::uint32_t>(library.Frames.size() * 2);
    std::uint32_t frameOffset = merged.FrameOffset;
    for (std::int32_t a = 0; a < count; ++a) {
        const std::size_t i = static_cast<std::size_t>(source.Animation + a);
        level::Tr4Animation animation = library.Animations[i];

        // Frames advance by whole frames only; a FrameSize of 0 counts one byte a frame.
        animation.FrameOffset = frameOffset;
        const std::uint32_t frameBytes = animation.FrameSize == 0 ? 1u : animation.FrameSize * 2u;
        const std::uint32_t end = i + 1 == library.Animations.size() ? libraryFramesEnd : library.Animations[i + 1].FrameOffset;
        frameOffset += frameBytes * ((end - library.Animations[i].FrameOffset) / frameBytes);

        animation.NextAnimation = rebased(animation.NextAnimation, source.Animation, firstTarget);

        const auto changesBefore = static_cast<std::uint32_t>(target.StateChanges.size());
        const auto changes = library.StateChanges.begin() + animation.StateChangeOffset;
        target.StateChanges.insert(target.StateChanges.end(), changes, changes + animation.StateChangeCount);
        animation.StateChangeOffset = static_cast<std::uint16_t>(changesBefore);

        const auto dispatchesBefore = target.AnimDispatches.size();
        AppendAnimDispatches(target, library, library.Animations[i].StateChangeOffset, animation.StateChangeCount,
                             changesBefore);
        for (std::size_t d = dispatchesBefore; d < target.AnimDispatches.size(); ++d)
            target.AnimDispatches[d].NextAnimation =
                rebased(target.AnimDispatches[d].NextAnimation, source.Animation, firstTarget);

        // Commands are copied whole: AnimCommandCount counts commands, each with its operands.
        const std::size_t firstWord = animation.AnimCommandOffset / 2u;
        const std::size_t commandWords = commandRunWords(library.AnimCommands, firstWord, animation.AnimCommandCount).value_or(0);
        animation.AnimCommandOffset = static_cast<std::uint16_t>(target.AnimCommands.size());
        const auto commands = library.AnimCommands.begin() + static_cast<std::ptrdiff_t>(firstWord);
        target.AnimCommands.insert(target.AnimCommands.end(), commands, commands + static_cast<std::ptrdiff_t>(commandWords));

        target.Animations.push_back(animation);
    }
    return merged;
}

} // namespace veltrane::merge
