#pragma once

#include "app/dialogs.h"

#include <QSize>
#include <QString>

#include <optional>

namespace veltrane::app {

class TForm1;

// Dialogs for a window that runs unattended: every dialog is cancelled and every message goes to
// the standard error stream.
class UnattendedDialogs : public Dialogs {
public:
    std::optional<QString> openFileName(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override { return std::nullopt; }
    // Nothing is changed unattended, so nothing is ever to be saved or confirmed.
    SaveChoice askSaveChanges(const QString&) override { return SaveChoice::Discard; }
    bool confirm(const QString&, const QString&) override { return false; }
    ConflictChoice askConflicts(const QString&) override { return ConflictChoice::Cancel; }
    void showNotice(const QString& text, const QString& title) override;
};

// An animation frame to pose the object on show at, for the picture.
struct ScreenshotPose {
    int animation = 0;
    int frame = 0;
};

// How the picture is taken: the pose of the object on show, the window's size (empty: as it is) and a
// text typed into the source moveables' filter box.
struct ScreenshotSetting {
    std::optional<ScreenshotPose> pose;
    QSize size;
    QString filter;
};

// Shows the window with its first source moveable on show (the first one the filter keeps; else its
// first target moveable) in the preview, as `setting` says, waits for the preview to draw it and saves
// a picture of the whole window to `file` (PNG).
bool saveScreenshot(TForm1& window, const QString& file, const ScreenshotSetting& setting = {});

} // namespace veltrane::app
