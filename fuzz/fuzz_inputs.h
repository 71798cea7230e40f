#pragma once

#include <cstdint>
#include <span>

// What each fuzz target does with one input. The libFuzzer programs call these, and the ordinary test
// suite replays every input that ever failed through them (tests/fuzz).
namespace veltrane::fuzz {

// The .tr4 reader: the whole container, the level-data block or the mesh block, picked by the first byte.
void fuzzLevel(std::span<const std::uint8_t> input);

// The .wad reader, and what Open Source does with the library it read.
void fuzzLibrary(std::span<const std::uint8_t> input);

// A whole merge of the library the input holds into a small fixed level, saved and read back.
void fuzzMerge(std::span<const std::uint8_t> input);

} // namespace veltrane::fuzz
