#include "window_fixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUndoStack>

namespace veltrane::app::testing {
namespace {

using Choice = Dialogs::SaveChoice;

// The small target (moveable ID 20) and the source with moveables 60 and 61, statics 50 and 51.
class HistoryTest : public WindowTest {
protected:
    HistoryTest() {
        targetPath = writeTarget("target.tr4");
        openTarget(targetPath);
        openSource(writeSource("source.wad"));
        opened = *window->target();
    }
    void merge(std::initializer_list<int> moveables, std::initializer_list<int> statics = {}) {
        for (int row : moveables)
            tick(*window->CheckListBox1, row);
        for (int row : statics)
            tick(*window->CheckListBox2, row);
        window->Button1Click();
        for (QListWidget* list : {window->CheckListBox1, window->CheckListBox2})
            for (int row = 0; row < list->count(); ++row)
                list->item(row)->setCheckState(Qt::Unchecked);
    }
    void change(int moveable, const QString& id) {
        window->ListBox1->setCurrentRow(moveable);
        window->Edit6->setText(id);
        window->Button3Click();
    }
    [[nodiscard]] const level::LevelDocument& document() const { return *window->target(); }
    [[nodiscard]] level::LevelDocument onDisk() const { return level::openLevelDocument(targetPath).value(); }

    std::filesystem::path targetPath;
    level::LevelDocument opened;
};

TEST_F(HistoryTest, UnsavedChangesAreSettledOnEveryWayOut) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("target.tr4[*] - Veltrane Beta Version"));
    EXPECT_FALSE(window->isWindowModified());
    merge({0});
    EXPECT_TRUE(window->isWindowModified());

    const auto other = writeTarget("other.tr4");
    dialogs.saveChoices = {Choice::Cancel, Choice::Cancel, Choice::Cancel};
    EXPECT_FALSE(window->close());
    window->Exit1->trigger();
    EXPECT_TRUE(window->isVisible());
    openTarget(other);
    EXPECT_EQ(dialogs.questions, std::vector<QString>(3, "Save changes to target.tr4?"));
    EXPECT_EQ(window->target()->level.Moveables.size(), 2u) << "Cancel keeps the merged target";
    EXPECT_TRUE(onDisk() == opened);

    // A save that fails keeps the target; one that works goes on, and the file holds the merge.
    // A folder in the target's place cannot be replaced by the level.
    std::filesystem::remove(targetPath);
    std::filesystem::create_directory(targetPath);
    dialogs.saveChoices = {Choice::Save};
    openTarget(other);
    EXPECT_EQ(lastNotice().title, QStringLiteral("Error"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("target.tr4[*] - Veltrane Beta Version"));
    std::filesystem::remove(targetPath);
    const level::LevelDocument merged = document();
    dialogs.saveChoices = {Choice::Save};
    openTarget(other);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("other.tr4[*] - Veltrane Beta Version"));
    EXPECT_EQ(onDisk().level.Moveables, merged.level.Moveables);
    EXPECT_FALSE(window->isWindowModified());

    change(0, QStringLiteral("21"));
    dialogs.saveChoices = {Choice::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(level::openLevelDocument(other).value().level.Moveables.at(0).ObjectId, 20u);
}

TEST_F(HistoryTest, UndoAndRedoGoBackToEveryStateAndEverythingOnShowFollows) {
    EXPECT_FALSE(window->Undo1->isEnabled());
    merge({0, 1}, {1});
    const QString mergedMemo = window->Memo1->toPlainText();
    const level::LevelDocument afterMerge = document();
    const QString mergedCaption = window->GroupBox1->title();
    EXPECT_EQ(window->Undo1->text(), QStringLiteral("Undo Merge of 3 objects"));
    change(0, QStringLiteral("33"));
    EXPECT_EQ(window->Undo1->text(), QStringLiteral("Undo Change of Moveable ID #20 to #33"));
    merge({1});
    EXPECT_EQ(window->Undo1->text(), QStringLiteral("Undo Merge of 1 object"));
    const level::LevelDocument last = document();

    window->Undo1->trigger();
    window->Undo1->trigger();
    EXPECT_TRUE(document() == afterMerge);
    EXPECT_EQ(window->Memo1->toPlainText(), mergedMemo);
    window->Undo1->trigger();
    EXPECT_TRUE(document() == opened);
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #20  LARA_SPEECH_HEAD4"}));
    EXPECT_EQ(window->ListBox2->count(), 1);
    EXPECT_EQ(window->GroupBox1->title(), QStringLiteral("Meshes: ") + QString::number(opened.meshes.count()));
    EXPECT_TRUE(window->Memo1->toPlainText().isEmpty());
    EXPECT_FALSE(window->isWindowModified());

    window->Redo1->trigger();
    EXPECT_TRUE(document() == afterMerge);
    EXPECT_EQ(window->GroupBox1->title(), mergedCaption);
    window->Redo1->trigger();
    window->Redo1->trigger();
    EXPECT_TRUE(document() == last);
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #33  VEHICLE_EXTRA", "Moveable:ID #60  TROOPS_MIP", "Moveable:ID #61  KNIGHTS_TEMPLAR",
                                                       "Moveable:ID #61  KNIGHTS_TEMPLAR"}));

    // Save writes back without a word; the saved state is the clean one.
    const std::size_t notices = dialogs.notices.size();
    window->Save1->trigger();
    EXPECT_EQ(dialogs.notices.size(), notices);
    EXPECT_EQ(onDisk().level.Moveables, last.level.Moveables);
    window->Undo1->trigger();
    EXPECT_TRUE(window->isWindowModified());
    window->Redo1->trigger();
    EXPECT_FALSE(window->isWindowModified());
}

TEST_F(HistoryTest, ConflictingIdsAreAskedOnceWithEachAnswer) {
    change(0, QStringLiteral("60")); // the target's moveable takes the ID of the source's first
    const level::LevelDocument before = document();
    dialogs.conflictChoices = {Dialogs::ConflictChoice::Cancel};
    merge({0, 1});
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(dialogs.questions[0].contains(QStringLiteral("\nMoveable ID #60\n"))) << dialogs.questions[0].toStdString();
    EXPECT_TRUE(document() == before);

    dialogs.conflictChoices = {Dialogs::ConflictChoice::Replace};
    merge({0, 1}); // the target's 60 goes, the merged 60 and 61 come in
    EXPECT_EQ(entries(*window->ListBox1), QStringList({"Moveable:ID #60  TROOPS_MIP", "Moveable:ID #61  KNIGHTS_TEMPLAR"}));
    EXPECT_GE(document().level.Moveables.at(0).StartingMesh, before.level.MeshPointers.size()) << "the merged one";
    window->Undo1->trigger();
    EXPECT_TRUE(document() == before);

    // Change asks before it gives an ID another object of the kind has.
    merge({1});
    dialogs.confirmAnswers = {false, true};
    change(1, QStringLiteral("60"));
    EXPECT_EQ(dialogs.questions.back(), QStringLiteral("Moveable ID #60 is already in the level; the game uses only "
                                                       "one of them. Give this object ID #60 anyway?"));
    EXPECT_EQ(document().level.Moveables.at(1).ObjectId, 61u);
    change(1, QStringLiteral("60"));
    EXPECT_EQ(document().level.Moveables.at(1).ObjectId, 60u);
}

} // namespace
} // namespace veltrane::app::testing
