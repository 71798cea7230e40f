#include "gl_fixtures.h"

#include "app/gl/preview_widget.h"

#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace veltrane::app {
namespace {

using namespace preview::testing;

class RecordedMessages : public PreviewMessages {
public:
    void showNotice(const QString& text, const QString& title) override { notices.push_back(text + "|" + title); }
    std::vector<QString> notices;
};

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kOrange{200, 100, 50};
constexpr Rgb kSky{30, 60, 220};
// File units to pixels of the design panel: 700 units from the eye, 45 degrees over 361 pixels.
const double kUnitsToPixels = 361 / (2 * 700 * std::tan(std::numbers::pi / 8));

struct Preview : ::testing::Test {
    Preview() { application(); }

    // The panel on show with the given files, the target's first moveable or the source's first static on show,
    // by default under the fixed camera, which the hand calculations of where texels land assume.
    std::unique_ptr<PreviewWidget> show(const level::LevelDocument* target, const wad::LibraryDocument* source = nullptr,
                                        PreviewWidget::Options options = {.fixedCamera = true}) {
        options.messages = &messages;
        auto widget = std::make_unique<PreviewWidget>(options);
        widget->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        widget->setTarget(target);
        widget->setSource(source);
        widget->select({source ? preview::PreviewList::SourceStatics : preview::PreviewList::TargetMoveables, 0});
        return widget;
    }
    RecordedMessages messages;
};

QPoint centre(const QImage& image) { return {image.width() / 2, image.height() / 2}; }

// The columns and rows of the image whose pixels are not the background, or none.
std::optional<QRect> objectBounds(const QImage& image, Rgb background = kMagenta) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!near(image.pixelColor(x, y), background, 8))
                bounds |= QRect(x, y, 1, 1);
    return bounds.isNull() ? std::nullopt : std::optional(bounds);
}

void drag(QWidget& widget, QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    for (const QPoint at : {from, to}) {
        QMouseEvent event(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::RightButton, keys);
        QCoreApplication::sendEvent(&widget, &event);
    }
}

TEST_F(Preview, TexelsLieWhereTheirCornersArePositiveXIsOnTheLeftAndClockwiseFacesShow) {
    EXPECT_EQ(show(nullptr)->grabFramebuffer().pixelColor(160, 180), QColor(255, 0, 255)) << "nothing on show";
    const TargetFiles square({screenSquare().quad({0, 1, 2, 3}, 0).build()}, kRed, kBlue);
    const QImage image = show(&square)->grabFramebuffer();
    // Texel column 0 is at face vertex 0, the top-left corner on the screen.
    EXPECT_TRUE(near(image.pixelColor(centre(image) - QPoint(30, 0)), kRed));
    EXPECT_TRUE(near(image.pixelColor(centre(image) + QPoint(30, 0)), kBlue));
    EXPECT_TRUE(near(image.pixelColor(5, 5), kMagenta, 0));

    const TargetFiles shifted({screenSquare(level::MeshKind::Level, 600).quad({0, 1, 2, 3}, 0).build()}, kRed, kRed);
    const auto bounds = objectBounds(show(&shifted)->grabFramebuffer());
    ASSERT_TRUE(bounds.has_value());
    EXPECT_NEAR(bounds->right(), 160 - 40 * 6 * kUnitsToPixels, 2) << "file x 400 to 800 lies left of the centre";

    // Face vertices top-left, top-right, bottom-right run clockwise on the screen; the other way round
    // they run counter-clockwise and the face is culled.
    const TargetFiles triangles({screenSquare().triangle({0, 1, 2}, 0).build(), screenSquare().triangle({2, 1, 0}, 0).build()},
                                kRed, kRed);
    auto widget = show(&triangles);
    const QPoint inside(160 + 40, 180 - 40);
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(inside), kRed));
    widget->select({preview::PreviewList::TargetMoveables, 1});
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(inside), kMagenta, 0));

    const SourceFiles source(kRed);
    const QImage library = show(nullptr, &source)->grabFramebuffer();
    EXPECT_TRUE(near(library.pixelColor(centre(library)), kRed)) << describe(library.pixelColor(centre(library)));
    EXPECT_TRUE(messages.notices.empty());
}

TEST_F(Preview, SixteenBitPagesGiveTheSamePictureWithin5BitPrecisionAfterTheNoticeOnce) {
    const TargetFiles files({screenSquare().quad({0, 1, 2, 3}, 0).build()}, kOrange, kSky);
    const QImage expected = show(&files)->grabFramebuffer();
    auto reduced = show(&files, nullptr, {.allow32BitTextures = false, .fixedCamera = true});
    EXPECT_EQ(messages.notices, std::vector<QString>{PreviewWidget::kSixteenBitNotice + "|"});
    const QImage image = reduced->grabFramebuffer();
    int differing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor e = expected.pixelColor(x, y);
            differing += near(image.pixelColor(x, y), {e.red(), e.green(), e.blue()}, 255 / 31 + 1) ? 0 : 1;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(near(image.pixelColor(centre(image) - QPoint(30, 0)), kOrange, 0)) << "it is the 16-bit page";

    // A target given before the panel has a context gets its notice once the context is there.
    PreviewWidget early({.allow32BitTextures = false, .messages = &messages, .fixedCamera = true});
    early.setTarget(&files);
    EXPECT_EQ(messages.notices.size(), 1u);
    early.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&early));
    QTRY_COMPARE(messages.notices.size(), 2u);
}

TEST_F(Preview, DragsAndTheWheelZoomAndPanByPixelsADoubleClickOrFFitsAgainAndFramesAreDrawnOnDemand) {
    const TargetFiles files({screenSquare().quad({0, 1, 2, 3}, 0).build()}, kRed, kBlue);
    auto widget = show(&files, nullptr, {});
    const int frames = settledFrameCount(*widget);
    QTest::qWait(200);
    EXPECT_EQ(widget->frameCount(), frames) << "no busy loop";
    const QImage fitted = widget->grabFramebuffer();
    const QRect start = objectBounds(fitted).value();
    EXPECT_NEAR(start.center().x(), 160, 1) << "the square is framed in the middle";
    EXPECT_GT(start.width(), 321 / 2) << "its sphere fills the panel's width but a margin";
    EXPECT_LT(start.width(), 321 * 0.9 / std::sqrt(2));

    drag(*widget, {10, 10}, {10, 110}, Qt::ControlModifier);
    EXPECT_NEAR(objectBounds(widget->grabFramebuffer())->width(), start.width() / 2, 2) << "100 pixels down";
    QWheelEvent wheel(QPointF(160, 180), widget->mapToGlobal(QPointF(160, 180)), QPoint(), QPoint(0, 120 * 5),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget.get(), &wheel);
    EXPECT_NEAR(objectBounds(widget->grabFramebuffer())->width(), start.width(), 2) << "five notches";
    drag(*widget, {10, 10}, {50, 40}, Qt::ShiftModifier);
    EXPECT_NEAR(objectBounds(widget->grabFramebuffer())->center().x(), start.center().x() + 40, 1) << "with the pointer";
    EXPECT_NEAR(objectBounds(widget->grabFramebuffer())->center().y(), start.center().y() + 30, 1);
    QTest::mouseDClick(widget.get(), Qt::LeftButton, {}, {100, 100});
    EXPECT_EQ(widget->grabFramebuffer(), fitted);

    drag(*widget, {100, 100}, {250, 100});
    EXPECT_FLOAT_EQ(widget->scene().view.viewAngleY, 150 * 1200.0f);
    QTRY_VERIFY(widget->frameCount() > frames);
    EXPECT_FALSE(objectBounds(widget->grabFramebuffer()).has_value()) << "half a turn shows the square's culled back";
    QTest::keyClick(widget.get(), Qt::Key_F);
    EXPECT_EQ(widget->grabFramebuffer(), fitted);
}

TEST_F(Preview, ALostContextIsRebuiltAndClearsToWhiteFromThenOn) {
    const TargetFiles files({screenSquare().quad({0, 1, 2, 3}, 0).build()}, kRed, kBlue);
    QWidget first, second;
    auto* widget = new PreviewWidget({.messages = &messages, .fixedCamera = true}, &first);
    first.resize(400, 400);
    second.resize(400, 400);
    first.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    widget->setTarget(&files);
    widget->select({preview::PreviewList::TargetMoveables, 0});
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(5, 5), kMagenta, 0));
    // A new top-level window gives the panel a new context; the old one goes with everything on it.
    widget->setParent(&second);
    widget->show();
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    const QImage image = widget->grabFramebuffer();
    EXPECT_TRUE(near(image.pixelColor(5, 5), kWhite, 0)) << describe(image.pixelColor(5, 5));
    EXPECT_TRUE(near(image.pixelColor(centre(image) - QPoint(30, 0)), kRed));
    EXPECT_TRUE(near(image.pixelColor(centre(image) + QPoint(30, 0)), kBlue));
}

} // namespace
} // namespace veltrane::app
