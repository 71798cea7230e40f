#pragma once

#include "app/gl/preview_widget.h"

#include <QTest>

namespace veltrane::preview::testing {

// The widget's frame count once no frame has been drawn for a tenth of a second, so that a paint
// asked for earlier and delivered late (a loaded machine, a sanitized build) is not counted later.
inline int settledFrameCount(const app::PreviewWidget& widget) {
    int count = widget.frameCount();
    for (int tries = 0; tries < 50; ++tries) {
        QTest::qWait(100);
        if (widget.frameCount() == count)
            break;
        count = widget.frameCount();
    }
    return count;
}

} // namespace veltrane::preview::testing
