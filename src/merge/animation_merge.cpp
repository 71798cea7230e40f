#include "merge/animation_merge.h"

#include <cstring>
#include <span>

namespace veltrane::merge {
namespace {

std::uint16_t rebased(std::uint16_t libraryIndex, std::uint16_t libraryFirst, std::uint32_t targetFirst) {
    return static_cast<std::uint16_t>(libraryIndex - libraryFirst + targetFirst);
}

} // namespace

void AppendAnimDispatches(level::Tr4Level& target, const wad::WadLibrary& library, std::uint32_t firstStateChange,
                          std::uint32_t count, std::uint32_t dispatches, std::uint32_t firstTargetStateChange) {
    if (count == 0 || dispatches == 0)
        return;
    const auto changes = std::span(library.StateChanges).subspan(firstStateChange, count);
    const std::uint16_t libraryFirst = changes.front().DispatchOffset;
    const auto before = static_cast<std::uint32_t>(target.AnimDispatches.size());
    const auto run = library.AnimDispatches.begin() + libraryFirst;
    target.AnimDispatches.insert(target.AnimDispatches.end(), run, run + dispatches);
    for (std::size_t j = 0; j < changes.size(); ++j)
        target.StateChanges[firstTargetStateChange + j].DispatchOffset =
            rebased(changes[j].DispatchOffset, libraryFirst, before);
}

MergedAnimations MergeAnimations(level::Tr4Level& target, const wad::WadLibrary& library,
                                 const PlannedMoveable& moveable) {
    const std::uint16_t libraryFirst = library.Moveables[static_cast<std::size_t>(moveable.index)].Animation;
    MergedAnimations merged;

    // The frame block, byte for byte; an odd last byte is dropped with the word count.
    const std::size_t words = (moveable.frames.end - moveable.frames.start) / 2;
    merged.frameOffset = static_cast<std::uint32_t>(target.Frames.size() * 2);
    const std::size_t framesBefore = target.Frames.size();
    target.Frames.resize(framesBefore + words);
    if (words > 0)
        std::memcpy(target.Frames.data() + framesBefore,
                    reinterpret_cast<const std::uint8_t*>(library.Frames.data()) + moveable.frames.start, words * 2);

    const auto firstTarget = static_cast<std::uint32_t>(target.Animations.size());
    if (moveable.animations.count > 0)
        merged.animation = static_cast<std::uint16_t>(firstTarget);

    std::uint32_t frameOffset = merged.frameOffset;
    for (std::uint32_t a = 0; a < moveable.animations.count; ++a) {
        const PlannedAnimation& part = moveable.animationParts[a];
        const level::Tr4Animation& source = library.Animations[moveable.animations.first + a];
        level::Tr4Animation animation = source;
        animation.FrameOffset = frameOffset;
        frameOffset += part.frameAdvance;
        animation.NextAnimation = rebased(animation.NextAnimation, libraryFirst, firstTarget);

        const auto changesBefore = static_cast<std::uint32_t>(target.StateChanges.size());
        const auto changes = library.StateChanges.begin() + source.StateChangeOffset;
        target.StateChanges.insert(target.StateChanges.end(), changes, changes + source.StateChangeCount);
        animation.StateChangeOffset = static_cast<std::uint16_t>(changesBefore);

        const auto dispatchesBefore = target.AnimDispatches.size();
        AppendAnimDispatches(target, library, source.StateChangeOffset, source.StateChangeCount, part.dispatches,
                             changesBefore);
        for (std::size_t d = dispatchesBefore; d < target.AnimDispatches.size(); ++d)
            target.AnimDispatches[d].NextAnimation =
                rebased(target.AnimDispatches[d].NextAnimation, libraryFirst, firstTarget);

        // Commands are copied whole: AnimCommandCount counts commands, each with its operands.
        animation.AnimCommandOffset = static_cast<std::uint16_t>(target.AnimCommands.size());
        const auto commands = library.AnimCommands.begin() +
                              static_cast<std::ptrdiff_t>(source.AnimCommandOffset / wad::kCommandOffsetBytesPerWord);
        target.AnimCommands.insert(target.AnimCommands.end(), commands,
                                   commands + static_cast<std::ptrdiff_t>(part.commandWords));

        target.Animations.push_back(animation);
    }
    return merged;
}

} // namespace veltrane::merge
