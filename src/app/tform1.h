#pragma once

#include "app/dialogs.h"
#include "app/gl/animation_controls.h"
#include "app/gl/preview_widget.h"
#include "app/recent_files.h"
#include "level/document_step.h"
#include "level/level_document.h"
#include "wad/library_document.h"

#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QUndoStack;

namespace veltrane::app {

// The main window: the target level and the source library, their object lists, the preview panel,
// and the commands that open, merge, change and save.
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    struct Options {
        // Where dialogs and messages go; null: the desktop's dialogs and message boxes.
        Dialogs* dialogs = nullptr;
        // False makes the preview behave as on a device without 32-bit textures.
        bool allow32BitTextures = true;
        // Where the recent files are kept; empty: the user's own settings of the program.
        QString settingsFile;
    };

    static inline const QString kCaption = QStringLiteral("Veltrane Beta Version");

    explicit TForm1(QWidget* parent = nullptr);
    explicit TForm1(Options options, QWidget* parent = nullptr);
    ~TForm1() override;

    // File menu.
    void Open1Click();
    void Open2Click();
    // Save writes the target back to the file it came from; Save As to a file the user names, which the
    // target then belongs to.
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void About1Click();
    // Open Target and Open Source after their dialog, as a drop or the command line opens a file.
    // A file that cannot be read leaves everything as it was; returns whether it was opened. A target with
    // unsaved changes is given up only when the user saves or discards them.
    bool openTarget(const QString& path);
    bool openSource(const QString& path);

    // A click on an entry of one of the four object lists.
    void ListBox1Click();
    void ListBox2Click();
    void CheckListBox1Click();
    void CheckListBox2Click();
    // "Change": the text of the "Object ID:" box becomes the ObjectId of the highlighted target entry.
    void Button3Click();
    // "Merge-->": the ticked source objects go into the target.
    void Button1Click();

    // The target's edits, for the Edit menu's Undo and Redo.
    [[nodiscard]] QUndoStack& history() const { return *history_; }

    // The files loaded, or null.
    [[nodiscard]] const level::LevelDocument* target() const { return target_.get(); }
    [[nodiscard]] const wad::LibraryDocument* source() const { return source_.get(); }

    // The controls, under the names users of the layout know them by.
    QLabel* Label1;
    QLineEdit* Edit1;
    PreviewWidget* Panel1;
    AnimationControls* Animation;
    QGroupBox* GroupBox1;
    QListWidget* ListBox1;
    QLabel* Label2;
    QLineEdit* Edit6;
    QPushButton* Button3;
    QListWidget* ListBox2;
    QGroupBox* GroupBox2;
    QListWidget* CheckListBox1;
    QListWidget* CheckListBox2;
    // The filter box over each list.
    QLineEdit* ListBox1Filter;
    QLineEdit* ListBox2Filter;
    QLineEdit* CheckListBox1Filter;
    QLineEdit* CheckListBox2Filter;
    QPushButton* Button1;
    QGroupBox* GroupBox3;
    QPlainTextEdit* Memo1;
    QAction* Open1;
    QAction* Open2;
    // Lists the recent targets, then the recent sources, each time it opens.
    QMenu* OpenRecent1;
    QAction* Save1;
    QAction* SaveAs1;
    QAction* Undo1;
    QAction* Redo1;
    QAction* Exit1;
    QAction* DisableSounds1;
    QAction* Fit1;
    QAction* About1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createMenu();
    void createControls();
    void addToolTips();
    void fillRecentMenu();
    void connectControls();
    void FormCreate();
    void FormClose();

    // The target lists and the "Meshes:" caption, as the target now stands.
    void fillTargetLists();
    void fillSourceLists();
    // After a merge the entries it added are marked and scrolled into view, until the next command.
    void markNewEntries(int firstMoveable, int firstStatic);
    void unmarkNewEntries();
    // The last command's outcome, in the status bar.
    void showOutcome(const QString& text);
    // Save, Save As and Change need a target; Merge a target, a source and a tick.
    void enableCommands();
    void showMessage(const QString& text, const QString& title);

    // The title names the target, with the mark of unsaved changes.
    void updateTitle();
    // Before the target is given up: false when it has unsaved changes the user keeps (Cancel, or a
    // failed save).
    bool settleUnsavedChanges();
    bool saveTarget(const QString& path);
    // The target changed by an edit, an undo or a redo: its lists, caption and preview follow.
    void showTargetChanged(const QString& memo);
    // Puts an edit made since `mark` into the history under `text`.
    void recordEdit(const QString& text, level::DocumentMark mark, const QString& memoBefore);

    bool allow32BitTextures_;
    WindowDialogs windowDialogs_;
    Dialogs* dialogs_;
    QUndoStack* history_;
    RecentFiles recent_;
    QString targetPath_;
    std::unique_ptr<level::LevelDocument> target_;
    std::unique_ptr<wad::LibraryDocument> source_;
};

} // namespace veltrane::app
