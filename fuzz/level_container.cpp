#include "level_container.h"

#include "fuzz_checks.h"
#include "io/byte_reader.h"
#include "io/byte_writer.h"
#include "io/format_error.h"
#include "io/zlib_chunk.h"

#include <algorithm>
#include <array>

namespace veltrane::fuzz {
namespace {

constexpr std::uint8_t kDeflated = 1;

struct ChunkFields {
    std::uint8_t form = 0;
    std::uint32_t stated = 0;
    std::uint32_t packed = 0;
    std::uint32_t length = 0;
};

// The packed bytes cut or padded to `size`, when that is within reach; as they are otherwise, so the
// file runs out before the size it states.
std::vector<std::uint8_t> fitted(std::vector<std::uint8_t> bytes, std::uint32_t size) {
    if (size > kMaxPaddedBytes)
        return bytes;
    if (bytes.empty())
        bytes.push_back(0);
    const std::size_t pattern = bytes.size();
    bytes.resize(size);
    for (std::size_t at = pattern; at < bytes.size(); ++at)
        bytes[at] = bytes[at - pattern];
    return bytes;
}

} // namespace

std::optional<std::vector<std::uint8_t>> composeContainer(std::span<const std::uint8_t> input) {
    try {
        io::ByteReader in(input, "fuzz input");
        io::ByteWriter file;
        file.u32(in.u32("version"));
        for (int pages = 0; pages < 3; ++pages)
            file.u16(in.u16("page count"));
        std::array<ChunkFields, 4> chunks;
        for (auto& chunk : chunks)
            chunk = {in.u8("form"), in.u32("stated"), in.u32("packed"), in.u32("length")};
        const std::uint32_t sampleCount = in.u32("sample count");

        for (const auto& chunk : chunks) {
            const auto content = in.bytes(std::min<std::size_t>(chunk.length, in.remaining()), "content");
            std::vector<std::uint8_t> packed(content.begin(), content.end());
            std::uint32_t stated = chunk.stated;
            if (chunk.form & kDeflated) {
                auto deflated = io::deflateChunk(content, kThreads);
                check(deflated.ok(), "input bytes could not be deflated");
                packed = std::move(deflated.value());
                stated ^= static_cast<std::uint32_t>(content.size());
            }
            const auto statedPacked = static_cast<std::uint32_t>(packed.size()) ^ chunk.packed;
            file.u32(stated);
            file.u32(statedPacked);
            file.bytes(fitted(std::move(packed), statedPacked));
        }
        file.u32(sampleCount);
        file.bytes(in.bytes(in.remaining(), "tail"));
        return file.take();
    } catch (const io::FormatError&) {
        return std::nullopt;
    }
}

std::vector<std::uint8_t> containerInput(const level::Tr4Level& level, std::span<const std::uint8_t> levelData) {
    io::ByteWriter input;
    input.u32(level.Version);
    input.u16(level.NumRoomPages);
    input.u16(level.NumObjectPages);
    input.u16(level.NumBumpPages);
    const std::array pages = {&level.Pages32, &level.Pages16, &level.PagesMisc};
    std::array<std::vector<std::uint8_t>, 4> contents;
    for (std::size_t chunk = 0; chunk < pages.size(); ++chunk) {
        contents[chunk] = io::deflateChunk(*pages[chunk], kThreads).value();
        input.u8(0);
        input.u32(static_cast<std::uint32_t>(pages[chunk]->size()));
        input.u32(0);
        input.u32(static_cast<std::uint32_t>(contents[chunk].size()));
    }
    contents[3].assign(levelData.begin(), levelData.end());
    input.u8(kDeflated);
    input.u32(0);
    input.u32(0);
    input.u32(static_cast<std::uint32_t>(levelData.size()));
    input.u32(level.SampleCount);
    for (const auto& content : contents)
        input.bytes(content);
    input.bytes(level.Tail);
    return input.take();
}

} // namespace veltrane::fuzz
