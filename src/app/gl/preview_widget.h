#pragma once

#include "app/gl/dx_device8.h"
#include "app/gl/dx_main.h"
#include "app/gl/preview_messages.h"
#include "preview/scene.h"

#include <QLabel>
#include <QOpenGLWidget>
#include <QString>

#include <memory>

namespace veltrane::app {

// The 3-D preview panel: it shows one object of the target or the source, textured and framed, and
// turns, zooms and pans it while the right mouse button drags over it; F or a double-click frames it
// again. A line over the bottom of the panel tells the object's figures. Frames are drawn on demand,
// after each change or input that alters the picture. The files' models belong to the caller and
// must outlive their use here.
class PreviewWidget : public QOpenGLWidget {
    Q_OBJECT

public:
    struct Options {
        // False makes the preview behave as on a device without 32-bit textures: the target is
        // shown from its 16-bit pages, after the notice "Se renderiza con 16 bits".
        bool allow32BitTextures = true;
        // Where notices go; null: a message box over this widget.
        PreviewMessages* messages = nullptr;
        // True draws every object about the file's origin at the start zoom instead of framing it.
        bool fixedCamera = false;
    };

    static constexpr int kDesignWidth = preview::PreviewScene::kDesignWidth;
    static constexpr int kDesignHeight = preview::PreviewScene::kDesignHeight;
    static inline const QString kSixteenBitNotice = QStringLiteral("Se renderiza con 16 bits");

    explicit PreviewWidget(QWidget* parent = nullptr);
    PreviewWidget(Options options, QWidget* parent = nullptr);
    ~PreviewWidget() override;

    // A target was opened (null: none): its textures and render meshes are made for the first frame
    // that shows one of its objects, from its 16-bit pages when 32-bit textures are unavailable, which
    // the notice says at once. A target object on show goes.
    void setTarget(const level::LevelDocument* target);
    // The target grew by a merge: textures, render meshes and render lists are made again.
    void targetChanged();
    // A source was opened (null: none).
    void setSource(const wad::LibraryDocument* source);

    // Shows one object alone, framed.
    void select(preview::PreviewSelection selection);
    void clearSelection();
    // Back to the view the object on show was first shown with.
    void fit();

    // The animations the moveable on show can play, each with its number of frames.
    [[nodiscard]] std::vector<std::uint32_t> animationFrameCounts() const { return scene_.animationFrameCounts(); }
    // Poses the moveable on show at a frame of one of its animations; a failure keeps the rest view
    // and says why.
    io::Status showAnimationFrame(std::uint32_t animation, std::uint32_t frame);
    void showRest();
    // Faces drawn as the game blends them (on at start), or the flat picture.
    void setShowTransparency(bool show);

    // The text of the "Spin Factor" box. A number becomes the spin factor; other text keeps the last
    // good factor and makes the factor invalid until a number is given.
    bool setSpinFactorText(const QString& text);
    [[nodiscard]] bool spinFactorValid() const { return scene_.factorValid(); }
    // "'<text>' is not a valid floating point value" while the text is invalid, else empty.
    [[nodiscard]] QString spinFactorMessage() const { return QString::fromStdString(scene_.factorError()); }

    [[nodiscard]] const preview::PreviewScene& scene() const { return scene_; }
    [[nodiscard]] const dxDevice8& device() const { return device_; }
    // The line over the bottom of the panel that tells the figures of the object on show; hidden while
    // nothing is on show. Objects are framed in what it leaves of the panel.
    [[nodiscard]] const QLabel& info() const { return *info_; }
    // Tells them again, as after the object's ID changed.
    void showInfo();
    // Frames drawn so far.
    [[nodiscard]] int frameCount() const { return frames_; }

signals:
    void spinFactorChanged(bool valid, const QString& message);
    // Another object went on show (or none): the animation shown is back to the rest view.
    void selectionChanged();

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The context is going away: everything made on it is dropped, to be made again on the next one.
    void contextLost();
    // A file was opened or changed: the next frame makes the textures and render meshes of the file
    // it shows, and the 16-bit notice goes out as soon as the device can tell.
    void filesChanged();
    void showSixteenBitNotice();

    Options options_;
    MessageBoxNotices messageBox_;
    dxMain main_;
    dxDevice8 device_;
    preview::PreviewScene scene_;
    QLabel* info_;
    int frames_ = 0;
};

} // namespace veltrane::app
