#include "level/mesh_tree.h"

#include <gtest/gtest.h>

namespace veltrane::level {
namespace {

struct Tree {
    std::vector<std::uint32_t> words;
    Tr4Moveable moveable;
    // A moveable of `meshCount` meshes whose tree of `nodes` starts at word 4 of the table.
    Tree(std::uint16_t meshCount, std::vector<std::array<std::uint32_t, 4>> nodes) : words(4, 99) {
        moveable.MeshCount = meshCount;
        moveable.MeshTree = 4;
        for (const auto& node : nodes)
            words.insert(words.end(), node.begin(), node.end());
    }
    [[nodiscard]] std::vector<MeshLink> links() const { return meshTreeLinks(words, moveable); }
};

std::uint32_t word(std::int32_t value) { return static_cast<std::uint32_t>(value); }

TEST(MeshTree, FlagsHangEachMeshFromTheOneBeforeOrFromASavedOne) {
    // Mesh 1 follows mesh 0; mesh 2 saves mesh 1 and hangs from it; mesh 3 reads the saved mesh 1, mesh 4
    // drops it, and mesh 5 follows mesh 4 again. Offsets take the low 16 bits of each word, signed.
    const Tree tree(6, {{kFromPrevious, 15, word(-15), 25},
                        {kPushPrevious, 0, 0, 1},
                        {kFromTop, word(-30), 0, 0},
                        {kFromPopped, 0x0001'0064, 0xFFFF'FF9C, 0x7FFF'0000},
                        {kFromPrevious, 1, 2, 3}});
    EXPECT_EQ(tree.links(), (std::vector<MeshLink>{{-1, {}, {}},
                                                    {0, {15, -15, 25}, {}},
                                                    {1, {0, 0, 1}, {}},
                                                    {1, {-30, 0, 0}, {}},
                                                    {1, {100, -100, 0}, {}},
                                                    {4, {1, 2, 3}, {}}}));
    EXPECT_EQ(meshTreeWords(tree.moveable), 20u);
    Tr4Moveable single;
    single.MeshCount = 1;
    single.MeshTree = 1'000'000; // far outside MeshTrees: a single mesh reads no node
    EXPECT_EQ(meshTreeLinks(tree.words, single), (std::vector<MeshLink>{{-1, {}, {}}}));
    EXPECT_EQ(meshTreeWords(single), 0u);
}

TEST(MeshTree, ANodeThatCannotBeFollowedHangsItsMeshFromTheOneBeforeAndSaysWhy) {
    std::vector<std::array<std::uint32_t, 4>> sixSaves(6, {kPushPrevious, 10, 0, 0});
    const auto saves = Tree(7, sixSaves).links();
    EXPECT_EQ(saves[5], (MeshLink{4, {10, 0, 0}, {}}));
    EXPECT_EQ(saves[6], (MeshLink{5, {}, "mesh tree saves more than five meshes"}));

    const auto reads = Tree(5, {{kFromPopped, 10, 0, 0}, {kFromTop, 10, 0, 0}, {7, 10, 0, 0}}).links();
    EXPECT_EQ(reads[1], (MeshLink{0, {}, "mesh tree reads an empty stack"}));
    EXPECT_EQ(reads[2], (MeshLink{1, {}, "mesh tree reads an empty stack"}));
    EXPECT_EQ(reads[3], (MeshLink{2, {}, "mesh tree has an unknown flag"}));
    EXPECT_EQ(reads[4], (MeshLink{3, {}, "mesh tree runs past MeshTrees"}));
}

} // namespace
} // namespace veltrane::level
