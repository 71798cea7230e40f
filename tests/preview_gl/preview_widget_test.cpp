#include "frame_wait.h"
#include "gl_fixtures.h"

#include "app/gl/preview_widget.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QSignalSpy>
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
    void showNotice(const QString& text, const QString& title) override {
        texts.push_back(text);
        titles.push_back(title);
    }
    std::vector<QString> texts;
    std::vector<QString> titles;
};

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kOrange{200, 100, 50};
constexpr Rgb kSky{30, 60, 220};

struct Preview : ::testing::Test {
    Preview() { application(); }

    std::unique_ptr<PreviewWidget> show(PreviewWidget::Options options = {}) {
        if (options.messages == nullptr)
            options.messages = &messages;
        auto widget = std::make_unique<PreviewWidget>(options);
        widget->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(widget.get()));
        return widget;
    }

    // Shows the screen square of the target, one rectangle over a page with the given halves.
    std::unique_ptr<PreviewWidget> showSquare(Rgb left, Rgb right, PreviewWidget::Options options = {}) {
        target.emplace(std::vector{screenSquare().quad({0, 1, 2, 3}, 0).build()}, left, right);
        auto widget = show(options);
        widget->setTarget(&*target);
        widget->select({preview::PreviewList::TargetMoveables, 0});
        return widget;
    }

    RecordedMessages messages;
    std::optional<TargetFiles> target;
};

// The widget's centre in its framebuffer.
QPoint centre(const QImage& image) { return {image.width() / 2, image.height() / 2}; }

// The columns and rows of the image whose pixels are not the background, or none.
std::optional<QRect> objectBounds(const QImage& image, Rgb background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!near(image.pixelColor(x, y), background, 8))
                bounds |= QRect(x, y, 1, 1);
    return bounds.isNull() ? std::nullopt : std::optional(bounds);
}

void sendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::RightButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, keys);
    QCoreApplication::sendEvent(&widget, &event);
}

TEST_F(Preview, NothingSelectedShowsTheClearColour) {
    auto widget = show();
    const QImage image = widget->grabFramebuffer();
    EXPECT_EQ(image.size(), QSize(321, 361));
    for (const QPoint p : {QPoint(0, 0), centre(image), QPoint(320, 360)})
        EXPECT_TRUE(near(image.pixelColor(p), kMagenta, 0)) << describe(image.pixelColor(p));
}

TEST_F(Preview, TexturedQuadShowsItsTexelsWhereTheyLie) {
    auto widget = showSquare(kRed, kBlue);
    const QImage image = widget->grabFramebuffer();
    const QPoint c = centre(image);
    // Texel column 0 is at face vertex 0, the top-left corner on the screen.
    EXPECT_TRUE(near(image.pixelColor(c - QPoint(30, 0)), kRed)) << describe(image.pixelColor(c - QPoint(30, 0)));
    EXPECT_TRUE(near(image.pixelColor(c + QPoint(30, 0)), kBlue)) << describe(image.pixelColor(c + QPoint(30, 0)));
    EXPECT_TRUE(near(image.pixelColor(5, 5), kMagenta, 0));
    EXPECT_TRUE(messages.texts.empty());
}

TEST_F(Preview, PositiveXOfTheObjectAppearsOnTheLeftAsSeenFromPositiveZ) {
    // File x from 400 to 800.
    TargetFiles files({screenSquare(level::MeshKind::Level, 600).quad({0, 1, 2, 3}, 0).build()}, kRed, kRed);
    auto widget = show();
    widget->setTarget(&files);
    widget->select({preview::PreviewList::TargetMoveables, 0});
    const auto bounds = objectBounds(widget->grabFramebuffer(), kMagenta);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_LT(bounds->right(), 321 / 2);
    // 400 file units at zoom 6 and 700 units from the eye, 45 degrees over 361 pixels.
    const double unitsToPixels = 361 / (2 * 700 * std::tan(std::numbers::pi / 8));
    EXPECT_NEAR(bounds->right(), 160 - 40 * 6 * unitsToPixels, 2);
}

TEST_F(Preview, CounterClockwiseFaceIsCulledAndClockwiseDrawn) {
    // Face vertices top-left, top-right, bottom-right: clockwise on the screen; the other way round
    // they run counter-clockwise.
    TargetFiles files({screenSquare().triangle({0, 1, 2}, 0).build(), screenSquare().triangle({2, 1, 0}, 0).build()},
                      kRed, kRed);
    auto widget = show();
    widget->setTarget(&files);
    const QPoint insideTriangle(160 + 40, 180 - 40); // upper right, inside the top-right half
    widget->select({preview::PreviewList::TargetMoveables, 0});
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(insideTriangle), kRed));
    widget->select({preview::PreviewList::TargetMoveables, 1});
    EXPECT_TRUE(near(widget->grabFramebuffer().pixelColor(insideTriangle), kMagenta, 0));
}

TEST_F(Preview, RedLibraryTexelShowsRed) {
    SourceFiles files(kRed);
    auto widget = show();
    widget->setSource(&files);
    widget->select({preview::PreviewList::SourceStatics, 0});
    const QImage image = widget->grabFramebuffer();
    EXPECT_TRUE(near(image.pixelColor(centre(image)), kRed)) << describe(image.pixelColor(centre(image)));
}

TEST_F(Preview, SixteenBitPagesGiveTheSamePictureWithin5BitPrecisionAfterTheNotice) {
    const QImage expected = showSquare(kOrange, kSky)->grabFramebuffer();
    EXPECT_TRUE(messages.texts.empty());

    auto reduced = showSquare(kOrange, kSky, {.allow32BitTextures = false});
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], "Se renderiza con 16 bits");
    EXPECT_EQ(messages.titles[0], "");
    const QImage image = reduced->grabFramebuffer();
    ASSERT_EQ(image.size(), expected.size());
    int differing = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor e = expected.pixelColor(x, y);
            if (!near(image.pixelColor(x, y), {e.red(), e.green(), e.blue()}, 255 / 31 + 1))
                ++differing;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(near(image.pixelColor(centre(image) - QPoint(30, 0)), kOrange, 0)); // it is the 16-bit page

    // A merge rebuilds the 16-bit textures without the notice.
    reduced->targetChanged();
    EXPECT_EQ(messages.texts.size(), 1u);
}

TEST_F(Preview, NoticeForATargetSetBeforeTheContextExistsComesOnceItDoes) {
    TargetFiles files({screenSquare().quad({0, 1, 2, 3}, 0).build()}, kOrange, kSky);
    PreviewWidget widget({.allow32BitTextures = false, .messages = &messages});
    widget.setTarget(&files);
    EXPECT_TRUE(messages.texts.empty());
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    QTRY_COMPARE(messages.texts.size(), 1u);
}

TEST_F(Preview, SquareStaysSquareWhateverThePanelShape) {
    auto widget = showSquare(kRed, kRed);
    for (const QSize size : {QSize(321, 361), QSize(600, 300), QSize(200, 400)}) {
        widget->resize(size);
        const auto bounds = objectBounds(widget->grabFramebuffer(), kMagenta);
        ASSERT_TRUE(bounds.has_value());
        EXPECT_NEAR(bounds->width(), bounds->height(), 2) << size.width() << "x" << size.height();
    }
}

TEST_F(Preview, RightDragTurnsAndIsDrawnOnDemand) {
    auto widget = showSquare(kRed, kBlue);
    const int frames = settledFrameCount(*widget);
    QTest::qWait(200);
    EXPECT_EQ(widget->frameCount(), frames); // no busy loop

    sendMouse(*widget, QEvent::MouseButtonPress, {100, 100}, Qt::RightButton, Qt::NoModifier);
    sendMouse(*widget, QEvent::MouseMove, {100, 100}, Qt::RightButton, Qt::NoModifier);
    sendMouse(*widget, QEvent::MouseMove, {250, 100}, Qt::RightButton, Qt::NoModifier);
    sendMouse(*widget, QEvent::MouseButtonRelease, {250, 100}, Qt::NoButton, Qt::NoModifier);
    EXPECT_FLOAT_EQ(widget->scene().view.viewAngleY, 150 * 1200.0f); // 180 degrees
    QTRY_VERIFY(widget->frameCount() > frames);
    // Half a turn about Y shows the square from behind: its clockwise faces now run counter-clockwise.
    const QImage image = widget->grabFramebuffer();
    EXPECT_TRUE(near(image.pixelColor(centre(image)), kMagenta, 0)) << describe(image.pixelColor(centre(image)));
}

TEST_F(Preview, CtrlDragAndWheelZoomShiftDragPans) {
    auto widget = showSquare(kRed, kRed);
    const int startWidth = objectBounds(widget->grabFramebuffer(), kMagenta)->width();

    QWheelEvent wheel(QPointF(160, 180), widget->mapToGlobal(QPointF(160, 180)), QPoint(), QPoint(0, 120 * 5),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget.get(), &wheel);
    EXPECT_FLOAT_EQ(widget->scene().view.viewZoom, 12.0f);
    EXPECT_NEAR(objectBounds(widget->grabFramebuffer(), kMagenta)->width(), 2 * startWidth, 3);

    sendMouse(*widget, QEvent::MouseMove, {10, 10}, Qt::RightButton, Qt::ControlModifier);
    sendMouse(*widget, QEvent::MouseMove, {10, 15}, Qt::RightButton, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(widget->scene().view.viewZoom, 6.0f);

    sendMouse(*widget, QEvent::MouseMove, {10, 10}, Qt::RightButton, Qt::ShiftModifier);
    sendMouse(*widget, QEvent::MouseMove, {5, 10}, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_FLOAT_EQ(widget->scene().view.viewPanX, 5 * 1.2f * 20);
    // Pan x grows as the mouse goes left, and +x is on the screen's left: the object follows the mouse.
    const auto bounds = objectBounds(widget->grabFramebuffer(), kMagenta);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_LT(bounds->center().x(), 160 - 20);
}

TEST_F(Preview, InvalidSpinFactorKeepsTheLastGoodOneAndSaysSo) {
    auto widget = show();
    QSignalSpy changes(widget.get(), &PreviewWidget::spinFactorChanged);
    EXPECT_TRUE(widget->setSpinFactorText("2"));
    EXPECT_FALSE(widget->setSpinFactorText("2,5"));
    EXPECT_FALSE(widget->spinFactorValid());
    EXPECT_EQ(widget->spinFactorMessage(), "'2,5' is not a valid floating point value");
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].toBool(), false);
    EXPECT_EQ(changes[0][1].toString(), "'2,5' is not a valid floating point value");
    sendMouse(*widget, QEvent::MouseMove, {10, 10}, Qt::RightButton, Qt::NoModifier);
    sendMouse(*widget, QEvent::MouseMove, {11, 10}, Qt::RightButton, Qt::NoModifier);
    EXPECT_FLOAT_EQ(widget->scene().view.viewAngleY, 2000.0f);
    EXPECT_TRUE(widget->setSpinFactorText("1.2"));
    EXPECT_TRUE(widget->spinFactorValid());
    EXPECT_EQ(changes.size(), 2);
}

TEST_F(Preview, LostContextIsRebuiltAndClearsToWhiteFromThenOn) {
    TargetFiles files({screenSquare().quad({0, 1, 2, 3}, 0).build()}, kRed, kBlue);
    QWidget first, second;
    auto* widget = new PreviewWidget({.messages = &messages}, &first);
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
