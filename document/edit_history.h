// The edit history behind Undo and Redo: every change of the text as a step, in one ring of
// fixed static memory. A step is its header, the bytes it removed, the bytes it inserted and
// its own length, so that the ring can be walked both ways:
//
//   Ring  [ header | removed | inserted | length ][ header | ... | length ][ ...
//           ^Oldest                                                         ^Current  ^Newest
//
// Undo takes back the step that ends at Current, Redo does again the one that starts there.
// When a new step does not fit, the oldest steps are dropped; the largest step the text
// allows (a 32,767-byte selection replaced by 32,767 bytes) always fits.
#pragma once

#include <cstdint>

#include "document/store.h"

namespace nv {

// What kind of edit a step is decides whether the next edit joins it.
enum class EditKind : std::int32_t {
    Other,        // Cut, Paste, Delete, a selection removed by a key: a step of its own
    Typing,       // a typed or palette character, Tab, Enter: a word's characters join
    Backspace,    // a run of Backspaces joins
    DeleteKey,    // a run of Delete keys joins
    FromHistory,  // Undo and Redo themselves: not recorded again
};

struct EditStep {
    std::int32_t Position = 0;  // where the bytes were removed and inserted
    std::int32_t Removed = 0;
    std::int32_t Inserted = 0;
    std::int32_t CaretBefore = 0;
    EditKind Kind = EditKind::Other;
};

constexpr std::int32_t EditHistoryCapacity = 1 << 20;  // bytes of the ring

struct EditHistory {
    std::uint8_t Ring[EditHistoryCapacity];
    std::int64_t Capacity = EditHistoryCapacity;  // bytes of Ring in use
    // Offsets counted from the first byte ever recorded; a byte lives at offset % Capacity.
    std::int64_t Oldest = 0;
    std::int64_t Current = 0;
    std::int64_t Newest = 0;
    bool Open = false;  // the step that ends at Newest may still grow
};

extern EditHistory History;

// Drops every step: a new or opened document starts with an empty history.
void ClearEditHistory();

// Empties the history and uses only `capacity` bytes of the ring (at most its size), so that
// the dropping of old steps can be seen with small texts.
void SetEditHistoryCapacity(std::int64_t capacity);

// Records the edit about to replace step.Removed bytes at step.Position (`removed`, still in
// the text) by step.Inserted bytes. Joins the open step when the kinds match: a typed run
// (until a word begins after a space or a line break), a run of Backspaces, a run of Delete
// keys. Drops whatever could have been redone. Never fails and never allocates.
void RecordEdit(const EditStep& step, const std::uint8_t* removed, const std::uint8_t* inserted);

// Ends the step being built: the next edit begins a step of its own.
void BreakUndoGroup();

bool CanUndo();
bool CanRedo();

// The step Undo would take back, with the bytes it removed copied to `removed` (room for
// TextLimit bytes). False when there is none, or when the step does not fit the text as it
// stands, which would mean the text changed unrecorded: the history is then cleared.
bool PeekUndo(EditStep* step, std::uint8_t* removed);
// The step Redo would do again, with the bytes it inserted.
bool PeekRedo(EditStep* step, std::uint8_t* inserted);

// Move past the peeked step once its edit has been made.
void CommitUndo();
void CommitRedo();

}  // namespace nv
