#include "app/gl/dx_device8.h"

#include "preview/d3d_matrix.h"
#include "preview/polygons.h"
#include "preview/render_mesh.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>

namespace veltrane::app {
namespace {

using preview::E_FAIL;

constexpr const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 texCoord;
uniform mat4 transform;
out vec2 uv;
void main() {
    uv = texCoord;
    gl_Position = transform * vec4(position, 1.0);
}
)";

// The colour is the texel's alone: no lighting, no vertex colour. A polygon without a texture shows
// white, the colour of a vertex that has none. An alpha-tested face has holes where its texels'
// alpha is 0.
constexpr const char* kFragmentShader = R"(#version 330 core
in vec2 uv;
uniform sampler2D page;
uniform bool textured;
uniform bool alphaTest;
out vec4 colour;
void main() {
    vec4 texel = textured ? texture(page, uv) : vec4(1.0);
    if (alphaTest && texel.a < 0.5)
        discard;
    colour = vec4(texel.rgb, 1.0);
}
)";

// OpenGL objects are deleted on the context that made them, when it is current; a context that is
// gone has taken its objects with it.
class GlVertexBuffer : public preview::VertexBuffer {
public:
    GlVertexBuffer() : context_(QOpenGLContext::currentContext()) {
        QOpenGLExtraFunctions* gl = context_->extraFunctions();
        gl->glGenVertexArrays(1, &vertexArray);
        gl->glGenBuffers(1, &vertices);
        gl->glGenBuffers(1, &indices);
    }
    ~GlVertexBuffer() override {
        if (QOpenGLContext::currentContext() != context_)
            return;
        QOpenGLExtraFunctions* gl = context_->extraFunctions();
        gl->glDeleteVertexArrays(1, &vertexArray);
        gl->glDeleteBuffers(1, &vertices);
        gl->glDeleteBuffers(1, &indices);
    }
    GLuint vertexArray = 0;
    GLuint vertices = 0;
    GLuint indices = 0;

private:
    QOpenGLContext* context_;
};

class GlPageTexture : public preview::PageTexture {
public:
    GlPageTexture() : context_(QOpenGLContext::currentContext()) { context_->functions()->glGenTextures(1, &id); }
    ~GlPageTexture() override {
        if (QOpenGLContext::currentContext() == context_)
            context_->functions()->glDeleteTextures(1, &id);
    }
    GLuint id = 0;

private:
    QOpenGLContext* context_;
};

GLsizeiptr byteSize(std::size_t bytes) { return static_cast<GLsizeiptr>(bytes); }

} // namespace

dxDevice8::~dxDevice8() = default;

bool dxDevice8::initialize() {
    if (QOpenGLContext::currentContext() == nullptr || !initializeOpenGLFunctions())
        return false;
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, kVertexShader) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, kFragmentShader) || !program->link())
        return false;
    program_ = std::move(program);
    transformLocation_ = program_->uniformLocation("transform");
    texturedLocation_ = program_->uniformLocation("textured");
    alphaTestLocation_ = program_->uniformLocation("alphaTest");
    program_->bind();
    program_->setUniformValue("page", 0);
    return true;
}

void dxDevice8::release() { program_.reset(); }

void dxDevice8::SetClearColor(std::int32_t red, std::int32_t green, std::int32_t blue) {
    clearRed = red;
    clearGreen = green;
    clearBlue = blue;
}

void dxDevice8::SetEye(float x, float y, float z) {
    eye = {x, y, z};
    updateView();
}

void dxDevice8::SetLookAt(float x, float y, float z) {
    lookAt = {x, y, z};
    updateView();
}

void dxDevice8::updateView() { view = preview::MatrixLookAtLH(eye, lookAt, {0.0f, 1.0f, 0.0f}); }

bool dxDevice8::SupportsTextureFormat(preview::TextureFormat format) const {
    return main_.SupportsTextureFormat(format);
}

std::unique_ptr<preview::VertexBuffer> dxDevice8::CreateVertexBuffer(std::span<const std::byte> vertexBytes,
                                                                     std::uint32_t vertexFormat, std::uint32_t stride,
                                                                     std::span<const std::uint32_t> indices) {
    if (!isInitialized() || vertexFormat != preview::kFormatTextured || stride != sizeof(preview::RenderVertex))
        return nullptr;
    while (glGetError() != GL_NO_ERROR) {
    }
    auto buffer = std::make_unique<GlVertexBuffer>();
    glBindVertexArray(buffer->vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer->vertices);
    glBufferData(GL_ARRAY_BUFFER, byteSize(vertexBytes.size()), vertexBytes.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer->indices);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, byteSize(indices.size_bytes()), indices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, static_cast<GLsizei>(stride),
                          reinterpret_cast<const void*>(offsetof(preview::RenderVertex, u)));
    glBindVertexArray(0);
    if (glGetError() != GL_NO_ERROR)
        return nullptr;
    return buffer;
}

std::unique_ptr<preview::PageTexture> dxDevice8::CreatePageTexture(int width, int height, preview::TextureFormat format,
                                                                   std::span<const std::uint8_t> bytes) {
    if (!isInitialized())
        return nullptr;
    while (glGetError() != GL_NO_ERROR) {
    }
    auto texture = std::make_unique<GlPageTexture>();
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    // Page bytes go in as they stand: B, G, R, A a texel, or a 16-bit word with red in bits 10 to 14,
    // green in 5 to 9 and blue in 0 to 4, whose top bit no texture format here reads.
    if (format == preview::TextureFormat::A8R8G8B8)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, bytes.data());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB5, width, height, 0, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV, bytes.data());
    // Only the top level is filled and sampled.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (glGetError() != GL_NO_ERROR)
        return nullptr;
    return texture;
}

std::int32_t dxDevice8::ClearFrame(bool withDepth) {
    glClearColor(static_cast<float>(clearRed & 255) / 255.0f, static_cast<float>(clearGreen & 255) / 255.0f,
                 static_cast<float>(clearBlue & 255) / 255.0f, 1.0f);
    glClearDepth(1.0);
    glClearStencil(0);
    glDepthMask(GL_TRUE);
    // The depth buffer shares its words with a stencil that nothing uses: clearing both writes whole
    // words, where clearing the depth alone has to keep the stencil's bits of every one.
    glClear(GL_COLOR_BUFFER_BIT | (withDepth ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : 0));
    return 0;
}

void dxDevice8::applyRenderFlags(std::uint32_t flags) {
    glPolygonMode(GL_FRONT_AND_BACK, (flags & preview::kFlagWireframe) ? GL_LINE : GL_FILL);
    // Windings are those seen on the screen; front faces are counter-clockwise ones.
    glFrontFace(GL_CCW);
    if (flags & preview::kFlagCullCounterClockwise) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
    } else if (flags & preview::kFlagCullClockwise) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    } else {
        glDisable(GL_CULL_FACE);
    }
}

void dxDevice8::applyBlending(preview::Blending blending) {
    const bool additive = showTransparency_ && blending == preview::Blending::Additive;
    glUniform1i(alphaTestLocation_, showTransparency_ && blending == preview::Blending::AlphaTest ? 1 : 0);
    if (additive) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
    } else {
        glDisable(GL_BLEND);
    }
    glDepthMask(additive ? GL_FALSE : GL_TRUE);
}

void dxDevice8::bindTexture(const preview::PageTexture* texture) {
    const auto* page = dynamic_cast<const GlPageTexture*>(texture);
    glUniform1i(texturedLocation_, page != nullptr ? 1 : 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, page != nullptr ? page->id : 0);
}

std::int32_t dxDevice8::drawBuffer(const preview::dxBufferTextura& mesh, const glm::mat4& world) {
    const auto* buffer = dynamic_cast<const GlVertexBuffer*>(mesh.vertexBuffer.get());
    if (!isInitialized() || buffer == nullptr)
        return E_FAIL;
    program_->bind();
    const glm::mat4 transform = preview::MatrixMultiply(preview::MatrixMultiply(world, view), projection);
    glUniformMatrix4fv(transformLocation_, 1, GL_FALSE, &transform[0][0]);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_BLEND);
    glBindVertexArray(buffer->vertexArray);
    if (drawPerPolygon_) {
        GLint start = 0;
        for (std::size_t i = 0; i < mesh.polygonFlags.size(); ++i) {
            const std::uint32_t flags = mesh.polygonFlags[i];
            applyRenderFlags(flags);
            applyBlending(i < mesh.polygonBlending.size() ? mesh.polygonBlending[i] : preview::Blending::Opaque);
            bindTexture((flags & preview::kFlagTextured) ? mesh.polygonTextures[i] : nullptr);
            const bool strip = (flags & preview::kFlagStrip) != 0;
            glDrawArrays(strip ? GL_TRIANGLE_STRIP : GL_TRIANGLES, start, strip ? 4 : 3);
            start += strip ? 4 : 3;
        }
    } else {
        // Added colours go last, over everything the mesh hides behind them.
        for (const bool additivePass : {false, true}) {
            for (const preview::DrawBatch& batch : mesh.drawBatches) {
                if ((batch.blending == preview::Blending::Additive) != additivePass)
                    continue;
                applyRenderFlags(batch.flags);
                applyBlending(batch.blending);
                bindTexture(batch.texture);
                glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(batch.indexCount), GL_UNSIGNED_INT,
                               reinterpret_cast<const void*>(std::uintptr_t{batch.firstIndex} * sizeof(std::uint32_t)));
            }
        }
    }
    applyBlending(preview::Blending::Opaque);
    glBindVertexArray(0);
    return 0;
}

} // namespace veltrane::app
