#include "level/frame_format.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace veltrane::level {
namespace {

double degrees(std::uint32_t steps, int stepsPerTurn) { return steps * 360.0 / stepsPerTurn; }

// The angle in steps of a whole turn, wrapped into 0 .. steps - 1.
std::uint16_t steps(double degrees, int stepsPerTurn) {
    const auto step = static_cast<long>(std::lround(degrees * stepsPerTurn / 360.0));
    return static_cast<std::uint16_t>(((step % stepsPerTurn) + stepsPerTurn) % stepsPerTurn);
}

} // namespace

std::size_t decodeRotation(std::span<const std::uint16_t> words, MeshRotation& rotation) {
    if (words.empty())
        return 0;
    const std::uint16_t w = words[0];
    switch (w & 0xC000) {
    case 0x0000: {
        if (words.size() < 2)
            return 0;
        const std::uint16_t w2 = words[1];
        rotation = MeshRotation::all(degrees((w & 0x3FF0u) >> 4, 1024),
                                     degrees(((w & 0x000Fu) << 6) | ((w2 & 0xFC00u) >> 10), 1024),
                                     degrees(w2 & 0x03FFu, 1024));
        return 2;
    }
    case 0x4000:
        rotation = MeshRotation::aboutX(degrees(w & 0x0FFFu, 4096));
        return 1;
    case 0x8000:
        rotation = MeshRotation::aboutY(degrees(w & 0x0FFFu, 4096));
        return 1;
    default:
        rotation = MeshRotation::aboutZ(degrees(w & 0x0FFFu, 4096));
        return 1;
    }
}

std::vector<std::uint16_t> encodeRotation(const MeshRotation& rotation) {
    switch (rotation.axes) {
    case MeshRotation::Axes::X: return {static_cast<std::uint16_t>(0x4000 | steps(rotation.x, 4096))};
    case MeshRotation::Axes::Y: return {static_cast<std::uint16_t>(0x8000 | steps(rotation.y, 4096))};
    case MeshRotation::Axes::Z: return {static_cast<std::uint16_t>(0xC000 | steps(rotation.z, 4096))};
    case MeshRotation::Axes::All: break;
    }
    const std::uint16_t x = steps(rotation.x, 1024);
    const std::uint16_t y = steps(rotation.y, 1024);
    const std::uint16_t z = steps(rotation.z, 1024);
    return {static_cast<std::uint16_t>(x << 4 | y >> 6), static_cast<std::uint16_t>((y & 0x3F) << 10 | z)};
}

AnimationLength animationLength(const Tr4Animation& animation, std::size_t frameWords) {
    const std::uint32_t rate = std::max<std::uint32_t>(animation.FrameRate, 1);
    const std::uint32_t span = animation.FrameEnd >= animation.FrameStart ? animation.FrameEnd - animation.FrameStart : 0;
    AnimationLength length{span + 1, span / rate + (span % rate != 0 ? 1 : 0) + 1};
    const std::size_t first = animation.FrameOffset / 2;
    const std::size_t held = animation.FrameSize == 0 || first >= frameWords ? 0 : (frameWords - first) / animation.FrameSize;
    if (held < length.keyframes) {
        length.keyframes = static_cast<std::uint32_t>(held);
        length.frames = held == 0 ? 0 : static_cast<std::uint32_t>((held - 1) * rate + 1);
    }
    return length;
}

io::Outcome<Keyframe> decodeKeyframe(std::span<const std::uint16_t> frames, const Tr4Animation& animation,
                                     std::uint32_t k, std::size_t meshCount) {
    using Result = io::Outcome<Keyframe>;
    const std::size_t size = animation.FrameSize;
    const std::size_t first = animation.FrameOffset / 2 + std::size_t{k} * size;
    const auto noRoom = [&] {
        return Result::failure("frames of " + std::to_string(size) + " words have no room for " +
                               std::to_string(meshCount) + " meshes");
    };
    if (size < kKeyframeHeaderWords + meshCount)
        return noRoom();
    if (first > frames.size() || frames.size() - first < size)
        return Result::failure("keyframe " + std::to_string(k) + " runs past the frame data");

    const auto words = frames.subspan(first, size);
    Keyframe keyframe;
    for (std::size_t i = 0; i < 6; ++i)
        keyframe.boundingBox[i] = static_cast<std::int16_t>(words[i]);
    keyframe.offset = {static_cast<std::int16_t>(words[6]), static_cast<std::int16_t>(words[7]),
                       static_cast<std::int16_t>(words[8])};
    keyframe.rotations.resize(meshCount);
    std::size_t at = kKeyframeHeaderWords;
    for (auto& rotation : keyframe.rotations) {
        const std::size_t used = decodeRotation(words.subspan(at), rotation);
        if (used == 0)
            return noRoom();
        at += used;
    }
    return keyframe;
}

std::vector<std::uint16_t> encodeKeyframe(const Keyframe& keyframe) {
    std::vector<std::uint16_t> words;
    for (auto value : keyframe.boundingBox)
        words.push_back(static_cast<std::uint16_t>(value));
    words.push_back(static_cast<std::uint16_t>(keyframe.offset.x));
    words.push_back(static_cast<std::uint16_t>(keyframe.offset.y));
    words.push_back(static_cast<std::uint16_t>(keyframe.offset.z));
    for (const auto& rotation : keyframe.rotations) {
        const auto rotationWords = encodeRotation(rotation);
        words.insert(words.end(), rotationWords.begin(), rotationWords.end());
    }
    return words;
}

} // namespace veltrane::level
