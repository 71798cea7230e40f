#pragma once

#include "io/outcome.h"
#include "io/task_pool.h"
#include "io/zlib_chunk.h"
#include "level/tr4_level.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace veltrane::level {

// Reads a whole .tr4 file: header, the four chunks inflated, the level-data block parsed, the tail.
// A damaged file gives a message saying what is wrong and where; nothing half-read is returned.
// The chunks inflate at the same time on up to `threads` threads, and the level-data block is parsed
// as soon as it is inflated, while the page chunks may still be inflating.
// A level that will not be saved (one only summarised) can leave PackedChunks empty: `keepStreams` false.
io::Outcome<Tr4Level> decodeLevel(std::span<const std::uint8_t> file, unsigned threads = io::hardwareThreads(),
                                  bool keepStreams = true);
io::Outcome<Tr4Level> readLevel(const std::filesystem::path& path, unsigned threads = io::hardwareThreads());

// The bytes of a .tr4 file for `level`: the texture chunks deflated, the level-data block
// serialised and deflated, then SampleCount and the tail. The caller rebuilds the mesh block first.
// A chunk that still begins with what its stream in PackedChunks inflates to carries that stream over
// and deflates only the bytes after it.
// The chunks deflate in blocks on up to `threads` threads (see io::BlockDeflate); the level-data block
// is serialised while the page chunks deflate.
struct EncodedLevel {
    std::vector<std::uint8_t> file;
    std::vector<std::uint8_t> levelData; // the serialised block, as deflated into the file
    std::uint32_t packedSizes[4] = {};   // Pages32, Pages16, PagesMisc, LevelData
    std::array<io::PackedStream, 4> packedChunks; // the same chunks' streams, as written into the file
};
io::Outcome<EncodedLevel> encodeLevel(const Tr4Level& level, unsigned threads = io::hardwareThreads());

// Writes `level` to `path` without ever damaging an existing file there. On success the model takes
// the new packed sizes, streams and level-data block, as a save does; on failure it is untouched.
io::Status writeLevel(const std::filesystem::path& path, Tr4Level& level, unsigned threads = io::hardwareThreads());

} // namespace veltrane::level
