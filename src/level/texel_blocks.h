#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace veltrane::level {

// Converts `texels` texels of `TexelBytes` bytes each, from `from`, into one little-endian `Word` each at
// `to`; `convert` takes a texel's first byte and gives its word. Blocks of a fixed number of texels
// through local arrays are what the compiler vectorises, as long as it can inline `convert`: a lambda,
// not a pointer to a function.
template <std::size_t TexelBytes, class Word, class Convert>
void convertTexels(const std::uint8_t* from, std::uint8_t* to, std::size_t texels, Convert convert) {
    static_assert(std::endian::native == std::endian::little, "words are copied out as they are");
    constexpr std::size_t kBlock = 16;
    std::size_t i = 0;
    for (; i + kBlock <= texels; i += kBlock) {
        std::array<std::uint8_t, TexelBytes * kBlock> in;
        std::array<Word, kBlock> out;
        std::memcpy(in.data(), from + TexelBytes * i, in.size());
        for (std::size_t k = 0; k < kBlock; ++k)
            out[k] = convert(&in[TexelBytes * k]);
        std::memcpy(to + sizeof(Word) * i, out.data(), sizeof out);
    }
    for (; i < texels; ++i) {
        const Word word = convert(from + TexelBytes * i);
        std::memcpy(to + sizeof(Word) * i, &word, sizeof word);
    }
}

} // namespace veltrane::level
