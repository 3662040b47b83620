// Word Wrap, Font Name and Font Point Size: check marks, the caret, the font asked for, and
// what is repainted.
#include "commands/view_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

// A paragraph of short words, several display lines long, then a second one.
std::string Paragraphs() {
    std::string text;
    for (int word = 0; word < 120; ++word) text += std::string(2 + word % 5, 'a' + word % 26) + " ";
    return text + "\r\nend";
}

class ViewSettingsTest : public CommandTest {
protected:
    // The text-area characters drawn while a command runs.
    std::vector<fake::TextOutRecord> DrawnBy(UINT command) {
        fake().textOuts.clear();
        fake().recordTextOuts = true;
        Command(command);
        fake().recordTextOuts = false;
        return fake().textOuts;
    }
};

TEST_F(ViewSettingsTest, ChoosingTheCheckedItemChangesNothingAndRepaintsNothing) {
    SetText(Paragraphs());
    Place(40);
    for (UINT id : {IDM_WRAP_YES, IDM_FACE_FIRST + 4, IDM_SIZE_BASE + 12}) {
        const long paints = fake().paintCount;
        const long invalidations = fake().invalidateCount;
        Command(id);
        EXPECT_EQ(fake().paintCount, paints) << id;
        EXPECT_EQ(fake().invalidateCount, invalidations) << id;
        EXPECT_EQ(Doc.Caret, 40) << id;
        EXPECT_EQ(fake().menuState(id), MF_CHECKED) << id;
    }
}

TEST_F(ViewSettingsTest, WordWrapNoAndBackKeepsTheCaretOnItsCharacter) {
    SetText(Paragraphs());
    const std::int32_t wrappedLines = Doc.LineCount;
    Place(250);
    for (UINT id : {IDM_WRAP_NO, IDM_WRAP_YES}) {
        Command(id);
        EXPECT_EQ(Doc.Caret, 250);
        EXPECT_EQ(Doc.WordWrapChoice, static_cast<std::int32_t>(id));
        EXPECT_TRUE(MatchesFullRepaint("word wrap " + std::to_string(id)));
    }
    EXPECT_EQ(Doc.LineCount, wrappedLines);
}

TEST_F(ViewSettingsTest, WordWrapWithoutMemoryWarnsAndKeepsEverything) {
    SetText(Paragraphs());
    fake().heapAllocationsBeforeFailure = 0;
    Command(IDM_WRAP_NO);
    ExpectBox("Can not allocate memory", "Can Not Adjust Word Wrap");
    EXPECT_EQ(Doc.WordWrapChoice, IDM_WRAP_YES);
    EXPECT_EQ(fake().menuState(IDM_WRAP_YES), MF_CHECKED);
    EXPECT_EQ(fake().menuState(IDM_WRAP_NO), 0u);
}

TEST_F(ViewSettingsTest, ThePointSizeGivesTheCharacterHeightAndTheLinesPerPage) {
    struct Case {
        int points;
        LONG height;
        std::int32_t lineHeight;  // the fake's Courier New at that height
    };
    for (const Case& c : {Case{72, -96, 108}, Case{8, -10, 11}, Case{20, -26, 29}}) {
        SetText("abc\r\nde");
        std::vector<fake::TextOutRecord> drawn = DrawnBy(IDM_SIZE_BASE + c.points);
        ASSERT_FALSE(drawn.empty()) << c.points;
        for (const fake::TextOutRecord& text : drawn) {
            if (text.y >= Geo.TextTop) {
                EXPECT_EQ(text.height, c.height) << c.points;
            }
        }
        EXPECT_EQ(Doc.LineHeight, c.lineHeight) << c.points;
        EXPECT_EQ(Doc.LinesPerPage, 8 * 96 / Doc.LineHeight);
        EXPECT_EQ(fake().menuState(IDM_SIZE_BASE + c.points), MF_CHECKED);
        EXPECT_TRUE(MatchesFullRepaint("size " + std::to_string(c.points)));
    }
}

TEST_F(ViewSettingsTest, AFaceChangeRepaintsThePaletteCellsAndASizeChangeDoesNot) {
    SetText(Paragraphs());
    Select(10, 30, 30);
    fake().invalidatedRects.clear();
    std::vector<fake::TextOutRecord> drawn = DrawnBy(IDM_FACE_FIRST + 10);
    int cells = 0;
    for (const fake::TextOutRecord& text : drawn) {
        if (text.y < Geo.TextTop && text.face == "Times New Roman Italic") ++cells;
    }
    EXPECT_EQ(cells, 10);
    EXPECT_EQ(Doc.FaceName, std::string("Times New Roman Italic"));
    // The caret goes to the start; the selection stays shown.
    EXPECT_EQ(Doc.Caret, 0);
    EXPECT_EQ(Doc.ViewTop, 0);
    EXPECT_EQ(Doc.SelectionActive, 1);
    EXPECT_TRUE(MatchesFullRepaint("face"));

    fake().invalidatedRects.clear();
    Command(IDM_SIZE_BASE + 30);
    for (const RECT& r : fake().invalidatedRects) EXPECT_GE(r.top, Geo.TextTop);
    EXPECT_TRUE(MatchesFullRepaint("size"));
}

TEST_F(ViewSettingsTest, ReturningToAMeasuredFontMakesNoWidthOrGlyphQueries) {
    SetText(Paragraphs());
    for (UINT there : {IDM_FACE_FIRST + 8, IDM_SIZE_BASE + 30}) {
        Command(there);
        const long queries = fake().widthQueries + fake().glyphQueries;
        Command(there < IDM_SIZE_BASE ? IDM_FACE_FIRST + 4 : IDM_SIZE_BASE + 12);
        EXPECT_EQ(fake().widthQueries + fake().glyphQueries, queries) << there;
    }
}

}  // namespace
}  // namespace nv::test
