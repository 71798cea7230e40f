#pragma once

#include "io/outcome.h"
#include "level/mesh_record.h"
#include "wad/wad_library.h"
#include "wad/wad_pages.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace veltrane::wad {

// An object library as Veltrane reads from it: the library, its meshes parsed in library form and its
// pages converted to the 32-bit form. The library keeps no 24-bit pages, so that the pages are held once.
struct LibraryDocument {
    WadLibrary library;
    level::Lista_Mesh meshes{level::MeshKind::Library};
    PageSet pages;
};

// The document of `library`, whose 24-bit pages are `textureBytes`, or its own TextureBytes when not
// given (released once converted).
LibraryDocument makeLibraryDocument(WadLibrary library, std::span<const std::uint8_t> textureBytes);
LibraryDocument makeLibraryDocument(WadLibrary library);

// Reads a .wad file (see decodeLibrary) and makes its document.
io::Outcome<LibraryDocument> decodeLibraryDocument(std::span<const std::uint8_t> file);
io::Outcome<LibraryDocument> openLibraryDocument(const std::filesystem::path& path);

} // namespace veltrane::wad
