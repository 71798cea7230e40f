#include "io/byte_writer.h"
#include "io/file_io.h"
#include "io/zlib_chunk.h"
#include "level/level_file.h"
#include "builders/level_builder.h"
#include "support/plain_zlib.h"
#include "support/temp_folder.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

using testing::TempFolder;

Tr4Level levelWithPages(std::size_t pages) {
    auto level = builders::minimalLevel();
    level.NumRoomPages = static_cast<std::uint16_t>(pages);
    level.Pages32.assign(pages * kPageBytes32, 0x5A);
    for (std::size_t at = 0; at < level.Pages32.size(); at += 97)
        level.Pages32[at] = static_cast<std::uint8_t>(at / 97);
    level.Pages16.assign(pages * kPageBytes16, 0x33);
    level.PagesMisc.assign(2 * kPageBytes32, 0x11);
    level.PageCount = static_cast<std::uint32_t>(pages);
    level.SampleCount = 3;
    level.Tail = {1, 2, 3, 4, 5};
    level.Frames = {1, 2, 3};
    return level;
}

// Levels read from the same bytes compare equal; the packed sizes and the level-data block depend on
// how the file was written, so a round trip compares everything else.
Tr4Level withoutWhatASaveSets(Tr4Level level) {
    level.Pages32PackedSize = level.Pages16PackedSize = level.PagesMiscPackedSize = level.LevelDataPackedSize = 0;
    level.LevelData.clear();
    return level;
}

std::string messageFor(std::span<const std::uint8_t> bytes) {
    const auto result = decodeLevel(bytes);
    return result.ok() ? std::string("loaded") : result.error();
}

TEST(LevelFile, EncodeAndDecodeGiveTheSameBytesAndModelOnAnyThreadCountAndEveryChunkIsPlainZlib) {
    auto level = levelWithPages(5); // pages of several deflate blocks each
    level.Pages32.resize(level.Pages32.size() + 10); // and bytes after the last whole page
    const auto encoded = encodeLevel(level, 1);
    ASSERT_TRUE(encoded.ok());
    const auto loaded = decodeLevel(encoded->file, 1);
    ASSERT_TRUE(loaded.ok()) << loaded.error();
    EXPECT_TRUE(withoutWhatASaveSets(loaded.value()) == withoutWhatASaveSets(level));
    EXPECT_EQ(loaded->PageCount, 5u) << "whole pages only";
    EXPECT_EQ(loaded->LevelData, encoded->levelData) << "the level data chunk holds the block";
    EXPECT_EQ(loaded->Pages32PackedSize, encoded->packedSizes[0]);
    EXPECT_EQ(loaded->LevelDataPackedSize, encoded->packedSizes[3]);
    testing::expectPlainZlibChunks(encoded->file);
    for (const unsigned threads : {2u, 3u, 8u}) {
        EXPECT_EQ(encodeLevel(level, threads)->file, encoded->file) << threads << " threads";
        EXPECT_TRUE(decodeLevel(encoded->file, threads).value() == loaded.value()) << threads << " threads";
    }
}

TEST(LevelFile, EachKindOfDamageIsRefusedWithWhatAndWhere) {
    const auto good = encodeLevel(levelWithPages(1))->file;
    const auto startsWith = [](const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; };
    EXPECT_TRUE(startsWith(messageFor(std::span(good).first(7)), "header: object page count runs past"));
    EXPECT_TRUE(startsWith(messageFor(std::span(good).first(40)), "32-bit page chunk: packed data runs past"));
    EXPECT_TRUE(startsWith(messageFor(std::span(good).first(good.size() - 7)), "sample count runs past"));

    auto damaged = good;
    damaged[10] ^= 0x01; // inflated size of the 32-bit pages one byte off
    EXPECT_EQ(messageFor(damaged), "32-bit page chunk: inflates to 262144 bytes, not the stated 262145");
    damaged = good;
    damaged[13] = 0x7F;
    EXPECT_TRUE(startsWith(messageFor(damaged), "32-bit page chunk: states an inflated size of")) << messageFor(damaged);
    damaged = good;
    damaged[20] ^= 0xFF; // inside the deflate stream of the 32-bit pages
    EXPECT_TRUE(startsWith(messageFor(damaged), "32-bit page chunk: ")) << messageFor(damaged);

    // A level-data block cut inside its sound map, in place of the file's own.
    const auto encoded = encodeLevel(levelWithPages(0)).value();
    auto block = encoded.levelData;
    block.resize(block.size() - 654);
    const auto packed = io::deflateChunk(block).value();
    io::ByteWriter file;
    file.bytes(std::span(encoded.file).first(34 + encoded.packedSizes[0] + encoded.packedSizes[1] + encoded.packedSizes[2]));
    file.u32(static_cast<std::uint32_t>(block.size()));
    file.u32(static_cast<std::uint32_t>(packed.size()));
    file.bytes(packed);
    file.u32(0);
    EXPECT_TRUE(startsWith(messageFor(file.data()), "level data: sound map runs past the end of the block"));
}

TEST(LevelFile, ASaveWritesWhatReadsBackAndOneThatFailsLeavesTheFileAndTheModelAsTheyWere) {
    const TempFolder folder;
    const auto path = folder / "level.tr4";
    auto level = levelWithPages(1);
    ASSERT_TRUE(writeLevel(path, level).ok());
    const auto loaded = readLevel(path);
    ASSERT_TRUE(loaded.ok()) << loaded.error();
    EXPECT_TRUE(loaded.value() == level) << "the save kept the packed sizes and the block it wrote";
    const auto oldFile = TempFolder::read(path);

    level.Frames.push_back(99);
    const auto before = level;
    io::failNextReplaceAfter(oldFile.size() / 2, ENOSPC);
    const auto halfWay = writeLevel(path, level);
    ASSERT_FALSE(halfWay.ok());
    EXPECT_NE(halfWay.error().find(std::strerror(ENOSPC)), std::string::npos) << halfWay.error();
    const auto noFolder = writeLevel(folder / "level.tr4" / "out.tr4", level);
    EXPECT_NE(noFolder.error().find("cannot create a file in"), std::string::npos) << noFolder.error();
    EXPECT_TRUE(level == before);
    EXPECT_EQ(TempFolder::read(path), oldFile);
    EXPECT_EQ(TempFolder::entries(folder.path()), 1u);
}

} // namespace
} // namespace veltrane::level
