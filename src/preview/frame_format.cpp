#include "preview/frame_format.h"

#include <algorithm>
#include <string>

namespace veltrane::preview {
namespace {

constexpr std::size_t kHeaderWords = 9; // bounding box and root offset

float steps(std::uint32_t value, float perTurn) { return static_cast<float>(value) * 360.0f / perTurn; }

} // namespace

std::size_t decodeRotation(std::span<const std::uint16_t> words, MeshRotation& rotation) {
    if (words.empty())
        return 0;
    const std::uint16_t w = words[0];
    rotation = {};
    switch (w & 0xC000) {
    case 0x0000: {
        if (words.size() < 2)
            return 0;
        const std::uint16_t w2 = words[1];
        rotation.x = steps((w & 0x3FF0u) >> 4, 1024);
        rotation.y = steps(((w & 0x000Fu) << 6) | ((w2 & 0xFC00u) >> 10), 1024);
        rotation.z = steps(w2 & 0x03FFu, 1024);
        return 2;
    }
    case 0x4000:
        rotation.x = steps(w & 0x0FFFu, 4096);
        return 1;
    case 0x8000:
        rotation.y = steps(w & 0x0FFFu, 4096);
        return 1;
    default:
        rotation.z = steps(w & 0x0FFFu, 4096);
        return 1;
    }
}

AnimationLength lengthOf(const level::Tr4Animation& animation, std::size_t frameWords) {
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

io::Outcome<Keyframe> decodeKeyframe(std::span<const std::uint16_t> frames, const level::Tr4Animation& animation,
                                     std::uint32_t k, std::size_t meshCount) {
    using Result = io::Outcome<Keyframe>;
    const std::size_t size = animation.FrameSize;
    const std::size_t first = animation.FrameOffset / 2 + std::size_t{k} * size;
    if (size < kHeaderWords + meshCount)
        return Result::failure("frames of " + std::to_string(size) + " words have no room for " +
                               std::to_string(meshCount) + " meshes");
    if (first > frames.size() || frames.size() - first < size)
        return Result::failure("keyframe " + std::to_string(k) + " runs past the frame data");

    const auto words = frames.subspan(first, size);
    Keyframe keyframe;
    for (std::size_t i = 0; i < 6; ++i)
        keyframe.boundingBox[i] = static_cast<std::int16_t>(words[i]);
    keyframe.offset = {static_cast<std::int16_t>(words[6]), static_cast<std::int16_t>(words[7]),
                       static_cast<std::int16_t>(words[8])};
    keyframe.rotations.resize(meshCount);
    std::size_t at = kHeaderWords;
    for (auto& rotation : keyframe.rotations) {
        const std::size_t used = decodeRotation(words.subspan(at), rotation);
        if (used == 0)
            return Result::failure("frames of " + std::to_string(size) + " words have no room for " +
                                   std::to_string(meshCount) + " meshes");
        at += used;
    }
    return keyframe;
}

} // namespace veltrane::preview
