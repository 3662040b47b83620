// Word Wrap, Font Name and Font Point Size: check marks, the caret, the font asked for, and
// what is repainted; what the editor remembers of them and of the window to the next start.
#include "commands/view_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/settings.h"
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

// What the editor remembers is written when the window closes and read by the next start:
// the same text then looks the same, with the same check marks, recent files and place.
TEST_F(ViewSettingsTest, SettingsComeBackAtTheNextStart) {
    Command(IDM_FACE_FIRST + 9);
    Command(IDM_SIZE_BASE + 20);
    Command(IDM_WRAP_NO);
    Command(IDM_ORDER_BIDIRECTIONAL);
    Command(IDM_VIEW_STATUS_BAR);
    SaveAs("b.txt");
    SaveAs("a.txt");
    // Maximized, its normal place on a second screen left of the first.
    fake().monitors.push_back(
        MONITORINFO{sizeof(MONITORINFO), RECT{-1280, 0, 0, 1024}, RECT{-1280, 0, 0, 1024}, 0});
    fake().placement.rcNormalPosition = RECT{-900, 40, -100, 700};
    fake().placement.showCmd = SW_SHOWMAXIMIZED;
    SetText(Paragraphs());
    MarkSaved();
    const std::vector<std::uint32_t> before = fake().pixels();
    Send(WM_CLOSE);

    fake().placement.showCmd = SW_SHOWNORMAL;
    CreateWindow();
    SetText(Paragraphs());
    EXPECT_TRUE(fake().pixels() == before) << "the text looks otherwise after the next start";
    EXPECT_EQ(Doc.LineOrderChoice, IDM_ORDER_BIDIRECTIONAL);
    EXPECT_FALSE(fake().statusBarShown());
    for (UINT id : {IDM_FACE_FIRST + 9, IDM_SIZE_BASE + 20, IDM_WRAP_NO, IDM_ORDER_BIDIRECTIONAL}) {
        EXPECT_EQ(fake().menuState(id), MF_CHECKED) << id;
    }
    for (UINT id : {IDM_FACE_FIRST + 4, IDM_SIZE_BASE + 12, IDM_WRAP_YES, IDM_ORDER_REVERSED,
                    IDM_VIEW_STATUS_BAR}) {
        EXPECT_EQ(fake().menuState(id), MF_UNCHECKED) << id;
    }
    ASSERT_EQ(fake().addedMenuItems.size(), 3u);
    EXPECT_EQ(fake().addedMenuItems[0].text, "&1 a.txt");
    EXPECT_EQ(fake().addedMenuItems[1].text, "&2 b.txt");
    EXPECT_TRUE(PlaceMainWindow(SW_SHOWNORMAL));
    EXPECT_EQ(fake().placement.rcNormalPosition.left, -900);
    EXPECT_EQ(fake().placement.rcNormalPosition.bottom, 700);
    EXPECT_EQ(fake().placement.showCmd, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(fake().messageBoxes().empty());
}

// A damaged value is passed over and the rest used; a place off every screen is moved onto
// the nearest one. Writing the file may fail without a word.
TEST_F(ViewSettingsTest, DamagedSettingsAreIgnoredOneByOne) {
    const std::string folder = fake().RoamingFolder() + "/Nivrano";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str()));
    const struct {
        std::string file;
        std::int32_t face, size, wrap;
        RECT place;  // all zero: none
        std::vector<std::string> recent;
    } cases[] = {
        {"[View]\nFace=Comic Sans\nSize=7\nWordWrap=No\nLineOrder=sideways\n"
         "[Window]\nLeft=-5000\nTop=-5000\nRight=-4000\nBottom=-4200\nMaximized=perhaps\n"
         "[Recent Files]\nFile1=C:\\" +
             std::string(257, 'x') +
             "\nFile2=C:\\good.txt\nFile3=\nFile4=c:\\GOOD.TXT\nFile5=C:\\a&b.txt\n",
         4,
         -12,
         IDM_WRAP_NO,
         RECT{0, 0, 1000, 800},
         {"&1 good.txt", "&2 a&&b.txt", ""}},
        {"[View]\nFace=times new roman italic\nSize=72\nWordWrap=1\n"
         "[Window]\nLeft=300\nTop=200\nRight=100\nBottom=900\n[Recent Files]\nFile1=C:\\" +
             std::string(256, 'y') + "\n",
         10,
         -72,
         IDM_WRAP_YES,
         RECT{},
         {"&1 " + std::string(256, 'y'), ""}},
        {"[View]\nSize=12x\n\x01\x02garbage", 4, -12, IDM_WRAP_YES, RECT{}, {}},
    };
    for (const auto& c : cases) {
        WriteWholeFile(folder + "/Settings.ini", c.file);
        CreateWindow();
        EXPECT_EQ(Doc.FaceIndex, c.face) << c.file;
        EXPECT_EQ(Doc.PointSize, c.size) << c.file;
        EXPECT_EQ(Doc.WordWrapChoice, c.wrap) << c.file;
        EXPECT_EQ(Doc.LineOrderChoice, IDM_ORDER_REVERSED) << c.file;
        const bool placed = c.place.right != 0;
        fake().placementsSet = 0;
        EXPECT_EQ(PlaceMainWindow(SW_SHOWNORMAL), placed) << c.file;
        if (placed) {
            const RECT& place = fake().placement.rcNormalPosition;
            EXPECT_EQ(place.left, c.place.left);
            EXPECT_EQ(place.top, c.place.top);
            EXPECT_EQ(place.right, c.place.right);
            EXPECT_EQ(place.bottom, c.place.bottom);
            EXPECT_EQ(fake().placement.showCmd, SW_SHOWNORMAL);
        }
        std::vector<std::string> menu;
        for (const auto& item : fake().addedMenuItems) menu.push_back(item.text);
        EXPECT_EQ(menu, c.recent) << c.file;
    }
    fake().FailCall("WritePrivateProfileStringA");
    Send(WM_CLOSE);
    EXPECT_TRUE(fake().messageBoxes().empty());
}
}  // namespace
}  // namespace nv::test
