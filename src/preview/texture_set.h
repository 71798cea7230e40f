#pragma once

#include "preview/render_device.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace veltrane::preview {

// The page textures of one file: one 256 x 256 texture per whole page of its 32-bit pages, made from
// those pages or from the 16-bit ones. Polygons refer to the textures without owning them, so a set
// must outlive the render meshes built from it, and the pages must stay as they are while it makes them.
class trTextura {
public:
    // Both tables empty, 16-bit in use until a table is made. A library has no 16-bit pages.
    trTextura(std::span<const std::uint8_t> pages32, std::span<const std::uint8_t> pages16);

    // Makes one texture per page from Pages32 (B, G, R, A texels) and puts that table in use.
    std::int32_t Create32BitTextures(RenderDevice* device);
    // The same from Pages16 (X1R5G5B5 texels), as many pages as Pages32 has. A page that Pages16
    // does not hold whole gets no texture.
    std::int32_t Create16BitTextures(RenderDevice* device);

    // The texture of `page` in the table in use; null for a page outside it or a texture not made.
    [[nodiscard]] const PageTexture* TextureFor(std::int32_t page) const;
    // The 32-bit texture of `page`, whichever table is in use (the source always shows these).
    [[nodiscard]] const PageTexture* texture32(std::int32_t page) const;

    std::vector<std::unique_ptr<PageTexture>> textures32;
    std::vector<std::unique_ptr<PageTexture>> textures16;
    std::int32_t pageCount = 0;
    std::span<const std::uint8_t> pages32;
    std::span<const std::uint8_t> pages16;
    bool uses32 = false;
};

// A texture of the device made from `bytes` (width x height texels of the format), or null.
std::unique_ptr<PageTexture> CreatePageTexture(RenderDevice& device, int width, int height, TextureFormat format,
                                               std::span<const std::uint8_t> bytes);

} // namespace veltrane::preview
