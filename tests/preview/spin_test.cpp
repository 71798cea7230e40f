#include "preview/spin.h"

#include <gtest/gtest.h>

#include <numbers>
#include <optional>

namespace veltrane::preview {
namespace {

constexpr MouseState kRight{true, false, false};
constexpr MouseState kCtrl{true, true, false};
constexpr MouseState kShift{true, false, true};
constexpr MouseState kCtrlShift{true, true, true};
constexpr MouseState kNoButton{false, false, false};

// A mouse move with the buttons and keys held, or (no state) the button let go.
struct Move {
    std::optional<MouseState> state;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct Drag {
    const char* what;
    float factor;
    std::vector<Move> moves;
    ViewParameters expected; // pan x, pan y, angle about y, angle about x, zoom
};

// A pixel of pan drag covers this many preview units at the default factor in these tests.
constexpr float kUnitsPerPixel = 2.0f;

TEST(Spin, RightDragsTurnZoomOrPanByTheFactorAndTheFirstMoveOnlyStartsThem) {
    for (const Drag& drag : std::initializer_list<Drag>{
             {"three pixels right at 1.2", 1.2f, {{kRight, 50, 40}, {kRight, 53, 40}}, {0, 0, 3600, 0, 6}},
             {"moving down lowers the angle about x", 1.2f, {{kRight, 0, 0}, {kRight, 0, 2}, {kRight, 0, 1}}, {0, 0, 0, -1200, 6}},
             {"a negative factor turns the other way", -0.5f, {{kRight, 10, 0}, {kRight, 14, 0}}, {0, 0, -2000, 0, 6}},
             {"ctrl halves the zoom moving down 100 pixels at 1.2", 1.2f, {{kCtrl, 0, 10}, {kCtrl, 0, 60}, {kCtrl, 0, 110}}, {0, 0, 0, 0, 3}},
             {"and at twice the factor moving up quadruples it", 2.4f, {{kCtrl, 0, 100}, {kCtrl, 0, 0}}, {0, 0, 0, 0, 24}},
             {"shift moves the object with the pointer at 1.2", 1.2f, {{kShift, 20, 20}, {kShift, 15, 23}}, {10, -6, 0, 0, 6}},
             {"and half as far at 0.6", 0.6f, {{kShift, 20, 20}, {kShift, 15, 23}}, {5, -3, 0, 0, 6}},
             {"ctrl wins over shift", 1.2f, {{kCtrlShift, 0, 0}, {kCtrlShift, 5, 100}}, {0, 0, 0, 0, 3}},
             {"after ctrl the turn covers the whole distance since the last plain move", 1.2f,
              {{kRight, 0, 0}, {kCtrl, 10, 0}, {kCtrl, 20, 0}, {kRight, 30, 0}}, {0, 0, 36000, 0, 6}},
             {"only the right button drags", 1.2f, {{kNoButton, 0, 0}, {kNoButton, 9, 9}}, {0, 0, 0, 0, 6}},
             {"letting go ends the drag", 1.2f, {{kRight, 0, 0}, {kRight, 1, 0}, {std::nullopt}, {kRight, 50, 0}},
              {0, 0, 1200, 0, 6}},
         }) {
        SCOPED_TRACE(drag.what);
        MouseD3D spin(drag.factor, ViewParameters::kStartZoom);
        ViewParameters view;
        for (const Move& move : drag.moves) {
            if (move.state)
                Panel1MouseMove(spin, view, *move.state, move.x, move.y, kUnitsPerPixel);
            else
                Panel1MouseUp(spin);
        }
        EXPECT_FLOAT_EQ(view.viewPanX, drag.expected.viewPanX);
        EXPECT_FLOAT_EQ(view.viewPanY, drag.expected.viewPanY);
        EXPECT_FLOAT_EQ(view.viewAngleY, drag.expected.viewAngleY);
        EXPECT_FLOAT_EQ(view.viewAngleX, drag.expected.viewAngleX);
        EXPECT_FLOAT_EQ(view.viewZoom, drag.expected.viewZoom);
    }
}

TEST(Spin, TheWheelZoomsAsTwentyPixelsOfDragWithinLimitsAroundTheStartAndResetStartsAfresh) {
    EXPECT_NEAR(angleRadians(1200), 1.2 * std::numbers::pi / 180, 1e-7);
    MouseD3D spin(1.2f, 1);
    ViewParameters view;
    const ViewParameters start{0, 0, 0, 0, 6, {1, 2, 3}};
    resetView(spin, view, start);
    Panel1MouseWheel(spin, view, 5);
    EXPECT_FLOAT_EQ(view.viewZoom, 12);
    Panel1MouseWheel(spin, view, -100);
    EXPECT_FLOAT_EQ(view.viewZoom, 6.0f / 64) << "no further out than a 64th";
    Panel1MouseMove(spin, view, kCtrl, 0, 100, kUnitsPerPixel);
    Panel1MouseMove(spin, view, kCtrl, 0, 0, kUnitsPerPixel);
    EXPECT_FLOAT_EQ(view.viewZoom, 12.0f / 64) << "a ctrl drag goes on from the wheel's zoom";
    Panel1MouseWheel(spin, view, 100);
    EXPECT_FLOAT_EQ(view.viewZoom, 48) << "no further in than 8 times";

    // A framing twice as large doubles the zoom, its limits and the pan, from which a drag goes on.
    Panel1MouseMove(spin, view, kShift, 4, 4, kUnitsPerPixel);
    Panel1MouseMove(spin, view, kShift, 9, 4, kUnitsPerPixel);
    rescaleView(spin, view, 2);
    Panel1MouseWheel(spin, view, 100);
    Panel1MouseMove(spin, view, kShift, 14, 4, kUnitsPerPixel);
    EXPECT_EQ(view, (ViewParameters{-30, 0, 0, 0, 96, {1, 2, 3}}));

    resetView(spin, view, start);
    EXPECT_EQ(view, start);
    EXPECT_EQ(spin.zoom, 6.0f);
    Panel1MouseMove(spin, view, kShift, 100, 0, kUnitsPerPixel);
    Panel1MouseMove(spin, view, kCtrl, 0, 100, kUnitsPerPixel);
    EXPECT_EQ(view, start) << "the first move after a reset only starts the drag";
}

TEST(SpinFactorText, NumbersWithAPointParseAndOtherTextIsNoNumber) {
    for (const auto& [text, value] : {std::pair{"1.2", 1.2f}, {" -0.5 ", -0.5f}, {"+3", 3.0f}, {"2e1", 20.0f}, {".5", 0.5f}})
        EXPECT_FLOAT_EQ(parseFactor(text).value_or(0), value) << text;
    for (const char* text : {"", "  ", "1,2", "abc", "1.2x", "--1", "+-1", "inf", "nan", "1e99"})
        EXPECT_FALSE(parseFactor(text).has_value()) << text;
    EXPECT_EQ(invalidFloatMessage("1,2"), "'1,2' is not a valid floating point value");
}

} // namespace
} // namespace veltrane::preview
