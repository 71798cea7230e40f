#include "app/tform1.h"

#include "app/anchored_panel.h"
#include "app/integer_text.h"
#include "app/scratch_files.h"
#include "merge/merge_operation.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

#include <filesystem>

namespace veltrane::app {
namespace {

// The scratch and dump files go to the working directory.
const std::filesystem::path kScratchFolder = ".";

const QString kTargetFilter = QStringLiteral("Tomb Raider 4 (*.tr4)");
const QString kSourceFilter = QStringLiteral("WAD File (*.wad)");
const QString kSaveFilter = QStringLiteral("Tomb Raider 4 Files (*.tr4)");

// The wait cursor while a file is read, written or merged.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

std::filesystem::path filePath(const QString& name) { return std::filesystem::path(QFile::encodeName(name).toStdString()); }

// Object IDs are shown as signed decimal numbers.
QString signedText(std::uint32_t value) { return QString::number(static_cast<std::int32_t>(value)); }

QString targetMoveableEntry(const level::Tr4Moveable& moveable) {
    return QStringLiteral("Moveable:ID #") + signedText(moveable.ObjectId);
}

// A message under its heading with the reason below it.
QString withReason(const QString& heading, const std::string& reason) {
    return heading + QStringLiteral("\n\n") + QString::fromStdString(reason);
}

void addEntry(QListWidget& list, const QString& text, bool tickBox) {
    auto* item = new QListWidgetItem(text, &list);
    if (tickBox) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

std::vector<std::int32_t> tickedEntries(const QListWidget& list) {
    std::vector<std::int32_t> ticked;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            ticked.push_back(i);
    return ticked;
}

// The local .tr4 and .wad files among dropped URLs.
QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr)
        return files;
    for (const QUrl& url : data->urls()) {
        const QString name = url.toLocalFile();
        if (name.endsWith(QStringLiteral(".tr4"), Qt::CaseInsensitive) ||
            name.endsWith(QStringLiteral(".wad"), Qt::CaseInsensitive))
            files.push_back(name);
    }
    return files;
}

} // namespace

TForm1::TForm1(QWidget* parent) : TForm1(Options{}, parent) {}

TForm1::TForm1(Options options, QWidget* parent)
    : QMainWindow(parent), allow32BitTextures_(options.allow32BitTextures), windowDialogs_(this),
      dialogs_(options.dialogs != nullptr ? options.dialogs : &windowDialogs_) {
    createMenu();
    createControls();
    connectControls();
    FormCreate();
}

TForm1::~TForm1() { FormClose(); }

void TForm1::connectControls() {
    connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
    connect(Open2, &QAction::triggered, this, &TForm1::Open2Click);
    connect(SaveAs1, &QAction::triggered, this, &TForm1::SaveAs1Click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);

    // A click on an entry, or moving through the entries with the keys, shows the entry's object.
    const auto onClick = [this](QListWidget* list, void (TForm1::*handler)()) {
        connect(list, &QListWidget::itemClicked, this, handler);
        connect(list, &QListWidget::currentRowChanged, this, [this, list, handler](int row) {
            if (row >= 0 && list->hasFocus())
                (this->*handler)();
        });
    };
    onClick(ListBox1, &TForm1::ListBox1Click);
    onClick(ListBox2, &TForm1::ListBox2Click);
    onClick(CheckListBox1, &TForm1::CheckListBox1Click);
    onClick(CheckListBox2, &TForm1::CheckListBox2Click);

    connect(Edit1, &QLineEdit::textChanged, Panel1, &PreviewWidget::setSpinFactorText);
    connect(Panel1, &PreviewWidget::spinFactorChanged, this, [this](bool valid, const QString& message) {
        Edit1->setStyleSheet(valid ? QString() : QStringLiteral("color: red"));
        Edit1->setToolTip(message);
    });
    setAcceptDrops(true);
}

void TForm1::FormCreate() {
    // The preview sets up its device, clear colour, projection and spin state as it is created; the
    // spin factor comes from the "Spin Factor" box.
    Panel1->setSpinFactorText(Edit1->text());
    Memo1->clear();
    enableTargetCommands();
}

void TForm1::FormClose() {
    // Nothing may stay on show from files that are going.
    Panel1->setTarget(nullptr);
    Panel1->setSource(nullptr);
    target_.reset();
    source_.reset();
    enableTargetCommands();
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::enableTargetCommands() {
    const bool loaded = target_ != nullptr;
    SaveAs1->setEnabled(loaded);
    Button1->setEnabled(loaded);
    Button3->setEnabled(loaded);
}

void TForm1::showMessage(const QString& text, const QString& title) { dialogs_->showNotice(text, title); }

void TForm1::Open1Click() {
    const auto name = dialogs_->openFileName(QStringLiteral("Abrir Archivo de Tomb Raider 4"), kTargetFilter);
    if (name)
        openTarget(*name);
}

bool TForm1::openTarget(const QString& path) {
    auto read = [&] {
        BusyCursor busy;
        return level::openLevelDocument(filePath(path));
    }();
    if (!read) {
        showMessage(withReason(QStringLiteral("Error"), read.error()), QStringLiteral("Error"));
        return false;
    }
    BusyCursor busy;
    auto opened = std::make_unique<level::LevelDocument>(std::move(read.value()));
    scratch::writeTempBlock(opened->level, kScratchFolder);
    scratch::writeTex16(opened->level, kScratchFolder);

    // The preview lets go of the old target before it goes.
    Panel1->setTarget(opened.get());
    target_ = std::move(opened);
    GroupBox1->setTitle(QStringLiteral("Meshes: ") + QString::number(target_->meshes.count()));
    fillTargetLists();
    enableTargetCommands();
    return true;
}

void TForm1::Open2Click() {
    const auto name = dialogs_->openFileName(QStringLiteral("Abrir Archivo WAD"), kSourceFilter);
    if (name)
        openSource(*name);
}

bool TForm1::openSource(const QString& path) {
    auto read = [&] {
        BusyCursor busy;
        return wad::openLibraryDocument(filePath(path));
    }();
    if (!read) {
        showMessage(withReason(QStringLiteral("Error reading the file"), read.error()), QStringLiteral("Error"));
        return false;
    }
    BusyCursor busy;
    auto opened = std::make_unique<wad::LibraryDocument>(std::move(read.value()));
    scratch::writeFirstSourcePage(opened->pages, kScratchFolder);

    Panel1->setSource(opened.get());
    source_ = std::move(opened);
    fillSourceLists();
    return true;
}

void TForm1::SaveAs1Click() {
    if (!target_)
        return;
    // The mesh block is written out before the dialog, also when the user cancels.
    scratch::writeMeshBlock(target_->meshes, kScratchFolder);
    const auto name = dialogs_->saveFileName(QStringLiteral("Save Target File As..."), kSaveFilter);
    if (!name)
        return;
    io::Status written = io::success();
    {
        BusyCursor busy;
        written = level::saveLevelDocument(filePath(*name), *target_);
        if (written)
            scratch::writeNewData(target_->level, kScratchFolder);
    }
    if (!written) {
        showMessage(withReason(QStringLiteral("Error"), written.error()), QStringLiteral("Error"));
        return;
    }
    showMessage(QStringLiteral("File saved"), QStringLiteral("Veltrane"));
}

void TForm1::Exit1Click() { close(); }

void TForm1::About1Click() { showMessage(kCaption, QStringLiteral("About")); }

void TForm1::fillTargetLists() {
    ListBox1->clear();
    for (const auto& moveable : target_->level.Moveables)
        addEntry(*ListBox1, targetMoveableEntry(moveable), false);
    ListBox2->clear();
    for (std::size_t i = 0; i < target_->level.StaticMeshes.size(); ++i)
        addEntry(*ListBox2, QStringLiteral("Static Mesh:") + QString::number(i), false);
}

void TForm1::fillSourceLists() {
    CheckListBox1->clear();
    for (const auto& moveable : source_->library.Moveables)
        addEntry(*CheckListBox1, QStringLiteral("Moveable ID #") + signedText(moveable.ObjectId), true);
    CheckListBox2->clear();
    for (const auto& mesh : source_->library.StaticMeshes)
        addEntry(*CheckListBox2, QStringLiteral("Static Mesh ID #") + signedText(mesh.ObjectId), true);
}

void TForm1::ListBox1Click() {
    ListBox2->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::TargetMoveables, ListBox1->currentRow()});
    if (target_ && ListBox1->currentRow() >= 0)
        Edit6->setText(signedText(target_->level.Moveables.at(ListBox1->currentRow()).ObjectId));
}

void TForm1::ListBox2Click() {
    ListBox1->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::TargetStatics, ListBox2->currentRow()});
    if (target_ && ListBox2->currentRow() >= 0)
        Edit6->setText(signedText(target_->level.StaticMeshes.at(ListBox2->currentRow()).ObjectId));
}

void TForm1::CheckListBox1Click() {
    CheckListBox2->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::SourceMoveables, CheckListBox1->currentRow()});
}

void TForm1::CheckListBox2Click() {
    CheckListBox1->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::SourceStatics, CheckListBox2->currentRow()});
}

void TForm1::Button3Click() {
    if (!target_)
        return;
    const int moveable = ListBox1->currentRow();
    const int staticMesh = ListBox2->currentRow();
    if (moveable < 0 && staticMesh < 0)
        return;
    const auto id = parseInteger(Edit6->text().toStdString());
    if (!id) {
        showMessage(QStringLiteral("'%1' is not a valid integer value").arg(Edit6->text()), QStringLiteral("Veltrane"));
        return;
    }
    const auto objectId = static_cast<std::uint32_t>(*id);
    if (moveable >= 0) {
        auto& record = target_->level.Moveables.at(moveable);
        record.ObjectId = objectId;
        ListBox1->item(moveable)->setText(targetMoveableEntry(record));
    }
    // A static mesh's entry shows its position, which a new ID does not change.
    if (staticMesh >= 0)
        target_->level.StaticMeshes.at(staticMesh).ObjectId = objectId;
}

void TForm1::Button1Click() {
    if (!target_)
        return;
    const merge::MergeTicks ticks{tickedEntries(*CheckListBox2), tickedEntries(*CheckListBox1)};
    static const wad::LibraryDocument noSource = wad::makeLibraryDocument(wad::WadLibrary{});
    auto merged = [&] {
        BusyCursor busy;
        return merge::mergeObjects(*target_, source_ ? *source_ : noSource, ticks);
    }();
    if (!merged) {
        showMessage(QString::fromStdString(merged.error()), QString());
        return;
    }
    QString done = QStringLiteral("Merging Done Successfully!");
    for (const auto& skipped : merged->skipped)
        done += QStringLiteral("\n") + QString::fromStdString(merge::skippedMessage(skipped));
    showMessage(done, QString());

    {
        BusyCursor busy;
        Panel1->targetChanged();
    }
    fillTargetLists();
    Memo1->clear();
    for (const std::string& line : merge::statisticsLines(merged.value()))
        Memo1->appendPlainText(QString::fromStdString(line));
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    for (const QString& name : files) {
        if (name.endsWith(QStringLiteral(".tr4"), Qt::CaseInsensitive))
            openTarget(name);
        else
            openSource(name);
    }
}

} // namespace veltrane::app
