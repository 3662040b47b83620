#include "commands/edit_commands.h"

#include <algorithm>

#include "commands/unicode_text.h"
#include "document/store.h"
#include "input/text_edit.h"
#include "platform/platform.h"
#include "view/redraw.h"

namespace nv {

namespace {

constexpr const char* CutCaption = "Can Not Cut";
constexpr const char* CopyCaption = "Can Not Copy";
constexpr const char* PasteCaption = "Can Not Paste";
constexpr const char* ClipboardRefusedMessage = "Can not place the text on the Clipboard";
constexpr const char* NoClipboardHandleMessage =
    "Can not obtain a handle to the Clipboard memory object";

// A clipboard viewer, a clipboard manager or Wine's bridge to the X selection may hold the
// clipboard for a moment, so a refusal is taken as final only after a short wait.
bool OpenClipboardWaiting() {
    constexpr int Tries = 10;
    constexpr DWORD PauseMs = 20;
    for (int k = 1; k < Tries; ++k) {
        if (OpenClipboard(Doc.MainWindow)) return true;
        Sleep(PauseMs);
    }
    return OpenClipboard(Doc.MainWindow) != 0;
}

bool HasSelection() { return Doc.SelectionActive != 0 && Doc.SelectionEnd != Doc.SelectionStart; }

// Puts the selection on the clipboard as Unicode text ending in U+0000, each byte as the
// character the editor draws for it. On any failure shows why under `caption` and returns
// false; the block is freed unless the clipboard took it.
bool PutSelectionOnClipboard(const char* caption) {
    const std::int32_t n = Doc.SelectionEnd - Doc.SelectionStart;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE,
                                2 * static_cast<std::size_t>(n) + 2);
    if (block == nullptr) {
        ShowWarning(NoMemoryMessage, caption);
        return false;
    }
    auto* units = static_cast<std::uint8_t*>(GlobalLock(block));
    if (units == nullptr) {
        GlobalFree(block);
        ShowWarning(NoMemoryMessage, caption);
        return false;
    }
    for (std::int32_t k = 0; k < n; ++k) {
        PutUnit(units, static_cast<std::size_t>(k),
                CharacterOfByte(Doc.TextBuffer[Doc.SelectionStart + k]));
    }
    GlobalUnlock(block);

    bool placed = false;
    if (OpenClipboardWaiting()) {
        placed = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        CloseClipboard();
    }
    if (!placed) {
        GlobalFree(block);
        ShowWarning(ClipboardRefusedMessage, caption);
    }
    return placed;
}

// Copies the clipboard's Unicode text into a private buffer from the heap (freed by the
// caller with HeapFree), so that the clipboard is closed before the document changes. Shows
// the reason and returns nullptr when there is none to take.
std::uint8_t* TakeClipboardText(std::size_t* size) {
    if (!OpenClipboardWaiting()) {
        ShowWarning(NoClipboardHandleMessage, PasteCaption);
        return nullptr;
    }
    HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
    *size = block != nullptr ? GlobalSize(block) : 0;
    std::uint8_t* copy = nullptr;
    const char* problem = nullptr;
    if (*size == 0) {
        problem = NoClipboardHandleMessage;
    } else if ((copy = static_cast<std::uint8_t*>(HeapAlloc(HEAP_ZERO_MEMORY, *size + 2))) ==
               nullptr) {
        problem = NoMemoryMessage;
    } else if (const void* data = GlobalLock(block)) {
        std::copy_n(static_cast<const std::uint8_t*>(data), *size, copy);
        GlobalUnlock(block);
    } else {
        HeapFree(copy);
        copy = nullptr;
        problem = NoClipboardHandleMessage;
    }
    CloseClipboard();
    if (problem != nullptr) ShowWarning(problem, PasteCaption);
    return copy;
}

}  // namespace

void EditCopy() {
    if (!HasSelection()) return;
    PutSelectionOnClipboard(CopyCaption);
}

void EditCut() {
    if (!HasSelection()) return;
    // The text leaves the document only once the clipboard holds it.
    if (!PutSelectionOnClipboard(CutCaption)) return;
    ApplyTextEdit(SelectionOrCaret(), nullptr, 0, CutCaption);
}

void EditPaste() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return;
    std::size_t size = 0;
    std::uint8_t* text = TakeClipboardText(&size);
    if (text == nullptr) return;

    // Each unit becomes one byte, written over the copy: byte k lands before unit k + 1. A
    // unit without a byte becomes the font's default character, and is counted.
    const std::size_t k = ClipboardTextUnits(text, size);
    std::int32_t replaced = 0;
    for (std::size_t j = 0; j < k; ++j) {
        const int byte = DocumentByteOfUnit(UnitAt(text, j));
        if (byte < 0) ++replaced;
        text[j] = byte < 0 ? Doc.ScreenFontMetrics.tmDefaultChar : static_cast<std::uint8_t>(byte);
    }
    if (Doc.SelectionStart == Doc.SelectionEnd) Doc.SelectionActive = 0;
    // Past the limit the count no longer matters: the edit refuses the whole paste.
    const auto count = static_cast<std::int32_t>(std::min<std::size_t>(k, TextLimit + 1));
    const bool pasted = ApplyTextEdit(SelectionOrCaret(), text, count, PasteCaption);
    HeapFree(text);
    if (pasted && replaced > 0) ShowCharactersReplaced(replaced, u"the pasted text", u"");
}

void EditDelete() {
    if (!HasSelection()) return;
    ApplyTextEdit(SelectionOrCaret(), nullptr, 0, "Can Not Delete");
}

void EditSelectAll() {
    if (Doc.TextLength < 2) return;
    if (Doc.SelectionStart == Doc.SelectionEnd) Doc.SelectionActive = 0;
    const std::int32_t end = Doc.TextLength - 1;
    auto moveCaret = [end] {
        const std::int32_t old = Doc.Caret;
        Doc.Caret = end;
        if (old == end) return;
        RefreshCaret(old);
        RefreshCaret(end);
    };
    if (Doc.SelectionActive != 0) {
        // Only what becomes selected is repainted; the highlight already shown stays.
        moveCaret();
        if (Doc.SelectionStart > 0) {
            const std::int32_t oldStart = Doc.SelectionStart;
            Doc.SelectionStart = 0;
            RefreshRange(0, oldStart);
        }
        if (Doc.SelectionEnd < end) {
            const std::int32_t oldEnd = Doc.SelectionEnd;
            Doc.SelectionEnd = end;
            RefreshRange(oldEnd, end);
        }
    } else {
        // The ends of an inactive selection carry no meaning; an empty one at the caret keeps
        // the caret's repaints from drawing a stale highlight.
        Doc.SelectionStart = Doc.SelectionEnd = Doc.Caret;
        Doc.SelectionActive = 1;
        moveCaret();
        Doc.SelectionStart = 0;
        Doc.SelectionEnd = end;
        RefreshRange(0, end);
    }
    FollowCaret();
}

}  // namespace nv
