// Lines in bidirectional order: the order against the Unicode test suite, and text, caret,
// selection, clicks and printing against what Reversed order shows for the same visual line.
#include "view/line_order.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "commands/command_ids.h"
#include "document/document_font.h"
#include "document/edit_history.h"
#include "document/layout.h"
#include "tests/support/bidi_cases.h"
#include "tests/support/editor_fixture.h"

namespace nv::test {
namespace {

// UTF-8 text as document bytes.
std::string Bytes(const std::string& utf8) {
    std::string bytes;
    for (std::size_t at = 0; at < utf8.size();) {
        auto lead = static_cast<std::uint8_t>(utf8[at]);
        int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        std::uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) c = (c << 6) | (utf8[at + k] & 0x3F);
        at += static_cast<std::size_t>(extra) + 1;
        bytes += static_cast<char>(ByteOf(c));
    }
    return bytes;
}

const std::string LRM = "\xFD";

// The first and last display lines of the paragraph that holds a line.
void ParagraphLines(std::int32_t line, std::int32_t* first, std::int32_t* last) {
    *first = line;
    while (*first > 0 && !EndsWithLineBreak(Doc.LineTable[*first - 1])) --*first;
    *last = line;
    while (*last < Doc.LineCount - 1 && !EndsWithLineBreak(Doc.LineTable[*last])) ++*last;
}

class LineOrderTest : public EditorTest {
protected:
    void Order(UINT id) { Command(id); }

    // Shows text in an order and gives the picture without the caret.
    std::vector<std::uint32_t> Picture(UINT order, const std::string& text) {
        Order(order);
        SetText(text);
        return WithoutCaret();
    }

    // The pixels where two pictures differ, as (x, y) pairs.
    std::vector<std::pair<int, int>> Difference(const std::vector<std::uint32_t>& a,
                                                const std::vector<std::uint32_t>& b) {
        std::vector<std::pair<int, int>> found;
        for (std::size_t at = 0; at < a.size(); ++at) {
            if (a[at] != b[at]) {
                found.emplace_back(static_cast<int>(at % static_cast<std::size_t>(fake().width())),
                                   static_cast<int>(at / static_cast<std::size_t>(fake().width())));
            }
        }
        return found;
    }

    // The picture without caret.
    std::vector<std::uint32_t> WithoutCaret() {
        const std::int32_t caret = Doc.Caret;
        Doc.Caret = -1;
        FullRepaint();
        std::vector<std::uint32_t> picture = fake().pixels();
        Doc.Caret = caret;
        FullRepaint();
        return picture;
    }

    // Courier New at 12 points on the fake: every character 10 pixels wide.
    static constexpr int Cell = 10;
    int Left(int count) { return Geo.TextRight - count * Cell; }
};

// "אב 12 ab", drawn "ab 12 בא": a, b, space, 1, 2, space, ב, א from the left.
const char* const Mixed = "אב 12 ab";

TEST_F(LineOrderTest, MixedLinesShowWhatReversedOrderShowsForTheirVisualOrder) {
    const struct {
        const char* logical;
        std::string visualTypedReversed;  // the visual order, typed backwards
    } cases[] = {
        {"אב 1948 (גד) abc", "אב 8491 )גד( cba"},
        {"בשנת 1948", "בשנת 8491"},
        {"(שלום)", ")שלום("},
        {"שלום Windows.", "שלום swodniW."},
        // Right-to-left paragraphs by the mark at their start.
        {"\xE2\x80\x8F"
         "a!",
         "\xE2\x80\x8F"
         "a!"},
        {"\xE2\x80\x8F"
         "a!\xE2\x80\x8E",
         "\xE2\x80\x8F\xE2\x80\x8E!a"},                                  // the ! stays after a
        {"\xE2\x80\x8Fx [1-2] {ש} «ת»", "\xE2\x80\x8F]2-1[ x }ש{ »ת«"},  // digits after x are Latin
    };
    for (const auto& c : cases) {
        const auto expected = Picture(IDM_ORDER_REVERSED, Bytes(c.visualTypedReversed));
        const auto shown = Picture(IDM_ORDER_BIDIRECTIONAL, Bytes(c.logical));
        EXPECT_TRUE(Difference(expected, shown).empty()) << c.logical;
    }
}

TEST_F(LineOrderTest, CaretStandsByTheRunNestedDeeperWhereTwoMeet) {
    Order(IDM_ORDER_BIDIRECTIONAL);
    SetText(Bytes(Mixed));
    const int left = Left(8);
    // Positions 0 to 8: א ב and the space in right-to-left runs (right edges), 1 2 a b in
    // left-to-right ones (left edges), except 5, after the number, by its 2; then the
    // trailing edge of b, the last character. Each boundary has one position.
    const int slotsRight[] = {8, 7, 6, 3, 4, 5, 0, 1, 2};
    for (std::int32_t pos = 0; pos <= 8; ++pos) {
        Place(pos);
        const int x = left + slotsRight[pos] * Cell - 1;
        const auto diff = Difference(WithoutCaret(), fake().pixels());
        ASSERT_FALSE(diff.empty()) << "caret at " << pos;
        for (const auto& [px, py] : diff) {
            ASSERT_EQ(px, x) << "caret at " << pos;
            ASSERT_GE(py, Geo.TextTop);
            ASSERT_LT(py, Geo.TextTop + Doc.LineHeight);
        }
    }
}

TEST_F(LineOrderTest, SelectionAcrossADirectionBoundaryInvertsExactlyItsCells) {
    Order(IDM_ORDER_BIDIRECTIONAL);
    SetText(Bytes(Mixed));
    Place(0);
    const auto plain = fake().pixels();
    // ב, the space and 1: cells 6, 5 and 3, two stretches.
    Select(1, 4, 0);
    const int left = Left(8);
    const auto diff = Difference(plain, fake().pixels());
    auto selected = [&](int x) {
        int slot = (x - left) / Cell;
        return x >= left && (slot == 3 || slot == 5 || slot == 6);
    };
    EXPECT_EQ(diff.size(), static_cast<std::size_t>(3 * Cell * Doc.LineHeight));
    for (const auto& [x, y] : diff) {
        ASSERT_TRUE(selected(x) && y >= Geo.TextTop && y < Geo.TextTop + Doc.LineHeight)
            << x << ", " << y;
    }
}

TEST_F(LineOrderTest, ClicksOnEitherHalfOfACharacter) {
    const struct {
        UINT order;
        int slot;
        bool rightHalf;
        std::int32_t caret;
    } cases[] = {
        {IDM_ORDER_BIDIRECTIONAL, 7, true, 0},   // א: before it
        {IDM_ORDER_BIDIRECTIONAL, 7, false, 1},  // after it
        {IDM_ORDER_BIDIRECTIONAL, 3, false, 3},  // 1: before it
        {IDM_ORDER_BIDIRECTIONAL, 3, true, 4},   // after it
        {IDM_ORDER_BIDIRECTIONAL, 1, true, 8},   // b, the last character: after it
        {IDM_ORDER_REVERSED, 3, false, 4},       // reversed, "ba 21 אב": either half of 2,
        {IDM_ORDER_REVERSED, 3, true, 4},        // before it
    };
    for (const auto& c : cases) {
        Order(c.order);
        SetText(Bytes(Mixed));
        const int x = Left(8) + c.slot * Cell + (c.rightHalf ? Cell - 2 : 1);
        Click(x, Geo.TextTop + 2);
        EXPECT_EQ(Doc.Caret, c.caret) << "slot " << c.slot << (c.rightHalf ? " right" : " left");
        EXPECT_TRUE(MatchesFullRepaint());
    }
}

// "ab 12 גד" under a Hebrew line: a left-to-right paragraph, drawn "ab 12 דג" from the
// column's left edge, its Hebrew word read from the right.
const char* const LatinUnderHebrew = "אב\r\nab 12 גד";

TEST_F(LineOrderTest, ALeftToRightParagraphIsDrawnSelectedAndClickedFromTheLeft) {
    // Drawn: the picture of its visual order at the right in Reversed order, moved to the
    // left edge; the Hebrew line above stays at the right.
    const auto reversed = Picture(IDM_ORDER_REVERSED, Bytes("אב\r\nגד 21 ba"));
    const auto shown = Picture(IDM_ORDER_BIDIRECTIONAL, Bytes(LatinUnderHebrew));
    const int width = fake().width();
    const int shift = Left(8) - Geo.TextLeft;
    const int top = Geo.TextTop + Doc.LineHeight;
    for (int y = Geo.TextTop; y < top + Doc.LineHeight; ++y) {
        for (int x = Geo.TextLeft; x < Geo.TextRight; ++x) {
            const bool second = y >= top;
            // Right of the moved line: as blank as left of the line at the right.
            const int from = !second ? x : x < Geo.TextLeft + 8 * Cell ? x + shift : Geo.TextLeft;
            ASSERT_EQ(shown[static_cast<std::size_t>(y * width + x)],
                      reversed[static_cast<std::size_t>(y * width + from)])
                << x << ", " << y << " text " << Geo.TextLeft << ".." << Geo.TextRight;
        }
    }
    // Selected: 1 2, the space and ג, at positions 7 to 10, are the cells 3, 4, 5 and 7
    // from the left; with the line break, the whole line and the block right of it.
    auto inverted = [&](std::int32_t start, std::int32_t end, std::vector<int> cells) {
        const auto plain = WithoutCaret();
        Select(start, end, end);
        EXPECT_TRUE(MatchesFullRepaint("selection " + std::to_string(start)));
        const auto diff = Difference(plain, WithoutCaret());
        EXPECT_EQ(diff.size(), cells.size() * Cell * static_cast<std::size_t>(Doc.LineHeight));
        for (const auto& [x, y] : diff) {
            const int cell = (x - Geo.TextLeft) / Cell;
            ASSERT_TRUE(y >= top && y < top + Doc.LineHeight && x >= Geo.TextLeft &&
                        std::find(cells.begin(), cells.end(), cell) != cells.end())
                << x << ", " << y << " selecting " << start << ".." << end;
        }
    };
    inverted(7, 11, {3, 4, 5, 7});
    SetText(Bytes(LatinUnderHebrew) + "\r\nx");
    inverted(4, 13, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    // Clicked: the caret goes to the nearest place a position stands.
    const struct {
        int x;
        std::int32_t caret;
    } clicks[] = {{1, 4}, {3 * Cell + 2, 7}, {8 * Cell - 2, 10}, {7 * Cell + 2, 11}, {300, 10}};
    for (const auto& c : clicks) {
        Click(Geo.TextLeft + c.x, top + 2);
        EXPECT_EQ(Doc.Caret, c.caret) << "click at " << c.x;
        EXPECT_TRUE(MatchesFullRepaint());
    }
}

// Ctrl+Right Shift and Ctrl+Left Shift: a mark at the paragraph's start, put, replaced or
// taken away, as one Undo step; the caret stays with its text.
TEST_F(LineOrderTest, TheDirectionKeysMarkTheParagraphsStartAsOneUndoStep) {
    const struct {
        std::string text;
        std::int32_t caret;
        bool rightShift;
        std::string after;  // the same text: nothing happens
        std::int32_t caretAfter;
    } cases[] = {
        {"abc\r\n\xE0\xE1", 6, false, "abc\r\n\xFD\xE0\xE1", 7},
        {"abc\r\n\xE0\xE1", 5, false, "abc\r\n\xFD\xE0\xE1", 6},  // at the paragraph's start
        {"abc\r\n\xE0\xE1", 2, true,
         "\xFE"
         "abc\r\n\xE0\xE1",
         3},
        {"\xFE"
         "abc",
         2, false, "abc", 1},  // its own letters give the direction
        {"\xFD\xE0", 2, true, "\xE0", 1},
        {"\xFD"
         "abc",
         0, true,
         "\xFE"
         "abc",
         0},  // a mark replaced
        {"\xFE\xFD"
         "abc",
         4, false,
         "\xFD"
         "abc",
         3},  // both marks: the first one goes
        {"\xFE\xFD"
         "abc",
         4, true,
         "\xFE\xFD"
         "abc",
         4},
        {"\xFD", 1, true, "", 0},  // a mark alone on a line
        {"\xFD", 1, false, "\xFD", 1},
        {"", 0, false, "\xFD", 1},  // the empty document
        {"", 0, true, "", 0},
        {"\xE0\r\n", 3, false, "\xE0\r\n\xFD", 4},  // at the end of the text
    };
    Order(IDM_ORDER_BIDIRECTIONAL);
    for (const auto& c : cases) {
        SetText(c.text);
        Place(c.caret);
        CtrlShift(c.rightShift);
        const std::string what = "from \"" + c.text + "\"";
        EXPECT_EQ(Text(), c.after) << what;
        EXPECT_EQ(Doc.Caret, c.caretAfter) << what;
        EXPECT_EQ(CanUndo(), c.after != c.text) << what;
        EXPECT_TRUE(MatchesFullRepaint(what));
        Command(IDM_EDIT_UNDO);
        EXPECT_EQ(Text(), c.text) << what;
        EXPECT_EQ(Doc.Caret, c.caret) << what;
        EXPECT_TRUE(MatchesFullRepaint(what + ", undone"));
    }
    // Only Ctrl held while the Shift is released counts, and no other key in between.
    SetText("abc");
    KeyDown(VK_SHIFT, true, true);
    KeyDown(VK_LEFT, true, true);
    fake().SetKeyDown(VK_CONTROL, true);
    Send(WM_KEYUP, VK_SHIFT, static_cast<LPARAM>(0x36) << 16);
    fake().SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(Text(), "abc");
    // The full document: a mark put is refused with the limit's message, one replaced is not.
    const std::string full = std::string(TextLimit - 1, 'a');
    SetText(full);
    CtrlShift(true);
    EXPECT_TRUE(Text() == full);
    ASSERT_EQ(fake().messageBoxes().size(), 1u);
    EXPECT_EQ(fake().messageBoxes()[0].text, "Input exceeds memory limit");
    SetText("\xFD" + full.substr(1));
    CtrlShift(true);
    EXPECT_TRUE(Text() == "\xFE" + full.substr(1));
    EXPECT_EQ(fake().messageBoxes().size(), 1u);
    EXPECT_TRUE(MatchesFullRepaint("the full document"));
    Order(IDM_ORDER_REVERSED);
    CtrlShift(false);
    EXPECT_TRUE(Text() == "\xFE" + full.substr(1)) << "nothing in Reversed order";
}

// The levels belong to the paragraph: the first letter of a line decides whether the full
// stop ending the line above stays with the Latin word before it.
TEST_F(LineOrderTest, AnEditReordersTheOtherLinesOfItsParagraph) {
    Order(IDM_ORDER_BIDIRECTIONAL);
    SetText(std::string(50, '\xE0') + " a. bcdefgh " + std::string(40, '\xE0'));
    ASSERT_EQ(Doc.LineTable[1].Start, 54);
    Place(54);
    Char(0xF9);
    EXPECT_TRUE(MatchesFullRepaint("after typing"));
    KeyDown(VK_BACK);
    EXPECT_TRUE(MatchesFullRepaint("after Backspace"));
}

TEST_F(LineOrderTest, PrintingPrintsTheLineAsShown) {
    auto printed = [this](UINT order, const std::string& text) {
        Order(order);
        SetText(Bytes(text));
        fake().recordTextOuts = true;
        Command(IDM_FILE_PRINT);
        EXPECT_EQ(fake().printJobs.size(), 1u);
        std::vector<std::pair<int, std::string>> drawn;
        for (const auto& record : fake().printJobs.back().pages.at(0)) {
            drawn.emplace_back(record.x, record.text);
        }
        fake().printJobs.clear();
        return drawn;
    };
    EXPECT_EQ(printed(IDM_ORDER_BIDIRECTIONAL, "אב 1948 (גד) abc"),
              printed(IDM_ORDER_REVERSED, "אב 8491 )גד( cba"));
    // Left-to-right lines start at the column's left edge, right-to-left ones end at its
    // right edge.
    const auto lines = printed(IDM_ORDER_BIDIRECTIONAL, "ab 12 גד\r\nabc\r\nאבג\r\nאבגדהו");
    // One record a character, after the page number's three.
    ASSERT_EQ(lines.size(), 23u);
    std::string first;
    for (int k = 3; k < 11; ++k) first += lines[static_cast<std::size_t>(k)].second;
    EXPECT_EQ(first, Bytes("ab 12 דג"));
    EXPECT_EQ(lines[3].first, lines[11].first);   // the lines' first characters
    EXPECT_EQ(lines[16].first, lines[22].first);  // and last ones
    EXPECT_LT(lines[11].first, lines[17].first);
}

TEST_F(LineOrderTest, TheMenuChoiceRepaintsAndKeepsEverythingElse) {
    SetText(Bytes("אב 12 ab\r\nגד"));
    Select(1, 4, 4);
    const auto lines = std::vector<LineRecord>(Doc.LineTable, Doc.LineTable + Doc.LineCount);
    const long paints = fake().paintCount;
    Order(IDM_ORDER_REVERSED);  // already checked: nothing happens
    EXPECT_EQ(fake().paintCount, paints);
    Order(IDM_ORDER_BIDIRECTIONAL);
    EXPECT_EQ(fake().menuState(IDM_ORDER_BIDIRECTIONAL), MF_CHECKED);
    EXPECT_EQ(fake().menuState(IDM_ORDER_REVERSED), 0u);
    EXPECT_EQ(fake().paintCount, paints + 1);
    EXPECT_EQ(Doc.Caret, 4);
    EXPECT_EQ(Doc.SelectionStart, 1);
    EXPECT_EQ(Doc.SelectionEnd, 4);
    EXPECT_EQ(Doc.LineCount, static_cast<std::int32_t>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(Doc.LineTable[i].Start, lines[i].Start);
        EXPECT_EQ(Doc.LineTable[i].End, lines[i].End);
    }
    EXPECT_TRUE(MatchesFullRepaint());
}

// When the system cannot give the levels or the order, the line is shown reversed, and
// caret, selection and clicks follow what is shown.
TEST_F(LineOrderTest, WithoutTheSystemsOrderALineIsShownReversed) {
    for (const char* call : {"ScriptItemize", "ScriptLayout"}) {
        Order(IDM_ORDER_REVERSED);
        SetText(Bytes(Mixed));
        const auto reversed = fake().pixels();
        Order(IDM_ORDER_BIDIRECTIONAL);
        ForgetParagraphLevels();
        fake().FailCall(call);
        SetText(Bytes(Mixed));
        EXPECT_TRUE(Difference(reversed, fake().pixels()).empty()) << call;
        Order(IDM_ORDER_REVERSED);
    }
}

// The levels come a window at a time, and an edit keeps all but those it may change: every
// line of long random paragraphs, with brackets nested across lines (or, every other
// document, left unbalanced; every third has none), must come out as the whole paragraph's
// levels give it, on the text put in place and after each of a run of edits.
TEST_F(LineOrderTest, OrderByWindowsEqualsOrderByTheWholeParagraph) {
    const std::string alphabet = "\xE0\xE1\xE2\xE3\xEC\xF9\xFA\xC4  abcXY0123456789.,-:+%$\xFD\xFE";
    const std::string openers = "([{";
    const std::string closers = ")]}";
    std::mt19937 random(17);
    Order(IDM_ORDER_BIDIRECTIONAL);
    int lines = 0;
    // The lines from..to, or all of them.
    auto checkLines = [&](int document, int edit, std::int32_t from = 0,
                          std::int32_t to = LineLimit) {
        ScreenTextContext window;
        for (std::int32_t i = std::max(from, 0); i < std::min(to + 1, Doc.LineCount); ++i) {
            std::int32_t first = 0;
            std::int32_t last = 0;
            ParagraphLines(i, &first, &last);
            const std::int32_t start = Doc.LineTable[first].Start;
            const int length = VisibleEnd(Doc.LineTable[last]) - start + 1;
            const OrderedLine line = OrderLine(window.dc(), i);
            if (line.Count == 0) continue;
            std::vector<std::int32_t> shown;
            for (std::int32_t k = 0; k < line.Count; ++k) shown.push_back(PositionOfSlot(line, k));
            // The reference: the whole paragraph itemized at once, rule L1 on the line.
            std::vector<WORD> units;
            for (int k = 0; k < length; ++k)
                units.push_back(GlyphCharacter[Doc.TextBuffer[start + k]]);
            std::vector<SCRIPT_ITEM> items(static_cast<std::size_t>(length) + 1);
            SCRIPT_CONTROL control{};
            SCRIPT_STATE state{};
            // The paragraph's direction: its first strong character's, else right to left.
            std::uint8_t paragraph = 1;
            for (int k = 0; k < length; ++k) {
                const std::uint8_t byte = Doc.TextBuffer[start + k];
                if (!IsStrong(byte)) continue;
                paragraph = IsLeftToRightOrNumber(byte) ? 0 : 1;
                break;
            }
            state.uBidiLevel = paragraph;
            int count = 0;
            ASSERT_EQ(
                ScriptItemize(units.data(), length, length, &control, &state, items.data(), &count),
                S_OK);
            std::vector<std::uint8_t> levels;
            for (int j = 0; j < count; ++j) {
                for (int k = items[j].iCharPos; k < items[j + 1].iCharPos; ++k) {
                    if (k >= line.Start - start && k <= line.VisibleEnd - start) {
                        levels.push_back(static_cast<std::uint8_t>(items[j].a.s.uBidiLevel));
                    }
                }
            }
            bool trailing = true;
            for (std::int32_t k = line.Count - 1; k >= 0; --k) {
                const LineEndClass kind = LineEndClassOf(Doc.TextBuffer[line.Start + k]);
                if (kind == LineEndClass::Separator ||
                    (trailing && kind == LineEndClass::WhiteSpace)) {
                    levels[static_cast<std::size_t>(k)] = paragraph;
                }
                trailing =
                    kind != LineEndClass::Other && (trailing || kind == LineEndClass::Separator);
            }
            std::vector<int> visual(static_cast<std::size_t>(line.Count));
            ASSERT_EQ(ScriptLayout(line.Count, levels.data(), visual.data(), nullptr), S_OK);
            std::vector<std::int32_t> expected;
            for (int v : visual) expected.push_back(line.Start + v);
            ASSERT_EQ(shown, expected)
                << "document " << document << " edit " << edit << " line " << i;
            ++lines;
        }
    };
    for (int document = 0; document < 6; ++document) {
        std::string text;
        std::string open;  // the kinds of the brackets open, innermost last
        while (text.size() < 3000) {
            const unsigned pick = random() % 40;
            if (pick == 0 && open.size() < 8 && document % 3 != 2) {
                open += static_cast<char>(random() % 3);
                text += openers[static_cast<std::size_t>(open.back())];
            } else if (pick == 1 && !open.empty()) {
                const char kind = document % 2 ? static_cast<char>(random() % 3) : open.back();
                text += closers[static_cast<std::size_t>(kind)];
                open.pop_back();
            } else {
                text += alphabet[random() % alphabet.size()];
            }
            if (random() % 400 == 0) text += "\r\n";
        }
        for (; !open.empty(); open.pop_back())
            text += closers[static_cast<std::size_t>(open.back())];
        SetText(text);
        checkLines(document, 0);
        for (int edit = 1; edit <= 60; ++edit) {
            // Typing, a bracket now and then, Backspace, Delete, Enter, or a selection typed
            // over, somewhere in the text.
            Doc.SelectionActive = 0;  // no picture is compared here: the caret is just put
            Doc.Caret = static_cast<std::int32_t>(random() % static_cast<unsigned>(Doc.TextLength));
            const unsigned kind = random() % 8;
            if (kind < 3) {
                for (unsigned n = 1 + random() % 6; n > 0; --n)
                    Char(static_cast<std::uint8_t>(alphabet[random() % alphabet.size()]));
            } else if (kind == 3) {
                Char(static_cast<std::uint8_t>((random() % 2 ? openers : closers)[random() % 3]));
            } else if (kind < 6) {
                KeyDown(kind == 4 ? VK_BACK : VK_DELETE);
            } else if (kind == 6) {
                KeyDown(VK_RETURN);
            } else {
                const std::int32_t end = std::min(
                    Doc.Caret + 1 + static_cast<std::int32_t>(random() % 9), Doc.TextLength - 1);
                Doc.SelectionStart = Doc.Caret;
                Doc.SelectionEnd = Doc.Caret = end;
                Doc.SelectionActive = 1;
                Char(static_cast<std::uint8_t>(alphabet[random() % alphabet.size()]));
            }
            const std::int32_t line = LineOfPosition(Doc.Caret);
            checkLines(document, edit, line - 2, line + 2);
        }
        checkLines(document, 61);
    }
    // Brackets whose pairing decides their levels, moved on by typing before them.
    std::string pairs;
    for (int k = 0; k < 300; ++k) pairs += Bytes("אב(גד [&ef]. )gh ");
    SetText(pairs);
    for (int k = 0; k < 6; ++k) Char(0xE0);
    checkLines(6, 0);
    EXPECT_GT(lines, 2000);
}

// BidiCharacterTest.txt of the Unicode Character Database: every case whose characters all
// exist in code page 1255, of each paragraph direction, is one display line of the editor,
// ordered by the editor's own path; its order must be the file's.
TEST_F(LineOrderTest, OrderMatchesTheUnicodeBidiCharacterTest) {
    std::ifstream file("/usr/share/unicode/BidiCharacterTest.txt");
    ASSERT_TRUE(file) << "BidiCharacterTest.txt is missing (Debian package unicode-data)";
    const std::vector<BidiCase> cases = ReadCases(file);
    Order(IDM_ORDER_BIDIRECTIONAL);
    int failures = 0;
    {
        ScreenTextContext window;
        for (const BidiCase& c : cases) {
            const std::string got = OrderOfCase(window.dc(), c);
            if (got != c.order && ++failures <= 10) {
                ADD_FAILURE() << c.codes << ": order " << got << ", expected " << c.order;
            }
        }
    }
    EXPECT_EQ(failures, 0) << "of " << cases.size() << " cases";
    EXPECT_GT(cases.size(), 14000u);
    std::printf("[ conformance ] %zu cases in code page 1255, %d differ\n", cases.size(), failures);
    SetText("");
}

}  // namespace
}  // namespace nv::test
