#include "builders/library_builder.h"
#include "builders/mesh_blocks.h"
#include "builders/mesh_builder.h"
#include "wad/library_document.h"

#include <gtest/gtest.h>

namespace veltrane::wad {
namespace {

TEST(WadPages, TexelsBecomeBlueGreenRedAlphaAndMagentaBecomesTransparent) {
    const std::vector<std::uint8_t> texels = {255, 0, 255, 255, 0, 254, 10, 20, 30, 1};
    EXPECT_EQ(convertPages(texels), (std::vector<std::uint8_t>{0, 0, 0, 0, 254, 0, 255, 255, 30, 20, 10, 255}))
        << "4 bytes for each whole 3; a stray byte is dropped";

    // Long runs go through blocks of texels: magenta and its near misses there and in the tail after them.
    std::vector<std::uint8_t> run(3 * 37, 7);
    const auto put = [&run](std::size_t texel, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        run[3 * texel] = r;
        run[3 * texel + 1] = g;
        run[3 * texel + 2] = b;
    };
    put(0, 255, 0, 255);
    put(17, 255, 0, 255);
    put(18, 255, 0, 254);
    put(19, 255, 1, 255);
    put(20, 254, 0, 255);
    put(21, 10, 20, 30);
    put(36, 255, 0, 255);
    const auto pages = convertPages(run);
    ASSERT_EQ(pages.size(), 4u * 37);
    const auto texel = [&pages](std::size_t i) { return std::vector<std::uint8_t>(&pages[4 * i], &pages[4 * i + 4]); };
    for (const std::size_t transparent : {0u, 17u, 36u})
        EXPECT_EQ(texel(transparent), (std::vector<std::uint8_t>{0, 0, 0, 0})) << "texel " << transparent;
    EXPECT_EQ(texel(18), (std::vector<std::uint8_t>{254, 0, 255, 255}));
    EXPECT_EQ(texel(19), (std::vector<std::uint8_t>{255, 1, 255, 255}));
    EXPECT_EQ(texel(20), (std::vector<std::uint8_t>{255, 0, 254, 255}));
    EXPECT_EQ(texel(21), (std::vector<std::uint8_t>{30, 20, 10, 255}));
    EXPECT_EQ(texel(35), (std::vector<std::uint8_t>{7, 7, 7, 255}));
}

TEST(LibraryDocument, HoldsTheMeshesParsedAndTheWholePagesConvertedOnceAndReleasesTheLibraryForm) {
    auto library = builders::emptyLibrary();
    library.TextureBytes.assign(3 * kWadPageBytes + 5, 0);
    library.TextureBytes[kWadPageBytes] = 77;         // red of the first texel of page 1
    library.TextureBytes[3 * kWadPageBytes - 1] = 66; // blue of the last texel of page 2
    builders::appendMesh(library, builders::MeshBuilder(level::MeshKind::Library).vertex(1, 2, 3).build());
    builders::appendMesh(library, builders::MeshBuilder(level::MeshKind::Library).vertex(4, 5, 6).build());
    const auto document = decodeLibraryDocument(encodeLibrary(library));
    ASSERT_TRUE(document.ok()) << document.error();
    EXPECT_EQ(document->pages.pageCount, 3u);
    ASSERT_EQ(document->pages.pages32.size(), 3 * level::kPageBytes32) << "bytes after the last whole page are left out";
    EXPECT_EQ(document->pages.pages32[level::kPageBytes32 + 2], 77);
    EXPECT_EQ(document->pages.pages32[3 * level::kPageBytes32 - 4], 66);
    EXPECT_EQ(document->pages.pages16, level::convertPagesTo16(document->pages.pages32)) << "both forms of each page";
    EXPECT_TRUE(document->library.TextureBytes.empty());
    EXPECT_EQ(document->library.MeshPointers, library.MeshPointers) << "everything else is kept";
    EXPECT_EQ(document->meshes.count(), 2);
    EXPECT_EQ(document->meshes.get(1)->Offset, library.MeshPointers[1]);
    EXPECT_EQ(makePageSet(std::vector<std::uint8_t>(kWadPageBytes - 3, 9)).pageCount, 0u);
}

} // namespace
} // namespace veltrane::wad
