#include "io/zlib_chunk.h"
#include "io/byte_writer.h"
#include "support/temp_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <zlib.h>

extern char** environ;

namespace veltrane::io {
namespace {

std::vector<std::uint8_t> randomBytes(std::size_t count, unsigned seed = 7) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(count);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Compressible text with runs that repeat across block borders, so that blocks lean on the bytes
// before them.
std::vector<std::uint8_t> repetitiveBytes(std::size_t count) {
    std::mt19937 random(11);
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 1000 < 500 ? "veltrane"[i % 8] : random() % 4);
    return bytes;
}

std::vector<std::uint8_t> plainlyUncompressed(std::span<const std::uint8_t> packed, std::size_t size) {
    std::vector<std::uint8_t> back(size + 1);
    uLongf length = back.size();
    EXPECT_EQ(uncompress(back.data(), &length, packed.data(), packed.size()), Z_OK);
    back.resize(length);
    return back;
}

// Short blocks pack with the fixed codes or stored, longer ones with codes of their own.
TEST(ZlibChunk, ChunksOfAnySizeInBlocksOnAnyThreadCountAreOneStreamThatPlainUncompressReads) {
    for (const auto& [block, threads] : {std::pair{std::size_t{64}, 2u}, {4096, 1u}, {4096, 2u}, {4096, 7u}}) {
        for (const std::size_t size : {std::size_t{0}, std::size_t{1}, block - 1, block, block + 1, 3 * block + 100,
                                       std::size_t{40} * block}) {
            for (const bool incompressible : {false, true}) {
                const auto data = incompressible ? randomBytes(size) : repetitiveBytes(size);
                BlockDeflate deflate;
                TaskPool pool(threads);
                deflate.start(pool, data, {}, block);
                pool.wait();
                const auto packed = deflate.join().value();
                EXPECT_EQ(plainlyUncompressed(packed, size), data)
                    << size << " bytes, " << threads << " threads" << (incompressible ? ", random" : "");
                EXPECT_EQ(inflateChunk(packed, static_cast<std::uint32_t>(size)).value(), data);
            }
        }
    }
}

// A stream of `bytes` as zlib writes it at `level`; level 0 stores them, so that a stream carried over
// stands out by its size from one deflated again.
PackedStream zlibStream(std::span<const std::uint8_t> bytes, int level) {
    std::vector<std::uint8_t> packed(compressBound(bytes.size()));
    uLongf size = packed.size();
    EXPECT_EQ(compress2(packed.data(), &size, bytes.data(), bytes.size(), level), Z_OK);
    packed.resize(size);
    return {packed, bytes.size()};
}

std::vector<std::uint8_t> deflatedAfter(const PackedStream& kept, std::span<const std::uint8_t> data) {
    BlockDeflate deflate;
    TaskPool pool(2);
    deflate.start(pool, data, kept, 4096);
    pool.wait();
    return deflate.join().value();
}

TEST(ZlibChunk, AKeptStreamIsCarriedOverOnlyWhileTheChunkStillBeginsWithItsBytes) {
    const auto data = repetitiveBytes(50000);
    const std::size_t keptLength = 30000;
    const auto stored = zlibStream(std::span(data).first(keptLength), 0);
    ASSERT_GT(stored.packed.size(), keptLength);

    // Carried over, alone or with bytes deflated after it.
    for (const std::size_t size : {keptLength, keptLength + 1, data.size()}) {
        const auto chunk = std::span(data).first(size);
        const auto packed = deflatedAfter(stored, chunk);
        EXPECT_GT(packed.size(), keptLength) << size;
        EXPECT_EQ(plainlyUncompressed(packed, size), std::vector(chunk.begin(), chunk.end())) << size;
    }
    // A packed stream's last block ends within a byte, where the bytes after it begin.
    const auto packedOnce = zlibStream(std::span(data).first(keptLength), 9);
    EXPECT_EQ(plainlyUncompressed(deflatedAfter(packedOnce, data), data.size()), data);

    // Deflated anew: bytes changed, a chunk shorter than the stream's, a stream whose trailer is not
    // its bytes' checksum, and one whose blocks do not walk.
    auto changed = data;
    changed[20000] ^= 1;
    auto badTrailer = stored;
    badTrailer.packed[stored.packed.size() - 1] ^= 1;
    auto badBlocks = stored;
    badBlocks.packed[2] = 0x07; // a final block of the reserved type
    const std::vector<std::pair<const PackedStream*, std::vector<std::uint8_t>>> fresh = {
        {&stored, changed}, {&stored, std::vector(data.begin(), data.begin() + keptLength - 1)},
        {&badTrailer, data}, {&badBlocks, data}};
    for (const auto& [kept, chunk] : fresh) {
        const auto packed = deflatedAfter(*kept, chunk);
        EXPECT_LT(packed.size(), keptLength / 2);
        EXPECT_EQ(plainlyUncompressed(packed, chunk.size()), chunk);
    }
}

TEST(ZlibChunk, InflateGivesExactlyTheStatedSizeOrSaysWhy) {
    const auto packed = deflateChunk(std::vector<std::uint8_t>(1000, 7)).value();
    EXPECT_TRUE(inflateChunk(packed, 1000).ok());
    EXPECT_EQ(inflateChunk(packed, 1200).error(), "inflates to 1000 bytes, not the stated 1200");
    EXPECT_EQ(inflateChunk(packed, 999).error(), "inflates to more than its stated 999 bytes");
    // Bytes after the stream are no part of it.
    auto followed = packed;
    followed.insert(followed.end(), {1, 2, 3});
    std::size_t streamBytes = 0;
    EXPECT_TRUE(inflateChunk(followed, 1000, 0, &streamBytes).ok());
    EXPECT_EQ(streamBytes, packed.size());

    auto damaged = deflateChunk(randomBytes(5000)).value();
    EXPECT_FALSE(inflateChunk(std::span(damaged).first(100), 5000).ok());
    damaged[0] ^= 0xFF;
    EXPECT_NE(inflateChunk(damaged, 5000).error().find("cannot be inflated"), std::string::npos);

    // A stated size beyond what zlib can expand the bytes to is refused before any memory is asked for.
    const std::vector<std::uint8_t> ten(10, 0);
    EXPECT_EQ(inflateChunk(ten, 0xF0000000u).error(),
              "states an inflated size of 4026531840 bytes, more than 10 packed bytes can hold");
    EXPECT_NE(inflateChunk(ten, 74 * kMaxInflateRatio).error().find("cannot be inflated"), std::string::npos);
}

// Runs `veltrane-cli info FILE` and returns its exit status and what it wrote to stderr.
std::pair<int, std::string> runInfo(const testing::TempFolder& folder, const std::filesystem::path& file) {
    const auto errors = folder / "stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string program = VELTRANE_CLI, command = "info", path = file.string();
    char* argv[] = {program.data(), command.data(), path.data(), nullptr};
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ) == 0)
        waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    const auto message = testing::TempFolder::read(errors);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(message.begin(), message.end())};
}

// A level of four 1 MiB chunks that each state 1 GiB: the first a sound stream that ends early, the
// others noise behind a zlib header. The claims must not turn into memory before the bytes back them.
TEST(ZlibChunk, ClaimsTheStreamDoesNotBackCostNoMemory) {
    ByteWriter file;
    file.u32(0x00345254);
    for (const std::uint16_t pages : {1, 1, 0})
        file.u16(pages);
    for (unsigned chunk = 0; chunk < 4; ++chunk) {
        auto packed = randomBytes(1u << 20, chunk);
        if (chunk == 0)
            packed = deflateChunk(packed).value();
        packed[0] = 0x78, packed[1] = 0x9C;
        file.u32(1u << 30);
        file.u32(static_cast<std::uint32_t>(packed.size()));
        file.bytes(packed);
    }
    file.u32(0);
    const testing::TempFolder folder;
    const auto [status, message] = runInfo(folder, folder.write("claims.tr4", file.data()));

    EXPECT_EQ(status, 1);
    EXPECT_NE(message.find("32-bit page chunk: inflates to 1048576 bytes, not the stated 1073741824"), std::string::npos);
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
#if defined(__SANITIZE_ADDRESS__)
    constexpr long kPeakKiB = 512 * 1024; // the sanitizer's shadow memory and quarantine come on top
#else
    constexpr long kPeakKiB = 256 * 1024;
#endif
    EXPECT_LT(usage.ru_maxrss, kPeakKiB) << "peak resident KiB of veltrane-cli";
}

} // namespace
} // namespace veltrane::io
