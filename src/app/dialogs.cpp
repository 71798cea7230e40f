#include "app/dialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace veltrane::app {
namespace {

std::optional<QString> chosen(const QString& name) {
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

} // namespace

std::optional<QString> WindowDialogs::openFileName(const QString& title, const QString& filter) {
    return chosen(QFileDialog::getOpenFileName(parent_, title, QString(), filter));
}

std::optional<QString> WindowDialogs::saveFileName(const QString& title, const QString& filter) {
    // No suffix is added: the level is written under exactly the name the user typed.
    return chosen(QFileDialog::getSaveFileName(parent_, title, QString(), filter));
}

void WindowDialogs::showNotice(const QString& text, const QString& title) {
    // A message that comes while the window is busy still gets the ordinary pointer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    messageBox_.showNotice(text, title);
    QApplication::restoreOverrideCursor();
}

} // namespace veltrane::app
