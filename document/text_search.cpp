#include "document/text_search.h"

namespace nv {

bool IsHebrewPoint(std::uint8_t byte) {
    return (byte >= 0xC0 && byte <= 0xCD) || byte == 0xCF || byte == 0xD1 || byte == 0xD2;
}

namespace {

bool IsWordByte(std::uint8_t b) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
           (b >= 0xD4 && b <= 0xD6) ||  // the Yiddish double letters
           (b >= 0xE0 && b <= 0xFA);
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

std::int32_t SkipPoints(const std::uint8_t* text, std::int32_t length, std::int32_t i) {
    while (i < length && IsHebrewPoint(text[i])) ++i;
    return i;
}

// No letter or digit right before the start or right after the end; the points of a letter
// belong to it, so they are looked past on both sides.
bool IsWholeWord(const std::uint8_t* text, std::int32_t length, std::int32_t start,
                 std::int32_t end) {
    std::int32_t before = start - 1;
    while (before >= 0 && IsHebrewPoint(text[before])) --before;
    if (before >= 0 && IsWordByte(text[before])) return false;
    const std::int32_t after = SkipPoints(text, length, end);
    return after >= length || !IsWordByte(text[after]);
}

std::int32_t ExactEnd(const std::uint8_t* text, std::int32_t length, std::int32_t at,
                      const SearchPattern& p) {
    if (at + p.Length > length) return -1;
    bool letters = false;
    for (std::int32_t k = 0; k < p.Length; ++k) {
        if (!SameByte(text[at + k], p.Bytes[k], p.MatchCase)) return -1;
        letters = letters || !IsHebrewPoint(p.Bytes[k]);
    }
    // The last letter carries exactly the pattern's points: "shin with qamats" is not "shin
    // with qamats and shin dot". A pattern of points alone finds them wherever they stand.
    const std::int32_t end = at + p.Length;
    if (letters && end < length && IsHebrewPoint(text[end])) return -1;
    return end;
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

std::int32_t MatchEndAt(const std::uint8_t* text, std::int32_t length, std::int32_t at,
                        const SearchPattern& pattern) {
    if (pattern.Length <= 0 || at < 0 || at >= length) return -1;
    const std::int32_t end = HoldsPoints(pattern) ? ExactEnd(text, length, at, pattern)
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
    // Only a byte equal to the pattern's first can begin a match; the rest is checked there.
    auto tryAt = [&](std::int32_t at) {
        if (text[at] != first && text[at] != other) return -1;
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
