#include "wad/library_document.h"

#include "level/document_opening.h"
#include "level/mesh_block.h"

namespace veltrane::wad {

LibraryDocument makeLibraryDocument(WadLibrary library, std::span<const std::uint8_t> textureBytes) {
    LibraryDocument document;
    document.library = std::move(library);
    document.meshes = level::parseMeshBlock(level::wordBytes(document.library.MeshWords), level::MeshKind::Library);
    document.pages = makePageSet(textureBytes);
    return document;
}

LibraryDocument makeLibraryDocument(WadLibrary library) {
    const auto textureBytes = std::move(library.TextureBytes);
    return makeLibraryDocument(std::move(library), textureBytes);
}

io::Outcome<LibraryDocument> decodeLibraryDocument(std::span<const std::uint8_t> file) {
    std::span<const std::uint8_t> textureBytes;
    return decodeLibrary(file, &textureBytes).map([&](WadLibrary library) {
        return makeLibraryDocument(std::move(library), textureBytes);
    });
}

io::Outcome<LibraryDocument> openLibraryDocument(const std::filesystem::path& path) {
    // The pages are converted straight from the file's bytes, so the document is made before they go.
    return level::openDocument<LibraryDocument>(path, level::FileKind::Library, decodeLibraryDocument,
                                                [](LibraryDocument document) { return document; });
}

} // namespace veltrane::wad
