// The fixed mapping between document bytes and UTF-16 code units, shared by files and the
// clipboard: the bytes 0x00..0xBF are the units U+0000..U+00BF and the bytes 0xC0..0xFF the
// Hebrew block U+05B0..U+05EF, so every document byte survives a round trip. Any other unit
// comes back as the screen font's default character.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nv {

std::uint16_t ToUtf16(std::uint8_t byte);
std::uint8_t FromUtf16(std::uint16_t unit);

// The document byte that stands for the unit; false when none does (FromUtf16 would give the
// default character in its place). Find and Replace take their texts through this test.
bool ToDocumentByte(std::uint16_t unit, std::uint8_t* byte);

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
