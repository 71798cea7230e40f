#include "builders/level_builder.h"

#include "builders/pack.h"

#include <stdexcept>

namespace veltrane::builders {

level::Tr4Level minimalLevel() {
    level::Tr4Level level;
    level.Version = 'T' | 'R' << 8 | '4' << 16;
    level.SpriteMarker = {'S', 'P', 'R'};
    level.TextureMarker = {0, 'T', 'E', 'X'};
    level.SoundMap.fill(0xFF); // every sound -1: not in this level
    return level;
}

std::size_t addBox(level::Tr4Level& level, const Box& box, std::uint16_t zone) {
    level.Boxes.push_back(pack<8>([&](io::ByteWriter& out) {
        out.u8(box.ZMin);
        out.u8(box.ZMax);
        out.u8(box.XMin);
        out.u8(box.XMax);
        out.i16(box.TrueFloor);
        out.u16(box.OverlapIndex);
    }));
    level.Zones.push_back(pack<20>([&](io::ByteWriter& out) {
        for (int i = 0; i < 10; ++i)
            out.u16(zone);
    }));
    return level.Boxes.size() - 1;
}

std::uint16_t addOverlaps(level::Tr4Level& level, const std::vector<std::uint16_t>& boxes) {
    const auto start = static_cast<std::uint16_t>(level.Overlaps.size());
    for (std::size_t i = 0; i < boxes.size(); ++i)
        level.Overlaps.push_back(static_cast<std::uint16_t>(boxes[i] | (i + 1 == boxes.size() ? 0x8000 : 0)));
    return start;
}

std::size_t addItem(level::Tr4Level& level, const Item& item) {
    level.Items.push_back(pack<24>([&](io::ByteWriter& out) {
        out.i16(item.ObjectId);
        out.i16(item.Room);
        out.i32(item.X);
        out.i32(item.Y);
        out.i32(item.Z);
        out.i16(item.Angle);
        out.i16(item.Intensity);
        out.i16(item.Ocb);
        out.u16(item.Flags);
    }));
    return level.Items.size() - 1;
}

std::size_t addCamera(level::Tr4Level& level, const Camera& camera) {
    level.Cameras.push_back(pack<16>([&](io::ByteWriter& out) {
        out.i32(camera.X);
        out.i32(camera.Y);
        out.i32(camera.Z);
        out.i16(camera.Room);
        out.u16(camera.Flags);
    }));
    return level.Cameras.size() - 1;
}

std::size_t addSoundSource(level::Tr4Level& level, const SoundSource& source) {
    level.SoundSources.push_back(pack<16>([&](io::ByteWriter& out) {
        out.i32(source.X);
        out.i32(source.Y);
        out.i32(source.Z);
        out.u16(source.SoundId);
        out.u16(source.Flags);
    }));
    return level.SoundSources.size() - 1;
}

std::size_t addSound(level::Tr4Level& level, std::uint16_t soundId, const SoundDetail& detail) {
    if (std::size_t{soundId} * 2 + 2 > level.SoundMap.size())
        throw std::logic_error("sound " + std::to_string(soundId) + " lies beyond the sound map");
    const auto index = static_cast<std::uint16_t>(level.SoundDetails.size());
    level.SoundDetails.push_back(pack<8>([&](io::ByteWriter& out) {
        out.u16(detail.Sample);
        out.u8(detail.Volume);
        out.u8(detail.Range);
        out.u8(detail.Chance);
        out.u8(detail.Pitch);
        out.u16(static_cast<std::uint16_t>(detail.SampleCount << 2)); // the low two bits: how it loops
    }));
    level.SoundMap[std::size_t{soundId} * 2] = static_cast<std::uint8_t>(index & 0xFF);
    level.SoundMap[std::size_t{soundId} * 2 + 1] = static_cast<std::uint8_t>(index >> 8);
    return index;
}

std::size_t addSpriteTexture(level::Tr4Level& level, std::uint16_t tile, std::uint8_t x, std::uint8_t y,
                             std::uint16_t width, std::uint16_t height) {
    level.SpriteTextures.push_back(pack<16>([&](io::ByteWriter& out) {
        out.u16(tile);
        out.u8(x);
        out.u8(y);
        out.u16(static_cast<std::uint16_t>((width - 1) * 256 + 255)); // width and height in 1/256 texel
        out.u16(static_cast<std::uint16_t>((height - 1) * 256 + 255));
        // The sprite's extent in the world, centred on its vertex and standing on it.
        out.i16(static_cast<std::int16_t>(-width * 2));
        out.i16(static_cast<std::int16_t>(-height * 4));
        out.i16(static_cast<std::int16_t>(width * 2));
        out.i16(0);
    }));
    return level.SpriteTextures.size() - 1;
}

std::size_t addSpriteSequence(level::Tr4Level& level, std::int32_t objectId, std::int16_t length, std::int16_t first) {
    level.SpriteSequences.push_back(pack<8>([&](io::ByteWriter& out) {
        out.i32(objectId);
        out.i16(static_cast<std::int16_t>(-length));
        out.i16(first);
    }));
    return level.SpriteSequences.size() - 1;
}

void addAnimatedTextureGroup(level::Tr4Level& level, const std::vector<std::uint16_t>& objectTextures) {
    if (objectTextures.empty())
        throw std::logic_error("an animated texture group needs at least one texture");
    if (level.AnimatedTextures.empty())
        level.AnimatedTextures.push_back(0);
    ++level.AnimatedTextures[0];
    level.AnimatedTextures.push_back(static_cast<std::uint16_t>(objectTextures.size() - 1));
    level.AnimatedTextures.insert(level.AnimatedTextures.end(), objectTextures.begin(), objectTextures.end());
}

} // namespace veltrane::builders
