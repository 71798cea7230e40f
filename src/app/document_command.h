#pragma once

#include "level/document_step.h"

#include <QString>
#include <QUndoCommand>

#include <functional>

namespace veltrane::app {

// One edit of the target in the Edit menu's history. The edit is made before the command is pushed, so the
// redo that pushing runs does nothing the first time. After each undo and redo, `show` puts the target on
// show again with the statistics memo as it read after that state was made.
class DocumentCommand : public QUndoCommand {
public:
    using Show = std::function<void(const QString& memo)>;

    DocumentCommand(const QString& text, level::LevelDocument& document, level::DocumentStep step, QString memoBefore,
                    QString memoAfter, Show show);

    void undo() override;
    void redo() override;

private:
    level::LevelDocument& document_;
    level::DocumentStep step_;
    QString memoBefore_;
    QString memoAfter_;
    Show show_;
    bool made_ = true;
};

} // namespace veltrane::app
