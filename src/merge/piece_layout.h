#pragma once

#include "merge/texture_pieces.h"

#include <cstdint>
#include <vector>

namespace veltrane::merge {

// One entry of the placement cache: where a rectangle of a source page went during one placement
// run. Pieces that show the same rectangle share that place.
struct PiecePlacement {
    // Key.
    std::uint32_t SourcePage = 0;
    std::uint32_t SourceX = 0;
    std::uint32_t SourceY = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    // Value.
    std::int32_t Page = 0; // new page, counted from 0 within the run
    std::int32_t X = 0;
    std::int32_t Y = 0;

    bool operator==(const PiecePlacement&) const = default;
};

struct PlacedPiece {
    TexturePiece piece;
    PiecePlacement place;
    bool copiesTexels = false; // false when an earlier piece already put this rectangle on the new pages
};

struct PieceLayout {
    std::vector<PlacedPiece> pieces; // in placement order
    std::int32_t pagesAdded = 0;     // 0 when there is no piece
};

// Packs the pieces, tallest first (a stable sort of the newest-first list), row by row onto new
// 256 x 256 pages. Nothing is written anywhere: the merge learns how many pages it will add before
// it changes the target.
PieceLayout layOutTexturePieces(const Lista_Texturas& pieces);

} // namespace veltrane::merge
