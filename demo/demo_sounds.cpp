#include "demo/demo_sounds.h"

#include "io/byte_writer.h"
#include "builders/level_builder.h"
#include "demo/demo_ids.h"

#include <array>
#include <cmath>
#include <numbers>

namespace veltrane::demo {
namespace {

constexpr std::uint32_t kSampleRate = 11025;

// A mono 16-bit WAVE file of a tone that fades out.
std::vector<std::uint8_t> tone(double frequency, double seconds) {
    const auto samples = static_cast<std::uint32_t>(kSampleRate * seconds);
    io::ByteWriter out;
    const auto tag = [&out](const char* text) {
        for (int i = 0; i < 4; ++i)
            out.u8(static_cast<std::uint8_t>(text[i]));
    };
    tag("RIFF");
    out.u32(36 + samples * 2);
    tag("WAVE");
    tag("fmt ");
    out.u32(16);
    out.u16(1); // PCM
    out.u16(1); // mono
    out.u32(kSampleRate);
    out.u32(kSampleRate * 2);
    out.u16(2);
    out.u16(16);
    tag("data");
    out.u32(samples * 2);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double fade = 1.0 - static_cast<double>(i) / samples;
        out.i16(static_cast<std::int16_t>(std::lround(9000 * fade * std::sin(2 * std::numbers::pi * frequency * t))));
    }
    return out.take();
}

} // namespace

void addDemoSounds(level::Tr4Level& level) {
    struct Sound {
        std::int16_t id;
        double frequency;
        double seconds;
    };
    constexpr std::array<Sound, 5> kSounds = {{{ids::kFootstep, 120, 0.06},
                                               {ids::kSwitch, 900, 0.04},
                                               {ids::kDoorSound, 80, 0.25},
                                               {ids::kBellSound, 660, 0.4},
                                               {ids::kBladeSound, 300, 0.15}}};
    io::ByteWriter tail;
    for (const Sound& sound : kSounds) {
        const auto wave = tone(sound.frequency, sound.seconds);
        tail.u32(static_cast<std::uint32_t>(wave.size()));
        tail.u32(static_cast<std::uint32_t>(wave.size()));
        tail.bytes(wave);
        const auto sample = static_cast<std::uint16_t>(level.SampleIndices.size());
        level.SampleIndices.push_back(sample);
        builders::SoundDetail detail;
        detail.Sample = sample;
        builders::addSound(level, static_cast<std::uint16_t>(sound.id), detail);
    }
    level.SampleCount = static_cast<std::uint32_t>(kSounds.size());
    level.Tail = tail.take();
}

} // namespace veltrane::demo
