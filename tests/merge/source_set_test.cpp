#include "merge/source_set.h"
#include "demo/demo_library.h"
#include "wad/wad_pages.h"

#include <gtest/gtest.h>

namespace veltrane::merge {

TEST(SourceSet, HoldsTheLibraryPagesConvertedWithTheirCopyAndReleasesTheLibraryForm) {
    const auto library = demo::demoLibrary(demo::DemoScale::Normal);
    const auto converted = wad::convertPages(library.TextureBytes);
    const SourceSet source = openSourceSet(library);
    EXPECT_EQ(source.pages.Pages32, converted);
    EXPECT_EQ(source.pages.PageCopy, converted);
    EXPECT_EQ(source.pages.PageCount, library.TextureBytes.size() / wad::kWadPageBytes);
    EXPECT_TRUE(source.library.TextureBytes.empty());
    EXPECT_EQ(source.library.TextureSamples, library.TextureSamples) << "everything else is kept";
    EXPECT_EQ(source.library.MeshWords, library.MeshWords);
}

} // namespace veltrane::merge
