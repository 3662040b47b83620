#include "commands/unicode_text.h"

#include <cstdio>
#include <initializer_list>

#include "document/store.h"
#include "platform/platform.h"
#include "view/glyph_characters.h"

namespace nv {

namespace {
constexpr std::uint16_t HebrewOffset = 0x04F0;  // 0xC0 + 0x04F0 = U+05B0
constexpr std::uint16_t NoCharacter = 0xFFFD;   // how the drawing table marks an undefined code
constexpr UINT HebrewCodePage = 1255;

bool IsFileUnit(std::uint16_t unit) { return unit < 0xC0 || (unit >= 0x05B0 && unit <= 0x05EF); }
}  // namespace

std::uint16_t ToUtf16(std::uint8_t byte) {
    return byte < 0xC0 ? byte : static_cast<std::uint16_t>(byte + HebrewOffset);
}

std::uint8_t FromUtf16(std::uint16_t unit) {
    if (unit < 0xC0) return static_cast<std::uint8_t>(unit);
    if (unit >= 0x05B0 && unit <= 0x05EF) return static_cast<std::uint8_t>(unit - HebrewOffset);
    return Doc.ScreenFontMetrics.tmDefaultChar;
}

std::uint16_t CharacterOfByte(std::uint8_t byte) {
    const std::uint16_t shown = GlyphCharacter[byte];
    return shown != NoCharacter ? shown : ToUtf16(byte);
}

int DocumentByteOfUnit(std::uint16_t unit) {
    if (IsFileUnit(unit)) return FromUtf16(unit);
    // The system's code page, without its best fits (which would take ä for a): a byte only
    // when the editor draws that very character for it.
    const auto wide = static_cast<WCHAR>(unit);
    char byte = 0;
    BOOL usedDefault = 0;
    if (WideCharToMultiByte(HebrewCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, &byte, 1, nullptr,
                            &usedDefault) != 1 ||
        usedDefault) {
        return -1;
    }
    const auto b = static_cast<std::uint8_t>(byte);
    return CharacterOfByte(b) == unit ? b : -1;
}

void ShowCharactersReplaced(std::int32_t count, const char16_t* source, const char16_t* after) {
    // The font's default character when it can be shown, else the box it is drawn as.
    const std::uint8_t byte = Doc.ScreenFontMetrics.tmDefaultChar;
    const char16_t replacement[] = {
        byte < 0x20 ? u'\u25A1' : static_cast<char16_t>(CharacterOfByte(byte)), 0};
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(count));
    WCHAR message[256] = {};
    std::size_t at = 0;
    for (const char* c = number; *c != '\0'; ++c) message[at++] = static_cast<WCHAR>(*c);
    for (const char16_t* part :
         {u" characters of ", source, u" have no place in a Hebrew document and were replaced by ",
          static_cast<const char16_t*>(replacement), u".", after}) {
        for (; *part != 0 && at + 1 < sizeof message / sizeof message[0]; ++part) {
            message[at++] = *part;
        }
    }
    MessageBoxW(Doc.MainWindow, message, u"Characters Replaced", MB_ICONWARNING);
}

std::size_t ClipboardTextUnits(const std::uint8_t* block, std::size_t size) {
    const std::size_t whole = size / 2;
    std::size_t k = 0;
    while (k < whole && UnitAt(block, k) != 0) ++k;
    return k;
}

}  // namespace nv
