#include "merge/piece_layout.h"

#include <algorithm>
#include <unordered_map>

namespace veltrane::merge {
namespace {

constexpr std::int32_t kPageSide = 256;
// A row whose first texel row would lie below this one goes to the next page.
constexpr std::int32_t kLastRowStart = 200;

std::uint64_t rectangleKey(const PiecePlacement& place) {
    return std::uint64_t{place.SourcePage} << 34 | std::uint64_t{place.SourceX & 0xFF} << 26 |
           std::uint64_t{place.SourceY & 0xFF} << 18 | std::uint64_t(place.Width & 0x1FF) << 9 |
           std::uint64_t(place.Height & 0x1FF);
}

} // namespace

PieceLayout layOutTexturePieces(const Lista_Texturas& pieces) {
    std::vector<TexturePiece> order = pieces.newestFirst();
    std::stable_sort(order.begin(), order.end(),
                     [](const TexturePiece& a, const TexturePiece& b) { return a.Height > b.Height; });

    PieceLayout layout;
    layout.pieces.reserve(order.size());
    // Entries are only made on a miss, so keys are unique and a map finds what a scan from the newest would.
    std::unordered_map<std::uint64_t, PiecePlacement> cache;
    std::int32_t page = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t bottom = 0; // sum of the first-piece heights of this page's rows
    bool pageUsed = false;
    for (const TexturePiece& piece : order) {
        PiecePlacement place{piece.SourcePage, piece.SourceX, piece.SourceY, piece.Width, piece.Height, 0, 0, 0};
        const std::uint64_t key = rectangleKey(place);
        if (const auto hit = cache.find(key); hit != cache.end()) {
            layout.pieces.push_back({piece, hit->second, false});
            continue;
        }
        // A piece stays in the row only if it ends at column 253 or before.
        if (x + piece.Width + 1 > kPageSide - 1) {
            x = 0;
            y = bottom + 1;
            if (y > kLastRowStart) {
                y = 0;
                bottom = 0;
                ++page;
                pageUsed = false;
            }
        }
        // Never past the bottom of a page: a row too tall for what is left starts a new page.
        if (y + piece.Height > kPageSide) {
            y = 0;
            bottom = 0;
            if (pageUsed)
                ++page;
        }
        if (x == 0)
            bottom += piece.Height;
        place.Page = page;
        place.X = x;
        place.Y = y;
        cache.emplace(key, place);
        layout.pieces.push_back({piece, place, true});
        pageUsed = true;
        x += piece.Width;
    }
    layout.pagesAdded = order.empty() ? 0 : page + 1;
    return layout;
}

} // namespace veltrane::merge
