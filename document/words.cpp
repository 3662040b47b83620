#include "document/words.h"

#include "document/store.h"
#include "document/text_search.h"

namespace nv {

namespace {

constexpr std::uint8_t Geresh = 0xD7;
constexpr std::uint8_t Gershayim = 0xD8;

bool IsBreak(std::uint8_t b) { return b == '\r' || b == '\n'; }

bool IsSpace(std::uint8_t b) { return b == ' ' || b == '\t'; }

// The bytes a line break at pos takes: 2 for CR LF, 1 for a lone CR or LF.
std::int32_t BreakLength(const std::uint8_t* text, std::int32_t length, std::int32_t pos) {
    return text[pos] == '\r' && pos + 1 < length && text[pos + 1] == '\n' ? 2 : 1;
}

enum class Kind { Word, Space, Break, Other };

Kind KindAt(const std::uint8_t* text, std::int32_t length, std::int32_t pos) {
    if (IsPartOfWord(text, length, pos)) return Kind::Word;
    if (IsBreak(text[pos])) return Kind::Break;
    return IsSpace(text[pos]) ? Kind::Space : Kind::Other;
}

// Spaces, punctuation and points without a letter: what lies between words on a line.
bool IsGap(const std::uint8_t* text, std::int32_t length, std::int32_t pos) {
    return !IsBreak(text[pos]) && !IsPartOfWord(text, length, pos);
}

}  // namespace

std::int32_t NextWordStart(const std::uint8_t* text, std::int32_t length, std::int32_t pos) {
    if (pos >= length) return length;
    if (IsBreak(text[pos])) return pos + BreakLength(text, length, pos);
    std::int32_t i = pos;
    while (i < length && IsPartOfWord(text, length, i)) ++i;
    while (i < length && IsGap(text, length, i)) ++i;
    return i;
}

std::int32_t PreviousWordStart(const std::uint8_t* text, std::int32_t length, std::int32_t pos) {
    if (pos <= 0) return 0;
    if (IsBreak(text[pos - 1])) {
        return pos >= 2 && text[pos - 2] == '\r' && text[pos - 1] == '\n' ? pos - 2 : pos - 1;
    }
    std::int32_t i = pos;
    while (i > 0 && IsGap(text, length, i - 1)) --i;
    if (i < pos && i > 0 && IsBreak(text[i - 1])) return i;  // the spaces that open a line
    while (i > 0 && IsPartOfWord(text, length, i - 1)) --i;
    return i;
}

TextMatch WordAround(const std::uint8_t* text, std::int32_t length, std::int32_t pos) {
    if (pos < 0 || pos >= length) return TextMatch{pos, pos};
    const Kind kind = KindAt(text, length, pos);
    if (kind == Kind::Break) return TextMatch{pos, pos};
    TextMatch run{pos, pos + 1};
    while (run.Start > 0 && KindAt(text, length, run.Start - 1) == kind) --run.Start;
    while (run.End < length && KindAt(text, length, run.End) == kind) ++run.End;
    return run;
}

std::int32_t CountWords(const std::uint8_t* text, std::int32_t length, std::int32_t from,
                        std::int32_t to) {
    if (to > length) to = length;
    if (from >= to) return 0;
    std::int32_t count = 0;
    bool before = false;  // the byte before is part of a word; a word cut at `from` counts
    for (std::int32_t i = from; i < to; ++i) {
        const bool word = IsPartOfWord(text, length, i);
        if (word && !before) ++count;
        before = word;
    }
    return count;
}

namespace {

struct WordCountRecord {
    std::int32_t Total = -1;  // -1: to be counted
    std::int32_t StretchStart = 0;
    std::int32_t StretchEnd = 0;  // before the edit
    std::int32_t Removed = 0;
};

WordCountRecord Words;

// No word and no point, geresh or quote: nothing on one side of it changes a word on the
// other.
bool IsBarrier(std::uint8_t b) {
    return !IsWordByte(b) && !IsHebrewPoint(b) && b != Geresh && b != Gershayim && b != '\'' &&
           b != '"';
}

}  // namespace

std::int32_t DocumentWordCount() {
    if (Words.Total < 0)
        Words.Total = CountWords(Doc.TextBuffer, Doc.TextLength - 1, 0, Doc.TextLength - 1);
    return Words.Total;
}

void ForgetWordCount() { Words.Total = -1; }

void CountWordsBeforeEdit(std::int32_t p, std::int32_t removed) {
    if (Words.Total < 0) return;
    const std::int32_t length = Doc.TextLength - 1;
    std::int32_t start = p;
    while (start > 0 && !IsBarrier(Doc.TextBuffer[start - 1])) --start;
    std::int32_t end = p + removed;
    while (end < length && !IsBarrier(Doc.TextBuffer[end])) ++end;
    Words.StretchStart = start;
    Words.StretchEnd = end;
    Words.Removed = removed;
    Words.Total -= CountWords(Doc.TextBuffer, length, start, end);
}

void CountWordsAfterEdit(std::int32_t inserted) {
    if (Words.Total < 0) return;
    // The stretch ends at the same barrier, moved by the edit.
    Words.Total += CountWords(Doc.TextBuffer, Doc.TextLength - 1, Words.StretchStart,
                              Words.StretchEnd - Words.Removed + inserted);
}

}  // namespace nv
