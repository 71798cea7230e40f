#pragma once

#include "level/tr4_level.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A .tr4 file composed from a few fields the fuzzer picks, so that every size a chunk header can
// state, up to the 32-bit limit, is reachable without the input carrying that many bytes.
//
// The input, little-endian:
//   version u32, room pages u16, object pages u16, bump pages u16
//   four chunks in file order, each: form u8, stated u32, packed u32, length u32
//   sample count u32
//   each chunk's content (`length` bytes, or as many as are left), then the file's tail
// Form bit 0 set: the content is deflated into the chunk, so mutations reach the level-data parser;
// clear: the content is the packed stream itself. The chunk states `stated` XOR the content's true
// size (when deflated) as its inflated size, and `packed` XOR the packed bytes' length as its packed
// size, so zeros state the truth. Up to kMaxPaddedBytes, the packed bytes are cut or padded (by
// repeating them) to the size they state, which is enough to back the largest claim zlib's ratio allows.
namespace veltrane::fuzz {

inline constexpr std::uint32_t kMaxPaddedBytes = 4u << 20;

// The file, or nothing when the input is too short to hold the fields.
std::optional<std::vector<std::uint8_t>> composeContainer(std::span<const std::uint8_t> input);

// The input that composes `level`'s file with the level data (`levelData`, as serialised) deflated
// from the input and the pages as packed streams.
std::vector<std::uint8_t> containerInput(const level::Tr4Level& level, std::span<const std::uint8_t> levelData);

} // namespace veltrane::fuzz
