#include "commands/undo_commands.h"

#include "document/edit_history.h"
#include "document/store.h"
#include "input/text_edit.h"

namespace nv {

namespace {

// The bytes a step puts back, in one piece out of the ring.
std::uint8_t StepBytes[TextLimit];

}  // namespace

void EditUndo() {
    EditStep step;
    if (!PeekUndo(&step, StepBytes)) return;
    if (ApplyTextEdit(EditSpan{step.Position, step.Inserted}, StepBytes, step.Removed,
                      "Can Not Undo", EditKind::FromHistory, step.CaretBefore)) {
        CommitUndo();
    }
}

void EditRedo() {
    EditStep step;
    if (!PeekRedo(&step, StepBytes)) return;
    if (ApplyTextEdit(EditSpan{step.Position, step.Removed}, StepBytes, step.Inserted,
                      "Can Not Redo", EditKind::FromHistory)) {
        CommitRedo();
    }
}

}  // namespace nv
