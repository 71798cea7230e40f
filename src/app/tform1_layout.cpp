// The window's menu and controls at their design places, sizes, texts and fonts.
#include "app/anchored_panel.h"
#include "app/tform1.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
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

    // The controls' places are given in the client area below the menu bar.
    const QSize clientSize(kDesignSize.width(), kDesignSize.height() - menuBar()->sizeHint().height());
    panel_ = new AnchoredPanel(clientSize, this);
    setCentralWidget(panel_);
    constexpr Anchor kCentred{0.5, 0, 0, 0};
    constexpr Anchor kCentredBelow{0.5, 1, 0, 0};

    Label1 = named(new QLabel(QStringLiteral("Spin Factor"), panel_), "Label1");
    // The platform's sans is wider than the design font: the label may take the room it needs.
    Label1->setMinimumWidth(Label1->sizeHint().width());
    panel_->place(Label1, {448, 24, 54, 13}, kCentred);
    Label1->setToolTip(QStringLiteral("Scales how far a right-button drag turns the object (1.2: 1.2 degrees a pixel), "
                                      "and how far it zooms with Ctrl and pans with Shift"));
    Edit1 = named(new QLineEdit(QStringLiteral("1.2"), panel_), "Edit1");
    Edit1->setToolTip(Label1->toolTip());
    panel_->place(Edit1, {512, 16, 57, 21}, kCentred);

    PreviewWidget::Options previewOptions;
    previewOptions.allow32BitTextures = allow32BitTextures_;
    previewOptions.messages = dialogs_;
    Panel1 = named(new PreviewWidget(previewOptions, panel_), "Panel1");
    panel_->place(Panel1, {280, 56, 321, 361}, {0, 0, 1, 1});

    GroupBox1 = groupBox("GroupBox1", QStringLiteral("Target:"), panel_);
    panel_->place(GroupBox1, {616, 16, 249, 521}, {1, 0, 0, 0});
    ListBox1 = objectList("ListBox1", 13, GroupBox1);
    ListBox1->setFont(pixelFont(font(), kFontHeight, false));
    ListBox1->setGeometry(8, 24, 233, 225);
    Label2 = named(new QLabel(QStringLiteral("Object ID:"), GroupBox1), "Label2");
    Label2->setGeometry(16, 272, 69, 16);
    Edit6 = named(new QLineEdit(GroupBox1), "Edit6");
    Edit6->setGeometry(88, 272, 49, 24);
    Button3 = named(new QPushButton(QStringLiteral("Change"), GroupBox1), "Button3");
    Button3->setGeometry(144, 272, 57, 17);
    ListBox2 = objectList("ListBox2", 16, GroupBox1);
    ListBox2->setGeometry(8, 312, 233, 193);

    GroupBox2 = groupBox("GroupBox2", QStringLiteral("Source:"), panel_);
    panel_->place(GroupBox2, {8, 16, 257, 513});
    CheckListBox1 = objectList("CheckListBox1", 16, GroupBox2);
    CheckListBox1->setGeometry(8, 32, 241, 209);
    CheckListBox2 = objectList("CheckListBox2", 16, GroupBox2);
    CheckListBox2->setGeometry(8, 312, 241, 193);

    Button1 = named(new QPushButton(QStringLiteral("Merge-->"), panel_), "Button1");
    panel_->place(Button1, {384, 432, 105, 33}, kCentredBelow);
    // The animation controls fill the room beside the merge button, under the preview.
    Animation = new AnimationControls(*Panel1, panel_);
    panel_->place(Animation->selector, {280, 421, 100, 21}, kCentredBelow);
    panel_->place(Animation->slider, {280, 446, 100, 20}, kCentredBelow);
    panel_->place(Animation->play, {493, 421, 54, 21}, kCentredBelow);
    Animation->transparency->setFont(pixelFont(font(), kFontHeight - 1, false)); // fits beside the button
    panel_->place(Animation->transparency, {493, 446, 120, 20}, kCentredBelow);
    GroupBox3 = groupBox("GroupBox3", QStringLiteral("Targets Stats:"), panel_);
    panel_->place(GroupBox3, {304, 472, 273, 113}, kCentredBelow);
    // The memo lies over the stats box, not in it, at its own place.
    Memo1 = named(new QPlainTextEdit(panel_), "Memo1");
    Memo1->setReadOnly(true);
    panel_->place(Memo1, {312, 488, 249, 87}, kCentredBelow);
    Memo1->raise();
    // The statistics can be selected with the mouse but Tab passes them by.
    Memo1->setFocusPolicy(Qt::ClickFocus);

    // Tab goes left to right, top to bottom: the source lists, the preview and its controls, Merge, the
    // target lists, "Object ID:" and Change.
    const std::array<QWidget*, 13> tabOrder = {CheckListBox1,       CheckListBox2,      Edit1,
                                               Panel1,              Animation->selector, Animation->slider,
                                               Animation->play,     Animation->transparency, Button1,
                                               ListBox1,            ListBox2,           Edit6,
                                               Button3};
    for (std::size_t i = 0; i + 1 < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
}

} // namespace veltrane::app
