#include "merge/source_set.h"

#include "level/mesh_block.h"
#include "wad/wad_pages.h"

namespace veltrane::merge {

SourceSet OpenSourceSet(wad::WadLibrary library) {
    SourceSet source;
    source.library = std::move(library);
    source.meshes = level::ParseMeshBlock(level::wordBytes(source.library.MeshWords), level::MeshKind::Library);
    source.pages.Pages32 = wad::ConvertPages(source.library.TextureBytes);
    wad::CopyPages(source.pages);
    // Nothing reads the library's own 24-bit pages once the page set holds them converted.
    source.library.TextureBytes = std::vector<std::uint8_t>();
    return source;
}

} // namespace veltrane::merge
