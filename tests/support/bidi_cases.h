// The cases of the Unicode Character Database's BidiCharacterTest.txt that the editor can
// hold: a paragraph whose characters all exist in code page 1255, right to left, left to
// right or of the direction of its first strong character (the file's second field: 1, 0
// or 2). Shared by the native conformance test and the end-to-end one through the system's
// Uniscribe.
#pragma once

#include <cstdint>
#include <cstring>
#include <istream>
#include <sstream>
#include <string>
#include <vector>

#include "document/store.h"
#include "view/glyph_characters.h"
#include "view/line_order.h"

namespace nv::test {

// The code page 1255 byte showing a character, or -1.
inline int ByteOf(std::uint32_t character) {
    if (character == 0xFFFD) return -1;  // the table's mark for unassigned codes
    for (int b = 0; b < 256; ++b) {
        if (GlyphCharacter[b] == character) return b;
    }
    return -1;
}

struct BidiCase {
    std::string codes;  // the file's field 0, for messages
    std::string bytes;
    std::vector<bool> removed;  // level x: the algorithm leaves the character out
    std::string order;          // the visual order, indexes separated by spaces
};

// The paragraph of a case given a direction gets it the editor's way, by a direction mark
// at its start where its first strong character would give the other one; the mark then
// counts as left out. A mark there is strong as the paragraph's own direction is, so no
// other character is resolved otherwise.
inline void GiveDirection(BidiCase* c, bool rightToLeft) {
    bool own = true;
    for (char byte : c->bytes) {
        if (IsStrong(static_cast<std::uint8_t>(byte))) {
            own = !IsLeftToRightOrNumber(static_cast<std::uint8_t>(byte));
            break;
        }
    }
    if (own == rightToLeft) return;
    c->bytes.insert(c->bytes.begin(), static_cast<char>(rightToLeft ? 0xFE : 0xFD));
    c->removed.insert(c->removed.begin(), true);
    std::stringstream order(c->order);
    c->order.clear();
    for (int index; order >> index;) {
        c->order += (c->order.empty() ? "" : " ") + std::to_string(index + 1);
    }
}

inline std::vector<BidiCase> ReadCases(std::istream& file) {
    std::vector<BidiCase> cases;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, ';');) fields.push_back(field);
        if (fields.size() < 5 || (fields[1] != "0" && fields[1] != "1" && fields[1] != "2")) {
            continue;
        }
        BidiCase c;
        c.codes = fields[0];
        std::stringstream codes(fields[0]);
        bool representable = true;
        for (std::string code; codes >> code;) {
            const int b = ByteOf(static_cast<std::uint32_t>(std::stoul(code, nullptr, 16)));
            representable = representable && b > 0;
            c.bytes += static_cast<char>(b);
        }
        if (!representable) continue;
        std::stringstream levels(fields[3]);
        for (std::string level; levels >> level;) c.removed.push_back(level == "x");
        std::stringstream order(fields[4]);
        for (std::string index; order >> index;) c.order += (c.order.empty() ? "" : " ") + index;
        if (fields[1] != "2") GiveDirection(&c, fields[1] == "1");
        cases.push_back(c);
    }
    return cases;
}

// Puts a case into the document as its one display line and orders it the editor's way,
// in the font selected into dc; gives the order of the characters the algorithm keeps.
inline std::string OrderOfCase(HDC dc, const BidiCase& c) {
    std::memcpy(Doc.TextBuffer, c.bytes.data(), c.bytes.size());
    Doc.TextBuffer[c.bytes.size()] = 0;
    Doc.TextLength = static_cast<std::int32_t>(c.bytes.size()) + 1;
    Doc.LineTable[0] = LineRecord{0, Doc.TextLength - 1, 0, 0, 0};
    Doc.LineCount = 1;
    NoteTextReplaced();
    const OrderedLine ordered = OrderLine(dc, 0);
    std::string got;
    for (std::int32_t k = 0; k < ordered.Count; ++k) {
        const std::int32_t pos = PositionOfSlot(ordered, k);
        if (pos < static_cast<std::int32_t>(c.removed.size()) && c.removed[pos]) continue;
        got += (got.empty() ? "" : " ") + std::to_string(pos);
    }
    return got;
}

}  // namespace nv::test
