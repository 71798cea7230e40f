#pragma once

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <memory>
#include <span>

namespace veltrane::preview {

class dxBufferTextura;

// Preview operations answer 0 for success and this for failure.
constexpr std::int32_t E_FAIL = static_cast<std::int32_t>(0x80004005);

// A vertex of a textured render mesh, 20 bytes: a preview position and texture coordinates.
struct RenderVertex {
    float x = 0, y = 0, z = 0;
    float u = 0, v = 0;
    bool operator==(const RenderVertex&) const = default;
};
static_assert(sizeof(RenderVertex) == 20);

// A vertex of a colour polygon, 16 bytes: a position and a colour word.
struct ColourVertex {
    float x = 0, y = 0, z = 0;
    std::uint32_t colour = 0;
    bool operator==(const ColourVertex&) const = default;
};
static_assert(sizeof(ColourVertex) == 16);

// Vertex format codes as the device knows them.
constexpr std::uint32_t kFormatColour = 0x42;    // position and colour word, 16 bytes
constexpr std::uint32_t kFormatTextured = 0x102; // position and one texture coordinate pair, 20 bytes

// Page texture formats: 32 bits a texel as B, G, R, A bytes, or 16 bits a texel with bit 15 ignored
// and 5 bits each of red (10 to 14), green (5 to 9) and blue (0 to 4).
enum class TextureFormat : std::uint32_t { A8R8G8B8 = 21, X1R5G5B5 = 24 };

// A texture made by a device. Polygons refer to it without owning it.
class PageTexture {
public:
    virtual ~PageTexture() = default;
};

// Vertices uploaded to a device, with the order in which they are drawn page by page.
class VertexBuffer {
public:
    virtual ~VertexBuffer() = default;
};

// How the game draws a face's texels, for the preview's transparency (kept apart from the render flags).
enum class Blending : std::uint8_t {
    Opaque,
    AlphaTest, // texels whose alpha is 0 are holes
    Additive,  // the face's colour is added to what lies behind it
};

// The polygons of one render mesh that share a texture, render flags and blending, drawn with one
// call: `indexCount` entries of the mesh's index list from `firstIndex` on, three a triangle.
struct DrawBatch {
    const PageTexture* texture = nullptr;
    std::uint32_t flags = 0;
    std::uint32_t firstIndex = 0;
    std::uint32_t indexCount = 0;
    Blending blending = Blending::Opaque;
    bool operator==(const DrawBatch&) const = default;
};

// What the preview geometry needs from a 3-D device. The OpenGL preview implements it; tests use a
// recording stand-in, so everything built on it works without a display.
class RenderDevice {
public:
    virtual ~RenderDevice() = default;

    // Whether the device can make textures of the format.
    [[nodiscard]] virtual bool SupportsTextureFormat(TextureFormat format) const = 0;

    // Uploads `vertexBytes` (vertices of `stride` bytes in `vertexFormat`) and the triangle index list
    // that draws them batch by batch. Null when the device cannot make the buffer.
    virtual std::unique_ptr<VertexBuffer> CreateVertexBuffer(std::span<const std::byte> vertexBytes,
                                                             std::uint32_t vertexFormat, std::uint32_t stride,
                                                             std::span<const std::uint32_t> indices) = 0;
    // A texture of width x height texels filled from `bytes`, or null when it cannot be made
    // (also when `bytes` holds fewer than a whole texture).
    virtual std::unique_ptr<PageTexture> CreatePageTexture(int width, int height, TextureFormat format,
                                                           std::span<const std::uint8_t> bytes) = 0;
    // Clears the target to the clear colour, and the depth buffer when asked.
    virtual std::int32_t ClearFrame(bool withDepth) = 0;
    // The projection from the camera's space to clip space (a matrix in row-vector form).
    virtual void setProjection(const glm::mat4& projection) = 0;
    virtual void SetEye(float x, float y, float z) = 0;
    virtual void SetLookAt(float x, float y, float z) = 0;
    // Draws a render mesh under `world` (a matrix in row-vector form).
    virtual std::int32_t drawBuffer(const dxBufferTextura& mesh, const glm::mat4& world) = 0;
};

} // namespace veltrane::preview
