#include "merge/texture_placement.h"

#include "level/pages.h"
#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::SourceFixture;

// A piece of its own rectangle: distinct source positions keep the placement cache out of the way.
TexturePiece sized(std::int32_t width, std::int32_t height, std::uint32_t sourceX = 0, std::uint32_t sourceY = 0,
                   std::uint32_t sourcePage = 0) {
    static std::int32_t next = 0;
    TexturePiece piece;
    piece.SourceIndex = next++;
    piece.Width = width;
    piece.Height = height;
    piece.SourceX = sourceX;
    piece.SourceY = sourceY;
    piece.SourcePage = sourcePage;
    return piece;
}

Lista_Texturas listOf(std::vector<TexturePiece> created, std::int32_t base = 0) {
    Lista_Texturas pieces(base);
    for (const auto& piece : created)
        pieces.add(piece);
    return pieces;
}

// Where the piece numbered `newIndex` went.
PiecePlacement placeOf(const PieceLayout& layout, std::int32_t newIndex) {
    for (const auto& placed : layout.pieces)
        if (placed.piece.NewIndex == newIndex)
            return placed.place;
    ADD_FAILURE() << "piece " << newIndex << " was not placed";
    return {};
}

std::array<std::int32_t, 3> pxy(const PiecePlacement& place) { return {place.Page, place.X, place.Y}; }

TEST(PieceLayout, APieceStaysInItsRowOnlyIfItEndsAtColumn253) {
    const auto exact = layOutTexturePieces(listOf({sized(100, 30, 1), sized(154, 20, 2), sized(1, 10, 3), sized(10, 5, 4)}));
    EXPECT_EQ(pxy(placeOf(exact, 0)), (std::array{0, 0, 0}));
    EXPECT_EQ(pxy(placeOf(exact, 1)), (std::array{0, 100, 0}));
    // The next row starts below the first piece's height, leaving row 30 empty.
    EXPECT_EQ(pxy(placeOf(exact, 2)), (std::array{0, 0, 31}));
    EXPECT_EQ(pxy(placeOf(exact, 3)), (std::array{0, 1, 31}));

    const auto wider = layOutTexturePieces(listOf({sized(100, 30, 1), sized(155, 20, 2)}));
    EXPECT_EQ(pxy(placeOf(wider, 1)), (std::array{0, 0, 31}));
    EXPECT_EQ(wider.pagesAdded, 1);
}

TEST(PieceLayout, ARowStartingAtRow200StaysAndOneAt201GoesToANewPage) {
    const auto stays = layOutTexturePieces(listOf({sized(200, 199, 1), sized(100, 50, 2)}));
    EXPECT_EQ(pxy(placeOf(stays, 1)), (std::array{0, 0, 200}));
    EXPECT_EQ(stays.pagesAdded, 1);

    const auto moves = layOutTexturePieces(listOf({sized(200, 200, 1), sized(100, 50, 2)}));
    EXPECT_EQ(pxy(placeOf(moves, 1)), (std::array{1, 0, 0}));
    EXPECT_EQ(moves.pagesAdded, 2);
}

TEST(PieceLayout, TallestFirstAndPiecesOfOneHeightNewestFirst) {
    const auto layout = layOutTexturePieces(listOf({sized(10, 8, 1), sized(20, 8, 2), sized(30, 8, 3), sized(5, 9, 4)}));
    ASSERT_EQ(layout.pieces.size(), 4u);
    EXPECT_EQ(layout.pieces[0].piece.NewIndex, 3);
    EXPECT_EQ(layout.pieces[1].piece.NewIndex, 2);
    EXPECT_EQ(layout.pieces[2].piece.NewIndex, 1);
    EXPECT_EQ(layout.pieces[3].piece.NewIndex, 0);
    EXPECT_EQ(pxy(placeOf(layout, 0)), (std::array{0, 55, 0}));
}

TEST(PieceLayout, PiecesOfOneRectangleShareItsPlaceWithoutMovingTheCursor) {
    TexturePiece first = sized(16, 16, 32, 48, 1);
    TexturePiece same = first;
    same.SourceIndex = 900; // another sample, or another orientation of the same one
    same.Orientation = 3;
    const auto layout = layOutTexturePieces(listOf({first, same, sized(16, 16, 0, 0, 1)}));
    ASSERT_EQ(layout.pieces.size(), 3u);
    // Newest first: the third piece is placed first, then the shared rectangle once.
    EXPECT_EQ(pxy(placeOf(layout, 2)), (std::array{0, 0, 0}));
    EXPECT_EQ(pxy(placeOf(layout, 1)), (std::array{0, 16, 0}));
    EXPECT_EQ(pxy(placeOf(layout, 0)), (std::array{0, 16, 0}));
    EXPECT_TRUE(layout.pieces[1].copiesTexels);
    EXPECT_FALSE(layout.pieces[2].copiesTexels);
}

TEST(PieceLayout, NoPieceEverRunsPastTheBottomOfAPage) {
    // The second row starts at row 129: 127 rows are left, enough for a piece 127 high but not 128.
    const auto fits = layOutTexturePieces(listOf({sized(200, 127, 1), sized(200, 128, 2)}));
    EXPECT_EQ(pxy(placeOf(fits, 0)), (std::array{0, 0, 129}));
    const auto tall = layOutTexturePieces(listOf({sized(200, 128, 1), sized(200, 128, 2)}));
    EXPECT_EQ(pxy(placeOf(tall, 0)), (std::array{1, 0, 0}));

    const auto stacked = layOutTexturePieces(listOf({sized(100, 150, 1), sized(200, 150, 2)}));
    EXPECT_EQ(pxy(placeOf(stacked, 1)), (std::array{0, 0, 0}));
    EXPECT_EQ(pxy(placeOf(stacked, 0)), (std::array{1, 0, 0}));
    EXPECT_EQ(stacked.pagesAdded, 2);

    // A whole-page piece first starts its row at row 1 by the row rule; it moves up to row 0 of the same page.
    const auto whole = layOutTexturePieces(listOf({sized(256, 256, 1), sized(10, 10, 2)}));
    EXPECT_EQ(pxy(placeOf(whole, 0)), (std::array{0, 0, 0}));
    EXPECT_EQ(pxy(placeOf(whole, 1)), (std::array{1, 0, 0}));
    EXPECT_EQ(whole.pagesAdded, 2);
    for (const auto* layout : {&fits, &tall, &stacked, &whole})
        for (const auto& placed : layout->pieces) {
            EXPECT_LE(placed.place.Y + placed.piece.Height, 256);
            EXPECT_LE(placed.place.X + placed.piece.Width, 256);
        }
}

TEST(PieceLayout, NoPieceAddsNoPage) { EXPECT_EQ(layOutTexturePieces(Lista_Texturas(7)).pagesAdded, 0); }

using Corners = std::array<std::array<int, 2>, 4>;

Corners pixelsOf(std::uint32_t orientation, std::uint8_t mirror) {
    TexturePiece piece = sized(5, 7);
    piece.Orientation = orientation;
    piece.Mirror = mirror;
    const level::ObjectTexture texture = objectTextureFor(piece, 9, 10, 20);
    Corners corners{};
    for (std::size_t i = 0; i < 4; ++i)
        corners[i] = {texture.Corners[i].XPixel, texture.Corners[i].YPixel};
    return corners;
}

TEST(ObjectTextureOfAPiece, CornersFollowOrientationAndMirror) {
    // X0 = 10, X1 = 14, Y0 = 20, Y1 = 26.
    EXPECT_EQ(pixelsOf(0, 0), (Corners{{{10, 20}, {14, 20}, {10, 26}, {14, 26}}}));
    EXPECT_EQ(pixelsOf(0, 1), (Corners{{{14, 20}, {10, 20}, {14, 26}, {10, 26}}}));
    EXPECT_EQ(pixelsOf(2, 0), (Corners{{{14, 20}, {14, 26}, {10, 20}, {10, 26}}}));
    EXPECT_EQ(pixelsOf(2, 1), (Corners{{{10, 20}, {10, 26}, {14, 20}, {14, 26}}}));
    EXPECT_EQ(pixelsOf(4, 0), (Corners{{{14, 26}, {10, 26}, {14, 20}, {10, 20}}}));
    EXPECT_EQ(pixelsOf(4, 1), (Corners{{{10, 26}, {14, 26}, {10, 20}, {14, 20}}}));
    EXPECT_EQ(pixelsOf(6, 0), (Corners{{{10, 26}, {10, 20}, {14, 26}, {14, 20}}}));
    EXPECT_EQ(pixelsOf(6, 1), (Corners{{{14, 26}, {14, 20}, {10, 26}, {10, 20}}}));
    EXPECT_EQ(pixelsOf(7, 0), (Corners{{{10, 20}, {14, 20}, {14, 26}, {10, 26}}}));
    EXPECT_EQ(pixelsOf(7, 1), (Corners{{{14, 20}, {10, 20}, {10, 26}, {14, 26}}}));
}

TEST(ObjectTextureOfAPiece, OddTriangleOrientationsTakeTheRowBelowThem) {
    for (std::uint32_t odd : {1u, 3u, 5u})
        for (std::uint8_t mirror : {0, 1})
            EXPECT_EQ(pixelsOf(odd, mirror), pixelsOf(odd - 1, mirror)) << odd << " " << int(mirror);
}

TEST(ObjectTextureOfAPiece, FixedFieldsAndTranslucency) {
    TexturePiece piece = sized(5, 7);
    piece.AttributeFlag = 1;
    const level::ObjectTexture opaque = objectTextureFor(piece, 9, 10, 20);
    EXPECT_EQ(opaque.Attribute, 1);
    EXPECT_EQ(opaque.Tile, 9);
    EXPECT_EQ(opaque.NewFlags, 0);
    EXPECT_EQ(opaque.OriginU, 0u);
    EXPECT_EQ(opaque.OriginV, 0u);
    EXPECT_EQ(opaque.Width, 5u);
    EXPECT_EQ(opaque.Height, 7u);
    const std::array<std::array<int, 2>, 4> coordinates{{{0, 0}, {255, 0}, {255, 255}, {0, 255}}};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ((std::array<int, 2>{opaque.Corners[i].XCoordinate, opaque.Corners[i].YCoordinate}), coordinates[i]);

    // A face drawn with additive blending keeps it.
    piece.AttributeFlag = 0;
    EXPECT_EQ(objectTextureFor(piece, 9, 10, 20).Attribute, 2);
}

class PlacementTest : public ::testing::Test {
protected:
    // Places one piece for each sample given, on a fresh list whose base is the target's count.
    std::int32_t place(const std::vector<std::uint16_t>& samples) {
        Lista_Texturas pieces = BeginTextureMerge(target.level);
        for (std::uint16_t sample : samples)
            RemapFaceTexture(pieces, source.library, testing::quad(sample));
        return PlaceTexturePieces(pieces, layOutTexturePieces(pieces), source.pages, target.level);
    }
    SourceFixture source;
    level::LevelDocument target = testing::targetFixture();
};

TEST_F(PlacementTest, PlacedTexelsEqualTheSourceRectangleInBothPageForms) {
    source.addSample(40, 60, 1, 30, 20);
    const level::LevelDocument before = target;
    ASSERT_EQ(place({0}), 1);

    const level::Tr4Level& level = target.level;
    EXPECT_EQ(level.PageCount, 4u);
    EXPECT_EQ(level.Pages32.size(), 4 * level::kPageBytes32);
    EXPECT_EQ(level.Pages16.size(), 4 * level::kPageBytes16);
    EXPECT_EQ(level.NumRoomPages, 2);
    EXPECT_EQ(level.NumObjectPages, 2);
    EXPECT_EQ(level.NumBumpPages, 0);
    EXPECT_TRUE(std::equal(before.level.Pages32.begin(), before.level.Pages32.end(), level.Pages32.begin()));
    EXPECT_TRUE(std::equal(before.level.Pages16.begin(), before.level.Pages16.end(), level.Pages16.begin()));

    ASSERT_EQ(level.ObjectTextures.size(), 5u);
    EXPECT_TRUE(std::equal(before.level.ObjectTextures.begin(), before.level.ObjectTextures.end(),
                           level.ObjectTextures.begin()));
    const level::ObjectTexture& texture = level.ObjectTextures[4];
    EXPECT_EQ(texture.Tile, 3);
    const std::size_t x = texture.Corners[0].XPixel;
    const std::size_t y = texture.Corners[0].YPixel;
    for (std::size_t r = 0; r < 20; ++r)
        for (std::size_t c = 0; c < 30; ++c) {
            const auto expected = testing::sourceTexel(1, 40 + c, 60 + r);
            ASSERT_EQ(testing::texelOf(level.Pages32, 3, x + c, y + r), expected);
            ASSERT_EQ(testing::texel16Of(level.Pages16, 3, x + c, y + r),
                      testing::texel16Of(level::convertPagesTo16(expected), 0, 0, 0));
        }
    // Texels that no piece covers are 0, 0, 0, 0.
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, x + 30, y), (std::array<std::uint8_t, 4>{}));
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, 255, 255), (std::array<std::uint8_t, 4>{}));
    EXPECT_EQ(testing::texel16Of(level.Pages16, 3, 255, 255), 0);
}

TEST_F(PlacementTest, TexelsOutsideTheSourcePageSetReadAsZero) {
    source.addSample(250, 0, 0, 10, 4);  // columns 256 to 259 lie outside the page
    source.addSample(0, 252, 0, 4, 8);   // so do rows 256 to 259
    source.addSample(0, 0, 2, 4, 4);     // the page set has pages 0 and 1 only
    ASSERT_EQ(place({0, 1, 2}), 1);
    const level::Tr4Level& level = target.level;
    const auto at = [&](std::size_t index) {
        const auto& texture = level.ObjectTextures[index];
        return std::pair<std::size_t, std::size_t>{texture.Corners[0].XPixel, texture.Corners[0].YPixel};
    };
    const std::array<std::uint8_t, 4> zero{};
    const auto [x0, y0] = at(4);
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, x0 + 5, y0), testing::sourceTexel(0, 255, 0));
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, x0 + 6, y0), zero);
    const auto [x1, y1] = at(5);
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, x1, y1 + 3), testing::sourceTexel(0, 0, 255));
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, x1, y1 + 4), zero);
    const auto [x2, y2] = at(6);
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, x2, y2), zero);
}

TEST_F(PlacementTest, NewPagesGoBeforeTheBumpPagesWhoseTilesMoveUp) {
    target.level.NumBumpPages = 1;
    target.level.PageCount = 4;
    target.level.Pages32.resize(4 * level::kPageBytes32, 0x44);
    target.level.Pages16.resize(4 * level::kPageBytes16, 0x55);
    target.level.ObjectTextures[0].Tile = 3;
    target.level.ObjectTextures[1].Tile = 0x8003;
    target.level.ObjectTextures[2].Tile = 0x8002;
    target.level.SpriteTextures = {{3, 0, 7}, {2, 0, 7}};
    source.addSample(0, 0, 0, 8, 8);
    ASSERT_EQ(place({0}), 1);

    const level::Tr4Level& level = target.level;
    EXPECT_EQ(level.NumRoomPages, 2);
    EXPECT_EQ(level.NumObjectPages, 2);
    EXPECT_EQ(level.NumBumpPages, 1);
    EXPECT_EQ(level.PageCount, 5u);
    EXPECT_EQ(level.ObjectTextures[0].Tile, 4);
    EXPECT_EQ(level.ObjectTextures[1].Tile, 0x8004);
    EXPECT_EQ(level.ObjectTextures[2].Tile, 0x8002);
    EXPECT_EQ(level.ObjectTextures[3].Tile, 0);
    EXPECT_EQ(level.ObjectTextures[4].Tile, 3); // the new one, on the new page
    EXPECT_EQ(level.SpriteTextures[0][0], 4);
    EXPECT_EQ(level.SpriteTextures[1][0], 2);
    // The new page sits at page 3 in both chunks, the bump page behind it.
    EXPECT_EQ(testing::texelOf(level.Pages32, 3, 0, 0), testing::sourceTexel(0, 0, 0));
    EXPECT_EQ(testing::texelOf(level.Pages32, 4, 0, 0), (std::array<std::uint8_t, 4>{0x44, 0x44, 0x44, 0x44}));
    EXPECT_EQ(testing::texelOf(level.Pages32, 2, 0, 0), (std::array<std::uint8_t, 4>{0x11, 0x11, 0x11, 0x11}));
    EXPECT_NE(testing::texel16Of(level.Pages16, 3, 0, 0), 0x5555);
    EXPECT_EQ(testing::texel16Of(level.Pages16, 4, 0, 0), 0x5555);
    EXPECT_EQ(testing::texel16Of(level.Pages16, 2, 0, 0), 0x2222);
}

TEST_F(PlacementTest, NothingToPlaceAddsNoPageAndChangesNothing) {
    const level::LevelDocument before = target;
    EXPECT_EQ(place({}), 0);
    EXPECT_EQ(target.level, before.level);
}

} // namespace
} // namespace veltrane::merge
