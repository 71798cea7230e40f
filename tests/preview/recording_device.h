#pragma once

#include "preview/render_device.h"
#include "preview/render_mesh.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <memory>
#include <string>
#include <vector>

namespace veltrane::preview::testing {

struct RecordedTexture : PageTexture {
    TextureFormat format{};
    std::vector<std::uint8_t> bytes;
};

struct RecordedBuffer : VertexBuffer {
    std::vector<std::byte> vertices;
    std::uint32_t format = 0;
    std::uint32_t stride = 0;
};

// A device that keeps what it is given and what it is asked to draw, in order.
class RecordingDevice : public RenderDevice {
public:
    struct DrawCall {
        const dxBufferTextura* mesh;
        glm::mat4 world;
    };

    bool SupportsTextureFormat(TextureFormat format) const override { return format != TextureFormat::A8R8G8B8 || supports32; }
    std::unique_ptr<VertexBuffer> CreateVertexBuffer(std::span<const std::byte> vertexBytes, std::uint32_t vertexFormat,
                                                     std::uint32_t stride, std::span<const std::uint32_t>) override {
        ++buffersAsked;
        if (refuseBuffers)
            return nullptr;
        auto buffer = std::make_unique<RecordedBuffer>();
        buffer->vertices.assign(vertexBytes.begin(), vertexBytes.end());
        buffer->format = vertexFormat;
        buffer->stride = stride;
        return buffer;
    }
    std::unique_ptr<PageTexture> CreatePageTexture(int, int, TextureFormat format, std::span<const std::uint8_t> bytes) override {
        auto texture = std::make_unique<RecordedTexture>();
        texture->format = format;
        texture->bytes.assign(bytes.begin(), bytes.end());
        return texture;
    }
    std::int32_t ClearFrame(bool) override {
        log.push_back("clear");
        return 0;
    }
    void setProjection(const glm::mat4& matrix) override { projection = matrix; }
    void SetEye(float x, float y, float z) override { eye = {x, y, z}; }
    void SetLookAt(float x, float y, float z) override { lookAt = {x, y, z}; }
    std::int32_t drawBuffer(const dxBufferTextura& mesh, const glm::mat4& world) override {
        draws.push_back({&mesh, world});
        log.push_back("draw");
        return 0;
    }

    bool supports32 = true;
    bool refuseBuffers = false;
    int buffersAsked = 0;
    glm::mat4 projection{1.0f};
    glm::vec3 eye{}, lookAt{};
    std::vector<DrawCall> draws;
    std::vector<std::string> log;
};

} // namespace veltrane::preview::testing
