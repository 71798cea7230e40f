// Fuzzes the .tr4 reader. The first byte picks the layer the rest of the input is given to, so that
// the level-data and mesh parsers are reached without passing through zlib first:
// 0 the whole container, 1 an inflated level-data block, 2 a mesh block in both forms, 3 a container
// composed from fields (level_container.h), which can state any size.
#include "fuzz_checks.h"
#include "fuzz_inputs.h"
#include "io/format_error.h"
#include "level_container.h"
#include "level/level_data.h"
#include "level/level_document.h"
#include "level/mesh_block.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace veltrane::fuzz {
namespace {

// A level that was read must survive being written and read again.
void roundTrip(level::Tr4Level read) {
    level::LevelDocument document = level::makeLevelDocument(std::move(read));
    auto encoded = level::encodeLevelDocument(document, kThreads);
    if (!encoded)
        return; // a model the writer cannot hold is refused with a message, not written
    auto again = level::decodeLevel(encoded->file, kThreads);
    check(again.ok(), "a level Veltrane wrote could not be read back");
}

void decodeAndRoundTrip(std::span<const std::uint8_t> file) {
    if (auto read = level::decodeLevel(file, kThreads))
        roundTrip(std::move(read.value()));
}

} // namespace

void fuzzLevel(std::span<const std::uint8_t> input) {
    if (input.empty())
        return;
    const std::span<const std::uint8_t> rest = input.subspan(1);
    switch (input[0] % 4) {
    case 0:
        decodeAndRoundTrip(rest);
        break;
    case 1: {
        level::Tr4Level parsed;
        try {
            level::parseLevelData(rest, parsed);
        } catch (const io::FormatError&) {
            return;
        }
        roundTrip(std::move(parsed));
        break;
    }
    case 2:
        level::parseMeshBlock(rest, level::MeshKind::Level);
        level::parseMeshBlock(rest, level::MeshKind::Library);
        break;
    default:
        if (const auto file = composeContainer(rest))
            decodeAndRoundTrip(*file);
        break;
    }
}

} // namespace veltrane::fuzz
