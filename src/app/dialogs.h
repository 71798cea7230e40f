#pragma once

#include "app/gl/preview_messages.h"

#include <QString>

#include <optional>

class QWidget;

namespace veltrane::app {

// Everything modal the window shows: file dialogs and message boxes. The window uses the real ones;
// tests put in their own, so that no test ever waits on a modal window.
class Dialogs : public PreviewMessages {
public:
    // The chosen file, or nothing when the user cancels. `filter` is in Qt's form: "Tomb Raider 4 (*.tr4)".
    virtual std::optional<QString> openFileName(const QString& title, const QString& filter) = 0;
    // `folder` is where the dialog starts.
    virtual std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& folder) = 0;

    // "Save changes to NAME?" before changes would be lost.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice askSaveChanges(const QString& name) = 0;
    // A question answered Yes (true) or No.
    virtual bool confirm(const QString& text, const QString& title) = 0;
    // What to do with ticked objects whose IDs the target already has; `text` lists them.
    enum class ConflictChoice { Replace, KeepBoth, Skip, Cancel };
    virtual ConflictChoice askConflicts(const QString& text) = 0;
};

// The desktop's file dialogs and modal message boxes with an OK button and no icon.
class WindowDialogs : public Dialogs {
public:
    explicit WindowDialogs(QWidget* parent) : parent_(parent), messageBox_(parent) {}

    std::optional<QString> openFileName(const QString& title, const QString& filter) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter, const QString& folder) override;
    SaveChoice askSaveChanges(const QString& name) override;
    bool confirm(const QString& text, const QString& title) override;
    ConflictChoice askConflicts(const QString& text) override;
    void showNotice(const QString& text, const QString& title) override;

private:
    QWidget* parent_;
    MessageBoxNotices messageBox_;
};

} // namespace veltrane::app
