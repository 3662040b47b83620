// The character each document byte's glyph shows: code page 1255 as the Hebrew fonts draw
// it. Its bidirectional class orders a line, so a byte counts as the character on the
// screen, not as the code unit a file stores for it (0x85 is an ellipsis here, where a file
// holds U+0085, which would end a paragraph).
#pragma once

#include <cstdint>

namespace nv {

// The UTF-16 code unit of each byte's character; U+FFFD for the codes the code page leaves
// unassigned, which show the font's default character.
extern const std::uint16_t GlyphCharacter[256];

// What rule L1 of the bidirectional algorithm needs of a byte's class: a segment or
// paragraph separator, white space (boundary neutrals too, which count with it), or other.
enum class LineEndClass : std::uint8_t { Other, WhiteSpace, Separator };

// What ordering a line asks of each byte, in tables: a line asks it of every byte it shows.
struct ByteClassTable {
    // The byte whose glyph is the mirror image of this one's (the brackets, the angle
    // quotation marks), or the byte itself.
    std::uint8_t Mirrored[256];
    // Strong (class L or R): resolves to its own direction whatever stands around it.
    bool Strong[256];
    // Class L or EN: in a right-to-left paragraph, only these start runs at a
    // left-to-right level.
    bool LeftToRightOrNumber[256];
    LineEndClass LineEnd[256];
};
extern const ByteClassTable ByteClasses;

inline std::uint8_t MirroredByte(std::uint8_t byte) { return ByteClasses.Mirrored[byte]; }
inline bool IsStrong(std::uint8_t byte) { return ByteClasses.Strong[byte]; }
inline bool IsLeftToRightOrNumber(std::uint8_t byte) {
    return ByteClasses.LeftToRightOrNumber[byte];
}
inline LineEndClass LineEndClassOf(std::uint8_t byte) { return ByteClasses.LineEnd[byte]; }

}  // namespace nv
