#include "io/byte_writer.h"
#include "io/file_io.h"
#include "io/zlib_chunk.h"
#include "level/level_file.h"
#include "builders/level_builder.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>
#include <zlib.h>

using namespace veltrane;
namespace fs = std::filesystem;

namespace {

level::Tr4Level levelWithPages(std::size_t pages) {
    auto level = builders::minimalLevel();
    level.NumRoomPages = static_cast<std::uint16_t>(pages);
    level.Pages32.assign(pages * level::kPageBytes32, 0x5A);
    level.Pages16.assign(pages * level::kPageBytes16, 0x33);
    level.PagesMisc.assign(2 * level::kPageBytes32, 0x11);
    level.PageCount = static_cast<std::uint32_t>(pages);
    level.SampleCount = 3;
    level.Tail = {1, 2, 3, 4, 5};
    level.MeshPointers = {0};
    level.Frames = {1, 2, 3};
    return level;
}

// Levels compare equal when they were read from the same bytes; the packed sizes and the level-data
// block depend on how the file was written, so a round trip compares everything else.
void expectSameModel(level::Tr4Level a, level::Tr4Level b) {
    for (auto* level : {&a, &b}) {
        level->Pages32PackedSize = level->Pages16PackedSize = level->PagesMiscPackedSize = 0;
        level->LevelDataPackedSize = 0;
        level->LevelData.clear();
    }
    EXPECT_TRUE(a == b);
}

std::vector<std::uint8_t> uncompressed(std::span<const std::uint8_t> packed, std::size_t size) {
    std::vector<std::uint8_t> out(size);
    uLongf length = size;
    EXPECT_EQ(uncompress(out.data(), &length, packed.data(), packed.size()), Z_OK);
    return out;
}

class LevelFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("veltrane-level-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

} // namespace

TEST_F(LevelFile, LoadSaveLoadGivesTheSameModelHeaderSampleCountAndTail) {
    auto level = levelWithPages(2);
    const auto path = folder_ / "out.tr4";
    ASSERT_TRUE(level::writeLevel(path, level).ok());
    const auto loaded = level::readLevel(path);
    ASSERT_TRUE(loaded.ok()) << loaded.error();
    expectSameModel(loaded.value(), level);
    EXPECT_EQ(loaded->Tail, (std::vector<std::uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(loaded->LevelData, level.LevelData) << "the save kept the block it wrote";
    EXPECT_EQ(loaded->Pages32PackedSize, level.Pages32PackedSize);
}

TEST_F(LevelFile, EveryChunkInflatesWithPlainUncompressAndTheLevelDataChunkHoldsTheBlock) {
    auto level = levelWithPages(1);
    const auto encoded = level::encodeLevel(level);
    ASSERT_TRUE(encoded.ok());
    const auto& file = encoded->file;
    std::size_t at = 10;
    const std::vector<std::size_t> sizes = {level::kPageBytes32, level::kPageBytes16, 2 * level::kPageBytes32,
                                            encoded->levelData.size()};
    for (std::size_t chunk = 0; chunk < 4; ++chunk) {
        std::uint32_t inflated = 0, packed = 0;
        std::memcpy(&inflated, &file[at], 4);
        std::memcpy(&packed, &file[at + 4], 4);
        EXPECT_EQ(inflated, sizes[chunk]);
        const auto bytes = uncompressed(std::span(file).subspan(at + 8, packed), inflated);
        if (chunk == 3) {
            EXPECT_EQ(bytes, encoded->levelData);
        }
        at += 8 + packed;
    }
    EXPECT_EQ(file.size(), at + 4 + 5) << "SampleCount and the tail follow the last chunk";
}

TEST_F(LevelFile, OpenAndSaveGiveTheSameBytesAndModelOnAnyThreadCount) {
    auto level = levelWithPages(5); // pages of several deflate blocks each
    for (std::size_t at = 0; at < level.Pages32.size(); at += 97)
        level.Pages32[at] = static_cast<std::uint8_t>(at / 97);
    const auto oneThread = level::encodeLevel(level, 1);
    ASSERT_TRUE(oneThread.ok());
    const auto loaded = level::decodeLevel(oneThread->file, 1);
    ASSERT_TRUE(loaded.ok()) << loaded.error();
    expectSameModel(loaded.value(), level);
    for (const unsigned threads : {2u, 3u, 8u}) {
        EXPECT_EQ(level::encodeLevel(level, threads)->file, oneThread->file) << threads << " threads";
        const auto again = level::decodeLevel(oneThread->file, threads);
        ASSERT_TRUE(again.ok()) << again.error();
        EXPECT_TRUE(again.value() == loaded.value()) << threads << " threads";
    }
}

TEST_F(LevelFile, AFileEndingAfterSampleCountHasAnEmptyTail) {
    auto level = levelWithPages(0);
    level.Tail.clear();
    const auto encoded = level::encodeLevel(level).value();
    const auto loaded = level::decodeLevel(encoded.file);
    ASSERT_TRUE(loaded.ok());
    EXPECT_TRUE(loaded->Tail.empty());
    EXPECT_EQ(level::encodeLevel(loaded.value())->file.size(), encoded.file.size());
}

TEST_F(LevelFile, PageCountCountsWholePagesOnly) {
    auto level = levelWithPages(3);
    level.Pages32.resize(3 * level::kPageBytes32 + 10);
    const auto loaded = level::decodeLevel(level::encodeLevel(level)->file);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded->PageCount, 3u);
}

TEST_F(LevelFile, ATextureChunkThatDoesNotCompressIsWrittenWhole) {
    auto level = levelWithPages(1);
    std::mt19937 random(1);
    for (auto& byte : level.Pages32)
        byte = static_cast<std::uint8_t>(random());
    const auto encoded = level::encodeLevel(level);
    ASSERT_TRUE(encoded.ok());
    EXPECT_GT(encoded->packedSizes[0], level::kPageBytes32);
    EXPECT_EQ(level::decodeLevel(encoded->file)->Pages32, level.Pages32);
}

TEST_F(LevelFile, EachKindOfDamageIsRefusedWithWhatAndWhere) {
    auto level = levelWithPages(1);
    const auto good = level::encodeLevel(level)->file;
    auto messageFor = [](std::vector<std::uint8_t> bytes) {
        const auto result = level::decodeLevel(bytes);
        return result.ok() ? std::string("loaded") : result.error();
    };
    auto startsWith = [](const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; };

    EXPECT_TRUE(startsWith(messageFor({good.begin(), good.begin() + 7}), "header: object page count runs past"));
    EXPECT_TRUE(startsWith(messageFor({good.begin(), good.begin() + 40}), "32-bit page chunk: packed data runs past"));

    auto wrongSize = good;
    wrongSize[10] ^= 0x01; // inflated size of the 32-bit pages one byte off
    EXPECT_EQ(messageFor(wrongSize), "32-bit page chunk: inflates to 262144 bytes, not the stated 262145");

    auto huge = good;
    huge[13] = 0x7F;
    EXPECT_TRUE(startsWith(messageFor(huge), "32-bit page chunk: states an inflated size of")) << messageFor(huge);

    auto corrupt = good;
    corrupt[20] ^= 0xFF; // inside the deflate stream of the 32-bit pages
    EXPECT_TRUE(startsWith(messageFor(corrupt), "32-bit page chunk: ")) << messageFor(corrupt);

    auto noSampleCount = good;
    noSampleCount.resize(good.size() - 7);
    EXPECT_TRUE(startsWith(messageFor(noSampleCount), "sample count runs past")) << messageFor(noSampleCount);
}

TEST_F(LevelFile, ADamagedLevelDataBlockIsNamed) {
    auto block = level::encodeLevel(levelWithPages(0))->levelData;
    block.resize(block.size() - 654); // the sound map and what follows it are 754 bytes: cut inside the map
    io::ByteWriter file;
    file.u32(0x00345254);
    for (int pageCount = 0; pageCount < 3; ++pageCount)
        file.u16(0);
    const std::vector<std::uint8_t> empty;
    const std::array<const std::vector<std::uint8_t>*, 4> chunks = {&empty, &empty, &empty, &block};
    for (const auto* chunk : chunks) {
        const auto packed = io::deflateChunk(*chunk).value();
        file.u32(static_cast<std::uint32_t>(chunk->size()));
        file.u32(static_cast<std::uint32_t>(packed.size()));
        file.bytes(packed);
    }
    file.u32(0);
    const auto result = level::decodeLevel(file.data());
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().rfind("level data: sound map runs past the end of the block", 0), 0u) << result.error();
}

TEST_F(LevelFile, ASaveThatFailsLeavesTheDestinationAndTheModelAsTheyWere) {
    auto level = levelWithPages(1);
    const auto blocker = folder_ / "not-a-folder";
    std::ofstream(blocker) << "x";
    const auto before = level;
    const auto result = level::writeLevel(blocker / "out.tr4", level);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find("cannot create a file in"), std::string::npos) << result.error();
    EXPECT_TRUE(level == before);
    EXPECT_EQ(fs::file_size(blocker), 1u);
}

TEST_F(LevelFile, ASaveThatFailsHalfWayLeavesTheOldFileAndTheModelAsTheyWere) {
    const auto path = folder_ / "level.tr4";
    auto level = levelWithPages(1);
    ASSERT_TRUE(level::writeLevel(path, level).ok());
    const auto onDisk = [&path] {
        std::ifstream in(path, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    };
    const auto oldFile = onDisk();

    level.Frames.push_back(99);
    const auto before = level;
    io::failNextReplaceAfter(oldFile.size() / 2, ENOSPC);
    const auto result = level::writeLevel(path, level);
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().find(std::strerror(ENOSPC)), std::string::npos) << result.error();
    EXPECT_TRUE(level == before);
    EXPECT_EQ(onDisk(), oldFile);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}
