#include "commands/find_commands.h"

#include <cstring>
#include <string>

#include "commands/unicode_text.h"
#include "document/store.h"
#include "document/text_search.h"
#include "input/text_edit.h"
#include "view/redraw.h"

namespace nv {

namespace {

constexpr WORD TextUnits = 256;  // each of the dialogs' two texts, with its final U+0000
constexpr const char* FindCaption = "Can Not Find";
constexpr const char* ReplaceCaption = "Can Not Replace";
constexpr const char* NoDialogMessage = "Can not open the dialog";
constexpr const char* UnmappedReplacementMessage =
    "The replacement holds characters that a Hebrew document can not hold";

// A search as the dialog asked for it; Find Next repeats the last one.
struct Search {
    WCHAR Text[TextUnits] = {};
    DWORD Flags = 0;  // FR_DOWN, FR_MATCHCASE, FR_WHOLEWORD
};

struct FindState {
    FINDREPLACEW Record;  // the open dialog writes into it, so it lives as long
    WCHAR FindWhat[TextUnits] = {};
    WCHAR ReplaceWith[TextUnits] = {};
    DWORD Options = FR_DOWN;  // the dialog's check boxes and direction, kept between openings
    HWND Dialog = nullptr;
    bool DialogIsReplace = false;
    UINT Message = 0;
    bool Searched = false;
    Search Last;
};

FindState State;

// The dialog's two texts as document bytes.
std::uint8_t PatternBytes[TextUnits];
std::uint8_t ReplacementBytes[TextUnits];
// Replace All's new text of the stretch from its first match to its last.
std::uint8_t ReplacedSpan[TextLimit];

// While a search or replacement runs with the dialog open, its warnings are owned by the
// dialog: it waits for their answer, so no click on it can stack another box.
struct DialogOwnsWarnings {
    DialogOwnsWarnings() { Doc.WarningOwner = State.Dialog; }
    ~DialogOwnsWarnings() { Doc.WarningOwner = nullptr; }
    DialogOwnsWarnings(const DialogOwnsWarnings&) = delete;
    DialogOwnsWarnings& operator=(const DialogOwnsWarnings&) = delete;
};

std::int32_t UnitCount(const WCHAR* units) {
    std::int32_t n = 0;
    while (n < TextUnits - 1 && units[n] != 0) ++n;
    return n;
}

// The search text as document bytes; false when it is empty or a unit has no byte, since
// the default character in its place would find what was not asked for.
bool ToPattern(const Search& search, SearchPattern* pattern) {
    const std::int32_t n = UnitCount(search.Text);
    for (std::int32_t k = 0; k < n; ++k) {
        const int b = DocumentByteOfUnit(search.Text[k]);
        if (b < 0) return false;  // no document byte stands for it
        PatternBytes[k] = static_cast<std::uint8_t>(b);
    }
    *pattern = SearchPattern{PatternBytes, n, (search.Flags & FR_MATCHCASE) != 0,
                             (search.Flags & FR_WHOLEWORD) != 0};
    return n > 0;
}

std::int32_t SearchedLength() { return Doc.TextLength - 1; }  // the terminator is no text

bool HasSelection() { return Doc.SelectionActive != 0 && Doc.SelectionEnd != Doc.SelectionStart; }

// The search text as typed, on the dialog while it is open.
void ShowNotFound(const Search& search) {
    const std::u16string text =
        u"Can not find \"" + std::u16string(search.Text, UnitCount(search.Text)) + u"\"";
    MessageBoxW(State.Dialog != nullptr ? State.Dialog : Doc.MainWindow, text.c_str(), u"Find",
                MB_ICONINFORMATION);
}

// Selects a match with the caret at its end, repainting what changes highlight.
void SelectMatch(TextMatch match) {
    if (Doc.SelectionActive != 0) {
        Doc.SelectionActive = 0;
        RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
    }
    const std::int32_t old = Doc.Caret;
    Doc.Caret = match.End;
    RefreshCaret(old);
    RefreshCaret(Doc.Caret);
    Doc.SelectionStart = match.Start;
    Doc.SelectionEnd = match.End;
    Doc.SelectionActive = 1;
    RefreshRange(match.Start, match.End);
    FollowCaret();
}

// Down from the end of the selection (or the caret), up from its start.
void FindFromSelection(const Search& search) {
    State.Last = search;
    State.Searched = true;
    const bool down = (search.Flags & FR_DOWN) != 0;
    const bool selection = HasSelection();
    const std::int32_t from = !selection ? Doc.Caret : down ? Doc.SelectionEnd : Doc.SelectionStart;
    SearchPattern pattern;
    TextMatch match;
    if (ToPattern(search, &pattern) &&
        FindMatch(Doc.TextBuffer, SearchedLength(), from, down, pattern, &match)) {
        SelectMatch(match);
    } else {
        ShowNotFound(search);
    }
}

// The replacement text as document bytes and its length; -1, after the refusal is shown,
// when a unit has no byte.
std::int32_t ToReplacement() {
    const std::int32_t n = UnitCount(State.ReplaceWith);
    for (std::int32_t k = 0; k < n; ++k) {
        const int b = DocumentByteOfUnit(State.ReplaceWith[k]);
        if (b < 0) {
            ShowWarning(UnmappedReplacementMessage, ReplaceCaption);
            return -1;
        }
        ReplacementBytes[k] = static_cast<std::uint8_t>(b);
    }
    return n;
}

// Replaces the selection when it is a match, then finds the next one.
void ReplaceSelection(const Search& search) {
    SearchPattern pattern;
    if (HasSelection() && ToPattern(search, &pattern) &&
        MatchEndAt(Doc.TextBuffer, SearchedLength(), Doc.SelectionStart, pattern) ==
            Doc.SelectionEnd) {
        const std::int32_t n = ToReplacement();
        if (n < 0 || !ApplyTextEdit(SelectionOrCaret(), ReplacementBytes, n, ReplaceCaption)) {
            return;
        }
    }
    FindFromSelection(search);
}

// Every match from the start of the text, as one edit of the stretch from the first match to
// the last, so that the whole change is one step; refused whole when it would not fit.
void ReplaceEveryMatch(const Search& search) {
    State.Last = search;
    State.Searched = true;
    SearchPattern pattern;
    if (!ToPattern(search, &pattern)) {
        ShowNotFound(search);
        return;
    }
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t length = SearchedLength();
    TextMatch match;
    if (!FindMatch(text, length, 0, true, pattern, &match)) {
        ShowNotFound(search);
        return;
    }
    const std::int32_t n = ToReplacement();
    if (n < 0) return;
    const std::int32_t first = match.Start;
    std::int32_t last = 0;
    std::int64_t grown = 0;  // bytes the text gains
    do {
        last = match.End;
        grown += n - (match.End - match.Start);
    } while (FindMatch(text, length, match.End, true, pattern, &match));
    if (Doc.TextLength + grown > TextLimit) {
        ShowWarning(TextLimitMessage, ReplaceCaption);
        return;
    }
    std::int32_t out = 0;
    std::int32_t copied = first;
    for (std::int32_t at = first; at < last && FindMatch(text, length, at, true, pattern, &match);
         at = match.End) {
        std::memcpy(ReplacedSpan + out, text + copied,
                    static_cast<std::size_t>(match.Start - copied));
        out += match.Start - copied;
        std::memcpy(ReplacedSpan + out, ReplacementBytes, static_cast<std::size_t>(n));
        out += n;
        copied = match.End;
    }
    // The caret ends after the last replacement: the end of the replaced stretch.
    ApplyTextEdit(EditSpan{first, last - first}, ReplacedSpan, out, ReplaceCaption);
}

// The dialog starts with the selected text when it is short and on one line.
void TakeSelectionAsText() {
    if (!HasSelection()) return;
    const std::int32_t n = Doc.SelectionEnd - Doc.SelectionStart;
    if (n >= TextUnits) return;
    const std::uint8_t* bytes = Doc.TextBuffer + Doc.SelectionStart;
    for (std::int32_t k = 0; k < n; ++k) {
        if (bytes[k] == CarriageReturn || bytes[k] == LineFeed) return;
    }
    for (std::int32_t k = 0; k < n; ++k) State.FindWhat[k] = CharacterOfByte(bytes[k]);
    State.FindWhat[n] = 0;
}

void OpenDialog(bool replace) {
    if (Doc.TextLength < 2) return;
    // One dialog at a time: choosing either command again brings the open one forward.
    if (State.Dialog != nullptr) {
        SetActiveWindow(State.Dialog);
        return;
    }
    const char* caption = replace ? ReplaceCaption : FindCaption;
    if (State.Message == 0) State.Message = RegisterWindowMessageW(FINDMSGSTRINGW);
    if (State.Message == 0) {
        ShowWarning(NoDialogMessage, caption);
        return;
    }
    TakeSelectionAsText();
    FINDREPLACEW& record = State.Record;
    record = FINDREPLACEW{};
    record.lStructSize = sizeof(FINDREPLACEW);
    record.hwndOwner = Doc.MainWindow;
    record.Flags = State.Options;
    record.lpstrFindWhat = State.FindWhat;
    record.wFindWhatLen = TextUnits;
    record.lpstrReplaceWith = State.ReplaceWith;
    record.wReplaceWithLen = TextUnits;
    State.Dialog = replace ? ReplaceTextW(&record) : FindTextW(&record);
    State.DialogIsReplace = replace;
    if (State.Dialog == nullptr) ShowWarning(NoDialogMessage, caption);
}

}  // namespace

void EditFind() { OpenDialog(false); }

void EditReplace() { OpenDialog(true); }

void EditFindNext() {
    if (Doc.TextLength < 2) return;
    if (!State.Searched) {
        OpenDialog(false);
        return;
    }
    const Search search = State.Last;  // the search keeps its text while it runs
    const DialogOwnsWarnings owned;
    FindFromSelection(search);
}

bool IsFindReplaceMessage(UINT message) { return State.Message != 0 && message == State.Message; }

void HandleFindReplaceMessage(LPARAM lParam) {
    const auto* record = reinterpret_cast<const FINDREPLACEW*>(lParam);
    if (record != &State.Record) return;
    const DWORD flags = record->Flags;
    if (flags & FR_DIALOGTERM) {
        State.Dialog = nullptr;
        return;
    }
    // The Replace dialog has no direction: it always searches down, and the Find dialog
    // keeps the direction it had.
    const DWORD down = State.DialogIsReplace ? State.Options & FR_DOWN : flags & FR_DOWN;
    State.Options = down | (flags & (FR_MATCHCASE | FR_WHOLEWORD));
    Search search;
    std::memcpy(search.Text, State.FindWhat, sizeof search.Text);
    search.Text[TextUnits - 1] = 0;
    search.Flags = State.Options | (State.DialogIsReplace ? FR_DOWN : 0);
    const DialogOwnsWarnings owned;
    if (flags & FR_REPLACEALL) {
        ReplaceEveryMatch(search);
    } else if (flags & FR_REPLACE) {
        ReplaceSelection(search);
    } else if (flags & FR_FINDNEXT) {
        FindFromSelection(search);
    }
}

HWND FindReplaceDialog() { return State.Dialog; }

void ResetFindState() { State = FindState{}; }

}  // namespace nv
