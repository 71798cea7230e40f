#include "app/gl/animation_controls.h"

namespace veltrane::app {

AnimationControls::AnimationControls(PreviewWidget& preview, QWidget* parent)
    : QObject(parent), selector(new QComboBox(parent)), play(new QPushButton(QStringLiteral("Play"), parent)),
      slider(new QSlider(Qt::Horizontal, parent)), transparency(new QCheckBox(QStringLiteral("Show transparency"), parent)),
      preview_(preview) {
    selector->setObjectName(QStringLiteral("Animation"));
    selector->setToolTip(QStringLiteral("Animation"));
    transparency->setChecked(true);
    timer_.setInterval(1000 / kFramesPerSecond);
    connect(selector, &QComboBox::activated, this, &AnimationControls::choose);
    connect(play, &QPushButton::clicked, this, &AnimationControls::togglePlay);
    connect(slider, &QSlider::valueChanged, this, &AnimationControls::showFrame);
    connect(transparency, &QCheckBox::toggled, &preview_, &PreviewWidget::setShowTransparency);
    connect(&timer_, &QTimer::timeout, this, &AnimationControls::advance);
    connect(&preview_, &PreviewWidget::selectionChanged, this, &AnimationControls::refresh);
    refresh();
}

void AnimationControls::refresh() {
    timer_.stop();
    play->setText(QStringLiteral("Play"));
    frameCounts_ = preview_.animationFrameCounts();
    selector->clear();
    selector->addItem(kRest);
    for (std::size_t a = 0; a < frameCounts_.size(); ++a)
        selector->addItem(QStringLiteral("Anim %1 (%2 frames)").arg(a).arg(frameCounts_[a]));
    choose(0);
}

void AnimationControls::choose(int entry) {
    timer_.stop();
    play->setText(QStringLiteral("Play"));
    selector->setCurrentIndex(entry);
    const bool animated = entry > 0 && frameCounts_[static_cast<std::size_t>(entry - 1)] > 0;
    {
        const QSignalBlocker quiet(slider);
        slider->setRange(0, animated ? static_cast<int>(frameCounts_[static_cast<std::size_t>(entry - 1)]) - 1 : 0);
        slider->setValue(0);
    }
    slider->setEnabled(animated);
    play->setEnabled(animated);
    note_.clear();
    if (entry > 0)
        showFrame(0);
    else
        preview_.showRest();
    selector->setToolTip(note_.isEmpty() ? QStringLiteral("Animation") : note_);
}

void AnimationControls::showFrame(int frame) {
    const int entry = selector->currentIndex();
    if (entry <= 0)
        return;
    const auto shown = preview_.showAnimationFrame(static_cast<std::uint32_t>(entry - 1), static_cast<std::uint32_t>(frame));
    if (shown)
        return;
    // The frame data cannot give a pose: back to "Rest", saying why.
    note_ = QStringLiteral("Anim %1: %2").arg(entry - 1).arg(QString::fromStdString(shown.error()));
    timer_.stop();
    play->setText(QStringLiteral("Play"));
    selector->setCurrentIndex(0);
    slider->setEnabled(false);
    play->setEnabled(false);
    preview_.showRest();
    selector->setToolTip(note_);
}

void AnimationControls::togglePlay() {
    if (timer_.isActive()) {
        timer_.stop();
        play->setText(QStringLiteral("Play"));
    } else if (selector->currentIndex() > 0) {
        timer_.start();
        play->setText(QStringLiteral("Stop"));
    }
}

void AnimationControls::advance() {
    slider->setValue(slider->value() >= slider->maximum() ? 0 : slider->value() + 1);
}

} // namespace veltrane::app
