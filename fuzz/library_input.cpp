// Fuzzes the .wad reader and what Open Source does with a library it read: the mesh block parsed in
// library form and the pages converted to the 32-bit form.
#include "fuzz_inputs.h"
#include "level/mesh_block.h"
#include "wad/library_document.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrane::fuzz {

void fuzzLibrary(std::span<const std::uint8_t> input) {
    const auto source = wad::decodeLibraryDocument(input);
    if (!source)
        return;
    for (const auto& mesh : source->meshes.meshes())
        level::convertToLevelForm(mesh);
}

} // namespace veltrane::fuzz
