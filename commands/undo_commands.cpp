#include "commands/undo_commands.h"

#include "document/edit_history.h"
#include "document/store.h"
#include "input/text_edit.h"
#include "view/redraw.h"

namespace nv {

namespace {

// The bytes a step puts back, in one piece out of the ring.
std::uint8_t StepBytes[TextLimit];

}  // namespace

void EditUndo() {
    EditStep step;
    if (!PeekUndo(&step, StepBytes)) return;
    if (!ApplyTextEdit(EditSpan{step.Position, step.Inserted}, StepBytes, step.Removed,
                       "Can Not Undo", EditKind::FromHistory)) {
        return;
    }
    CommitUndo();

    // The records first, then every place that changed is repainted from them.
    const std::int32_t old = Doc.Caret;
    Doc.Caret = step.CaretBefore;
    Doc.SelectionStart = step.Removed > 0 ? step.Position : Doc.Caret;
    Doc.SelectionEnd = step.Removed > 0 ? step.Position + step.Removed : Doc.Caret;
    Doc.SelectionActive = step.Removed > 0 ? 1 : 0;
    if (old != Doc.Caret) {
        RefreshCaret(old);
        RefreshCaret(Doc.Caret);
    }
    if (step.Removed > 0) RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
    FollowCaret();
}

void EditRedo() {
    EditStep step;
    if (!PeekRedo(&step, StepBytes)) return;
    if (!ApplyTextEdit(EditSpan{step.Position, step.Removed}, StepBytes, step.Inserted,
                       "Can Not Redo", EditKind::FromHistory)) {
        return;
    }
    CommitRedo();
}

}  // namespace nv
