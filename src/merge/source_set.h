#pragma once

#include "level/mesh_record.h"
#include "level/tr4_level.h"
#include "merge/object_merge.h"
#include "wad/wad_library.h"

namespace veltrane::merge {

// A library ready to merge from, as Open Source leaves it: its meshes parsed in library form and its
// pages converted to the 32-bit form with their whole-page copy (the source page set). The library's
// TextureBytes are released once converted, so that the pages are not held three times over.
struct SourceSet {
    wad::WadLibrary library;
    level::Lista_Mesh meshes{level::MeshKind::Library};
    level::Tr4Level pages;

    [[nodiscard]] MergeSource view() const { return {library, meshes, pages}; }
};

SourceSet openSourceSet(wad::WadLibrary library);

} // namespace veltrane::merge
