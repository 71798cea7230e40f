#pragma once

#include <cstdint>
#include <stdexcept>

// Texture words of library faces, which name a texture sample.
namespace veltrane::builders {

// A quad's word: the sample index, or its negative to mirror the sample (so sample 0 cannot be
// mirrored).
inline std::uint16_t libraryQuadTexture(std::uint16_t sample, bool mirrored = false) {
    if (sample > 0x7FFF || (mirrored && sample == 0))
        throw std::logic_error("a quad mirrors samples 1 to 32767 only");
    return mirrored ? static_cast<std::uint16_t>(-static_cast<int>(sample)) : sample;
}

// A triangle's word: the sample index in bits 0-10, the orientation (0, 2, 4 or 6: where the right
// angle lies) in bits 12-14 and the mirror flag in bit 15.
inline std::uint16_t libraryTriangleTexture(std::uint16_t sample, int orientation = 0, bool mirrored = false) {
    if (sample > 0x7FF || orientation < 0 || orientation > 7)
        throw std::logic_error("a triangle names samples 0 to 2047 in orientations 0 to 7");
    return static_cast<std::uint16_t>(sample | orientation << 12 | (mirrored ? 0x8000 : 0));
}

} // namespace veltrane::builders
