#include "app/gl/preview_widget.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

#include <numbers>

namespace veltrane::app {
namespace {

constexpr float kFieldOfView = std::numbers::pi_v<float> / 4;
constexpr float kNearPlane = 1.0f;
constexpr float kFarPlane = 3000.0f;
constexpr int kWheelNotch = 120; // angle-delta units of one wheel notch

// Makes the widget's context current for the scope, when it has one.
class ContextScope {
public:
    explicit ContextScope(QOpenGLWidget& widget) : widget_(widget), active_(widget.isValid()) {
        if (active_)
            widget_.makeCurrent();
    }
    ~ContextScope() {
        if (active_)
            widget_.doneCurrent();
    }
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;
    [[nodiscard]] bool Active() const { return active_; }

private:
    QOpenGLWidget& widget_;
    bool active_;
};

} // namespace

PreviewWidget::PreviewWidget(QWidget* parent) : PreviewWidget(Options{}, parent) {}

PreviewWidget::PreviewWidget(Options options, QWidget* parent)
    : QOpenGLWidget(parent), options_(options), messageBox_(this), main_(options.allow32BitTextures), device_(main_) {
    setFormat(dxMain::SurfaceFormat());
    resize(kDesignWidth, kDesignHeight);
    device_.SetClearColor(255, 0, 255);
}

PreviewWidget::~PreviewWidget() {
    if (context() != nullptr)
        disconnect(context(), nullptr, this, nullptr);
    ContextScope current(*this);
    scene_.ReleaseDeviceObjects();
    device_.Release();
}

void PreviewWidget::SetTarget(const level::Tr4Level* level, const level::Lista_Mesh* meshes) {
    {
        ContextScope current(*this); // the old target's textures and buffers go on their context
        scene_.SetTarget(level, meshes);
    }
    BuildDeviceObjects(true);
    emit selectionChanged();
}

void PreviewWidget::TargetChanged() {
    scene_.TargetChanged();
    BuildDeviceObjects(true);
    emit selectionChanged();
}

void PreviewWidget::SetSource(const level::Tr4Level* pages, const wad::WadLibrary* library,
                              const level::Lista_Mesh* meshes) {
    {
        ContextScope current(*this);
        scene_.SetSource(pages, library, meshes);
    }
    BuildDeviceObjects(true);
    emit selectionChanged();
}

void PreviewWidget::Select(preview::PreviewSelection selection) {
    scene_.Select(selection);
    update();
    emit selectionChanged();
}

void PreviewWidget::ClearSelection() {
    scene_.ClearSelection();
    update();
    emit selectionChanged();
}

io::Status PreviewWidget::ShowAnimationFrame(std::uint32_t animation, std::uint32_t frame) {
    auto shown = scene_.ShowAnimationFrame(animation, frame);
    update();
    return shown;
}

void PreviewWidget::ShowRest() {
    scene_.ShowRest();
    update();
}

void PreviewWidget::SetShowTransparency(bool show) {
    device_.SetShowTransparency(show);
    update();
}

bool PreviewWidget::SetSpinFactorText(const QString& text) {
    const bool wasValid = scene_.FactorValid();
    const std::string oldError = scene_.FactorError();
    const bool valid = scene_.SetFactorText(text.toStdString());
    if (valid != wasValid || scene_.FactorError() != oldError)
        emit spinFactorChanged(valid, SpinFactorMessage());
    return valid;
}

void PreviewWidget::BuildDeviceObjects(bool noticeNow) {
    bool noticeDue = false;
    {
        ContextScope current(*this);
        if (!current.Active() || !device_.IsInitialized())
            return; // made once the context is ready
        noticeDue = scene_.BuildDeviceObjects(device_);
    }
    update();
    if (noticeDue && noticeNow)
        ShowSixteenBitNotice();
    else if (noticeDue)
        QMetaObject::invokeMethod(this, &PreviewWidget::ShowSixteenBitNotice, Qt::QueuedConnection);
}

void PreviewWidget::ShowSixteenBitNotice() {
    PreviewMessages& messages = options_.messages != nullptr ? *options_.messages : messageBox_;
    messages.ShowNotice(kSixteenBitNotice, QString());
}

void PreviewWidget::initializeGL() {
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &PreviewWidget::ContextLost, Qt::DirectConnection);
    if (!device_.Initialize())
        return; // no OpenGL 3.3: the panel stays blank
    device_.SetProjection(kNearPlane, kFarPlane, aspect_, kFieldOfView);
    device_.SetEye(0, 0, preview::kEyeZ);
    device_.SetLookAt(0, 0, 0);
    // The context is current here; the notice waits until the widget is done initialising.
    if (scene_.BuildDeviceObjects(device_))
        QMetaObject::invokeMethod(this, &PreviewWidget::ShowSixteenBitNotice, Qt::QueuedConnection);
}

void PreviewWidget::ContextLost() {
    makeCurrent();
    scene_.ReleaseDeviceObjects();
    device_.Release();
    doneCurrent();
    // As after a device reset, frames clear to white from now on.
    device_.SetClearColor(255, 255, 255);
}

void PreviewWidget::resizeGL(int width, int height) {
    if (width <= 0 || height <= 0)
        return; // nothing to show; keep the last aspect ratio
    aspect_ = static_cast<float>(width) / static_cast<float>(height);
    device_.SetProjection(kNearPlane, kFarPlane, aspect_, kFieldOfView);
}

void PreviewWidget::paintGL() {
    if (!device_.IsInitialized())
        return;
    ++frames_;
    scene_.DrawFrame(device_);
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event) {
    const preview::MouseState state{(event->buttons() & Qt::RightButton) != 0,
                                    (event->modifiers() & Qt::ControlModifier) != 0,
                                    (event->modifiers() & Qt::ShiftModifier) != 0};
    const QPoint at = event->position().toPoint();
    preview::Panel1MouseMove(scene_.spin, scene_.view, state, at.x(), at.y());
    if (state.rightButton)
        update();
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent*) { preview::Panel1MouseUp(scene_.spin); }

void PreviewWidget::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    preview::Panel1MouseWheel(scene_.spin, scene_.view, static_cast<float>(delta) / kWheelNotch);
    update();
    event->accept();
}

} // namespace veltrane::app
