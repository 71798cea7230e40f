#include "level/level_file.h"

#include "io/byte_reader.h"
#include "io/byte_writer.h"
#include "io/file_io.h"
#include "io/format_error.h"
#include "io/large_buffer.h"
#include "io/zlib_chunk.h"
#include "level/level_data.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace veltrane::level {
namespace {

constexpr std::array<const char*, 4> kChunkNames = {"32-bit page chunk", "16-bit page chunk", "misc chunk",
                                                    "level-data chunk"};

// The page chunks are read with room for this many more pages, which costs address space only until a
// merge puts its new pages there in place of copying the whole chunk.
constexpr std::size_t kSparePages = 64;
constexpr std::array<std::size_t, 4> kSpareBytes = {kSparePages * kPageBytes32, kSparePages * kPageBytes16, 0, 0};

std::vector<std::uint8_t>& chunkBytes(Tr4Level& level, std::size_t chunk) {
    std::array<std::vector<std::uint8_t>*, 4> chunks = {&level.Pages32, &level.Pages16, &level.PagesMisc,
                                                        &level.LevelData};
    return *chunks[chunk];
}

std::uint32_t& packedSize(Tr4Level& level, std::size_t chunk) {
    std::array<std::uint32_t*, 4> sizes = {&level.Pages32PackedSize, &level.Pages16PackedSize,
                                           &level.PagesMiscPackedSize, &level.LevelDataPackedSize};
    return *sizes[chunk];
}

// A chunk as it stands in the file, before it is inflated.
struct PackedChunk {
    std::uint32_t inflatedSize = 0;
    std::span<const std::uint8_t> packed;
};

PackedChunk readPackedChunk(io::ByteReader& in) {
    PackedChunk chunk;
    chunk.inflatedSize = in.u32("inflated size");
    const std::uint32_t packed = in.u32("packed size");
    chunk.packed = in.bytes(packed, "packed data");
    return chunk;
}

} // namespace

io::Outcome<Tr4Level> decodeLevel(std::span<const std::uint8_t> file, unsigned threads, bool keepStreams) {
    using Result = io::Outcome<Tr4Level>;
    Tr4Level level;
    std::array<PackedChunk, 4> chunks;
    try {
        io::ByteReader in(file, "file");
        io::within("header", [&] {
            level.Version = in.u32("version");
            level.NumRoomPages = in.u16("room page count");
            level.NumObjectPages = in.u16("object page count");
            level.NumBumpPages = in.u16("bump page count");
        });
        for (std::size_t chunk = 0; chunk < kChunkNames.size(); ++chunk)
            chunks[chunk] = io::within(kChunkNames[chunk], [&] { return readPackedChunk(in); });
        level.SampleCount = in.u32("sample count");
        const auto tail = in.bytes(in.remaining(), "tail");
        level.Tail.assign(tail.begin(), tail.end());
    } catch (const io::FormatError& error) {
        return Result::failure(error.what());
    }

    // Each task fills only its own chunk's fields and its own failure, so the tasks share nothing.
    // The level-data block is parsed by the task that inflated it, while the pages may still inflate.
    std::array<std::string, 4> failures;
    std::string parseFailure;
    {
        io::TaskPool pool(threads);
        const auto inflate = [&](std::size_t chunk) {
            std::size_t streamBytes = 0;
            auto inflated = io::inflateChunk(chunks[chunk].packed, chunks[chunk].inflatedSize, kSpareBytes[chunk],
                                             &streamBytes);
            if (!inflated) {
                failures[chunk] = std::string(kChunkNames[chunk]) + ": " + inflated.error();
                return false;
            }
            chunkBytes(level, chunk) = std::move(inflated.value());
            packedSize(level, chunk) = static_cast<std::uint32_t>(chunks[chunk].packed.size());
            if (!keepStreams)
                return true;
            // Kept on huge pages, as the chunks are: in a fresh process each 4 KiB page costs a fault.
            // The room is reserved rather than cleared, since the stream's bytes fill it at once.
            auto stream = io::largeBuffer(0, streamBytes);
            stream.insert(stream.end(), chunks[chunk].packed.begin(),
                          chunks[chunk].packed.begin() + static_cast<std::ptrdiff_t>(streamBytes));
            level.PackedChunks[chunk] = {std::move(stream), chunks[chunk].inflatedSize};
            return true;
        };
        // Largest first, so that the longest inflate starts at once; the level data next, so that its
        // parse overlaps the rest.
        pool.submit([&] { inflate(0); });
        pool.submit([&] {
            if (!inflate(3))
                return;
            try {
                parseLevelData(level.LevelData, level);
            } catch (const io::FormatError& error) {
                parseFailure = error.what();
            }
        });
        pool.submit([&] { inflate(1); });
        pool.submit([&] { inflate(2); });
        pool.wait();
    }
    for (const auto& failure : failures)
        if (!failure.empty())
            return Result::failure(failure);
    if (!parseFailure.empty())
        return Result::failure(parseFailure);
    level.PageCount = wholePages(level.Pages32.size(), kPageBytes32);
    return level;
}

io::Outcome<Tr4Level> readLevel(const std::filesystem::path& path, unsigned threads) {
    auto file = io::readWholeFile(path);
    if (!file)
        return io::Outcome<Tr4Level>::failure(file.error());
    return decodeLevel(file.value(), threads);
}

io::Outcome<EncodedLevel> encodeLevel(const Tr4Level& level, unsigned threads) {
    using Result = io::Outcome<EncodedLevel>;
    EncodedLevel encoded;
    const std::array<const std::vector<std::uint8_t>*, 4> chunks = {&level.Pages32, &level.Pages16, &level.PagesMisc,
                                                                    &encoded.levelData};
    for (std::size_t chunk = 0; chunk + 1 < chunks.size(); ++chunk)
        if (chunks[chunk]->size() > UINT32_MAX)
            return Result::failure(std::string(kChunkNames[chunk]) + " is larger than a level file can hold");

    std::array<io::BlockDeflate, 4> deflates;
    {
        io::TaskPool pool(threads);
        for (std::size_t chunk = 0; chunk + 1 < chunks.size(); ++chunk)
            deflates[chunk].start(pool, *chunks[chunk], level.PackedChunks[chunk]);
        // The pool's threads deflate the pages while this one serialises the level data.
        try {
            encoded.levelData = serialiseLevelData(level);
        } catch (const io::FormatError& error) {
            return Result::failure(error.what());
        }
        if (encoded.levelData.size() > UINT32_MAX)
            return Result::failure(std::string(kChunkNames[3]) + " is larger than a level file can hold");
        // The block as last read or written is still at hand, so its stream is carried over only when
        // the new block begins with exactly those bytes.
        const io::PackedStream none;
        const bool unchangedStart = level.LevelData.size() <= encoded.levelData.size() &&
                                    std::equal(level.LevelData.begin(), level.LevelData.end(), encoded.levelData.begin());
        deflates[3].start(pool, encoded.levelData, unchangedStart ? level.PackedChunks[3] : none);
        pool.wait();
    }

    constexpr std::size_t kHeaderBytes = 10, kChunkHeaderBytes = 8, kSampleCountBytes = 4;
    std::size_t fileBytes = kHeaderBytes + kSampleCountBytes + level.Tail.size();
    for (std::size_t chunk = 0; chunk < chunks.size(); ++chunk) {
        auto packed = deflates[chunk].join();
        if (!packed)
            return Result::failure(std::string(kChunkNames[chunk]) + " " + packed.error());
        encoded.packedSizes[chunk] = static_cast<std::uint32_t>(packed->size());
        encoded.packedChunks[chunk] = {std::move(packed.value()), chunks[chunk]->size()};
        fileBytes += kChunkHeaderBytes + encoded.packedSizes[chunk];
    }
    // Written into one buffer of the file's size, not one grown (and copied) as the chunks come.
    io::ByteWriter out(fileBytes);
    out.u32(level.Version);
    out.u16(level.NumRoomPages);
    out.u16(level.NumObjectPages);
    out.u16(level.NumBumpPages);
    for (std::size_t chunk = 0; chunk < chunks.size(); ++chunk) {
        out.u32(static_cast<std::uint32_t>(chunks[chunk]->size()));
        out.u32(encoded.packedSizes[chunk]);
        out.bytes(encoded.packedChunks[chunk].packed);
    }
    out.u32(level.SampleCount);
    out.bytes(level.Tail);
    encoded.file = out.take();
    return encoded;
}

io::Status writeLevel(const std::filesystem::path& path, Tr4Level& level, unsigned threads) {
    auto encoded = encodeLevel(level, threads);
    if (!encoded)
        return io::Status::failure(encoded.error());
    auto written = io::replaceFile(path, encoded->file);
    if (!written)
        return written;
    for (std::size_t chunk = 0; chunk < kChunkNames.size(); ++chunk)
        packedSize(level, chunk) = encoded->packedSizes[chunk];
    level.PackedChunks = std::move(encoded->packedChunks);
    level.LevelData = std::move(encoded->levelData);
    return io::success();
}

} // namespace veltrane::level
