#include "app/guarded_application.h"

#include <QMessageBox>

#include <exception>
#include <new>

namespace veltrane::app {
namespace {

void report(const QString& text) {
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"), text);
    QApplication::restoreOverrideCursor();
}

} // namespace

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        report(QStringLiteral("Not enough memory to finish the command."));
    } catch (const std::exception& error) {
        report(QStringLiteral("The command stopped: %1").arg(QString::fromLocal8Bit(error.what())));
    }
    return false;
}

} // namespace veltrane::app
