#pragma once

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <memory>

namespace veltrane::app {

// An OpenGL context of the preview's format current on an offscreen framebuffer, for drawing
// preview frames without a window. Needs a running application with OpenGL.
class OffscreenFrame {
public:
    OffscreenFrame(int width, int height);
    ~OffscreenFrame();
    OffscreenFrame(const OffscreenFrame&) = delete;
    OffscreenFrame& operator=(const OffscreenFrame&) = delete;

    // Whether the context and the framebuffer could be made; the context is then current.
    [[nodiscard]] bool isValid() const { return framebuffer_ != nullptr; }
    // Waits until every command has run.
    void finish();
    [[nodiscard]] QImage image() const;

private:
    QOffscreenSurface surface_;
    QOpenGLContext context_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
};

} // namespace veltrane::app
