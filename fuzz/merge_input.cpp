// Fuzzes a whole merge: the input is a library, every one of its objects is ticked and merged into a
// small fixed target, and the grown target is saved to memory and read back. A refused merge must
// leave the target exactly as it was.
#include "fuzz_checks.h"
#include "fuzz_inputs.h"
#include "level/level_file.h"
#include "level/mesh_block.h"
#include "merge/merge_operation.h"
#include "merge/source_set.h"
#include "small_target.h"
#include "wad/wad_library.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrane::fuzz {
namespace {

template <class Records>
std::vector<std::int32_t> everyIndex(const Records& records) {
    std::vector<std::int32_t> indices(records.size());
    for (std::size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<std::int32_t>(i);
    return indices;
}

} // namespace

void fuzzMerge(std::span<const std::uint8_t> input) {
    static const SmallTarget pristine = smallTarget();
    auto library = wad::decodeLibrary(input);
    if (!library)
        return;
    const merge::MergeTicks ticks{everyIndex(library->StaticMeshes), everyIndex(library->Moveables)};
    const merge::SourceSet source = merge::openSourceSet(std::move(library.value()));

    SmallTarget target = pristine;
    auto merged = merge::mergeObjects({target.level, target.meshes}, source.view(), ticks);
    if (!merged) {
        check(target.level == pristine.level && target.meshes == pristine.meshes,
                    "a refused merge changed the target");
        return;
    }
    level::rebuildMeshBlock(target.meshes, target.level);
    auto encoded = level::encodeLevel(target.level, kThreads);
    check(encoded.ok(), "a merged target could not be saved");
    auto back = level::decodeLevel(encoded->file, kThreads);
    check(back.ok(), "a merged target could not be read back");
    check(back->MeshWords == target.level.MeshWords && back->MeshPointers == target.level.MeshPointers &&
                    back->Moveables == target.level.Moveables && back->StaticMeshes == target.level.StaticMeshes &&
                    back->ObjectTextures == target.level.ObjectTextures && back->Pages32 == target.level.Pages32,
                "a merged target read back differs from what was saved");
}

} // namespace veltrane::fuzz
