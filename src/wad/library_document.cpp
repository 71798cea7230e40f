#include "wad/library_document.h"

#include "level/document_opening.h"
#include "level/mesh_block.h"

namespace veltrane::wad {

LibraryDocument makeLibraryDocument(WadLibrary library) {
    LibraryDocument document;
    document.library = std::move(library);
    document.meshes = level::parseMeshBlock(level::wordBytes(document.library.MeshWords), level::MeshKind::Library);
    document.pages = makePageSet(document.library.TextureBytes);
    document.library.TextureBytes = std::vector<std::uint8_t>();
    return document;
}

io::Outcome<LibraryDocument> decodeLibraryDocument(std::span<const std::uint8_t> file) {
    return decodeLibrary(file).map(makeLibraryDocument);
}

io::Outcome<LibraryDocument> openLibraryDocument(const std::filesystem::path& path) {
    return level::openDocument<LibraryDocument>(path, level::FileKind::Library, decodeLibrary, makeLibraryDocument);
}

} // namespace veltrane::wad
