// The File menu: opening the target and the source, saving the target, and what happens to unsaved changes.
#include "app/busy_cursor.h"
#include "app/scratch_files.h"
#include "app/tform1.h"
#include "veltrane_version.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QUndoStack>

#include <filesystem>
#include <memory>
#include <type_traits>

namespace veltrane::app {
namespace {

// The scratch and dump files go to the working directory.
const std::filesystem::path kScratchFolder = ".";

const QString kTargetFilter = QStringLiteral("Tomb Raider 4 (*.tr4)");
const QString kSourceFilter = QStringLiteral("WAD File (*.wad)");
const QString kSaveFilter = QStringLiteral("Tomb Raider 4 Files (*.tr4)");

const QString kAboutText = QStringLiteral(
    "Veltrane merges moveables and static meshes of a Tomb Raider 4 object library (.wad, the source) into a "
    "compiled level (.tr4, the target): their meshes, mesh trees, animations and only the texture pieces they "
    "use, packed onto new pages. It previews every object in 3-D, gives the level's objects new IDs, and saves "
    "the grown level as a new .tr4.\n\n"
    "Command line:\n"
    "  veltrane [TARGET.tr4] [SOURCE.wad]\n"
    "  veltrane-cli info [--json] FILE\n"
    "  veltrane-cli merge TARGET SOURCE -o OUTPUT [--moveable ID|FIRST-LAST]... [--static ID|FIRST-LAST]... "
    "[--all] [--json]\n\n"
    "Licensed under the MIT License.");

std::filesystem::path filePath(const QString& name) { return std::filesystem::path(name.toStdU16String()); }

QString fileName(const QString& path) { return QFileInfo(path).fileName(); }

// A message under its heading with the reason below it.
QString withReason(const QString& heading, const std::string& reason) {
    return heading + QStringLiteral("\n\n") + QString::fromStdString(reason);
}

// Reads a document with `open` under the busy cursor. A file that does not open is reported under
// `heading` and gives null; the openers already turn running out of memory into such a failure.
template <class Open>
auto readDocument(const QString& path, Open open, const QString& heading, Dialogs& dialogs)
    -> std::unique_ptr<std::remove_reference_t<decltype(open(std::filesystem::path()).value())>> {
    using Document = std::remove_reference_t<decltype(open(std::filesystem::path()).value())>;
    auto read = [&] {
        BusyCursor busy;
        return open(filePath(path));
    }();
    if (read)
        return std::make_unique<Document>(std::move(read.value()));
    dialogs.showNotice(withReason(heading, read.error()), QStringLiteral("Error"));
    return nullptr;
}

} // namespace

void TForm1::updateTitle() {
    setWindowTitle(target_ ? fileName(targetPath_) + QStringLiteral("[*] - ") + kCaption : kCaption);
    setWindowModified(!history_->isClean());
}

bool TForm1::settleUnsavedChanges() {
    if (!target_ || history_->isClean())
        return true;
    switch (dialogs_->askSaveChanges(fileName(targetPath_))) {
    case Dialogs::SaveChoice::Save:
        return saveTarget(targetPath_);
    case Dialogs::SaveChoice::Discard:
        return true;
    case Dialogs::SaveChoice::Cancel:
        break;
    }
    return false;
}

void TForm1::Open1Click() {
    const auto name = dialogs_->openFileName(QStringLiteral("Abrir Archivo de Tomb Raider 4"), kTargetFilter);
    if (name)
        openTarget(*name);
}

bool TForm1::openTarget(const QString& path) {
    auto opened = readDocument(
        path, [](const std::filesystem::path& file) { return level::openLevelDocument(file); }, QStringLiteral("Error"),
        *dialogs_);
    if (!opened)
        return false;
    // The file reads: only now is the old target given up, when its changes are settled.
    if (!settleUnsavedChanges())
        return false;
    BusyCursor busy;
    scratch::writeTempBlock(opened->level, kScratchFolder);
    scratch::writeTex16(opened->level, kScratchFolder);

    // The preview and the history let go of the old target before it goes.
    history_->clear();
    Panel1->setTarget(opened.get());
    target_ = std::move(opened);
    targetPath_ = path;
    ListBox1->clear();
    ListBox2->clear();
    fillTargetLists();
    Memo1->clear(); // the statistics were the old target's
    enableCommands();
    updateTitle();
    recent_.add(RecentFiles::Kind::Target, path);
    showOutcome(QStringLiteral("Opened target ") + QDir::toNativeSeparators(path));
    return true;
}

void TForm1::Open2Click() {
    const auto name = dialogs_->openFileName(QStringLiteral("Abrir Archivo WAD"), kSourceFilter);
    if (name)
        openSource(*name);
}

bool TForm1::openSource(const QString& path) {
    auto opened = readDocument(
        path, [](const std::filesystem::path& file) { return wad::openLibraryDocument(file); },
        QStringLiteral("Error reading the file"), *dialogs_);
    if (!opened)
        return false;
    BusyCursor busy;
    scratch::writeFirstSourcePage(opened->pages, kScratchFolder);

    Panel1->setSource(opened.get());
    source_ = std::move(opened);
    fillSourceLists();
    enableCommands();
    unmarkNewEntries();
    recent_.add(RecentFiles::Kind::Source, path);
    showOutcome(QStringLiteral("Opened source ") + QDir::toNativeSeparators(path));
    return true;
}

bool TForm1::saveTarget(const QString& path) {
    io::Status written = io::success();
    {
        BusyCursor busy;
        written = level::saveLevelDocument(filePath(path), *target_);
        if (written)
            scratch::writeNewData(target_->level, kScratchFolder);
    }
    if (!written) {
        showMessage(withReason(QStringLiteral("Error"), written.error()), QStringLiteral("Error"));
        return false;
    }
    targetPath_ = path;
    history_->setClean();
    updateTitle();
    unmarkNewEntries();
    recent_.add(RecentFiles::Kind::Target, path);
    showOutcome(QStringLiteral("Saved ") + QDir::toNativeSeparators(path));
    return true;
}

void TForm1::Save1Click() {
    if (target_)
        saveTarget(targetPath_);
}

void TForm1::SaveAs1Click() {
    if (!target_)
        return;
    // The mesh block is written out before the dialog, also when the user cancels.
    scratch::writeMeshBlock(target_->meshes, kScratchFolder);
    const auto name = dialogs_->saveFileName(QStringLiteral("Save Target File As..."), kSaveFilter,
                                             QFileInfo(targetPath_).absolutePath());
    if (!name)
        return;
    // A name without a suffix gets the level's, so that Open Target finds the file again.
    const QString path = QFileInfo(*name).suffix().isEmpty() ? *name + QStringLiteral(".tr4") : *name;
    if (saveTarget(path))
        showMessage(QStringLiteral("File saved to %1").arg(QDir::toNativeSeparators(path)), QStringLiteral("Veltrane"));
}

void TForm1::Exit1Click() { close(); }

void TForm1::fillRecentMenu() {
    OpenRecent1->clear();
    const auto section = [this](const QString& title, RecentFiles::Kind kind, bool (TForm1::*open)(const QString&)) {
        const QStringList files = recent_.files(kind);
        if (files.isEmpty())
            return;
        OpenRecent1->addSection(title);
        for (const QString& path : files)
            // A file that no longer opens leaves the list.
            OpenRecent1->addAction(QDir::toNativeSeparators(path), this, [this, kind, open, path] {
                if (!(this->*open)(path) && !QFileInfo::exists(path))
                    recent_.remove(kind, path);
            });
    };
    section(QStringLiteral("Targets"), RecentFiles::Kind::Target, &TForm1::openTarget);
    section(QStringLiteral("Sources"), RecentFiles::Kind::Source, &TForm1::openSource);
    if (OpenRecent1->isEmpty())
        OpenRecent1->addAction(QStringLiteral("No recent files"))->setEnabled(false);
}

void TForm1::About1Click() {
    showMessage(kCaption + QStringLiteral(" " VELTRANE_VERSION "\n\n") + kAboutText, QStringLiteral("About"));
}

} // namespace veltrane::app
