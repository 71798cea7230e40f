#pragma once

#include "app/dialogs.h"

#include <QString>

namespace veltrane::app {

class TForm1;

// Dialogs for a window that runs unattended: every dialog is cancelled and every message goes to
// the standard error stream.
class UnattendedDialogs : public Dialogs {
public:
    std::optional<QString> OpenFileName(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFileName(const QString&, const QString&) override { return std::nullopt; }
    void ShowNotice(const QString& text, const QString& title) override;
};

// Shows the window with its first source moveable (else its first target moveable) in the preview,
// waits for the preview to draw it and saves a picture of the whole window to `file` (PNG).
bool SaveScreenshot(TForm1& window, const QString& file);

} // namespace veltrane::app
