#pragma once

#include "io/outcome.h"
#include "io/task_pool.h"
#include "level/level_file.h"
#include "level/mesh_record.h"
#include "level/tr4_level.h"

#include <cstdint>
#include <filesystem>
#include <span>

namespace veltrane::level {

// A level as Veltrane works on it: the level and the list of its meshes, parsed from its mesh block.
// A merge grows the list; saving writes the list back into the mesh block first.
struct LevelDocument {
    Tr4Level level;
    Lista_Mesh meshes{MeshKind::Level};
    bool operator==(const LevelDocument&) const = default;
};

// The document of a level already in memory: its mesh block parsed.
LevelDocument makeLevelDocument(Tr4Level level);

// Reads a .tr4 file (see decodeLevel) and parses its mesh block. A damaged file gives a message saying
// what is wrong and where, and no document.
io::Outcome<LevelDocument> decodeLevelDocument(std::span<const std::uint8_t> file,
                                               unsigned threads = io::hardwareThreads());
io::Outcome<LevelDocument> openLevelDocument(const std::filesystem::path& path,
                                             unsigned threads = io::hardwareThreads());

// The bytes of the document's file: its mesh block rebuilt from the mesh list, then the level encoded.
io::Outcome<EncodedLevel> encodeLevelDocument(LevelDocument& document, unsigned threads = io::hardwareThreads());

// Saves the document to `path` as encodeLevelDocument makes it, never damaging an existing file there
// (see writeLevel).
io::Status saveLevelDocument(const std::filesystem::path& path, LevelDocument& document,
                             unsigned threads = io::hardwareThreads());

} // namespace veltrane::level
