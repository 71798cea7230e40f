#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace veltrane::app {

// How a control follows its parent as it grows past its design size: the parts of the extra width
// and height by which it moves and grows (0: it keeps its place; 1: it follows the right or bottom
// side; 0.5: it stays centred).
struct Anchor {
    double moveX = 0;
    double moveY = 0;
    double growX = 0;
    double growY = 0;
};

// Lays out the children of `host` at fixed design rectangles, moved and stretched by their anchors
// when the host is larger than its design size. Smaller than that, every control keeps its design
// rectangle.
class Anchors : public QObject {
public:
    Anchors(QWidget& host, QSize designSize);

    void place(QWidget* control, QRect designRect, Anchor anchor = {});
    [[nodiscard]] QSize designSize() const { return designSize_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Placed {
        QWidget* control;
        QRect design;
        Anchor anchor;
    };
    void arrange(const Placed& placed) const;

    QWidget& host_;
    QSize designSize_;
    std::vector<Placed> placed_;
};

} // namespace veltrane::app
