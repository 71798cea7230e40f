#include "app/tform1.h"

#include "level/slot_names.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QUndoStack>
#include <QUrl>

#include <algorithm>
#include <string_view>

namespace veltrane::app {
namespace {

void addEntry(QListWidget& list, const QString& text, bool tickBox) {
    // The tick box is made before the entry joins the list: made after, each would signal a changed
    // entry, and every such signal counts the ticks of the whole list again.
    auto* item = new QListWidgetItem(text);
    if (tickBox) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    list.addItem(item);
}

// Ticks or unticks the entries on show: with a filter typed, the ones it keeps.
void tickAll(QListWidget& list, Qt::CheckState state) {
    for (int i = 0; i < list.count(); ++i)
        if (!list.isRowHidden(i))
            list.item(i)->setCheckState(state);
}

// "Tick All" (Ctrl+A while the list has focus) and "Tick None" in the list's context menu.
void addTickActions(QListWidget& list) {
    auto* all = new QAction(QStringLiteral("Tick All"), &list);
    all->setShortcut(QKeySequence::SelectAll);
    all->setShortcutContext(Qt::WidgetShortcut);
    QObject::connect(all, &QAction::triggered, &list, [&list] { tickAll(list, Qt::Checked); });
    auto* none = new QAction(QStringLiteral("Tick None"), &list);
    QObject::connect(none, &QAction::triggered, &list, [&list] { tickAll(list, Qt::Unchecked); });
    list.addActions({all, none});
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool anyTicked(const QListWidget& list) {
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            return true;
    return false;
}

// A pale yellow under what a merge added.
const QColor kNewEntryColour(255, 243, 176);

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

// An entry's text with the name of the object's slot after it, when the slot has one.
QString withSlotName(const QString& entry, std::string_view name) {
    return name.empty() ? entry : entry + QStringLiteral("  ") + QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString targetMoveableEntry(const level::Tr4Moveable& moveable) {
    return withSlotName(QStringLiteral("Moveable:ID #") + QString::number(moveable.ObjectId),
                        level::moveableSlotName(moveable.ObjectId));
}

// Fills a list again, keeping the highlighted entry when it is still there.
template <class Entries>
void refill(QListWidget& list, const Entries& entries) {
    const int row = list.currentRow();
    const QSignalBlocker quiet(list);
    list.clear();
    for (const QString& entry : entries)
        addEntry(list, entry, false);
    if (row < list.count())
        list.setCurrentRow(row);
}

} // namespace

TForm1::TForm1(QWidget* parent) : TForm1(Options{}, parent) {}

TForm1::TForm1(Options options, QWidget* parent)
    : QMainWindow(parent), allow32BitTextures_(options.allow32BitTextures), windowDialogs_(this),
      dialogs_(options.dialogs != nullptr ? options.dialogs : &windowDialogs_), history_(new QUndoStack(this)),
      recent_(options.settingsFile) {
    createMenu();
    createControls();
    connectControls();
    FormCreate();
}

TForm1::~TForm1() { FormClose(); }

void TForm1::connectControls() {
    connect(Open1, &QAction::triggered, this, &TForm1::Open1Click);
    connect(Open2, &QAction::triggered, this, &TForm1::Open2Click);
    connect(Save1, &QAction::triggered, this, &TForm1::Save1Click);
    connect(SaveAs1, &QAction::triggered, this, &TForm1::SaveAs1Click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Edit6, &QLineEdit::returnPressed, this, &TForm1::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(history_, &QUndoStack::cleanChanged, this, [this](bool clean) { setWindowModified(!clean); });
    // The actions' own connections undo and redo first, so the stack names the step taken by then.
    connect(Undo1, &QAction::triggered, this, [this] { showOutcome(QStringLiteral("Undid ") + history_->redoText()); });
    connect(Redo1, &QAction::triggered, this, [this] { showOutcome(QStringLiteral("Redid ") + history_->undoText()); });

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
    addTickActions(*CheckListBox1);
    addTickActions(*CheckListBox2);
    // Merge waits for a tick.
    connect(CheckListBox1, &QListWidget::itemChanged, this, &TForm1::enableCommands);
    connect(CheckListBox2, &QListWidget::itemChanged, this, &TForm1::enableCommands);

    connect(Edit1, &QLineEdit::textChanged, Panel1, &PreviewWidget::setSpinFactorText);
    connect(Panel1, &PreviewWidget::spinFactorChanged, this, [this](bool valid, const QString& message) {
        Edit1->setStyleSheet(valid ? QString() : QStringLiteral("color: red"));
        Edit1->setToolTip(valid ? Label1->toolTip() : message);
    });
    setAcceptDrops(true);
}

void TForm1::FormCreate() {
    // The preview sets up its device, clear colour, projection and spin state as it is created; the
    // spin factor comes from the "Spin Factor" box.
    Panel1->setSpinFactorText(Edit1->text());
    Memo1->clear();
    enableCommands();
}

void TForm1::FormClose() {
    // Nothing may stay on show from files that are going; the history refers to the target.
    history_->clear();
    Panel1->setTarget(nullptr);
    Panel1->setSource(nullptr);
    target_.reset();
    source_.reset();
    enableCommands();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!settleUnsavedChanges()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TForm1::enableCommands() {
    const bool loaded = target_ != nullptr;
    Save1->setEnabled(loaded);
    SaveAs1->setEnabled(loaded);
    Button3->setEnabled(loaded);
    Button1->setEnabled(loaded && source_ && (anyTicked(*CheckListBox1) || anyTicked(*CheckListBox2)));
}

void TForm1::showMessage(const QString& text, const QString& title) { dialogs_->showNotice(text, title); }

void TForm1::showOutcome(const QString& text) { statusBar()->showMessage(text); }

void TForm1::markNewEntries(int firstMoveable, int firstStatic) {
    const auto mark = [](QListWidget& list, int first) {
        for (int row = std::max(first, 0); row < list.count(); ++row) {
            QListWidgetItem* item = list.item(row);
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            item->setBackground(kNewEntryColour);
        }
        // The last new entry first, then the first: as many of them as fit are in view.
        if (first >= 0 && first < list.count()) {
            list.scrollToItem(list.item(list.count() - 1));
            list.scrollToItem(list.item(first));
        }
    };
    mark(*ListBox1, firstMoveable);
    mark(*ListBox2, firstStatic);
}

void TForm1::unmarkNewEntries() {
    for (QListWidget* list : {ListBox1, ListBox2})
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            item->setFont(list->font());
            item->setBackground(QBrush());
        }
}

void TForm1::fillTargetLists() {
    GroupBox1->setTitle(QStringLiteral("Meshes: ") + QString::number(target_->meshes.count()));
    QStringList moveables;
    for (const auto& moveable : target_->level.Moveables)
        moveables.push_back(targetMoveableEntry(moveable));
    refill(*ListBox1, moveables);
    QStringList statics;
    for (std::size_t i = 0; i < target_->level.StaticMeshes.size(); ++i) {
        const std::uint32_t id = target_->level.StaticMeshes[i].ObjectId;
        statics.push_back(withSlotName(QStringLiteral("Static Mesh:%1  ID #%2").arg(i).arg(id), level::staticSlotName(id)));
    }
    refill(*ListBox2, statics);
}

void TForm1::fillSourceLists() {
    CheckListBox1->clear();
    for (const auto& moveable : source_->library.Moveables)
        addEntry(*CheckListBox1,
                 withSlotName(QStringLiteral("Moveable ID #") + QString::number(moveable.ObjectId),
                              level::moveableSlotName(moveable.ObjectId)),
                 true);
    CheckListBox2->clear();
    for (const auto& mesh : source_->library.StaticMeshes)
        addEntry(*CheckListBox2,
                 withSlotName(QStringLiteral("Static Mesh ID #") + QString::number(mesh.ObjectId),
                              level::staticSlotName(mesh.ObjectId)),
                 true);
}

void TForm1::ListBox1Click() {
    ListBox2->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::TargetMoveables, ListBox1->currentRow()});
    if (target_ && ListBox1->currentRow() >= 0)
        Edit6->setText(QString::number(target_->level.Moveables.at(ListBox1->currentRow()).ObjectId));
}

void TForm1::ListBox2Click() {
    ListBox1->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::TargetStatics, ListBox2->currentRow()});
    if (target_ && ListBox2->currentRow() >= 0)
        Edit6->setText(QString::number(target_->level.StaticMeshes.at(ListBox2->currentRow()).ObjectId));
}

void TForm1::CheckListBox1Click() {
    CheckListBox2->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::SourceMoveables, CheckListBox1->currentRow()});
}

void TForm1::CheckListBox2Click() {
    CheckListBox1->setCurrentRow(-1);
    Panel1->select({preview::PreviewList::SourceStatics, CheckListBox2->currentRow()});
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
