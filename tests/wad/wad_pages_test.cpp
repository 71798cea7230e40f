#include "wad/wad_library.h"
#include "wad/wad_pages.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace veltrane;

TEST(WadPages, TexelsBecomeBlueGreenRedAlphaAndMagentaBecomesTransparent) {
    const std::vector<std::uint8_t> texels = {255, 0, 255, 255, 0, 254, 10, 20, 30, 1};
    const auto pages = wad::convertPages(texels);
    ASSERT_EQ(pages.size(), 12u) << "4 bytes for each whole 3; a stray byte is dropped";
    EXPECT_EQ(std::vector<std::uint8_t>(pages.begin(), pages.begin() + 4), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(std::vector<std::uint8_t>(pages.begin() + 4, pages.begin() + 8),
              (std::vector<std::uint8_t>{254, 0, 255, 255}));
    EXPECT_EQ(std::vector<std::uint8_t>(pages.begin() + 8, pages.end()), (std::vector<std::uint8_t>{30, 20, 10, 255}));
}

TEST(WadPages, TwoPagesAreCopiedWholeAndOnlyTheFirstIsDumped) {
    std::vector<std::uint8_t> texels(2 * wad::kWadPageBytes, 0);
    texels[wad::kWadPageBytes] = 77; // red of the first texel of page 1
    level::Tr4Level sourcePages;
    sourcePages.Pages32 = wad::convertPages(texels);
    ASSERT_EQ(sourcePages.Pages32.size(), 2 * level::kPageBytes32);
    EXPECT_EQ(wad::copyPages(sourcePages), 2 * level::kPageBytes32);
    EXPECT_EQ(sourcePages.PageCount, 2u);
    EXPECT_EQ(sourcePages.PageCopy, sourcePages.Pages32);
    EXPECT_EQ(sourcePages.PageCopy[level::kPageBytes32 + 2], 77);

    const auto dump = std::filesystem::temp_directory_path() / ("segundoA-" + std::to_string(::getpid()) + ".bbb");
    ASSERT_TRUE(wad::dumpFirstPage(sourcePages, dump));
    EXPECT_EQ(std::filesystem::file_size(dump), level::kPageBytes32);
    std::filesystem::remove(dump);
}

TEST(WadPages, ALibraryWithoutAWholePageHasNoPagesAndNoDump) {
    level::Tr4Level sourcePages;
    sourcePages.Pages32 = wad::convertPages(std::vector<std::uint8_t>(wad::kWadPageBytes - 3, 9));
    EXPECT_EQ(wad::copyPages(sourcePages), 0u);
    EXPECT_EQ(sourcePages.PageCount, 0u);
    EXPECT_FALSE(wad::dumpFirstPage(sourcePages, "/nonexistent/never-written.bbb"));
}
