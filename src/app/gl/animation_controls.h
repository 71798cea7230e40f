#pragma once

#include "app/gl/preview_widget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QObject>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <cstdint>
#include <vector>

namespace veltrane::app {

// The "Animation" selector, its play button and frame slider, and the "Show transparency" check box
// that sit by the preview. The selector lists "Rest" (every mesh at its mesh-tree offset) and each
// animation of the moveable on show; choosing one shows its first frame, the button plays it at the
// game's 30 frames a second, looping, and the slider scrubs through it. Another object on show goes
// back to "Rest". The widgets are made as children of `parent`, which lays them out.
class AnimationControls : public QObject {
    Q_OBJECT

public:
    static constexpr int kFramesPerSecond = 30;
    static inline const QString kRest = QStringLiteral("Rest");

    AnimationControls(PreviewWidget& preview, QWidget* parent);

    QComboBox* selector;
    QPushButton* play;
    QSlider* slider;
    QCheckBox* transparency;

    // Why the chosen animation shows "Rest" instead, or empty.
    [[nodiscard]] const QString& note() const { return note_; }
    [[nodiscard]] bool playing() const { return timer_.isActive(); }

private:
    // Lists the animations of the object now on show and goes back to "Rest".
    void refresh();
    void choose(int entry);
    void showFrame(int frame);
    void togglePlay();
    void advance();

    PreviewWidget& preview_;
    QTimer timer_;
    std::vector<std::uint32_t> frameCounts_;
    QString note_;
};

} // namespace veltrane::app
