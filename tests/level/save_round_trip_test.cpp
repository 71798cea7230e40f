#include "level/level_file.h"
#include "level/mesh_block.h"
#include "demo/demo_level.h"

#include <gtest/gtest.h>

using namespace veltrane;

namespace {

// What Save As does to the data: rebuild the mesh block from the parsed meshes, then write.
level::Tr4Level savedAndLoadedAgain(const level::Tr4Level& loaded) {
    auto level = loaded;
    const auto meshes = level::parseMeshBlock(level::wordBytes(level.MeshWords), level::MeshKind::Level);
    EXPECT_EQ(level::rebuildMeshBlock(meshes, level), level.MeshWords.size() * 2);
    const auto encoded = level::encodeLevel(level);
    EXPECT_TRUE(encoded.ok());
    auto again = level::decodeLevel(encoded->file);
    EXPECT_TRUE(again.ok()) << again.error();
    return again.value();
}

} // namespace

TEST(SaveRoundTrip, TheDemoTargetComesBackByteForByte) {
    for (const auto scale : {demo::DemoScale::Normal, demo::DemoScale::Large}) {
        const auto file = level::encodeLevel(demo::demoLevel(scale))->file;
        const auto loaded = level::decodeLevel(file).value();
        const auto again = savedAndLoadedAgain(loaded);
        EXPECT_EQ(again.Version, loaded.Version);
        EXPECT_EQ(again.NumRoomPages, loaded.NumRoomPages);
        EXPECT_EQ(again.NumObjectPages, loaded.NumObjectPages);
        EXPECT_EQ(again.NumBumpPages, loaded.NumBumpPages);
        EXPECT_EQ(again.SampleCount, loaded.SampleCount);
        EXPECT_EQ(again.Tail, loaded.Tail);
        EXPECT_EQ(again.Pages32, loaded.Pages32);
        EXPECT_EQ(again.Pages16, loaded.Pages16);
        EXPECT_EQ(again.PagesMisc, loaded.PagesMisc);
        EXPECT_EQ(again.LevelData, loaded.LevelData) << "the demo's pad words are zero already";
    }
}

TEST(SaveRoundTrip, PadWordsBetweenMeshesComeOutZeroAndNothingElseChanges) {
    auto level = demo::demoLevel(demo::DemoScale::Normal);
    auto meshes = level::parseMeshBlock(level::wordBytes(level.MeshWords), level::MeshKind::Level);
    std::vector<std::size_t> padPositions;
    for (const auto& mesh : meshes.meshes())
        if (mesh.PadWord)
            padPositions.push_back((mesh.Offset + level::levelFormSize(mesh)) / 2 - 1);
    ASSERT_FALSE(padPositions.empty());
    for (auto word : padPositions)
        level.MeshWords[word] = 0xABCD;

    const auto loaded = level::decodeLevel(level::encodeLevel(level)->file).value();
    const auto again = savedAndLoadedAgain(loaded);
    auto expected = loaded.MeshWords;
    for (auto word : padPositions)
        expected[word] = 0;
    EXPECT_EQ(again.MeshWords, expected);
    auto withoutMeshWords = [](level::Tr4Level model) {
        model.MeshWords.clear();
        model.LevelData.clear();
        model.LevelDataPackedSize = model.Pages32PackedSize = model.Pages16PackedSize = model.PagesMiscPackedSize = 0;
        return model;
    };
    EXPECT_TRUE(withoutMeshWords(again) == withoutMeshWords(loaded));
}
