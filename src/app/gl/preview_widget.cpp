#include "app/gl/preview_widget.h"

#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

namespace veltrane::app {
namespace {

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
    [[nodiscard]] bool active() const { return active_; }

private:
    QOpenGLWidget& widget_;
    bool active_;
};

} // namespace

PreviewWidget::PreviewWidget(QWidget* parent) : PreviewWidget(Options{}, parent) {}

PreviewWidget::PreviewWidget(Options options, QWidget* parent)
    : QOpenGLWidget(parent), options_(options), messageBox_(this), main_(options.allow32BitTextures), device_(main_),
      info_(new QLabel(this)) {
    setFormat(dxMain::surfaceFormat());
    setFocusPolicy(Qt::ClickFocus);
    resize(kDesignWidth, kDesignHeight);
    device_.SetClearColor(255, 0, 255);
    scene_.setFixedCamera(options.fixedCamera);
    info_->setObjectName(QStringLiteral("PreviewInfo"));
    info_->setWordWrap(true);
    info_->setAttribute(Qt::WA_TransparentForMouseEvents); // drags over the line still reach the panel
    info_->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 150); color: white; padding: 2px 4px;"));
    info_->hide();
    connect(this, &PreviewWidget::selectionChanged, this, &PreviewWidget::showInfo);
}

PreviewWidget::~PreviewWidget() {
    if (context() != nullptr)
        disconnect(context(), nullptr, this, nullptr);
    ContextScope current(*this);
    scene_.releaseDeviceObjects();
    device_.release();
}

void PreviewWidget::setTarget(const level::LevelDocument* target) {
    {
        ContextScope current(*this); // the old target's textures and buffers go on their context
        scene_.setTarget(target);
    }
    filesChanged();
}

void PreviewWidget::targetChanged() {
    scene_.targetChanged();
    filesChanged();
}

void PreviewWidget::setSource(const wad::LibraryDocument* source) {
    {
        ContextScope current(*this);
        scene_.setSource(source);
    }
    filesChanged();
}

void PreviewWidget::select(preview::PreviewSelection selection) {
    scene_.select(selection);
    showInfo(); // the line's height is part of the framing
    scene_.fit();
    update();
    emit selectionChanged();
}

void PreviewWidget::clearSelection() {
    scene_.clearSelection();
    update();
    emit selectionChanged();
}

void PreviewWidget::fit() {
    scene_.fit();
    update();
}

void PreviewWidget::showInfo() {
    const auto shown = scene_.shownInfo();
    info_->setText(shown ? QString::fromStdString(preview::infoText(*shown)) : QString());
    info_->setVisible(shown.has_value());
    const int covered = shown ? info_->heightForWidth(width()) : 0;
    info_->setGeometry(0, height() - covered, width(), covered);
    scene_.setViewport(width(), height(), covered);
    update();
}

io::Status PreviewWidget::showAnimationFrame(std::uint32_t animation, std::uint32_t frame) {
    auto shown = scene_.showAnimationFrame(animation, frame);
    update();
    return shown;
}

void PreviewWidget::showRest() {
    scene_.showRest();
    update();
}

void PreviewWidget::setShowTransparency(bool show) {
    device_.setShowTransparency(show);
    update();
}

bool PreviewWidget::setSpinFactorText(const QString& text) {
    const bool wasValid = scene_.factorValid();
    const std::string oldError = scene_.factorError();
    const bool valid = scene_.setFactorText(text.toStdString());
    if (valid != wasValid || scene_.factorError() != oldError)
        emit spinFactorChanged(valid, spinFactorMessage());
    return valid;
}

void PreviewWidget::filesChanged() {
    update();
    // Without a device yet, the notice waits for the context.
    if (device_.isInitialized() && scene_.takeSixteenBitNotice(device_))
        showSixteenBitNotice();
    emit selectionChanged();
}

void PreviewWidget::showSixteenBitNotice() {
    PreviewMessages& messages = options_.messages != nullptr ? *options_.messages : messageBox_;
    messages.showNotice(kSixteenBitNotice, QString());
}

void PreviewWidget::initializeGL() {
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &PreviewWidget::contextLost, Qt::DirectConnection);
    if (!device_.initialize())
        return; // no OpenGL 3.3: the panel stays blank
    // The context is current here; the notice waits until the widget is done initialising.
    if (scene_.takeSixteenBitNotice(device_))
        QMetaObject::invokeMethod(this, &PreviewWidget::showSixteenBitNotice, Qt::QueuedConnection);
}

void PreviewWidget::contextLost() {
    makeCurrent();
    scene_.releaseDeviceObjects();
    device_.release();
    doneCurrent();
    // As after a device reset, frames clear to white from now on.
    device_.SetClearColor(255, 255, 255);
}

void PreviewWidget::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
    showInfo();
}

void PreviewWidget::paintGL() {
    if (!device_.isInitialized())
        return;
    ++frames_;
    scene_.buildShownDeviceObjects(device_);
    scene_.drawFrame(device_);
}

void PreviewWidget::mouseMoveEvent(QMouseEvent* event) {
    const preview::MouseState state{(event->buttons() & Qt::RightButton) != 0,
                                    (event->modifiers() & Qt::ControlModifier) != 0,
                                    (event->modifiers() & Qt::ShiftModifier) != 0};
    const QPoint at = event->position().toPoint();
    scene_.mouseMove(state, at.x(), at.y());
    if (state.rightButton)
        update();
}

void PreviewWidget::mouseReleaseEvent(QMouseEvent*) { scene_.mouseUp(); }

void PreviewWidget::mouseDoubleClickEvent(QMouseEvent*) { fit(); }

void PreviewWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F && event->modifiers() == Qt::NoModifier)
        fit();
    else
        QOpenGLWidget::keyPressEvent(event);
}

void PreviewWidget::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    scene_.mouseWheel(static_cast<float>(delta) / kWheelNotch);
    update();
    event->accept();
}

} // namespace veltrane::app
