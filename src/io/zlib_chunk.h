#pragma once

#include "io/outcome.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::io {

// zlib cannot expand data by more than about 1032 to 1; a stated inflated size beyond that
// bound is a damaged header, refused before any memory is asked for.
constexpr std::uint64_t kMaxInflateRatio = 1032;

// Inflates one zlib stream that must give exactly `statedSize` bytes.
Outcome<std::vector<std::uint8_t>> inflateChunk(std::span<const std::uint8_t> packed, std::uint32_t statedSize);

// Deflates at zlib's default level into a buffer of compressBound bytes, trimmed to the packed size.
Outcome<std::vector<std::uint8_t>> deflateChunk(std::span<const std::uint8_t> inflated);

} // namespace veltrane::io
