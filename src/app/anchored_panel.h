#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace veltrane::app {

// How a control follows the window as it grows past its design size: the parts of the extra width
// and height by which it moves and grows (0: it keeps its place; 1: it follows the right or bottom
// side; 0.5: it stays centred).
struct Anchor {
    double moveX = 0;
    double moveY = 0;
    double growX = 0;
    double growY = 0;
};

// A widget whose children are laid out at fixed design rectangles, moved and stretched by their
// anchors when the widget is larger than its design size. Smaller than that, every control keeps
// its design rectangle.
class AnchoredPanel : public QWidget {
public:
    AnchoredPanel(QSize designSize, QWidget* parent = nullptr) : QWidget(parent), designSize_(designSize) {}

    void place(QWidget* control, QRect designRect, Anchor anchor = {});
    [[nodiscard]] QSize designSize() const { return designSize_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placed {
        QWidget* control;
        QRect design;
        Anchor anchor;
    };
    void arrange(QWidget* control, const QRect& design, const Anchor& anchor) const;

    QSize designSize_;
    std::vector<Placed> placed_;
};

} // namespace veltrane::app
