#pragma once

#include "level/tr4_level.h"
#include "preview/render_device.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace veltrane::preview {

// The page textures of one file: one 256 x 256 texture per whole page of the model's 32-bit pages,
// made from those pages or from the 16-bit ones. Polygons refer to the textures without owning them,
// so a set must outlive the render meshes built from it.
class trTextura {
public:
    // Both tables empty, 16-bit in use until a table is made.
    explicit trTextura(const level::Tr4Level& source);

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
    const level::Tr4Level* pageSource;
    bool uses32 = false;
};

// A texture of the device made from `bytes` (width x height texels of the format), or null.
std::unique_ptr<PageTexture> CreatePageTexture(RenderDevice& device, int width, int height, TextureFormat format,
                                               std::span<const std::uint8_t> bytes);

} // namespace veltrane::preview
