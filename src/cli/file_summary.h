#pragma once

#include "io/outcome.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrane::cli {

// A named number of the file: a header word, or the size of a table.
using NamedCount = std::pair<std::string_view, std::uint64_t>;

// One of the level's four zlib chunks: its inflated and packed sizes.
struct ChunkSize {
    std::string_view name;
    std::uint64_t bytes = 0;
    std::uint32_t packed = 0;
};

struct MoveableSummary {
    std::size_t index = 0;
    std::uint32_t ObjectId = 0;
    std::uint16_t MeshCount = 0;
    std::optional<std::uint16_t> Animation; // none for kNoAnimation
    std::string_view slotName;               // empty past the game's slots
};

struct StaticSummary {
    std::size_t index = 0;
    std::uint32_t ObjectId = 0;
    std::uint16_t Mesh = 0;
    std::string_view slotName;
};

// What `info` shows of a .tr4 level or .wad library, whether as text or as JSON.
struct FileSummary {
    std::filesystem::path file;
    bool library = false;
    std::uint32_t Version = 0;
    std::vector<NamedCount> header; // the header words after Version
    std::uint32_t PageCount = 0;
    std::vector<ChunkSize> chunks;  // a level's only
    std::optional<std::uint64_t> tailBytes; // a level's only
    std::vector<NamedCount> tables; // the size of every table, in file order
    std::vector<MoveableSummary> moveables;
    std::vector<StaticSummary> statics;
};

// Reads a .tr4 level or .wad library. A library is known by its extension, or else by its first word;
// anything else is taken for a level. A file that does not decode is refused with its name and why.
io::Outcome<FileSummary> summariseFile(const std::filesystem::path& path);

} // namespace veltrane::cli
