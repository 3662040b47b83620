// The mappings between document bytes and UTF-16 code units.
//
// The UTF-16 file formats keep a fixed mapping of their own, which files written by every
// earlier copy of the editor use: the bytes 0x00..0xBF are the units U+0000..U+00BF and the
// bytes 0xC0..0xFF the Hebrew block U+05B0..U+05EF. Everything else (the clipboard, Find,
// the UTF-8 and Windows-1255 files) sees each byte as the character the editor draws for it,
// its code page 1255 character.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nv {

// The UTF-16 file formats: one unit per byte, and back. FromUtf16 gives the screen font's
// default character for a unit outside the two ranges.
std::uint16_t ToUtf16(std::uint8_t byte);
std::uint8_t FromUtf16(std::uint16_t unit);

// The character a byte shows: its code page 1255 character; a byte the code page leaves
// undefined keeps its unit of the UTF-16 files, so that every byte survives a way out and
// back.
std::uint16_t CharacterOfByte(std::uint8_t byte);

// The document byte a unit stands for, or -1 when none does: the units of the UTF-16 files
// (both ranges, so text written before reads as before) and every character code page 1255
// has (U+2014 is 0x97, U+05F4 is 0xD8, U+200F is 0xFE).
int DocumentByteOfUnit(std::uint16_t unit);

// Says, once, that `count` characters of `source` ("this file") had no document byte and
// were replaced by the font's default character; `after` ends the message ("" or a line
// of its own, starting with its line break).
void ShowCharactersReplaced(std::int32_t count, const char16_t* source, const char16_t* after);

// Code units stored little-endian, as files and the clipboard hold them.
inline std::uint16_t UnitAt(const std::uint8_t* bytes, std::size_t k) {
    return static_cast<std::uint16_t>(bytes[2 * k] | bytes[2 * k + 1] << 8);
}
inline void PutUnit(std::uint8_t* bytes, std::size_t k, std::uint16_t unit) {
    bytes[2 * k] = static_cast<std::uint8_t>(unit & 0xFF);
    bytes[2 * k + 1] = static_cast<std::uint8_t>(unit >> 8);
}

// The text of a clipboard block of `size` bytes: its whole units (an odd last byte left out)
// up to the first U+0000. Returns their number.
std::size_t ClipboardTextUnits(const std::uint8_t* block, std::size_t size);

}  // namespace nv
