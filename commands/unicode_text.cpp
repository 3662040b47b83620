#include "commands/unicode_text.h"

#include "document/store.h"

namespace nv {

namespace {
constexpr std::uint16_t HebrewOffset = 0x04F0;  // 0xC0 + 0x04F0 = U+05B0
}  // namespace

std::uint16_t ToUtf16(std::uint8_t byte) {
    return byte < 0xC0 ? byte : static_cast<std::uint16_t>(byte + HebrewOffset);
}

std::uint8_t FromUtf16(std::uint16_t unit) {
    if (unit < 0xC0) return static_cast<std::uint8_t>(unit);
    if (unit >= 0x05B0 && unit <= 0x05EF) return static_cast<std::uint8_t>(unit - HebrewOffset);
    return Doc.ScreenFontMetrics.tmDefaultChar;
}

bool ToDocumentByte(std::uint16_t unit, std::uint8_t* byte) {
    *byte = FromUtf16(unit);
    return ToUtf16(*byte) == unit;
}

std::size_t ClipboardTextUnits(const std::uint8_t* block, std::size_t size) {
    const std::size_t whole = size / 2;
    std::size_t k = 0;
    while (k < whole && UnitAt(block, k) != 0) ++k;
    return k;
}

}  // namespace nv
