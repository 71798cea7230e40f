#include "level/level_file.h"

#include "io/byte_reader.h"
#include "io/byte_writer.h"
#include "io/file_io.h"
#include "io/format_error.h"
#include "io/zlib_chunk.h"
#include "level/level_data.h"

#include <array>
#include <string>
#include <utility>

namespace veltrane::level {
namespace {

constexpr std::array<const char*, 4> kChunkNames = {"32-bit page chunk", "16-bit page chunk", "misc chunk",
                                                    "level-data chunk"};

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

void readChunk(io::ByteReader& in, Tr4Level& level, std::size_t chunk) {
    const std::uint32_t inflatedSize = in.u32("inflated size");
    const std::uint32_t packed = in.u32("packed size");
    auto inflated = io::inflateChunk(in.bytes(packed, "packed data"), inflatedSize);
    if (!inflated)
        throw io::FormatError(inflated.error());
    chunkBytes(level, chunk) = std::move(inflated.value());
    packedSize(level, chunk) = packed;
}

} // namespace

io::Outcome<Tr4Level> decodeLevel(std::span<const std::uint8_t> file) {
    Tr4Level level;
    try {
        io::ByteReader in(file, "file");
        io::within("header", [&] {
            level.Version = in.u32("version");
            level.NumRoomPages = in.u16("room page count");
            level.NumObjectPages = in.u16("object page count");
            level.NumBumpPages = in.u16("bump page count");
        });
        for (std::size_t chunk = 0; chunk < kChunkNames.size(); ++chunk)
            io::within(kChunkNames[chunk], [&] { readChunk(in, level, chunk); });
        level.PageCount = static_cast<std::uint32_t>(level.Pages32.size() / kPageBytes32);
        level.SampleCount = in.u32("sample count");
        const auto tail = in.bytes(in.remaining(), "tail");
        level.Tail.assign(tail.begin(), tail.end());
        parseLevelData(level.LevelData, level);
    } catch (const io::FormatError& error) {
        return io::Outcome<Tr4Level>::failure(error.what());
    }
    return level;
}

io::Outcome<Tr4Level> readLevel(const std::filesystem::path& path) {
    auto file = io::readWholeFile(path);
    if (!file)
        return io::Outcome<Tr4Level>::failure(file.error());
    return decodeLevel(file.value());
}

io::Outcome<EncodedLevel> encodeLevel(const Tr4Level& level) {
    using Result = io::Outcome<EncodedLevel>;
    EncodedLevel encoded;
    try {
        encoded.levelData = serialiseLevelData(level);
    } catch (const io::FormatError& error) {
        return Result::failure(error.what());
    }

    const std::array<const std::vector<std::uint8_t>*, 4> chunks = {&level.Pages32, &level.Pages16, &level.PagesMisc,
                                                                    &encoded.levelData};
    io::ByteWriter out;
    out.u32(level.Version);
    out.u16(level.NumRoomPages);
    out.u16(level.NumObjectPages);
    out.u16(level.NumBumpPages);
    for (std::size_t chunk = 0; chunk < chunks.size(); ++chunk) {
        const auto& inflated = *chunks[chunk];
        if (inflated.size() > UINT32_MAX)
            return Result::failure(std::string(kChunkNames[chunk]) + " is larger than a level file can hold");
        auto packed = io::deflateChunk(inflated);
        if (!packed)
            return Result::failure(std::string(kChunkNames[chunk]) + " " + packed.error());
        out.u32(static_cast<std::uint32_t>(inflated.size()));
        out.u32(static_cast<std::uint32_t>(packed->size()));
        out.bytes(packed.value());
        encoded.packedSizes[chunk] = static_cast<std::uint32_t>(packed->size());
    }
    out.u32(level.SampleCount);
    out.bytes(level.Tail);
    encoded.file = out.take();
    return encoded;
}

io::Status writeLevel(const std::filesystem::path& path, Tr4Level& level) {
    auto encoded = encodeLevel(level);
    if (!encoded)
        return io::Status::failure(encoded.error());
    auto written = io::replaceFile(path, encoded->file);
    if (!written)
        return written;
    for (std::size_t chunk = 0; chunk < kChunkNames.size(); ++chunk)
        packedSize(level, chunk) = encoded->packedSizes[chunk];
    level.LevelData = std::move(encoded->levelData);
    return io::success();
}

} // namespace veltrane::level
