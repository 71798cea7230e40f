#include "demo/demo_level.h"
#include "level/level_document.h"
#include "level/mesh_block.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

TEST(LevelDocument, ASaveWritesPadWordsAsZeroAndChangesNothingElse) {
    auto level = demo::demoLevel(demo::DemoScale::Normal);
    std::vector<std::size_t> padWords;
    const auto parsed = makeLevelDocument(level);
    for (const auto& mesh : parsed.meshes.meshes())
        if (mesh.PadWord)
            padWords.push_back((mesh.Offset + levelFormSize(mesh)) / 2 - 1);
    ASSERT_FALSE(padWords.empty());
    const auto zeroPads = level.MeshWords;
    for (auto word : padWords)
        level.MeshWords[word] = 0xABCD;

    const testing::TempFolder folder;
    const auto path = folder / "level.tr4";
    ASSERT_TRUE(writeLevel(path, level).ok());
    auto document = openLevelDocument(path);
    ASSERT_TRUE(document.ok()) << document.error();
    ASSERT_TRUE(saveLevelDocument(path, document.value()).ok());
    const auto again = readLevel(path).value();
    EXPECT_EQ(again.MeshWords, zeroPads);
    level.MeshWords = zeroPads;
    EXPECT_TRUE(again.Rooms == level.Rooms && again.Moveables == level.Moveables && again.Pages32 == level.Pages32);
    EXPECT_EQ(openLevelDocument(folder / "none.tr4").error().rfind("cannot open", 0), 0u);
}

} // namespace
} // namespace veltrane::level
