// The one edit step behind typing, the editing keys, the Edit menu's changes and Replace:
// check the limits, paint the selection and the caret away, splice the text, lay it out again
// and repaint exactly what moved, in that order. Each repaint only invalidates; the window is
// painted once the message has been handled, from the records as the edit leaves them.
#pragma once

#include <cstdint>

#include "document/edit_history.h"

namespace nv {

// Where an edit happens: removed bytes are taken out at Position, inserted ones put in there.
struct EditSpan {
    std::int32_t Position = 0;
    std::int32_t Removed = 0;
};

// The active selection, or the caret with nothing removed.
EditSpan SelectionOrCaret();

// Messages of a refused edit, shown under the operation's own caption.
constexpr const char* TextLimitMessage = "Input exceeds memory limit";
constexpr const char* NoMemoryMessage = "Can not allocate memory";

// Replaces span.Removed bytes at span.Position with `count` bytes. Refuses, with a warning
// under `caption` and nothing changed, when the text would outgrow its buffer or the copy of
// the old lines cannot be allocated. Afterwards the caret stands after the inserted bytes and
// no selection is active. Returns false when refused. Every edit made is recorded in the
// history as a step of its `kind`, except the ones Undo and Redo make from it. Undo passes
// `restoredCaret`, where the caret stood before the step: the caret goes back there and the
// inserted bytes (the ones the step removed) are selected.
bool ApplyTextEdit(EditSpan span, const std::uint8_t* inserted, std::int32_t count,
                   const char* caption, EditKind kind = EditKind::Other,
                   std::int32_t restoredCaret = -1);

}  // namespace nv
