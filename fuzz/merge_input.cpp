// Fuzzes a whole merge: the input is a library, every one of its objects is ticked and merged into a
// small fixed target, and the grown target is saved to memory and read back. A refused merge must
// leave the target exactly as it was.
#include "fuzz_checks.h"
#include "fuzz_inputs.h"
#include "merge/merge_operation.h"
#include "builders/small_target.h"
#include "wad/library_document.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrane::fuzz {

void fuzzMerge(std::span<const std::uint8_t> input) {
    static const level::LevelDocument pristine = builders::smallTarget();
    const auto source = wad::decodeLibraryDocument(input);
    if (!source)
        return;
    const merge::MergeTicks ticks = merge::everyObject(source->library);

    level::LevelDocument target = pristine;
    auto merged = merge::mergeObjects(target, source.value(), ticks);
    if (!merged) {
        check(target == pristine, "a refused merge changed the target");
        return;
    }
    auto encoded = level::encodeLevelDocument(target, kThreads);
    check(encoded.ok(), "a merged target could not be saved");
    auto back = level::decodeLevel(encoded->file, kThreads);
    check(back.ok(), "a merged target could not be read back");
    check(back->MeshWords == target.level.MeshWords && back->MeshPointers == target.level.MeshPointers &&
              back->Moveables == target.level.Moveables && back->StaticMeshes == target.level.StaticMeshes &&
              back->ObjectTextures == target.level.ObjectTextures && back->Pages32 == target.level.Pages32,
          "a merged target read back differs from what was saved");
}

} // namespace veltrane::fuzz
