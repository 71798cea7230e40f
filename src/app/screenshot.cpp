#include "app/screenshot.h"

#include "app/tform1.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QThread>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace veltrane::app {
namespace {

constexpr int kPatienceMs = 10000;

// Runs the event loop until `done` holds or the patience runs out.
bool waitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(kPatienceMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

} // namespace

void UnattendedDialogs::showNotice(const QString& text, const QString& title) {
    std::fprintf(stderr, "%s%s%s\n", qPrintable(title), title.isEmpty() ? "" : ": ", qPrintable(text));
}

bool saveScreenshot(TForm1& window, const QString& file, const ScreenshotSetting& setting) {
    if (!setting.size.isEmpty())
        window.resize(setting.size);
    window.show();
    if (!waitFor([&] { return window.windowHandle() != nullptr && window.windowHandle()->isExposed(); }))
        return false;
    window.CheckListBox1Filter->setText(setting.filter);
    int first = 0;
    while (first < window.CheckListBox1->count() && window.CheckListBox1->isRowHidden(first))
        ++first;
    if (first < window.CheckListBox1->count()) {
        window.CheckListBox1->setCurrentRow(first);
        window.CheckListBox1Click();
    } else if (window.ListBox1->count() > 0) {
        window.ListBox1->setCurrentRow(0);
        window.ListBox1Click();
    }
    if (setting.pose) {
        emit window.Animation->selector->activated(setting.pose->animation + 1);
        window.Animation->slider->setValue(setting.pose->frame);
    }
    const int drawn = window.Panel1->frameCount();
    window.Panel1->update();
    if (!waitFor([&] { return window.Panel1->frameCount() > drawn; }))
        return false;
    return window.grab().save(file, "PNG");
}

} // namespace veltrane::app
