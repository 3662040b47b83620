#include "document/text_search.h"

#include <algorithm>

namespace nv {

bool IsHebrewPoint(std::uint8_t byte) {
    return (byte >= 0xC0 && byte <= 0xCD) || byte == 0xCF || byte == 0xD1 || byte == 0xD2;
}

namespace {

constexpr std::uint8_t Geresh = 0xD7;
constexpr std::uint8_t Gershayim = 0xD8;

bool IsHebrewLetter(std::uint8_t b) {
    return (b >= 0xD4 && b <= 0xD6) ||  // the Yiddish double letters
           (b >= 0xE0 && b <= 0xFA);
}

// The last byte before i that is no point: the letter that carries the points before i.
// -1 at the start of the text.
std::int32_t BaseBefore(const std::uint8_t* text, std::int32_t i) {
    std::int32_t k = i - 1;
    while (k >= 0 && IsHebrewPoint(text[k])) --k;
    return k;
}

std::uint8_t Folded(std::uint8_t b) {
    return b >= 'A' && b <= 'Z' ? static_cast<std::uint8_t>(b - 'A' + 'a') : b;
}

bool SameByte(std::uint8_t a, std::uint8_t b, bool matchCase) {
    return a == b || (!matchCase && Folded(a) == Folded(b));
}

bool HoldsPoints(const SearchPattern& p) {
    for (std::int32_t k = 0; k < p.Length; ++k) {
        if (IsHebrewPoint(p.Bytes[k])) return true;
    }
    return false;
}

std::int32_t SkipPoints(const std::uint8_t* bytes, std::int32_t length, std::int32_t i) {
    while (i < length && IsHebrewPoint(bytes[i])) ++i;
    return i;
}

// Unicode's canonical combining class of a point, which gives its place in canonical order.
// Holam (0xC9) and holam haser for vav (0xCA) share one.
int CombiningClass(std::uint8_t point) {
    if (point <= 0xC9) return 10 + (point - 0xC0);
    if (point <= 0xCD) return 19 + (point - 0xCA);
    return point == 0xCF ? 23 : point == 0xD1 ? 24 : 25;
}

// Whether two runs of n points put in canonical order are equal: the points of each class
// come in the same order in both, and points of different classes may come in any order.
bool SamePoints(const std::uint8_t* a, const std::uint8_t* b, std::int32_t n) {
    for (int c = CombiningClass(0xC0); c <= CombiningClass(0xD2); ++c) {
        std::int32_t i = 0;
        std::int32_t j = 0;
        for (;;) {
            while (i < n && CombiningClass(a[i]) != c) ++i;
            while (j < n && CombiningClass(b[j]) != c) ++j;
            if (i == n || j == n) {
                if (i != j) return false;  // one run holds more of this class
                break;
            }
            if (a[i++] != b[j++]) return false;
        }
    }
    return true;
}

// The whole stretch is a word of its own: the bytes on either side belong to none.
bool IsWholeWord(const std::uint8_t* text, std::int32_t length, std::int32_t start,
                 std::int32_t end) {
    return !IsPartOfWord(text, length, start - 1) && !IsPartOfWord(text, length, end);
}

// A pattern with points: each letter must carry the same points as the pattern's, the last
// letter included. Points before the pattern's first letter find as many points in the text
// wherever they stand, so a pattern of points alone finds them on any letter.
std::int32_t PointedEnd(const std::uint8_t* text, std::int32_t length, std::int32_t at,
                        const SearchPattern& p) {
    std::int32_t i = at;
    std::int32_t k = 0;
    while (k < p.Length) {
        const bool leading = k == 0 && IsHebrewPoint(p.Bytes[0]);
        if (!leading) {
            if (i >= length || !SameByte(text[i], p.Bytes[k], p.MatchCase)) return -1;
            ++i;
            ++k;
        }
        const std::int32_t points = SkipPoints(p.Bytes, p.Length, k) - k;
        // A letter's points are all of them; leading ones are only as many as the pattern's.
        const std::int32_t limit = leading ? std::min(length, i + points) : length;
        if (SkipPoints(text, limit, i) - i != points ||
            !SamePoints(text + i, p.Bytes + k, points)) {
            return -1;
        }
        i += points;
        k += points;
    }
    return i;
}

std::int32_t BareEnd(const std::uint8_t* text, std::int32_t length, std::int32_t at,
                     const SearchPattern& p) {
    std::int32_t i = at;
    for (std::int32_t k = 0; k < p.Length; ++k) {
        if (k > 0) i = SkipPoints(text, length, i);
        if (i >= length || !SameByte(text[i], p.Bytes[k], p.MatchCase)) return -1;
        ++i;
    }
    return SkipPoints(text, length, i);
}

}  // namespace

bool IsWordByte(std::uint8_t b) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
           IsHebrewLetter(b);
}

bool IsPartOfWord(const std::uint8_t* text, std::int32_t length, std::int32_t i) {
    if (i < 0 || i >= length) return false;
    const std::uint8_t b = text[i];
    if (IsWordByte(b)) return true;
    const std::int32_t base = BaseBefore(text, i);
    if (IsHebrewPoint(b)) return base >= 0 && IsWordByte(text[base]);
    if (b != Geresh && b != Gershayim && b != '\'' && b != '"') return false;
    if (base < 0 || !IsHebrewLetter(text[base])) return false;
    if (i + 1 < length && IsHebrewLetter(text[i + 1])) return true;
    return b == Geresh && (i + 1 >= length || !IsWordByte(text[i + 1]));
}

std::int32_t MatchEndAt(const std::uint8_t* text, std::int32_t length, std::int32_t at,
                        const SearchPattern& pattern) {
    if (pattern.Length <= 0 || at < 0 || at >= length) return -1;
    const std::int32_t end = HoldsPoints(pattern) ? PointedEnd(text, length, at, pattern)
                                                  : BareEnd(text, length, at, pattern);
    if (end < 0 || (pattern.WholeWord && !IsWholeWord(text, length, at, end))) return -1;
    return end;
}

bool FindMatch(const std::uint8_t* text, std::int32_t length, std::int32_t from, bool down,
               const SearchPattern& pattern, TextMatch* found) {
    if (pattern.Length <= 0) return false;
    const std::uint8_t first = pattern.Bytes[0];
    const std::uint8_t other = pattern.MatchCase ? first
                               : first >= 'a' && first <= 'z'
                                   ? static_cast<std::uint8_t>(first - 'a' + 'A')
                                   : Folded(first);
    // Only a byte equal to the pattern's first letter can begin a match; the rest is checked
    // there. Leading points may stand in any order.
    const bool anyFirst = IsHebrewPoint(first);
    auto tryAt = [&](std::int32_t at) {
        if (!anyFirst && text[at] != first && text[at] != other) return -1;
        return MatchEndAt(text, length, at, pattern);
    };
    if (down) {
        for (std::int32_t at = from < 0 ? 0 : from; at < length; ++at) {
            const std::int32_t end = tryAt(at);
            if (end >= 0) {
                *found = TextMatch{at, end};
                return true;
            }
        }
        return false;
    }
    for (std::int32_t at = (from > length ? length : from) - 1; at >= 0; --at) {
        const std::int32_t end = tryAt(at);
        if (end >= 0 && end <= from) {
            *found = TextMatch{at, end};
            return true;
        }
    }
    return false;
}

}  // namespace nv
