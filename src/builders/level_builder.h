#pragma once

#include "level/tr4_level.h"

#include <cstdint>
#include <vector>

namespace veltrane::builders {

// The smallest level the game's tools accept: version bytes "TR4" and 0, sprite marker "SPR",
// texture marker 0 "TEX", every sound unmapped, every table empty and no pages. encodeLevel writes
// it and decodeLevel reads it back unchanged.
level::Tr4Level minimalLevel();

// A box of the pathfinding graph, in sectors, with the zone record that goes with it.
struct Box {
    std::uint8_t ZMin = 0;
    std::uint8_t ZMax = 1;
    std::uint8_t XMin = 0;
    std::uint8_t XMax = 1;
    std::int16_t TrueFloor = 0;
    std::uint16_t OverlapIndex = 0;
};
// Appends the box and a zone that puts it in `zone` for every kind of creature; returns its index.
std::size_t addBox(level::Tr4Level& level, const Box& box, std::uint16_t zone);
// Appends a list of overlapping boxes (the last one marked as the end); returns where it starts.
std::uint16_t addOverlaps(level::Tr4Level& level, const std::vector<std::uint16_t>& boxes);

struct Item {
    std::int16_t ObjectId = 0;
    std::int16_t Room = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    std::int16_t Angle = 0;
    std::int16_t Intensity = -1;
    std::int16_t Ocb = 0;
    std::uint16_t Flags = 0x3E00; // active from the start
};
std::size_t addItem(level::Tr4Level& level, const Item& item);

struct Camera {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    std::int16_t Room = 0;
    std::uint16_t Flags = 0;
};
std::size_t addCamera(level::Tr4Level& level, const Camera& camera);

struct SoundSource {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Z = 0;
    std::uint16_t SoundId = 0;
    std::uint16_t Flags = 0;
};
std::size_t addSoundSource(level::Tr4Level& level, const SoundSource& source);

struct SoundDetail {
    std::uint16_t Sample = 0; // index into SampleIndices
    std::uint8_t Volume = 200;
    std::uint8_t Range = 8;
    std::uint8_t Chance = 0;
    std::uint8_t Pitch = 0;
    std::uint16_t SampleCount = 1; // samples to choose from, starting at Sample
};
// Appends a sound detail and maps `soundId` (0 to 369) to it; returns its index.
std::size_t addSound(level::Tr4Level& level, std::uint16_t soundId, const SoundDetail& detail);

// A sprite of `width` x `height` texels at (x, y) of page `tile`.
std::size_t addSpriteTexture(level::Tr4Level& level, std::uint16_t tile, std::uint8_t x, std::uint8_t y,
                             std::uint16_t width, std::uint16_t height);
// A sequence of `length` sprite textures from `first` on, shown for object `objectId`.
std::size_t addSpriteSequence(level::Tr4Level& level, std::int32_t objectId, std::int16_t length, std::int16_t first);

// Appends a group of object textures that cycle; the table's first word counts the groups.
void addAnimatedTextureGroup(level::Tr4Level& level, const std::vector<std::uint16_t>& objectTextures);

} // namespace veltrane::builders
