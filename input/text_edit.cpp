#include "input/text_edit.h"

#include <cstring>

#include "document/document_font.h"
#include "document/layout.h"
#include "document/store.h"
#include "document/words.h"
#include "platform/platform.h"
#include "view/line_order.h"
#include "view/redraw.h"
#include "view/screen_layout.h"

namespace nv {

EditSpan SelectionOrCaret() {
    if (Doc.SelectionActive != 0) {
        return EditSpan{Doc.SelectionStart, Doc.SelectionEnd - Doc.SelectionStart};
    }
    return EditSpan{Doc.Caret, 0};
}

namespace {

// Bytes p+r .. TextLength-1 (the terminator included) move down by r; the bytes that fall
// free at the end are cleared so that nothing stale follows the terminator.
void RemoveBytes(std::int32_t p, std::int32_t r) {
    std::uint8_t* text = Doc.TextBuffer;
    std::memmove(text + p, text + p + r, static_cast<std::size_t>(Doc.TextLength - p - r));
    std::memset(text + Doc.TextLength - r, 0, static_cast<std::size_t>(r));
    Doc.TextLength -= r;
}

void InsertBytes(std::int32_t p, const std::uint8_t* bytes, std::int32_t n) {
    std::uint8_t* text = Doc.TextBuffer;
    std::memmove(text + p + n, text + p, static_cast<std::size_t>(Doc.TextLength - p));
    std::memcpy(text + p, bytes, static_cast<std::size_t>(n));
    Doc.TextLength += n;
}

}  // namespace

bool ApplyTextEdit(EditSpan span, const std::uint8_t* inserted, std::int32_t count,
                   const char* caption, EditKind kind, std::int32_t restoredCaret) {
    const std::int32_t p = span.Position;
    const std::int32_t r = span.Removed;

    // Both checks come before anything changes; the limit wins when both would fail.
    if (count > 0 && Doc.TextLength - r + count > TextLimit) {
        ShowWarning(TextLimitMessage, caption);
        return false;
    }
    OldLines old;
    if (!TakeOldLines(&old)) {
        ShowWarning(NoMemoryMessage, caption);
        return false;
    }
    const HeldScreenTextContext screen;  // for every measure and refresh below
    // Recorded while the removed bytes are still there; the history never refuses.
    RecordEdit(EditStep{p, r, count, Doc.Caret, kind}, Doc.TextBuffer + p, inserted);

    {
        // Up to the scroll that follows the caret, the repaints are joined where they share
        // rows: the caret's two places and the changed line are mostly one rectangle.
        const RepaintBatch repaints;
        // The highlight goes while the old text is still there to be repainted.
        if (Doc.SelectionActive != 0) {
            Doc.SelectionActive = 0;
            RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
        }
        // The caret mark goes too.
        EraseCaret();

        NoteTextEdit(p, r, inserted, count);
        CountWordsBeforeEdit(p, r);
        if (r > 0) RemoveBytes(p, r);
        if (count > 0) InsertBytes(p, inserted, count);
        CountWordsAfterEdit(count);
        Doc.Caret = p + count;
        if (restoredCaret >= 0) {
            // Set before the repaints: the changed lines, which hold every byte put back,
            // are painted once, already highlighted.
            Doc.Caret = restoredCaret;
            Doc.SelectionStart = p;
            Doc.SelectionEnd = p + count;
            Doc.SelectionActive = count > 0 ? 1 : 0;
        }
        ++Doc.EditCount;

        LayoutAfterEdit(p, r, count);
        RefreshCaret(Doc.Caret);
        RepaintChangedLines(old, p, r, count);
    }
    FollowCaret();
    FreeOldLines(&old);
    if (Doc.SelectionActive == 0) {
        Doc.SelectionStart = Doc.Caret;
        Doc.SelectionEnd = Doc.Caret;
    }
    return true;
}

}  // namespace nv
