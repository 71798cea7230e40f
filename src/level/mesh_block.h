#pragma once

#include "io/byte_reader.h"
#include "io/byte_writer.h"
#include "level/mesh_record.h"
#include "level/tr4_level.h"

#include <cstdint>
#include <span>
#include <vector>

namespace veltrane::level {

// The cursor the mesh parser reads with: the bounds-checked reader over the block.
using MeshReader = io::ByteReader;

// Parses a block of meshes laid back to back from byte 0, each starting at a multiple of 4.
// An empty block gives an empty list. A mesh that would run past the end of the block ends the
// parse; in a level block the block is then kept byte for byte, so that saving moves no mesh.
Lista_Mesh parseMeshBlock(std::span<const std::uint8_t> block, MeshKind kind);

// A library-form mesh in level form: quads become rectangles, triangles stay triangles and other
// shapes are dropped; attribute bytes widen to words. `replacementTextures`, when given, holds one
// texture word per polygon of the library mesh, used instead of the polygon's own.
MeshRecord convertToLevelForm(const MeshRecord& libraryMesh, std::span<const std::uint16_t> replacementTextures = {});

// The level-form block of a level's mesh list: its meshes in list order with zero pad words (after
// the original block when that was kept).
std::vector<std::uint8_t> serialiseMeshBlock(const Lista_Mesh& meshes);

// Replaces the level's MeshWords with the block rebuilt from its mesh list and returns the block's
// length in bytes, or 0 (MeshWords unchanged) when the list holds no mesh.
std::uint32_t rebuildMeshBlock(const Lista_Mesh& meshes, Tr4Level& level);

// Library-form meshes laid back to back from byte 0, each with its pad word (its own, or zero when it
// has none) where one is due, and the byte offset of each. Counts are written as the records hold them.
struct LibraryMeshBlock {
    std::vector<std::uint16_t> words;
    std::vector<std::uint32_t> pointers;
};
LibraryMeshBlock serialiseLibraryMeshes(std::span<const MeshRecord> meshes);

// The bytes of a block of 16-bit words, and the words of a block of bytes (an odd byte is dropped).
std::span<const std::uint8_t> wordBytes(const std::vector<std::uint16_t>& words);
std::vector<std::uint16_t> bytesToWords(std::span<const std::uint8_t> bytes);

} // namespace veltrane::level
