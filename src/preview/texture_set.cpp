#include "preview/texture_set.h"

#include "level/pages.h"

namespace veltrane::preview {
namespace {

constexpr int kPageSide = static_cast<int>(level::kPageSide);

std::size_t bytesPerTexel(TextureFormat format) { return format == TextureFormat::A8R8G8B8 ? 4 : 2; }

const PageTexture* entry(const std::vector<std::unique_ptr<PageTexture>>& table, std::int32_t page) {
    if (page < 0 || static_cast<std::size_t>(page) >= table.size())
        return nullptr;
    return table[static_cast<std::size_t>(page)].get();
}

void makeTable(std::vector<std::unique_ptr<PageTexture>>& table, RenderDevice& device, std::int32_t pageCount,
               TextureFormat format, std::span<const std::uint8_t> pages) {
    const std::size_t pageBytes = kPageSide * kPageSide * bytesPerTexel(format);
    table.clear();
    table.resize(static_cast<std::size_t>(pageCount));
    for (std::size_t i = 0; i < table.size(); ++i) {
        if ((i + 1) * pageBytes <= pages.size())
            table[i] = CreatePageTexture(device, kPageSide, kPageSide, format, pages.subspan(i * pageBytes, pageBytes));
    }
}

} // namespace

trTextura::trTextura(std::span<const std::uint8_t> pages32, std::span<const std::uint8_t> pages16)
    : pageCount(static_cast<std::int32_t>(level::wholePages(pages32.size(), level::kPageBytes32))), pages32(pages32),
      pages16(pages16) {}

std::int32_t trTextura::Create32BitTextures(RenderDevice* device) {
    if (device == nullptr)
        return E_FAIL;
    makeTable(textures32, *device, pageCount, TextureFormat::A8R8G8B8, pages32);
    uses32 = true;
    return 0;
}

std::int32_t trTextura::Create16BitTextures(RenderDevice* device) {
    if (device == nullptr)
        return E_FAIL;
    makeTable(textures16, *device, pageCount, TextureFormat::X1R5G5B5, pages16);
    uses32 = false;
    return 0;
}

const PageTexture* trTextura::TextureFor(std::int32_t page) const {
    return entry(uses32 ? textures32 : textures16, page);
}

const PageTexture* trTextura::texture32(std::int32_t page) const { return entry(textures32, page); }

std::unique_ptr<PageTexture> CreatePageTexture(RenderDevice& device, int width, int height, TextureFormat format,
                                               std::span<const std::uint8_t> bytes) {
    const std::size_t needed =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * bytesPerTexel(format);
    if (width <= 0 || height <= 0 || bytes.size() < needed)
        return nullptr;
    return device.CreatePageTexture(width, height, format, bytes.first(needed));
}

} // namespace veltrane::preview
