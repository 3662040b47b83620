// The line layout: where lines break in both Word Wrap modes, what the records hold, the
// scroll range it sets, the line limit, and agreement with the literal per-byte layout.
#include "document/layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "document/advance_table.h"
#include "tests/support/editor_fixture.h"
#include "tests/support/reference_layout.h"
#include "view/screen_layout.h"

namespace nv::test {
namespace {

constexpr std::int32_t WrapNo = 42000;
constexpr std::int32_t WrapYes = 42001;

using Span = std::pair<std::int32_t, std::int32_t>;

std::vector<Span> Lines() {
    std::vector<Span> lines;
    for (std::int32_t i = 0; i < Doc.LineCount; ++i) {
        lines.emplace_back(Doc.LineTable[i].Start, Doc.LineTable[i].End);
    }
    return lines;
}

// Puts bytes into the store and lays them out, without painting.
void LayOut(const std::string& bytes) {
    std::memset(Doc.TextBuffer, 0, sizeof Doc.TextBuffer);
    std::memcpy(Doc.TextBuffer, bytes.data(), bytes.size());
    Doc.TextLength = static_cast<std::int32_t>(bytes.size()) + 1;
    LayoutDocument();
}

class LayoutTest : public EditorTest {
protected:
    // Courier New at 19 points and 96 pixels per inch: every byte 16 pixels wide, so
    // exactly 36 bytes fill the 576-pixel column.
    void UseSixteenPixelCourier() { Doc.PointSize = -19; }
};

TEST_F(LayoutTest, EmptyDocumentIsOneLineHoldingTheTerminator) {
    LayOut("");
    ASSERT_EQ(Doc.LineCount, 1);
    const LineRecord& line = Doc.LineTable[0];
    EXPECT_EQ(line.Start, 0);
    EXPECT_EQ(line.End, 0);
    EXPECT_EQ(line.SpaceCount, 0);
    EXPECT_EQ(line.Width, 10);  // the terminator is measured too
    EXPECT_EQ(line.Height, 18);
}

TEST_F(LayoutTest, LineBreaksEndLinesAndLoneCarriageReturnsOrLineFeedsDoNot) {
    LayOut("ab\r\ncd");
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 3}, {4, 6}}));
    LayOut("a\rb\nc");
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 5}}));
    LayOut("ab\r\n");
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 3}, {4, 4}}));
    LayOut("\r\n\r\n");
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 1}, {2, 3}, {4, 4}}));
    EXPECT_EQ(Doc.LineTable[0].Width, 20);  // CR and LF measured with the line
}

TEST_F(LayoutTest, NulBeforeTheEndIsAnOrdinaryByte) {
    LayOut(std::string("a\0b", 3));
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 3}}));
    EXPECT_EQ(Doc.LineTable[0].Width, 40);
}

TEST_F(LayoutTest, ThirdWordThatDoesNotFitStartsTheNextLineWithWordWrap) {
    UseSixteenPixelCourier();
    std::string text =
        std::string(15, 'a') + " " + std::string(15, 'b') + " " + std::string(9, 'c');
    LayOut(text);
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 31}, {32, 41}}));
    EXPECT_EQ(Doc.LineTable[0].SpaceCount, 2);
    EXPECT_EQ(Doc.LineTable[0].Width, 32 * 16);

    Doc.WordWrapChoice = WrapNo;
    LayoutDocument();
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 35}, {36, 41}}));
    EXPECT_EQ(Doc.LineTable[0].SpaceCount, 2);
}

TEST_F(LayoutTest, LineExactlyAsWideAsTheColumnFits) {
    UseSixteenPixelCourier();
    for (std::int32_t wrap : {WrapYes, WrapNo}) {
        Doc.WordWrapChoice = wrap;
        LayOut(std::string(36, 'a') + "\r\n" + std::string(37, 'b'));
        EXPECT_EQ(Lines(), (std::vector<Span>{{0, 37}, {38, 73}, {74, 75}})) << wrap;
        EXPECT_EQ(Doc.LineTable[1].Width, 576);
    }
}

TEST_F(LayoutTest, WordLongerThanTheColumnBreaksAtTheCharacter) {
    UseSixteenPixelCourier();
    LayOut("ab " + std::string(40, 'w'));
    // Word wrap: the long word goes to the next line and breaks where it stops fitting.
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 2}, {3, 38}, {39, 43}}));
    Doc.WordWrapChoice = WrapNo;
    LayoutDocument();
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 35}, {36, 43}}));
}

TEST_F(LayoutTest, SpaceThatIsTheFirstByteNotToFitStaysOnTheLine) {
    UseSixteenPixelCourier();
    for (std::int32_t wrap : {WrapYes, WrapNo}) {
        Doc.WordWrapChoice = wrap;
        LayOut(std::string(36, 'a') + " bb");
        EXPECT_EQ(Lines(), (std::vector<Span>{{0, 36}, {37, 39}})) << wrap;
        EXPECT_EQ(Doc.LineTable[0].SpaceCount, 1);
        EXPECT_EQ(Doc.LineTable[0].Width, 37 * 16);
    }
}

TEST_F(LayoutTest, ByteWiderThanTheColumnMakesALineByItself) {
    Doc.PointSize = -700;  // 583-pixel advances
    for (std::int32_t wrap : {WrapYes, WrapNo}) {
        Doc.WordWrapChoice = wrap;
        LayOut("a b");
        EXPECT_EQ(Lines(), (std::vector<Span>{{0, 0}, {1, 1}, {2, 2}, {3, 3}})) << wrap;
        EXPECT_EQ(Doc.LineTable[1].SpaceCount, 1);
    }
}

TEST_F(LayoutTest, RunWithAFailingWidthQueryMeasuresZeroAndSoFits) {
    fake().failingWidthCodes["Courier New"] = {'x'};
    ForgetAdvanceTables();
    LayOut("abx" + std::string(100, 'a') + "\r\n" + std::string(60, 'c'));
    ASSERT_EQ(Doc.LineCount, 3);
    EXPECT_EQ(Doc.LineTable[0].End, 104);  // 103 bytes on one line
    EXPECT_EQ(Doc.LineTable[0].Width, 0);
    EXPECT_EQ(Doc.LineTable[0].Height, 0);
    EXPECT_EQ(Doc.LineTable[1].End, 105 + 56);  // the next line breaks as usual
    EXPECT_EQ(Doc.LineTable[1].Height, 18);
}

TEST_F(LayoutTest, LineOfPositionGivesTheLineWhoseEndIsAtOrAfterIt) {
    UseSixteenPixelCourier();
    LayOut(std::string(30, 'a') + " " + std::string(10, 'b') + "\r\nz");
    ASSERT_EQ(Lines(), (std::vector<Span>{{0, 30}, {31, 42}, {43, 44}}));
    EXPECT_EQ(LineOfPosition(0), 0);
    EXPECT_EQ(LineOfPosition(30), 0);  // the space the line broke at
    EXPECT_EQ(LineOfPosition(31), 1);
    EXPECT_EQ(LineOfPosition(42), 1);  // the line feed
    EXPECT_EQ(LineOfPosition(44), 2);
    EXPECT_EQ(LineOfPosition(45), 2);  // beyond the terminator: the last line
    EXPECT_EQ(LineOfPosition(TextLimit), 2);
}

TEST_F(LayoutTest, SetsTheScrollRangeAndKeepsTheViewInsideIt) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line\r\n";
    LayOut(text);  // 101 lines: three pages of 42
    EXPECT_EQ(ScrollMax(), 3 * 42 - VisibleLines() + 1);
    EXPECT_EQ(fake().scrollMax(), ScrollMax());

    Doc.ViewTop = 90;
    SetScrollPos(Doc.MainWindow, SB_VERT, 90, 1);
    LayOut("short");
    EXPECT_EQ(Doc.ViewTop, ScrollMax());
    EXPECT_EQ(fake().scrollMax(), ScrollMax());
    EXPECT_EQ(fake().GetScrollPos(Doc.MainWindow, SB_VERT), Doc.ViewTop);
}

TEST_F(LayoutTest, ResizingTheWindowKeepsTheLines) {
    LayOut(std::string(200, 'a') + " " + std::string(30, 'b'));
    std::vector<Span> before = Lines();
    fake().Resize(300, 400);
    EXPECT_EQ(Lines(), before);
    EXPECT_EQ(before.size(), 5u);
}

TEST_F(LayoutTest, FullLineTableIsReportedOnceAndLeavesTheScrollRange) {
    LayOut("one\r\ntwo\r\nthree\r\nfour\r\n");
    int rangeBefore = fake().scrollMax();
    Doc.ViewTop = 3;
    LayoutDocumentWithLineLimit(2);
    ASSERT_EQ(fake().messageBoxes().size(), 1u);
    const fake::MessageBoxRecord& box = fake().messageBoxes()[0];
    EXPECT_EQ(box.text, "Input exceeds memory limit");
    EXPECT_EQ(box.caption, "Can Not Add Line");
    EXPECT_EQ(box.type, MB_ICONWARNING);
    EXPECT_EQ(box.owner, Doc.MainWindow);
    EXPECT_EQ(Lines(), (std::vector<Span>{{0, 4}, {5, 9}}));
    EXPECT_EQ(Doc.ViewTop, 3);
    EXPECT_EQ(fake().scrollMax(), rangeBefore);

    LayoutDocumentWithLineLimit(2);  // each layout tells it once more
    EXPECT_EQ(fake().messageBoxes().size(), 2u);
}

TEST_F(LayoutTest, FullDocumentIsLaidOutWithoutAWidthQueryPerByte) {
    std::string text;
    while (text.size() < 32767) text += "\xE0\xE1\xE2 \xF9\xC4\xE5 ";
    text.resize(32767);
    ForgetAdvanceTables();
    long before = fake().widthQueries;
    LayOut(text);
    EXPECT_LE(fake().widthQueries - before, 2 * 256);  // one font measured once
    before = fake().widthQueries;
    LayoutDocument();
    EXPECT_EQ(fake().widthQueries - before, 0);
    EXPECT_TRUE(StoreInvariantsHold());
}

// Random documents of Hebrew letters, points, spaces, line breaks and the odd control
// byte, with words of every length.
std::string RandomDocument(std::mt19937& random, int length) {
    std::string text;
    std::uniform_int_distribution<int> kind(0, 99);
    while (static_cast<int>(text.size()) < length) {
        int k = kind(random);
        if (k < 60) {
            text += static_cast<char>(0xE0 + random() % 27);
        } else if (k < 70) {
            text += static_cast<char>(0xC0 + random() % 19);
        } else if (k < 82) {
            text += ' ';
        } else if (k < 86) {
            text += "\r\n";
        } else if (k < 88) {
            text += "  ";
        } else if (k < 90) {
            text += random() % 2 ? '\r' : '\n';
        } else if (k < 91) {
            text += '\n';
        } else if (k < 92) {
            text += '\0';
        } else {
            text += std::string(20 + random() % 60, static_cast<char>(0xE0 + random() % 27));
        }
    }
    text.resize(static_cast<std::size_t>(length));
    return text;
}

struct FontChoice {
    const char* face;
    std::int32_t pointSize;
};

TEST_F(LayoutTest, AgreesWithTheLiteralLayoutOnRandomDocuments) {
    fake().failingWidthCodes["Times New Roman Italic"] = {0xE7, 0xC4};
    fake().rasterFaces.insert("Courier New Bold");
    ForgetAdvanceTables();
    const FontChoice fonts[] = {{"Courier New", -12},
                                {"Arial", -10},
                                {"Times New Roman Italic", -16},
                                {"Courier New Bold", -9},
                                {"Arial Bold Italic", -36},
                                {"Times New Roman", -72}};
    std::mt19937 random(20240607);
    int compared = 0;
    for (int round = 0; round < 48; ++round) {
        const FontChoice& font = fonts[round % 6];
        Doc.FaceName = font.face;
        Doc.PointSize = font.pointSize;
        Doc.WordWrapChoice = (round / 6) % 2 == 0 ? WrapYes : WrapNo;
        LayOut(RandomDocument(random, 50 + static_cast<int>(random() % 700)));
        std::vector<LineRecord> fast(Doc.LineTable, Doc.LineTable + Doc.LineCount);
        ReferenceLayout literal = LayOutLiterally();
        ASSERT_EQ(fast.size(), literal.Lines.size()) << font.face << " round " << round;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            const LineRecord& a = fast[i];
            const LineRecord& b = literal.Lines[i];
            ASSERT_TRUE(a.Start == b.Start && a.End == b.End && a.SpaceCount == b.SpaceCount &&
                        a.Width == b.Width && a.Height == b.Height)
                << font.face << " round " << round << " line " << i << ": " << a.Start << ".."
                << a.End << " spaces " << a.SpaceCount << " width " << a.Width << " height "
                << a.Height << " against " << b.Start << ".." << b.End << " spaces " << b.SpaceCount
                << " width " << b.Width << " height " << b.Height;
        }
        compared += static_cast<int>(fast.size());
    }
    EXPECT_GT(compared, 400);
}

}  // namespace
}  // namespace nv::test
