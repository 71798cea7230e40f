#include "app/gl/dx_main.h"

namespace veltrane::app {

QSurfaceFormat dxMain::surfaceFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    return format;
}

bool dxMain::SupportsTextureFormat(preview::TextureFormat format) const {
    return format != preview::TextureFormat::A8R8G8B8 || allow32BitTextures_;
}

} // namespace veltrane::app
