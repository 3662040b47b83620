// The matching rules, as one table: Hebrew and Latin text, case, whole words (Hebrew
// abbreviations included), both directions, the ends of the text, line breaks, and the points
// passed over or matched in any order.
#include "document/text_search.h"

#include <gtest/gtest.h>

#include <string>

namespace nv::test {
namespace {

// Shalom bare (shin lamed vav final mem) and pointed (shin qamats shin-dot lamed vav holam
// final mem).
const std::string Bare = "\xF9\xEC\xE5\xED";
const std::string Pointed = "\xF9\xC8\xD1\xEC\xE5\xC9\xED";
// Tsadi he, the start of the abbreviation tsadi he gershayim lamed, and the word with a geresh.
const std::string TsadiHe = "\xF6\xE4";
const std::string Quoted = "'" + TsadiHe + "' \"" + TsadiHe + "\"";

constexpr bool Down = true;
constexpr bool Up = false;

struct Case {
    const char* what;
    std::string text;
    std::string pattern;
    bool matchCase;
    bool wholeWord;
    bool down;
    std::int32_t from;
    std::int32_t start;  // -1: no match
    std::int32_t end;
};

TEST(TextSearch, MatchesByTheRules) {
    const Case cases[] = {
        {"plain Hebrew", "\xE0\xE1 " + Bare + " \xE2", Bare, false, false, Down, 0, 3, 7},
        {"Latin in any case", "One two TWO", "TWO", false, false, Down, 0, 4, 7},
        {"Latin with its case", "One two TWO", "TWO", true, false, Down, 0, 8, 11},
        {"no such case", "One two TWO", "Two", true, false, Down, 0, -1, 0},
        {"inside a word", "cat concat cat", "cat", false, false, Down, 1, 7, 10},
        {"whole words only", "cat concat cat", "cat", false, true, Down, 1, 11, 14},
        {"a digit joins a word", "a1cat cat", "cat", false, true, Down, 0, 6, 9},
        {"a pointed letter joins a word", "\xE1\xC8" + Bare, Bare, false, true, Down, 0, -1, 0},
        {"gershayim joins Hebrew letters", TsadiHe + "\xD8\xEC", TsadiHe, false, true, Down, 0, -1,
         0},
        {"ASCII gershayim too", TsadiHe + "\"\xEC", TsadiHe, false, true, Down, 0, -1, 0},
        {"a geresh ends a word", TsadiHe + "\xD7 x", TsadiHe, false, true, Down, 0, -1, 0},
        {"ASCII geresh between letters", "\xE2'" + TsadiHe, TsadiHe, false, true, Down, 0, -1, 0},
        {"closed by ASCII '", Quoted, TsadiHe, false, true, Down, 0, 1, 3},
        {"closed by ASCII \"", Quoted, TsadiHe, false, true, Up, 9, 6, 8},
        {"the abbreviation is whole", "x " + TsadiHe + "\xD8\xEC.", TsadiHe + "\xD8\xEC", false,
         true, Down, 0, 2, 6},
        {"down from the selection's end", "ab ab ab", "ab", false, false, Down, 4, 6, 8},
        {"up from the end", "ab ab ab", "ab", false, false, Up, 8, 6, 8},
        {"up from a match's start", "ab ab ab", "ab", false, false, Up, 6, 3, 5},
        {"up: no wrap-around", "ab ab ab", "ab", false, false, Up, 1, -1, 0},
        {"down: no wrap-around", "ab ab ab", "ab", false, false, Down, 7, -1, 0},
        {"the very start", "abc", "abc", false, false, Down, 0, 0, 3},
        {"the very end, up", "xabc", "abc", false, false, Up, 4, 1, 4},
        {"across a line break", "ab\r\ncd", "b\r\nc", false, false, Down, 0, 1, 5},
        {"bare finds pointed", "x " + Pointed, Bare, false, false, Down, 0, 2, 9},
        {"bare takes the last letter's points", Bare + "\xC0 x", Bare, false, true, Down, 0, 0, 5},
        {"bare finds a letter among points", Pointed, "\xE5", false, false, Down, 0, 4, 6},
        {"pointed skips bare", Bare + " " + Pointed, Pointed, false, false, Down, 0, 5, 12},
        {"pointed wants the same points", Pointed, "\xF9\xC8", false, false, Down, 0, -1, 0},
        {"pointed, same points", "\xF9\xC8\xEC", "\xF9\xC8", false, false, Down, 0, 0, 2},
        {"points alone", Pointed, "\xD1", false, false, Down, 0, 2, 3},
        {"points in the other order", Pointed, "\xF9\xD1\xC8", false, false, Down, 0, 0, 3},
        {"typed the other way round", "x \xF9\xD1\xC8", "\xF9\xC8\xD1", false, false, Down, 0, 2,
         5},
        {"points alone, other order", Pointed, "\xD1\xC8", false, false, Down, 0, 1, 3},
        {"holam and holam for vav keep their order", "\xE5\xC9\xCA", "\xE5\xCA\xC9", false, false,
         Down, 0, -1, 0},
        {"maqaf is no point", "\xF9\xCE\xEC", "\xF9\xEC", false, false, Down, 0, -1, 0},
        {"no match", "abc", "abd", false, false, Down, 0, -1, 0},
        {"longer than the text", "ab", "abc", false, false, Down, 0, -1, 0},
    };
    for (const Case& c : cases) {
        const SearchPattern pattern{reinterpret_cast<const std::uint8_t*>(c.pattern.data()),
                                    static_cast<std::int32_t>(c.pattern.size()), c.matchCase,
                                    c.wholeWord};
        TextMatch found{-1, -1};
        const bool any =
            FindMatch(reinterpret_cast<const std::uint8_t*>(c.text.data()),
                      static_cast<std::int32_t>(c.text.size()), c.from, c.down, pattern, &found);
        EXPECT_EQ(any, c.start >= 0) << c.what;
        if (any && c.start >= 0) {
            EXPECT_EQ(found.Start, c.start) << c.what;
            EXPECT_EQ(found.End, c.end) << c.what;
        }
    }
}

}  // namespace
}  // namespace nv::test
