#include "merge/texture_placement.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

namespace veltrane::merge {
namespace {

using level::kPageSide;

// Which of the rectangle's edges each corner takes: {right edge?, bottom edge?}, for Mirror 0.
// Mirror 1 takes the other vertical edge. Orientations 1, 3 and 5 share the rows of 0, 2 and 4.
using CornerRow = std::array<std::array<bool, 2>, 4>;
constexpr std::array<CornerRow, 8> kCorners = {{
    {{{false, false}, {true, false}, {false, true}, {true, true}}}, // 0: right angle top left
    {{{false, false}, {true, false}, {false, true}, {true, true}}}, // 1: as 0
    {{{true, false}, {true, true}, {false, false}, {false, true}}}, // 2: right angle top right
    {{{true, false}, {true, true}, {false, false}, {false, true}}}, // 3: as 2
    {{{true, true}, {false, true}, {true, false}, {false, false}}}, // 4: right angle bottom right
    {{{true, true}, {false, true}, {true, false}, {false, false}}}, // 5: as 4
    {{{false, true}, {false, false}, {true, true}, {true, false}}}, // 6: right angle bottom left
    {{{false, false}, {true, false}, {true, true}, {false, true}}}, // 7: the quad
}};

// The corners' fixed texture coordinates.
constexpr std::array<std::array<std::uint8_t, 2>, 4> kCornerCoordinates = {{{0, 0}, {255, 0}, {255, 255}, {0, 255}}};

// Copies the piece's rectangle from the source pages of one form, `texelBytes` a texel, into the same
// form's new pages; texels outside it stay 0.
void copyRectangle(std::span<const std::uint8_t> sourcePages, const PlacedPiece& placed, std::span<std::uint8_t> newPages,
                   std::size_t texelBytes) {
    const std::size_t rowBytes = kPageSide * texelBytes;
    const std::size_t pageBytes = kPageSide * rowBytes;
    const TexturePiece& piece = placed.piece;
    if (piece.SourcePage >= level::wholePages(sourcePages.size(), pageBytes) || piece.SourceX >= kPageSide)
        return;
    const std::size_t columns = std::min<std::size_t>(static_cast<std::size_t>(piece.Width), kPageSide - piece.SourceX);
    const std::size_t rows = std::min<std::size_t>(static_cast<std::size_t>(piece.Height),
                                                   piece.SourceY < kPageSide ? kPageSide - piece.SourceY : 0);
    const std::uint8_t* source = sourcePages.data() + piece.SourcePage * pageBytes;
    std::uint8_t* target = newPages.data() + static_cast<std::size_t>(placed.place.Page) * pageBytes;
    for (std::size_t r = 0; r < rows; ++r)
        std::memcpy(target + (static_cast<std::size_t>(placed.place.Y) + r) * rowBytes +
                        static_cast<std::size_t>(placed.place.X) * texelBytes,
                    source + (piece.SourceY + r) * rowBytes + piece.SourceX * texelBytes, columns * texelBytes);
}

// Existing tiles that name a page at or after `first` move up by `added` (bit 15 of a tile is kept).
void shiftTiles(level::Tr4Level& target, std::uint32_t first, std::uint32_t added) {
    for (level::ObjectTexture& texture : target.ObjectTextures)
        if ((texture.Tile & 0x7FFFu) >= first)
            texture.Tile = static_cast<std::uint16_t>((texture.Tile & 0x8000u) | ((texture.Tile & 0x7FFFu) + added));
    for (auto& sprite : target.SpriteTextures) {
        const std::uint32_t tile = sprite[0] | std::uint32_t{sprite[1]} << 8;
        if (tile >= first) {
            const std::uint32_t moved = tile + added;
            sprite[0] = static_cast<std::uint8_t>(moved);
            sprite[1] = static_cast<std::uint8_t>(moved >> 8);
        }
    }
}

} // namespace

level::ObjectTexture objectTextureFor(const TexturePiece& piece, std::uint16_t tile, std::int32_t x, std::int32_t y) {
    level::ObjectTexture texture;
    texture.Attribute = piece.AttributeFlag == 1 ? 1 : 2;
    texture.Tile = tile;
    texture.Width = static_cast<std::uint32_t>(piece.Width);
    texture.Height = static_cast<std::uint32_t>(piece.Height);
    const auto x0 = static_cast<std::uint8_t>(x);
    const auto x1 = static_cast<std::uint8_t>(x + piece.Width - 1);
    const auto y0 = static_cast<std::uint8_t>(y);
    const auto y1 = static_cast<std::uint8_t>(y + piece.Height - 1);
    const CornerRow& row = kCorners[piece.Orientation & 7];
    for (std::size_t corner = 0; corner < 4; ++corner) {
        const bool right = row[corner][0] != (piece.Mirror == 1);
        texture.Corners[corner].XCoordinate = kCornerCoordinates[corner][0];
        texture.Corners[corner].YCoordinate = kCornerCoordinates[corner][1];
        texture.Corners[corner].XPixel = right ? x1 : x0;
        texture.Corners[corner].YPixel = row[corner][1] ? y1 : y0;
    }
    return texture;
}

std::int32_t PlaceTexturePieces(const Lista_Texturas& pieces, const PieceLayout& layout, const wad::PageSet& sourcePages,
                                level::Tr4Level& target, io::TaskPool& pool) {
    if (layout.pagesAdded == 0)
        return 0;
    const auto added = static_cast<std::uint32_t>(layout.pagesAdded);
    // The game loads room pages, then object pages, then bump pages: new object pages go before the bump pages.
    const std::uint32_t first = std::uint32_t{target.NumRoomPages} + target.NumObjectPages;
    if (target.NumBumpPages > 0)
        shiftTiles(target, first, added);

    // The 16-bit chunk keeps its first PageCount pages, with the new pages among them as in Pages32; its
    // room is made while that of the 32-bit pages is and while the pages are drawn, each on its own.
    const std::size_t newBytes16 = std::size_t{added} * level::kPageBytes16;
    const auto firstWord = static_cast<std::ptrdiff_t>(std::size_t{first} * level::kPageBytes16);
    pool.submit([&target, newBytes16, firstWord] {
        target.Pages16.reserve(std::size_t{target.PageCount} * level::kPageBytes16 + newBytes16);
        target.Pages16.resize(std::size_t{target.PageCount} * level::kPageBytes16);
        target.Pages16.insert(target.Pages16.begin() + firstWord, newBytes16, 0);
    });

    // The new pages go in where the level's chunks were read with room for them (see decodeLevel), all 0
    // until the pieces are drawn: only the bump pages behind them move. Should the 16-bit chunk not
    // grow, a roll-back takes the new 32-bit pages out again.
    const std::size_t newBytes32 = std::size_t{added} * level::kPageBytes32;
    const auto firstByte = static_cast<std::ptrdiff_t>(std::size_t{first} * level::kPageBytes32);
    target.Pages32.insert(target.Pages32.begin() + firstByte, newBytes32, 0);
    const std::span<std::uint8_t> newPages(target.Pages32.data() + firstByte, newBytes32);

    target.ObjectTextures.resize(static_cast<std::size_t>(pieces.base() + pieces.count()));
    std::vector<std::vector<const PlacedPiece*>> onPage(added);
    for (const PlacedPiece& placed : layout.pieces) {
        if (placed.copiesTexels)
            onPage[static_cast<std::size_t>(placed.place.Page)].push_back(&placed);
        target.ObjectTextures[static_cast<std::size_t>(placed.piece.NewIndex)] = objectTextureFor(
            placed.piece, static_cast<std::uint16_t>(first + static_cast<std::uint32_t>(placed.place.Page)),
            placed.place.X, placed.place.Y);
    }

    for (std::size_t page = 0; page < added; ++page)
        pool.submit([&sourcePages, newPages, &drawn = onPage[page]] {
            for (const PlacedPiece* placed : drawn)
                copyRectangle(sourcePages.pages32, *placed, newPages, 4);
        });
    pool.wait();

    // Nothing from here on can fail. The same pieces go into the 16-bit pages from the library's 16-bit
    // form, which is the conversion of the 32-bit one texel by texel. These tasks take their lists with
    // them: the caller waits for them after this function has returned.
    const std::span<std::uint8_t> newPages16(target.Pages16.data() + firstWord, newBytes16);
    for (std::size_t page = 0; page < added; ++page)
        pool.submit([&sourcePages, newPages16, drawn = std::move(onPage[page])] {
            for (const PlacedPiece* placed : drawn)
                copyRectangle(sourcePages.pages16, *placed, newPages16, 2);
        });
    target.PageCount = level::wholePages(target.Pages32.size(), level::kPageBytes32);
    target.NumObjectPages = static_cast<std::uint16_t>(target.NumObjectPages + added);
    return layout.pagesAdded;
}

} // namespace veltrane::merge
