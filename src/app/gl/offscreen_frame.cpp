#include "app/gl/offscreen_frame.h"

#include "app/gl/dx_main.h"

#include <QOpenGLFunctions>

namespace veltrane::app {

OffscreenFrame::OffscreenFrame(int width, int height) {
    surface_.setFormat(dxMain::surfaceFormat());
    surface_.create();
    context_.setFormat(dxMain::surfaceFormat());
    if (!surface_.isValid() || !context_.create() || !context_.makeCurrent(&surface_))
        return;
    auto framebuffer =
        std::make_unique<QOpenGLFramebufferObject>(width, height, QOpenGLFramebufferObject::CombinedDepthStencil);
    if (!framebuffer->isValid() || !framebuffer->bind())
        return;
    context_.functions()->glViewport(0, 0, width, height);
    framebuffer_ = std::move(framebuffer);
}

OffscreenFrame::~OffscreenFrame() {
    if (context_.makeCurrent(&surface_))
        framebuffer_.reset();
    context_.doneCurrent();
}

void OffscreenFrame::finish() { context_.functions()->glFinish(); }

QImage OffscreenFrame::image() const { return framebuffer_ ? framebuffer_->toImage() : QImage(); }

} // namespace veltrane::app
