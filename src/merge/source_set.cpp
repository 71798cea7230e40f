#include "merge/source_set.h"

#include "level/mesh_block.h"
#include "wad/wad_pages.h"

namespace veltrane::merge {

SourceSet openSourceSet(wad::WadLibrary library) {
    SourceSet source;
    source.library = std::move(library);
    source.meshes = level::parseMeshBlock(level::wordBytes(source.library.MeshWords), level::MeshKind::Library);
    source.pages.Pages32 = wad::convertPages(source.library.TextureBytes);
    wad::copyPages(source.pages);
    // Nothing reads the library's own 24-bit pages once the page set holds them converted.
    source.library.TextureBytes = std::vector<std::uint8_t>();
    return source;
}

} // namespace veltrane::merge
