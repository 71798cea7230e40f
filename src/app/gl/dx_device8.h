#pragma once

#include "app/gl/dx_main.h"
#include "preview/render_device.h"

#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLShaderProgram>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <cstdint>
#include <memory>

namespace veltrane::app {

// The preview's device over OpenGL 3.3: the clear colour, the camera and the drawing of render
// meshes. Every call needs the OpenGL context it was initialised on to be current.
class dxDevice8 : public preview::RenderDevice, protected QOpenGLFunctions_3_3_Core {
public:
    explicit dxDevice8(const dxMain& main) : main_(main) {}
    ~dxDevice8() override;
    dxDevice8(const dxDevice8&) = delete;
    dxDevice8& operator=(const dxDevice8&) = delete;

    // Prepares the shaders on the current context; false when it cannot.
    bool initialize();
    // Drops what Initialize made, while its context is still current.
    void release();
    [[nodiscard]] bool isInitialized() const { return program_ != nullptr; }

    void SetClearColor(std::int32_t red, std::int32_t green, std::int32_t blue);

    // Each polygon its own draw call, binding its texture: how the geometry was drawn before
    // batching, kept to measure batching against and to check that it gives the same picture.
    void setDrawPerPolygon(bool perPolygon) { drawPerPolygon_ = perPolygon; }
    // Draws faces as the game blends them (see-through texels, added colours); off gives the flat
    // picture in which every texel is opaque.
    void setShowTransparency(bool show) { showTransparency_ = show; }
    [[nodiscard]] bool showTransparency() const { return showTransparency_; }

    bool SupportsTextureFormat(preview::TextureFormat format) const override;
    std::unique_ptr<preview::VertexBuffer> CreateVertexBuffer(std::span<const std::byte> vertexBytes,
                                                              std::uint32_t vertexFormat, std::uint32_t stride,
                                                              std::span<const std::uint32_t> indices) override;
    std::unique_ptr<preview::PageTexture> CreatePageTexture(int width, int height, preview::TextureFormat format,
                                                            std::span<const std::uint8_t> bytes) override;
    std::int32_t ClearFrame(bool withDepth) override;
    void setProjection(const glm::mat4& matrix) override { projection = matrix; }
    void SetEye(float x, float y, float z) override;
    void SetLookAt(float x, float y, float z) override;
    std::int32_t drawBuffer(const preview::dxBufferTextura& mesh, const glm::mat4& world) override;

    std::int32_t clearRed = 0;
    std::int32_t clearGreen = 0;
    std::int32_t clearBlue = 0;
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::vec3 lookAt{0.0f};
    glm::vec3 eye{0.0f};

private:
    void updateView();
    // Fill and cull state of a polygon's render flags; D3D-style culling by on-screen winding.
    void applyRenderFlags(std::uint32_t flags);
    void bindTexture(const preview::PageTexture* texture);
    void applyBlending(preview::Blending blending);

    const dxMain& main_;
    std::unique_ptr<QOpenGLShaderProgram> program_;
    int transformLocation_ = -1;
    int texturedLocation_ = -1;
    int alphaTestLocation_ = -1;
    bool drawPerPolygon_ = false;
    bool showTransparency_ = true;
};

} // namespace veltrane::app
