#include "app/document_command.h"

#include <utility>

namespace veltrane::app {

DocumentCommand::DocumentCommand(const QString& text, level::LevelDocument& document, level::DocumentStep step,
                                 QString memoBefore, QString memoAfter, Show show)
    : QUndoCommand(text), document_(document), step_(std::move(step)), memoBefore_(std::move(memoBefore)),
      memoAfter_(std::move(memoAfter)), show_(std::move(show)) {}

void DocumentCommand::undo() {
    step_.undo(document_);
    show_(memoBefore_);
}

void DocumentCommand::redo() {
    if (std::exchange(made_, false))
        return;
    step_.redo(document_);
    show_(memoAfter_);
}

} // namespace veltrane::app
