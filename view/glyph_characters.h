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

// The byte whose glyph is the mirror image of this one's (the brackets, the angle
// quotation marks), or the byte itself.
std::uint8_t MirroredByte(std::uint8_t byte);

// A byte whose character is strong (class L or R): it resolves to its own direction
// whatever stands around it.
extern const bool StrongByte[256];
inline bool IsStrong(std::uint8_t byte) { return StrongByte[byte]; }

// A byte whose character is of class L or EN: in a right-to-left paragraph, only these
// start runs at a left-to-right level.
bool IsLeftToRightOrNumber(std::uint8_t byte);

// What rule L1 of the bidirectional algorithm needs of a byte's class: a segment or
// paragraph separator, white space (boundary neutrals too, which count with it), or other.
enum class LineEndClass : std::uint8_t { Other, WhiteSpace, Separator };
LineEndClass LineEndClassOf(std::uint8_t byte);

}  // namespace nv
