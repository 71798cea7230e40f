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
}

TEST(LibraryDocument, HoldsTheMeshesParsedAndTheWholePagesConvertedOnceAndReleasesTheLibraryForm) {
    auto library = builders::emptyLibrary();
    library.TextureBytes.assign(2 * kWadPageBytes + 5, 0);
    library.TextureBytes[kWadPageBytes] = 77; // red of the first texel of page 1
    builders::appendMesh(library, builders::MeshBuilder(level::MeshKind::Library).vertex(1, 2, 3).build());
    builders::appendMesh(library, builders::MeshBuilder(level::MeshKind::Library).vertex(4, 5, 6).build());
    const auto document = decodeLibraryDocument(encodeLibrary(library));
    ASSERT_TRUE(document.ok()) << document.error();
    EXPECT_EQ(document->pages.pageCount, 2u);
    ASSERT_EQ(document->pages.pages32.size(), 2 * level::kPageBytes32) << "bytes after the last whole page are left out";
    EXPECT_EQ(document->pages.pages32[level::kPageBytes32 + 2], 77);
    EXPECT_TRUE(document->library.TextureBytes.empty());
    EXPECT_EQ(document->library.MeshPointers, library.MeshPointers) << "everything else is kept";
    EXPECT_EQ(document->meshes.count(), 2);
    EXPECT_EQ(document->meshes.get(1)->Offset, library.MeshPointers[1]);
    EXPECT_EQ(makePageSet(std::vector<std::uint8_t>(kWadPageBytes - 3, 9)).pageCount, 0u);
}

} // namespace
} // namespace veltrane::wad
