#include "wad/wad_pages.h"

#include "io/file_io.h"

namespace veltrane::wad {

std::vector<std::uint8_t> convertPages(std::span<const std::uint8_t> textureBytes) {
    const std::size_t texels = textureBytes.size() / 3;
    std::vector<std::uint8_t> pages(texels * 4);
    for (std::size_t i = 0; i < texels; ++i) {
        const std::uint8_t r = textureBytes[3 * i];
        const std::uint8_t g = textureBytes[3 * i + 1];
        const std::uint8_t b = textureBytes[3 * i + 2];
        if (r == 255 && g == 0 && b == 255)
            continue; // transparent: stays 0, 0, 0, 0
        pages[4 * i] = b;
        pages[4 * i + 1] = g;
        pages[4 * i + 2] = r;
        pages[4 * i + 3] = 255;
    }
    return pages;
}

std::size_t copyPages(level::Tr4Level& sourcePages) {
    sourcePages.PageCount = static_cast<std::uint32_t>(sourcePages.Pages32.size() / level::kPageBytes32);
    const std::size_t bytes = std::size_t{sourcePages.PageCount} * level::kPageBytes32;
    sourcePages.PageCopy.assign(sourcePages.Pages32.begin(),
                                sourcePages.Pages32.begin() + static_cast<std::ptrdiff_t>(bytes));
    return bytes;
}

bool dumpFirstPage(const level::Tr4Level& sourcePages, const std::filesystem::path& path) {
    if (sourcePages.PageCount == 0)
        return false;
    return io::writeScratchFile(path, std::span(sourcePages.PageCopy).first(level::kPageBytes32));
}

} // namespace veltrane::wad
