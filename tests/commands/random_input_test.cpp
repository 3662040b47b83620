// Random files and clipboard blocks, as other programs may leave them: nothing crashes (the
// tests also run under the sanitizers), and an input that is refused changes nothing. The
// bulk goes to the checks and the mapping directly; a hundredth goes through the commands.
// NIVRANO_FUZZ_ITERATIONS sets the count (10^5 by default; 10^7 for a long run).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "commands/unicode_text.h"
#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

long Iterations() {
    const char* value = std::getenv("NIVRANO_FUZZ_ITERATIONS");
    long count = value != nullptr ? std::atol(value) : 0;
    return count > 0 ? count : 100000;
}

class RandomInputTest : public CommandTest {
protected:
    std::mt19937 random{2024};

    std::uint16_t RandomUnit() {
        const unsigned kind = random() % 6;
        return static_cast<std::uint16_t>(kind == 0   ? 0
                                          : kind == 1 ? 0x05B0 + random() % 0x40
                                          : kind == 2 ? random() % 0xC0
                                                      : random());
    }
    std::string RandomUnits(std::size_t count) {
        std::string bytes(2 * count, '\0');
        for (std::size_t k = 0; k < count; ++k) {
            PutUnit(reinterpret_cast<std::uint8_t*>(&bytes[0]), k, RandomUnit());
        }
        return bytes;
    }
    // Mostly files that pass the mark, some near the size limit, some of any kind.
    std::string RandomFile() {
        const unsigned kind = random() % 5;
        std::string file = kind == 0   ? RandomUnits(random() % 4)
                           : kind == 1 ? Mark + RandomUnits(32767 + random() % 3)
                                       : Mark + RandomUnits(random() % 300);
        if (random() % 8 == 0) file += static_cast<char>(random());
        if (random() % 8 == 0 && !file.empty())
            file[random() % file.size()] = static_cast<char>(random());
        return file;
    }
};

TEST_F(RandomInputTest, ChecksAndMappingHoldTheirBounds) {
    static std::uint8_t image[LargestFileSize + 2];
    for (long i = 0; i < Iterations(); ++i) {
        DWORD size = random() % 4 == 0 ? LargestFileSize - 4 + random() % 8 : random() % 70000;
        DWORD high = random() % 50 == 0 ? 1 + random() % 3 : 0;
        if (random() % 100 == 0) size = INVALID_FILE_SIZE;
        image[0] = random() % 3 ? 0xFF : static_cast<std::uint8_t>(random());
        image[1] = random() % 3 ? 0xFE : static_cast<std::uint8_t>(random());
        if (CheckFileSize(size, high) != nullptr || CheckFileMark(image, size) != nullptr) continue;
        ASSERT_TRUE(high == 0 && size >= 2 && size % 2 == 0 && size <= LargestFileSize) << size;
        const std::size_t units = (size - 2) / 2;
        const std::uint16_t last = random() % 2 ? 0 : RandomUnit();
        if (units > 0) PutUnit(image, units, last);
        const std::int32_t length = DocumentLengthOfFile(image, size);
        if (length < 0) {
            ASSERT_TRUE(units == 32768 && last != 0);
            continue;
        }
        ASSERT_TRUE(length >= 1 && length <= TextLimit);
        ASSERT_EQ(static_cast<std::size_t>(length), units > 0 && last == 0 ? units : units + 1);

        const std::uint16_t unit = RandomUnit();
        const std::uint8_t byte = FromUtf16(unit);
        const bool kept = unit < 0xC0 || (unit >= 0x05B0 && unit <= 0x05EF);
        ASSERT_EQ(ToUtf16(byte) == unit, kept) << unit;
        ASSERT_TRUE(kept || byte == Doc.ScreenFontMetrics.tmDefaultChar) << unit;

        const std::string block = RandomUnits(random() % 20) + std::string(random() % 2, 'x');
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(block.data());
        const std::size_t k = ClipboardTextUnits(bytes, block.size());
        ASSERT_LE(k, block.size() / 2);
        for (std::size_t j = 0; j < k; ++j) ASSERT_NE(UnitAt(bytes, j), 0);
        ASSERT_TRUE(k == block.size() / 2 || UnitAt(bytes, k) == 0);
    }
}

TEST_F(RandomInputTest, RandomFilesAndClipboardBlocksThroughTheCommands) {
    CreateWindow(200, 300);  // a small window keeps the repaints short
    const long rounds = std::max(100L, Iterations() / 100);
    for (long i = 0; i < rounds; ++i) {
        MarkSaved();
        const bool file = random() % 2;
        if (!file && Doc.TextLength > 1 && random() % 2) {
            std::int32_t a = random() % Doc.TextLength;
            std::int32_t b = random() % Doc.TextLength;
            // The records alone: this test looks at the store, not at the picture.
            Doc.SelectionStart = std::min(a, b);
            Doc.SelectionEnd = std::max(a, b);
            Doc.SelectionActive = 1;
            Doc.Caret = b;
        }
        const State before = Snapshot();
        const std::string input =
            file ? RandomFile() : RandomUnits(random() % 400) + std::string(random() % 2, 'y');
        if (file) {
            OpenBytes(input);
        } else {
            fake().PutOnClipboard(CF_UNICODETEXT, input);
            Command(IDM_EDIT_PASTE);
        }
        // Characters replaced are told of after the text went in; anything else is a refusal.
        const bool refused = !fake().messageBoxes().empty() &&
                             fake().messageBoxes()[0].caption != "Characters Replaced";
        fake().ClearMessageBoxes();
        if (refused) {
            ASSERT_TRUE(Snapshot() == before) << "refused input of " << input.size() << " bytes";
        } else if (file && Files.Format == FileFormat::Utf16LittleEndian &&
                   Files.Ends == LineEnds::CrLf) {
            // Unit k + 1 of the file is byte k, its own or the default character.
            const std::size_t units = (input.size() - 2) / 2;
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.data());
            const bool ended = units > 0 && UnitAt(bytes, units) == 0;
            ASSERT_EQ(static_cast<std::size_t>(Doc.TextLength), ended ? units : units + 1);
            for (std::size_t k = 0; k < units; ++k) {
                const int b = DocumentByteOfUnit(UnitAt(bytes, k + 1));
                ASSERT_EQ(Doc.TextBuffer[k], b < 0 ? Doc.ScreenFontMetrics.tmDefaultChar : b);
            }
        }
        if (file && !refused) {
            ASSERT_FALSE(IsDocumentChanged());
        }
        ASSERT_TRUE(StoreInvariantsHold());
    }
}

}  // namespace
}  // namespace nv::test
