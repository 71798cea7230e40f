#include "app/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

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

std::optional<QString> WindowDialogs::saveFileName(const QString& title, const QString& filter, const QString& folder) {
    return chosen(QFileDialog::getSaveFileName(parent_, title, folder, filter));
}

Dialogs::SaveChoice WindowDialogs::askSaveChanges(const QString& name) {
    const auto answer = QMessageBox::question(parent_, QStringLiteral("Veltrane"),
                                              QStringLiteral("Save changes to %1?").arg(name),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return SaveChoice::Save;
    return answer == QMessageBox::Discard ? SaveChoice::Discard : SaveChoice::Cancel;
}

bool WindowDialogs::confirm(const QString& text, const QString& title) {
    return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

Dialogs::ConflictChoice WindowDialogs::askConflicts(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Veltrane"), text, QMessageBox::NoButton, parent_);
    const std::pair<const char*, ConflictChoice> buttons[] = {{"Replace", ConflictChoice::Replace},
                                                              {"Keep both", ConflictChoice::KeepBoth},
                                                              {"Skip those", ConflictChoice::Skip}};
    std::vector<std::pair<QAbstractButton*, ConflictChoice>> choices;
    for (const auto& [label, choice] : buttons)
        choices.emplace_back(box.addButton(QString::fromLatin1(label), QMessageBox::AcceptRole), choice);
    box.setDefaultButton(static_cast<QPushButton*>(choices[1].first));
    box.setEscapeButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    for (const auto& [button, choice] : choices)
        if (box.clickedButton() == button)
            return choice;
    return ConflictChoice::Cancel;
}

void WindowDialogs::showNotice(const QString& text, const QString& title) {
    // A message that comes while the window is busy still gets the ordinary pointer.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    messageBox_.showNotice(text, title);
    QApplication::restoreOverrideCursor();
}

} // namespace veltrane::app
