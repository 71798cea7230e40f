#include "app/anchors.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace veltrane::app {

Anchors::Anchors(QWidget& host, QSize designSize) : QObject(&host), host_(host), designSize_(designSize) {
    host.installEventFilter(this);
}

void Anchors::place(QWidget* control, QRect designRect, Anchor anchor) {
    placed_.push_back({control, designRect, anchor});
    arrange(placed_.back());
}

bool Anchors::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &host_ && event->type() == QEvent::Resize)
        for (const Placed& placed : placed_)
            arrange(placed);
    return false;
}

void Anchors::arrange(const Placed& placed) const {
    const int extraWidth = std::max(0, host_.width() - designSize_.width());
    const int extraHeight = std::max(0, host_.height() - designSize_.height());
    const auto part = [](int extra, double share) { return static_cast<int>(std::lround(extra * share)); };
    const QRect& design = placed.design;
    const Anchor& anchor = placed.anchor;
    placed.control->setGeometry(design.x() + part(extraWidth, anchor.moveX),
                                design.y() + part(extraHeight, anchor.moveY),
                                design.width() + part(extraWidth, anchor.growX),
                                design.height() + part(extraHeight, anchor.growY));
}

} // namespace veltrane::app
