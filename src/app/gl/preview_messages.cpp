#include "app/gl/preview_messages.h"

#include <QMessageBox>

namespace veltrane::app {

void MessageBoxNotices::showNotice(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace veltrane::app
