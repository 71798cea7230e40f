// The window's menu and controls at their design places, sizes, texts and fonts.
#include "app/anchors.h"
#include "app/list_filter.h"
#include "app/tform1.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QUndoStack>

#include <array>

namespace veltrane::app {
namespace {

constexpr QPoint kDesignPosition{193, 116};
constexpr QSize kDesignSize{885, 650};
constexpr int kFontHeight = 11;
constexpr int kGroupFontHeight = 13;

// Every entry of a list gets the same height, as the list boxes' fixed item height gives.
class FixedRowHeight : public QStyledItemDelegate {
public:
    FixedRowHeight(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

QFont pixelFont(const QFont& base, int height, bool bold) {
    QFont font = base;
    font.setPixelSize(height);
    font.setBold(bold);
    return font;
}

template <class Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QListWidget* objectList(const char* name, int rowHeight, QWidget* parent) {
    auto* list = named(new QListWidget(parent), name);
    list->setItemDelegate(new FixedRowHeight(rowHeight, list));
    list->setUniformItemSizes(true);
    return list;
}

// A filter box over the top of a list's design rectangle and the list below it; both follow `anchor`,
// the box keeping its height.
QLineEdit* filteredList(Anchors& anchors, QListWidget& list, QRect design, Anchor anchor) {
    constexpr int kBoxHeight = 20;
    constexpr int kGap = 2;
    auto* box = named(new QLineEdit(list.parentWidget()), qPrintable(list.objectName() + QStringLiteral("Filter")));
    box->setFont(list.window()->font()); // the plain font, not the box's bold title
    box->setPlaceholderText(QStringLiteral("Filter by ID or name"));
    box->setClearButtonEnabled(true);
    box->setToolTip(QStringLiteral("Shows only the entries whose text contains what is typed here, in any case."));
    anchors.place(box, {design.x(), design.y(), design.width(), kBoxHeight}, {anchor.moveX, anchor.moveY, anchor.growX, 0});
    anchors.place(&list, design.adjusted(0, kBoxHeight + kGap, 0, 0), anchor);
    filterBy(list, *box);
    return box;
}

const char* const kSpinFactorTip = "Scales turning (1.2 degrees a pixel at 1.2), zooming and panning by dragging "
                                   "with the right button over the preview.";

QGroupBox* groupBox(const char* name, const QString& title, QWidget* parent) {
    auto* box = named(new QGroupBox(title, parent), name);
    box->setFont(pixelFont(parent->font(), kGroupFontHeight, true));
    return box;
}

} // namespace

void TForm1::createMenu() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    Open1 = named(file->addAction(QStringLiteral("Open Target")), "Open1");
    Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Open2 = named(file->addAction(QStringLiteral("Open Source")), "Open2");
    Open2->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    OpenRecent1 = named(file->addMenu(QStringLiteral("Open &Recent")), "OpenRecent1");
    connect(OpenRecent1, &QMenu::aboutToShow, this, &TForm1::fillRecentMenu);
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    Save1 = named(file->addAction(QStringLiteral("Save")), "Save1");
    Save1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAs1 = named(file->addAction(QStringLiteral("Save As...")), "SaveAs1");
    SaveAs1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addSeparator()->setObjectName(QStringLiteral("N2"));
    Exit1 = named(file->addAction(QStringLiteral("Exit")), "Exit1");
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("eDIT2"));
    // The actions name the step they take back or bring again: "Undo Merge of 3 objects".
    Undo1 = named(history_->createUndoAction(this, QStringLiteral("Undo")), "Undo1");
    Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addAction(Undo1);
    Redo1 = named(history_->createRedoAction(this, QStringLiteral("Redo")), "Redo1");
    Redo1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    edit->addAction(Redo1);
    edit->addSeparator();
    // Nothing reads this item: choosing it only toggles its check mark.
    DisableSounds1 = named(edit->addAction(QStringLiteral("Disable Sounds")), "DisableSounds1");
    DisableSounds1->setCheckable(true);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("View1"));
    // Back to the whole object on show, centred, after turning, zooming and panning it.
    Fit1 = named(view->addAction(QStringLiteral("Fit")), "Fit1");
    Fit1->setShortcut(QKeySequence(Qt::Key_F));
    connect(Fit1, &QAction::triggered, this, [this] { Panel1->fit(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    About1 = named(help->addAction(QStringLiteral("About")), "About1");
}

void TForm1::createControls() {
    setWindowTitle(kCaption);
    setFont(pixelFont(font(), kFontHeight, false));
    setGeometry(QRect(kDesignPosition, kDesignSize));
    setMinimumSize(kDesignSize);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));

    // The controls' places are given in the client area between the menu bar and the status bar.
    const QSize clientSize(kDesignSize.width(),
                           kDesignSize.height() - menuBar()->sizeHint().height() - statusBar()->sizeHint().height());
    auto* panel = new QWidget(this);
    setCentralWidget(panel);
    auto* anchors = new Anchors(*panel, clientSize);

    // Extra width goes to the source box, the preview and the target box in proportion to their design
    // widths; extra height to the preview and the two boxes.
    constexpr QRect kSourceBox{8, 16, 257, 513};
    constexpr QRect kPreview{280, 56, 321, 361};
    constexpr QRect kTargetBox{616, 16, 249, 521};
    const double total = kSourceBox.width() + kPreview.width() + kTargetBox.width();
    const double sourceShare = kSourceBox.width() / total;
    const double previewShare = kPreview.width() / total;
    const Anchor aboveThePreview{sourceShare + previewShare / 2, 0, 0, 0};
    const Anchor belowThePreview{sourceShare + previewShare / 2, 1, 0, 0};

    Label1 = named(new QLabel(QStringLiteral("Spin Factor"), panel), "Label1");
    // The platform's sans is wider than the design font: the label may take the room it needs.
    Label1->setMinimumWidth(Label1->sizeHint().width());
    anchors->place(Label1, {448, 24, 54, 13}, aboveThePreview);
    Edit1 = named(new QLineEdit(QStringLiteral("1.2"), panel), "Edit1");
    anchors->place(Edit1, {512, 16, 57, 21}, aboveThePreview);

    PreviewWidget::Options previewOptions;
    previewOptions.allow32BitTextures = allow32BitTextures_;
    previewOptions.messages = dialogs_;
    Panel1 = named(new PreviewWidget(previewOptions, panel), "Panel1");
    Panel1->setFocusPolicy(Qt::StrongFocus); // Tab and a click give it the keys
    anchors->place(Panel1, kPreview, {sourceShare, 0, previewShare, 1});

    GroupBox1 = groupBox("GroupBox1", QStringLiteral("Target:"), panel);
    anchors->place(GroupBox1, kTargetBox, {sourceShare + previewShare, 0, 1 - sourceShare - previewShare, 1});
    auto* target = new Anchors(*GroupBox1, kTargetBox.size());
    constexpr QRect kTargetMoveables{8, 24, 233, 225};
    constexpr QRect kTargetStatics{8, 312, 233, 193};
    const double upperShare = double(kTargetMoveables.height()) / (kTargetMoveables.height() + kTargetStatics.height());
    ListBox1 = objectList("ListBox1", 13, GroupBox1);
    ListBox1->setFont(pixelFont(font(), kFontHeight, false));
    ListBox1Filter = filteredList(*target, *ListBox1, kTargetMoveables, {0, 0, 1, upperShare});
    const Anchor belowTheUpperList{0, upperShare, 0, 0};
    Label2 = named(new QLabel(QStringLiteral("Object ID:"), GroupBox1), "Label2");
    target->place(Label2, {16, 272, 69, 16}, belowTheUpperList);
    Edit6 = named(new QLineEdit(GroupBox1), "Edit6");
    target->place(Edit6, {88, 272, 49, 24}, belowTheUpperList);
    Button3 = named(new QPushButton(QStringLiteral("Change"), GroupBox1), "Button3");
    target->place(Button3, {144, 272, 57, 17}, belowTheUpperList);
    ListBox2 = objectList("ListBox2", 16, GroupBox1);
    ListBox2Filter = filteredList(*target, *ListBox2, kTargetStatics, {0, upperShare, 1, 1 - upperShare});

    GroupBox2 = groupBox("GroupBox2", QStringLiteral("Source:"), panel);
    anchors->place(GroupBox2, kSourceBox, {0, 0, sourceShare, 1});
    auto* source = new Anchors(*GroupBox2, kSourceBox.size());
    constexpr QRect kSourceMoveables{8, 32, 241, 209};
    constexpr QRect kSourceStatics{8, 312, 241, 193};
    const double sourceUpperShare =
        double(kSourceMoveables.height()) / (kSourceMoveables.height() + kSourceStatics.height());
    CheckListBox1 = objectList("CheckListBox1", 16, GroupBox2);
    CheckListBox1Filter = filteredList(*source, *CheckListBox1, kSourceMoveables, {0, 0, 1, sourceUpperShare});
    CheckListBox2 = objectList("CheckListBox2", 16, GroupBox2);
    CheckListBox2Filter =
        filteredList(*source, *CheckListBox2, kSourceStatics, {0, sourceUpperShare, 1, 1 - sourceUpperShare});

    Button1 = named(new QPushButton(QStringLiteral("Merge-->"), panel), "Button1");
    anchors->place(Button1, {384, 432, 105, 33}, belowThePreview);
    Animation = new AnimationControls(*Panel1, panel);
    // The selector sits over the preview's left corner, where its longest entry has room.
    anchors->place(Animation->selector, {280, 16, 160, 21}, {sourceShare, 0, 0, 0});
    anchors->place(Animation->slider, {280, 446, 100, 20}, belowThePreview);
    anchors->place(Animation->play, {493, 421, 54, 21}, belowThePreview);
    Animation->transparency->setFont(pixelFont(font(), kFontHeight - 1, false)); // fits beside the button
    anchors->place(Animation->transparency, {493, 446, 120, 20}, belowThePreview);
    GroupBox3 = groupBox("GroupBox3", QStringLiteral("Targets Stats:"), panel);
    anchors->place(GroupBox3, {304, 472, 273, 113}, belowThePreview);
    // The memo lies over the stats box, not in it, at its own place.
    Memo1 = named(new QPlainTextEdit(panel), "Memo1");
    Memo1->setReadOnly(true);
    anchors->place(Memo1, {312, 488, 249, 87}, belowThePreview);
    Memo1->raise();
    // The statistics can be selected with the mouse but Tab passes them by.
    Memo1->setFocusPolicy(Qt::ClickFocus);

    addToolTips();
    // Tab goes left to right, top to bottom: the source lists, the preview and its controls, Merge, the
    // target lists, "Object ID:" and Change.
    const std::array<QWidget*, 17> tabOrder = {
        CheckListBox1Filter, CheckListBox1,     CheckListBox2Filter, CheckListBox2,  Animation->selector,
        Edit1,               Panel1,            Animation->play,     Animation->slider, Animation->transparency,
        Button1,             ListBox1Filter,    ListBox1,            ListBox2Filter, ListBox2,
        Edit6,               Button3};
    for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
}

void TForm1::addToolTips() {
    const std::array<std::pair<QWidget*, const char*>, 19> tips = {{
        {Label1, kSpinFactorTip},
        {Edit1, kSpinFactorTip},
        {Panel1, "The object on show. Drag with the right button to turn it; with Ctrl held to zoom, with Shift "
                 "to move it. The wheel zooms; F or a double-click shows the whole object again."},
        {GroupBox2, "The source library's objects. Tick the ones to merge into the target."},
        {CheckListBox1, "The source's moveables. Click one to show it; tick the ones to merge (Ctrl+A ticks all, "
                        "the context menu ticks none)."},
        {CheckListBox2, "The source's static meshes. Click one to show it; tick the ones to merge (Ctrl+A ticks "
                        "all, the context menu ticks none)."},
        {GroupBox1, "The target level's objects."},
        {ListBox1, "The target's moveables. Click one to show it and to change its ID."},
        {ListBox2, "The target's static meshes. Click one to show it and to change its ID."},
        {Label2, "The new ID of the highlighted target object."},
        {Edit6, "The new ID of the highlighted target object (0 to 4294967295). Return changes it."},
        {Button3, "Gives the highlighted target object the ID in the Object ID box."},
        {Button1, "Merges the ticked source objects, their meshes, animations and texture pieces, into the target."},
        {Animation->play, "Plays the chosen animation at 30 frames a second, looping."},
        {Animation->slider, "The frame of the chosen animation on show."},
        {Animation->transparency, "Draws the see-through polygons blended, as the game does."},
        {GroupBox3, "What the last merge added to the target."},
        {Memo1, "What the last merge added to the target."},
        {statusBar(), "The outcome of the last command."},
    }};
    for (const auto& [control, tip] : tips)
        control->setToolTip(QString::fromUtf8(tip));
}

} // namespace veltrane::app
