#include "app/anchored_panel.h"

#include <algorithm>
#include <cmath>

namespace veltrane::app {

void AnchoredPanel::place(QWidget* control, QRect designRect, Anchor anchor) {
    placed_.push_back({control, designRect, anchor});
    arrange(control, designRect, anchor);
}

void AnchoredPanel::resizeEvent(QResizeEvent*) {
    for (const Placed& p : placed_)
        arrange(p.control, p.design, p.anchor);
}

void AnchoredPanel::arrange(QWidget* control, const QRect& design, const Anchor& anchor) const {
    const int extraWidth = std::max(0, width() - designSize_.width());
    const int extraHeight = std::max(0, height() - designSize_.height());
    const auto part = [](int extra, double share) { return static_cast<int>(std::lround(extra * share)); };
    control->setGeometry(design.x() + part(extraWidth, anchor.moveX), design.y() + part(extraHeight, anchor.moveY),
                         design.width() + part(extraWidth, anchor.growX),
                         design.height() + part(extraHeight, anchor.growY));
}

} // namespace veltrane::app
