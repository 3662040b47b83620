// Finding text in the document's bytes: Latin letters with or without their case, whole
// words, and Hebrew points. A search text without points passes over the points in the
// document, so the bare letters of a word find it pointed or not; a search text with points
// matches letter for letter, each letter with the same points in whatever order they were
// typed.
#pragma once

#include <cstdint>

namespace nv {

// The Hebrew points and marks written after a letter: vowels, dagesh, meteg, rafe, the shin
// and sin dots (0xC0-0xCD, 0xCF, 0xD1, 0xD2). Maqaf, paseq and sof pasuq are punctuation.
bool IsHebrewPoint(std::uint8_t byte);
// A letter (Latin or Hebrew, the Yiddish double letters too) or a digit.
bool IsWordByte(std::uint8_t b);

// The word rule of whole-word search: whether the byte at i belongs to a word. Letters and
// digits do, and the points that follow one. Geresh (0xD7), gershayim (0xD8) and their ASCII
// stand-ins ' and " do between two Hebrew letters, as in abbreviations; a geresh also does
// after a Hebrew letter at the end of a word. An ASCII ' there is more often a closing quote.
bool IsPartOfWord(const std::uint8_t* text, std::int32_t length, std::int32_t i);

struct SearchPattern {
    const std::uint8_t* Bytes = nullptr;
    std::int32_t Length = 0;
    bool MatchCase = false;  // Latin letters only: Hebrew has no case
    bool WholeWord = false;
};

// A stretch of the text, Start inclusive and End exclusive.
struct TextMatch {
    std::int32_t Start = 0;
    std::int32_t End = 0;
};

// The end of a match of the pattern that begins at `at` in the first `length` bytes of text,
// or -1 when none begins there. The match takes the points that follow its last letter too:
// without points in the pattern whatever they are, with points the same ones.
std::int32_t MatchEndAt(const std::uint8_t* text, std::int32_t length, std::int32_t at,
                        const SearchPattern& pattern);

// The first match that begins at or after `from`, going down; or, going up, the last one
// that ends at or before `from`. There is no wrap-around. False when there is none.
bool FindMatch(const std::uint8_t* text, std::int32_t length, std::int32_t from, bool down,
               const SearchPattern& pattern, TextMatch* found);

}  // namespace nv
