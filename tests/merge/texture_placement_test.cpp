#include "merge/texture_placement.h"

#include "level/pages.h"
#include "merge_fixture.h"

#include <gtest/gtest.h>

namespace veltrane::merge {
namespace {

using testing::sourceTexel;
using testing::texel16Of;
using testing::texelOf;
using Texel = std::array<std::uint8_t, 4>;

// A piece of width x height texels from (x, 0) of a page; pieces of distinct columns are distinct rectangles.
struct Size {
    std::int32_t width, height;
    std::uint32_t x = 0;
};
// Where a piece went: page, column, row.
using Place = std::array<std::int32_t, 3>;

PieceLayout layOut(const std::vector<Size>& sizes) {
    Lista_Texturas pieces(0);
    for (const Size& size : sizes) {
        TexturePiece piece;
        piece.SourceIndex = pieces.count();
        piece.Width = size.width;
        piece.Height = size.height;
        piece.SourceX = size.x;
        pieces.add(piece);
    }
    return layOutTexturePieces(pieces);
}

TEST(PieceLayout, PiecesGoTallestFirstRowByRowAndPageByPage) {
    struct Case {
        const char* rule;
        std::vector<Size> pieces;
        std::vector<Place> places; // of pieces 0, 1, ...
        std::int32_t pagesAdded;
    };
    for (const Case& c : std::vector<Case>{
             {"a piece stays in its row if it ends at column 253; the next row leaves a row empty",
              {{100, 30, 1}, {154, 20, 2}, {1, 10, 3}, {10, 5, 4}}, {{0, 0, 0}, {0, 100, 0}, {0, 0, 31}, {0, 1, 31}}, 1},
             {"one that ends at column 254 does not", {{100, 30, 1}, {155, 20, 2}}, {{0, 0, 0}, {0, 0, 31}}, 1},
             {"a row starting at row 200 stays", {{200, 199, 1}, {100, 50, 2}}, {{0, 0, 0}, {0, 0, 200}}, 1},
             {"one at row 201 goes to a new page", {{200, 200, 1}, {100, 50, 2}}, {{0, 0, 0}, {1, 0, 0}}, 2},
             {"whose rows count from its top", {{200, 201, 1}, {200, 50, 2}, {200, 40, 3}},
              {{0, 0, 0}, {1, 0, 0}, {1, 0, 51}}, 2},
             {"of one height the newest goes first", {{10, 8, 1}, {20, 8, 2}, {30, 8, 3}, {5, 9, 4}},
              {{0, 55, 0}, {0, 35, 0}, {0, 5, 0}, {0, 0, 0}}, 1},
             {"127 rows left hold a piece 127 high", {{200, 127, 1}, {200, 128, 2}}, {{0, 0, 129}, {0, 0, 0}}, 1},
             {"but not one 128 high", {{200, 128, 1}, {200, 128, 2}}, {{1, 0, 0}, {0, 0, 0}}, 2},
             {"a row too tall for the page starts a new one", {{100, 150, 1}, {200, 150, 2}}, {{1, 0, 0}, {0, 0, 0}}, 2},
             {"a whole-page piece starts at row 0", {{256, 256, 1}, {10, 10, 2}}, {{0, 0, 0}, {1, 0, 0}}, 2},
             {"pieces of one rectangle share its place", {{16, 16, 32}, {16, 16, 32}, {16, 16, 0}},
              {{0, 16, 0}, {0, 16, 0}, {0, 0, 0}}, 1},
             {"no piece adds no page", {}, {}, 0},
         }) {
        SCOPED_TRACE(c.rule);
        const PieceLayout layout = layOut(c.pieces);
        EXPECT_EQ(layout.pagesAdded, c.pagesAdded);
        ASSERT_EQ(layout.pieces.size(), c.places.size());
        for (const PlacedPiece& placed : layout.pieces) {
            const auto& place = placed.place;
            EXPECT_EQ((Place{place.Page, place.X, place.Y}), c.places.at(static_cast<std::size_t>(placed.piece.NewIndex)))
                << "piece " << placed.piece.NewIndex;
            EXPECT_LE(place.Y + placed.piece.Height, 256);
            EXPECT_LE(place.X + placed.piece.Width, 256);
        }
    }
    const PieceLayout shared = layOut({{16, 16, 32}, {16, 16, 32}});
    EXPECT_TRUE(shared.pieces[0].copiesTexels);
    EXPECT_FALSE(shared.pieces[1].copiesTexels) << "a rectangle's texels are copied once";
}

TEST(ObjectTextureOfAPiece, CornersFollowOrientationAndMirrorAndTheAttributeTheBlending) {
    using Corners = std::array<std::array<int, 2>, 4>;
    // Columns 10 to 14 and rows 20 to 26.
    const Corners topLeft{{{10, 20}, {14, 20}, {10, 26}, {14, 26}}}, topRight{{{14, 20}, {14, 26}, {10, 20}, {10, 26}}},
        bottomRight{{{14, 26}, {10, 26}, {14, 20}, {10, 20}}}, bottomLeft{{{10, 26}, {10, 20}, {14, 26}, {14, 20}}},
        quad{{{10, 20}, {14, 20}, {14, 26}, {10, 26}}};
    const std::array<Corners, 8> byOrientation = {topLeft, topLeft, topRight, topRight, bottomRight, bottomRight, bottomLeft, quad};
    for (std::uint32_t orientation = 0; orientation < 8; ++orientation)
        for (std::uint8_t mirror : {0, 1}) {
            TexturePiece piece;
            piece.Width = 5;
            piece.Height = 7;
            piece.Orientation = orientation;
            piece.Mirror = mirror;
            piece.AttributeFlag = mirror;
            const level::ObjectTexture texture = objectTextureFor(piece, 9, 10, 20);
            for (std::size_t i = 0; i < 4; ++i) {
                // A mirror takes the other column.
                const int x = mirror == 0 ? byOrientation[orientation][i][0] : 24 - byOrientation[orientation][i][0];
                EXPECT_EQ((std::array<int, 2>{texture.Corners[i].XPixel, texture.Corners[i].YPixel}),
                          (std::array<int, 2>{x, byOrientation[orientation][i][1]}))
                    << "orientation " << orientation << " mirror " << int(mirror) << " corner " << i;
                EXPECT_EQ(texture.Corners[i].XCoordinate, i == 1 || i == 2 ? 255 : 0);
                EXPECT_EQ(texture.Corners[i].YCoordinate, i >= 2 ? 255 : 0);
            }
            EXPECT_EQ(texture.Attribute, mirror == 1 ? 1 : 2) << "alpha-tested, or additively blended";
            EXPECT_EQ(texture, (level::ObjectTexture{texture.Attribute, 9, 0, texture.Corners, 0, 0, 5, 7}));
        }
}

class PlacementTest : public ::testing::Test {
protected:
    // Places one piece for each sample given, on a fresh list whose base is the target's count.
    std::int32_t place(const std::vector<std::uint16_t>& samples) {
        Lista_Texturas pieces = BeginTextureMerge(target.level);
        for (std::uint16_t sample : samples)
            RemapFaceTexture(pieces, source.library, testing::quad(sample));
        const auto layout = layOutTexturePieces(pieces);
        io::TaskPool pool(2);
        const std::int32_t added = PlaceTexturePieces(pieces, layout, source.pages, target.level, pool);
        pool.wait();
        return added;
    }
    // The top-left texel of object texture `index`.
    std::pair<std::size_t, std::size_t> cornerOf(std::size_t index) const {
        const auto& corner = target.level.ObjectTextures.at(index).Corners[0];
        return {corner.XPixel, corner.YPixel};
    }
    testing::SourceFixture source;
    level::LevelDocument target = testing::targetFixture();
};

TEST_F(PlacementTest, PlacedTexelsEqualTheSourceRectangleInBothPageFormsAndTheRestIsZero) {
    source.addSample(40, 60, 1, 30, 20);
    const level::Tr4Level before = target.level;
    EXPECT_EQ(place({}), 0);
    EXPECT_EQ(target.level, before) << "nothing to place adds no page";
    ASSERT_EQ(place({0}), 1);
    const level::Tr4Level& level = target.level;
    EXPECT_EQ(level.PageCount, 4u);
    EXPECT_EQ(level.Pages16.size(), 4 * level::kPageBytes16);
    EXPECT_EQ(level.NumObjectPages, 2);
    EXPECT_TRUE(std::equal(before.Pages32.begin(), before.Pages32.end(), level.Pages32.begin()));
    EXPECT_TRUE(std::equal(before.Pages16.begin(), before.Pages16.end(), level.Pages16.begin()));
    EXPECT_TRUE(std::equal(before.ObjectTextures.begin(), before.ObjectTextures.end(), level.ObjectTextures.begin()));
    EXPECT_EQ(level.ObjectTextures.at(4).Tile, 3);
    const auto [x, y] = cornerOf(4);
    for (std::size_t r = 0; r < 20; ++r)
        for (std::size_t c = 0; c < 30; ++c) {
            const auto expected = sourceTexel(1, 40 + c, 60 + r);
            ASSERT_EQ(texelOf(level.Pages32, 3, x + c, y + r), expected);
            ASSERT_EQ(texel16Of(level.Pages16, 3, x + c, y + r), texel16Of(level::convertPagesTo16(expected), 0, 0, 0));
        }
    EXPECT_EQ(texelOf(level.Pages32, 3, x + 30, y), Texel{});
    EXPECT_EQ(texelOf(level.Pages32, 3, 255, 255), Texel{});
    EXPECT_EQ(texel16Of(level.Pages16, 3, 255, 255), 0);
}

TEST_F(PlacementTest, TexelsOutsideTheSourcePageSetReadAsZero) {
    source.addSample(250, 0, 0, 10, 4); // columns 256 to 259 lie outside the page
    source.addSample(0, 252, 0, 4, 8);  // so do rows 256 to 259
    source.addSample(0, 0, 2, 4, 4);    // the page set has pages 0 and 1 only
    ASSERT_EQ(place({0, 1, 2}), 1);
    const auto& pages = target.level.Pages32;
    const auto [x0, y0] = cornerOf(4);
    EXPECT_EQ(texelOf(pages, 3, x0 + 5, y0), sourceTexel(0, 255, 0));
    EXPECT_EQ(texelOf(pages, 3, x0 + 6, y0), Texel{});
    const auto [x1, y1] = cornerOf(5);
    EXPECT_EQ(texelOf(pages, 3, x1, y1 + 3), sourceTexel(0, 0, 255));
    EXPECT_EQ(texelOf(pages, 3, x1, y1 + 4), Texel{});
    const auto [x2, y2] = cornerOf(6);
    EXPECT_EQ(texelOf(pages, 3, x2, y2), Texel{});
}

TEST_F(PlacementTest, NewPagesGoBeforeTheBumpPagesWhoseTilesMoveUp) {
    target = testing::targetWithBumpPage();
    level::Tr4Level& level = target.level;
    source.addSample(0, 0, 0, 8, 8);
    ASSERT_EQ(place({0}), 1);
    EXPECT_EQ(level.NumObjectPages, 2);
    EXPECT_EQ(level.NumBumpPages, 1);
    EXPECT_EQ(level.PageCount, 5u);
    std::vector<std::uint16_t> tiles;
    for (const auto& texture : level.ObjectTextures)
        tiles.push_back(texture.Tile);
    EXPECT_EQ(tiles, (std::vector<std::uint16_t>{4, 0x8004, 0x8002, 0, 3})) << "bit 15 is kept; the new one is on page 3";
    EXPECT_EQ(level.SpriteTextures[0][0], 4);
    EXPECT_EQ(level.SpriteTextures[1][0], 2);
    // The new page sits at page 3 in both chunks, the bump page behind it.
    EXPECT_EQ(texelOf(level.Pages32, 3, 0, 0), sourceTexel(0, 0, 0));
    EXPECT_EQ(texelOf(level.Pages32, 4, 0, 0), (Texel{0x44, 0x44, 0x44, 0x44}));
    EXPECT_EQ(texelOf(level.Pages32, 2, 0, 0), (Texel{0x11, 0x11, 0x11, 0x11}));
    EXPECT_NE(texel16Of(level.Pages16, 3, 0, 0), 0x5555);
    EXPECT_EQ(texel16Of(level.Pages16, 4, 0, 0), 0x5555);
    EXPECT_EQ(texel16Of(level.Pages16, 2, 0, 0), 0x2222);
}

} // namespace
} // namespace veltrane::merge
