// Fuzzes the .wad reader and what Open Source does with a library it read: the mesh block parsed in
// library form, the pages converted to the 32-bit form and copied whole.
#include "fuzz_inputs.h"
#include "level/mesh_block.h"
#include "merge/source_set.h"
#include "wad/wad_library.h"
#include "wad/wad_pages.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrane::fuzz {

void fuzzLibrary(std::span<const std::uint8_t> input) {
    auto library = wad::decodeLibrary(input);
    if (!library)
        return;
    const merge::SourceSet source = merge::openSourceSet(std::move(library.value()));
    for (const auto& mesh : source.meshes.meshes())
        level::convertToLevelForm(mesh);
}

} // namespace veltrane::fuzz
