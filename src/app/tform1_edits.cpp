// The commands that change the target: Change (a new object ID) and Merge, and their history.
#include "app/busy_cursor.h"
#include "app/document_command.h"
#include "app/object_id_text.h"
#include "app/tform1.h"
#include "level/slot_names.h"
#include "merge/merge_operation.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUndoStack>

#include <algorithm>
#include <new>

namespace veltrane::app {
namespace {

std::vector<std::int32_t> tickedEntries(const QListWidget& list) {
    std::vector<std::int32_t> ticked;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            ticked.push_back(i);
    return ticked;
}

QString kindName(merge::ObjectKind kind) {
    return kind == merge::ObjectKind::Moveable ? QStringLiteral("Moveable") : QStringLiteral("Static Mesh");
}

QString conflictQuestion(const std::vector<merge::IdConflict>& conflicts) {
    QString text = QStringLiteral("The target already has objects with these IDs, and the game uses only one object "
                                  "of each ID:\n");
    for (const auto& conflict : conflicts)
        text += QStringLiteral("\n") + kindName(conflict.kind) + QStringLiteral(" ID #") +
                QString::number(conflict.objectId);
    return text + QStringLiteral("\n\nReplace takes the target's objects out and puts the merged ones in; Keep both "
                                 "merges them beside the target's; Skip those merges the others only.");
}

merge::ConflictPolicy policyOf(Dialogs::ConflictChoice choice) {
    if (choice == Dialogs::ConflictChoice::Replace)
        return merge::ConflictPolicy::Replace;
    return choice == Dialogs::ConflictChoice::Skip ? merge::ConflictPolicy::Skip : merge::ConflictPolicy::Keep;
}

struct MergedCount {
    int statics = 0;
    int moveables = 0;
    [[nodiscard]] int total() const { return statics + moveables; }
};

// The ticked objects that go in: a skipped conflict does not, nor an object of a kind the target lacks.
MergedCount mergedObjects(const wad::WadLibrary& library, merge::MergeTicks ticks, merge::ConflictPolicy policy,
                          const std::vector<merge::IdConflict>& conflicts, const merge::MergeStatistics& statistics) {
    if (policy == merge::ConflictPolicy::Skip)
        ticks = merge::withoutConflicts(ticks, library, conflicts);
    MergedCount count{static_cast<int>(ticks.statics.size()), static_cast<int>(ticks.moveables.size())};
    for (const auto& skipped : statistics.skipped)
        --(skipped.kind == merge::ObjectKind::Moveable ? count.moveables : count.statics);
    return count;
}

QString counted(int count, const QString& one, const QString& many) {
    return QString::number(count) + QStringLiteral(" ") + (count == 1 ? one : many);
}

// "Merged 3 objects: 1 page, 67 texture pieces added"
QString mergeOutcome(int objects, const merge::MergeStatistics& statistics) {
    return QStringLiteral("Merged %1: %2, %3 added")
        .arg(counted(objects, QStringLiteral("object"), QStringLiteral("objects")),
             counted(statistics.pagesAdded, QStringLiteral("page"), QStringLiteral("pages")),
             counted(statistics.piecesAdded, QStringLiteral("texture piece"), QStringLiteral("texture pieces")));
}

} // namespace

void TForm1::recordEdit(const QString& text, level::DocumentMark mark, const QString& memoBefore) {
    level::DocumentStep step(*target_, std::move(mark));
    if (step.changesNothing())
        return;
    history_->push(new DocumentCommand(text, *target_, std::move(step), memoBefore, Memo1->toPlainText(),
                                       [this](const QString& memo) { showTargetChanged(memo); }));
}

void TForm1::showTargetChanged(const QString& memo) {
    const auto shown = Panel1->scene().selection();
    const auto& level = target_->level;
    if (shown && ((shown->list == preview::PreviewList::TargetMoveables &&
                   static_cast<std::size_t>(shown->index) >= level.Moveables.size()) ||
                  (shown->list == preview::PreviewList::TargetStatics &&
                   static_cast<std::size_t>(shown->index) >= level.StaticMeshes.size())))
        Panel1->clearSelection();
    {
        BusyCursor busy;
        Panel1->targetChanged();
    }
    fillTargetLists();
    Memo1->setPlainText(memo);
    enableCommands();
}

void TForm1::Button3Click() {
    if (!target_)
        return;
    const int moveable = ListBox1->currentRow();
    const int staticMesh = ListBox2->currentRow();
    if (moveable < 0 && staticMesh < 0)
        return;
    const auto id = parseObjectId(Edit6->text().toStdString());
    if (!id) {
        showMessage(QStringLiteral("'%1' is not a valid object ID (0 to 4294967295)").arg(Edit6->text()),
                    QStringLiteral("Veltrane"));
        return;
    }
    auto& level = target_->level;
    const bool isMoveable = moveable >= 0;
    std::uint32_t& objectId = isMoveable ? level.Moveables.at(static_cast<std::size_t>(moveable)).ObjectId
                                         : level.StaticMeshes.at(static_cast<std::size_t>(staticMesh)).ObjectId;
    if (objectId == *id)
        return;
    const QString kind = kindName(isMoveable ? merge::ObjectKind::Moveable : merge::ObjectKind::StaticMesh);
    const QString newId = QStringLiteral("#") + QString::number(*id);
    const auto hasId = [&](const auto& object) { return object.ObjectId == *id; };
    const bool taken = isMoveable ? std::any_of(level.Moveables.begin(), level.Moveables.end(), hasId)
                                  : std::any_of(level.StaticMeshes.begin(), level.StaticMeshes.end(), hasId);
    if (taken && !dialogs_->confirm(QStringLiteral("%1 ID %2 is already in the level; the game uses only one of them. "
                                                   "Give this object ID %2 anyway?")
                                        .arg(kind, newId),
                                    QStringLiteral("Veltrane")))
        return;

    level::DocumentMark mark = level::markDocument(*target_);
    const std::uint32_t previousId = objectId;
    const QString text = QStringLiteral("Change of %1 ID #%2 to %3").arg(kind, QString::number(previousId), newId);
    objectId = *id;
    recordEdit(text, std::move(mark), Memo1->toPlainText());
    fillTargetLists();
    showOutcome(QStringLiteral("Changed %1 ID #%2 to %3").arg(kind, QString::number(previousId), newId));
    Panel1->showInfo();
    const std::size_t slotCount = isMoveable ? level::kMoveableSlots : level::kStaticSlots;
    if (*id >= slotCount)
        showMessage(QStringLiteral("%1 ID %2 names no slot of the original game (%3 0 to %4); only engine extensions "
                                   "use such slots.")
                        .arg(kind, newId, isMoveable ? QStringLiteral("moveables") : QStringLiteral("static meshes"),
                             QString::number(slotCount - 1)),
                    QStringLiteral("Veltrane"));
}

void TForm1::Button1Click() {
    if (!target_ || !source_)
        return;
    const merge::MergeTicks ticks{tickedEntries(*CheckListBox2), tickedEntries(*CheckListBox1)};
    if (ticks.statics.empty() && ticks.moveables.empty())
        return;
    auto policy = merge::ConflictPolicy::Keep;
    const auto conflicts = merge::findConflicts(*target_, *source_, ticks);
    if (!conflicts.empty()) {
        const auto choice = dialogs_->askConflicts(conflictQuestion(conflicts));
        if (choice == Dialogs::ConflictChoice::Cancel)
            return;
        policy = policyOf(choice);
    }

    const QString memoBefore = Memo1->toPlainText();
    level::DocumentMark mark = level::markDocument(*target_);
    auto merged = [&] {
        BusyCursor busy;
        return merge::mergeObjects(*target_, *source_, ticks, policy);
    }();
    if (!merged) {
        showMessage(QString::fromStdString(merged.error()), QString());
        return;
    }
    const MergedCount count = mergedObjects(source_->library, ticks, policy, conflicts, merged.value());
    QString done = count.total() > 0 ? QStringLiteral("Merging Done Successfully!") : QStringLiteral("Nothing was merged.");
    for (const auto& skipped : merged->skipped)
        done += QStringLiteral("\n") + QString::fromStdString(merge::skippedMessage(skipped));
    showMessage(done, QString());
    if (count.total() == 0) {
        showOutcome(QStringLiteral("Nothing was merged"));
        return;
    }

    Memo1->clear();
    for (const std::string& line : merge::statisticsLines(merged.value()))
        Memo1->appendPlainText(QString::fromStdString(line));
    recordEdit(QStringLiteral("Merge of ") + counted(count.total(), QStringLiteral("object"), QStringLiteral("objects")),
               std::move(mark), memoBefore);
    showTargetChanged(Memo1->toPlainText());
    // Merged objects join the end of their tables.
    markNewEntries(ListBox1->count() - count.moveables, ListBox2->count() - count.statics);
    showOutcome(mergeOutcome(count.total(), merged.value()));
}

} // namespace veltrane::app
