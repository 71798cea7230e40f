#pragma once

#include "preview/render_device.h"

#include <QSurfaceFormat>

namespace veltrane::app {

// The holder of the 3-D interface: the OpenGL surface the preview asks for and which texture
// formats it takes. OpenGL takes both page formats; a preview told that 32-bit textures are
// unavailable uses the 16-bit pages for the target, as a device without them would.
class dxMain {
public:
    explicit dxMain(bool allow32BitTextures = true) : allow32BitTextures_(allow32BitTextures) {}

    // OpenGL 3.3 core with a depth buffer.
    static QSurfaceFormat surfaceFormat();
    [[nodiscard]] bool SupportsTextureFormat(preview::TextureFormat format) const;

private:
    bool allow32BitTextures_;
};

} // namespace veltrane::app
