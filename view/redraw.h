// The operations that repaint exactly what changed: the caret strip, a line from a position
// leftward, a range of text, and the lines an edit moved. Each invalidates with erasing; the
// window is painted once when the message that asked for them has been handled, so painting
// sees the records as the whole operation leaves them.
#pragma once

#include <cstdint>

#include "document/store.h"

namespace nv {

// While one lives, the rectangles to repaint are gathered, those on the same rows joined,
// and each is invalidated once when it goes: under Wine every InvalidateRect is a call to
// the display server, and a keystroke repaints the caret's old place, its new one and the
// changed line, most often all on one line. Nothing may scroll the window while one lives.
class RepaintBatch {
public:
    RepaintBatch();
    ~RepaintBatch();
    RepaintBatch(const RepaintBatch&) = delete;
    RepaintBatch& operator=(const RepaintBatch&) = delete;
};

void RefreshCaret(std::int32_t pos);
void RefreshLineFrom(std::int32_t line, std::int32_t pos);
void RefreshRange(std::int32_t start, std::int32_t end);

// Takes the caret mark off the screen: its strip is repainted with Caret standing one
// further on, where painting leaves it out. Returns the old Caret, for the caller to put
// back or move on from.
std::int32_t EraseCaret();

// The Start and End of every display line before an edit, from the process heap, and the
// first line shown then.
struct OldLines {
    LineRecord* Lines = nullptr;
    std::int32_t Count = 0;
    std::int32_t ViewTop = 0;
};

// Takes the copy; false when the heap cannot give it (nothing is then allocated).
bool TakeOldLines(OldLines* copy);
void FreeOldLines(OldLines* copy);

// The edit position to pass to RepaintChangedLines after a new layout of unchanged text
// (with 0 bytes removed and inserted): it lies after every line, so each line is compared
// as it stands.
constexpr std::int32_t NoEditPosition = TextLimit;

// After the new layout (LayoutAfterEdit for an edit): repaints every visible line whose text
// or place changed by the edit at p (removed bytes taken out, inserted bytes put in), and the
// band below the last common line when the line count changed. When the layout moved the view
// to keep it in the scroll range, the whole text area is repainted instead.
void RepaintChangedLines(const OldLines& old, std::int32_t p, std::int32_t removed,
                         std::int32_t inserted);

// Scrolls the caret's line into view, moving the pixels, and paints the uncovered band.
void FollowCaret();

}  // namespace nv
