#pragma once

#include "io/task_pool.h"
#include "level/records.h"
#include "level/tr4_level.h"
#include "merge/piece_layout.h"
#include "merge/texture_pieces.h"
#include "wad/wad_pages.h"

#include <cstdint>

namespace veltrane::merge {

// The object texture of a piece placed at (x, y) of page `tile`: Attribute 1 for an alpha-tested face,
// 2 for an additively blended one; corners as the piece's Orientation and Mirror take them.
level::ObjectTexture objectTextureFor(const TexturePiece& piece, std::uint16_t tile, std::int32_t x, std::int32_t y);

// Draws the pieces where `layout` placed them on new pages and writes their object textures: texels
// are copied from the library's page set, and the new pages go in behind the level's room and object
// pages (in front of its bump pages, whose tile numbers move up) in both page chunks. Returns the pages
// added, 0 when there is no piece. Call it only after checkNewPages has passed for that page count.
// The 32-bit pages are drawn by tasks on `pool`, which this waits for together with whatever was
// queued before; the 16-bit pages are drawn from the library's 16-bit form by tasks left on it: they
// are done once the pool has finished, and until then nothing else may touch the page chunks.
std::int32_t PlaceTexturePieces(const Lista_Texturas& pieces, const PieceLayout& layout, const wad::PageSet& sourcePages,
                                level::Tr4Level& target, io::TaskPool& pool);

} // namespace veltrane::merge
