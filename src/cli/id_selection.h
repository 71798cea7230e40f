#pragma once

#include "io/outcome.h"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace veltrane::cli {

// The ObjectIds one --moveable or --static names: one ID, or FIRST-LAST with both ends included.
struct IdRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
};

// "20" or "100-120"; anything else is refused with a message that quotes it.
io::Outcome<IdRange> parseIdRange(std::string_view text);

// The library objects of one kind that a merge ticks: all of them, or those with an ObjectId in a range.
struct ObjectSelection {
    bool all = false;
    std::vector<IdRange> ranges;
};

// The indices of the objects `selection` ticks among objects with these `objectIds`, ascending and each
// once. A range that ticks nothing is refused, naming it: "source.wad: no moveable has ObjectId 9999".
io::Outcome<std::vector<std::int32_t>> selectObjects(const std::vector<std::uint32_t>& objectIds,
                                                     const ObjectSelection& selection, std::string_view kind,
                                                     const std::filesystem::path& library);

} // namespace veltrane::cli
