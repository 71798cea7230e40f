#include "builders/frames.h"

#include <cmath>

namespace veltrane::builders {
namespace {

// The angle in steps of a whole turn, wrapped into 0 .. steps - 1.
std::uint16_t steps(double degrees, int stepsPerTurn) {
    const auto step = static_cast<long>(std::lround(degrees * stepsPerTurn / 360.0));
    return static_cast<std::uint16_t>(((step % stepsPerTurn) + stepsPerTurn) % stepsPerTurn);
}

} // namespace

std::vector<std::uint16_t> encodeRotation(const Rotation& rotation) {
    switch (rotation.axes) {
    case Rotation::Axes::X: return {static_cast<std::uint16_t>(0x4000 | steps(rotation.x, 4096))};
    case Rotation::Axes::Y: return {static_cast<std::uint16_t>(0x8000 | steps(rotation.y, 4096))};
    case Rotation::Axes::Z: return {static_cast<std::uint16_t>(0xC000 | steps(rotation.z, 4096))};
    case Rotation::Axes::All: break;
    }
    const std::uint16_t x = steps(rotation.x, 1024);
    const std::uint16_t y = steps(rotation.y, 1024);
    const std::uint16_t z = steps(rotation.z, 1024);
    return {static_cast<std::uint16_t>(x << 4 | y >> 6), static_cast<std::uint16_t>((y & 0x3F) << 10 | z)};
}

std::vector<std::uint16_t> encodeKeyframe(const Keyframe& keyframe) {
    std::vector<std::uint16_t> words;
    for (auto value : keyframe.BoundingBox)
        words.push_back(static_cast<std::uint16_t>(value));
    words.push_back(static_cast<std::uint16_t>(keyframe.Offset.x));
    words.push_back(static_cast<std::uint16_t>(keyframe.Offset.y));
    words.push_back(static_cast<std::uint16_t>(keyframe.Offset.z));
    for (const auto& rotation : keyframe.Rotations) {
        const auto rotationWords = encodeRotation(rotation);
        words.insert(words.end(), rotationWords.begin(), rotationWords.end());
    }
    return words;
}

} // namespace veltrane::builders
