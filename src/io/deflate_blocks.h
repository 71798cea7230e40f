#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace veltrane::io {

// Where the last block of a raw deflate stream lies, in bits from the start of the stream: its header
// (whose first bit marks it as the last) and the bit just after its end-of-block code.
struct FinalBlock {
    std::size_t headerBit = 0;
    std::size_t endBit = 0;
};

// Walks the blocks of a raw deflate stream without inflating it; nothing when the stream is not
// well-formed or runs past the bytes given.
std::optional<FinalBlock> findFinalBlock(std::span<const std::uint8_t> stream);

} // namespace veltrane::io
