// Every operation paints the window once, before its message returns, and draws the scroll
// bar once when, and only when, its range or position changed; the picture stays that of a
// full repaint, and the status bar tells the state the operation left
#include <functional>
#include <string>
#include <vector>

#include "commands/command_ids.h"
#include "commands/file_commands.h"
#include "document/layout.h"
#include "document/store.h"
#include "tests/support/editor_fixture.h"
#include "view/geometry.h"
#include "view/status_bar.h"

namespace nv::test {
namespace {

class PaintOnceTest : public EditorTest {
protected:
    void ClickCenter(const RECT& r) { Click((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
};

TEST_F(PaintOnceTest, EachOperationPaintsOnceAndTheScrollBarOnlyWhenItChanged) {
    std::string text;
    for (int i = 0; i < 70; ++i) text += "line " + std::to_string(i) + " of the text\r\n";
    SetText(text);
    EndOperation();

    struct Step {
        const char* name;
        std::function<void()> run;
        long paints = 1;
    };
    const std::vector<Step> steps = {
        {"a letter", [this] { Char('x'); }},
        {"Enter", [this] { KeyDown(VK_RETURN); }},
        {"Backspace", [this] { KeyDown(VK_BACK); }},
        {"Delete", [this] { KeyDown(VK_DELETE); }},
        {"Tab", [this] { KeyDown(VK_TAB); }},
        {"Shift+Left", [this] { KeyDown(VK_LEFT, true); }},
        {"Cut", [this] { Command(IDM_EDIT_CUT); }},
        {"Paste", [this] { Command(IDM_EDIT_PASTE); }},
        {"Ctrl+End", [this] { KeyDown(VK_END, false, true); }},
        {"Enter at the end", [this] { KeyDown(VK_RETURN); }},
        {"Page Up", [this] { KeyDown(VK_PRIOR); }},
        {"scroll to the top", [this] { Send(WM_VSCROLL, SB_TOP); }},
        {"a click in the text", [this] { Click(Geo.TextRight - 25, Geo.TextTop + 40); }},
        {"a double click where the caret is",
         [this] { DoubleClick(Geo.TextRight - 25, Geo.TextTop + 40); }},
        {"Ctrl+Left", [this] { KeyDown(VK_LEFT, false, true); }},
        {"Ctrl+Backspace", [this] { KeyDown(VK_BACK, false, true); }},
        {"Ctrl+Delete", [this] { KeyDown(VK_DELETE, false, true); }},
        {"the wheel", [this] { Wheel(-240, 400, 400); }},
        {"status bar hidden", [this] { Command(IDM_VIEW_STATUS_BAR); }},
        {"Enter without the status bar", [this] { KeyDown(VK_RETURN); }},
        {"status bar shown", [this] { Command(IDM_VIEW_STATUS_BAR); }, 0},  // it covers the foot
        {"a palette cell", [this] { ClickCenter(Geo.PaletteItemRects[PaletteFirstCell + 3]); }},
        {"palette Down", [this] { ClickCenter(Geo.PaletteItemRects[PaletteDown]); }},
        {"button up", [this] { Send(WM_LBUTTONUP); }, 0},
        {"a face", [this] { Command(IDM_FACE_FIRST + 2); }},
        {"a size", [this] { Command(IDM_SIZE_BASE + 16); }},
        {"word wrap off", [this] { Command(IDM_WRAP_NO); }},
        {"Select All", [this] { Command(IDM_EDIT_SELECT_ALL); }},
        {"Delete all", [this] { Command(IDM_EDIT_DELETE); }},
        {"Undo", [this] { Command(IDM_EDIT_UNDO); }},
        {"Redo", [this] { Command(IDM_EDIT_REDO); }},
        {"Undo again", [this] { Command(IDM_EDIT_UNDO); }},
        {"Replace All",
         [this] {
             Command(IDM_EDIT_REPLACE);
             fake().PressFindDialogButton(FR_REPLACEALL, u"line", 0, u"row");
             fake().CloseFindDialog();
         }},
        {"bidirectional order", [this] { Command(IDM_ORDER_BIDIRECTIONAL); }},
        {"a paste in bidirectional order", [this] { Command(IDM_EDIT_PASTE); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const long paints = fake().paintCount;
        const long barRedraws = fake().scrollBarRedraws;
        const int position = fake().GetScrollPos(fake().window(), SB_VERT);
        const int range = fake().scrollMax();
        step.run();
        EXPECT_EQ(fake().paintCount - paints, step.paints);
        const bool barChanged = position != fake().GetScrollPos(fake().window(), SB_VERT) ||
                                range != fake().scrollMax();
        EXPECT_EQ(fake().scrollBarRedraws - barRedraws, barChanged ? 1 : 0);
        if (fake().statusBarShown()) {
            char texts[StatusPartCount][64];
            StatusBarTexts(texts, DocumentFormatText());
            for (int part = 0; part < StatusPartCount; ++part) {
                EXPECT_EQ(fake().statusText(part), texts[part]) << "part " << part;
            }
        }
        ASSERT_TRUE(MatchesFullRepaint(step.name));
    }
}

// Typing at the end of a long paragraph with the view at its bottom, while the keys of a
// burst wait in the queue: the key that starts a new line scrolls once and paints the line
// it left and the rows below once; the bar is drawn neither then nor when the burst ends,
// because a click on it during the burst drew it first. The status bar takes its texts
// once, when the burst ends.
TEST_F(PaintOnceTest, ANewLineAtTheBottomScrollsOnceAndTheBarWaitsForTheBurst) {
    std::string text;
    while (text.size() < 3000) text += "abcd efg ";
    for (const UINT order : {IDM_ORDER_REVERSED, IDM_ORDER_BIDIRECTIONAL}) {
        SCOPED_TRACE(order == IDM_ORDER_REVERSED ? "reversed" : "bidirectional");
        Command(order);
        SetText(text);
        KeyDown(VK_END, false, true);
        EndOperation();
        const std::int32_t lines = Doc.LineCount;
        const std::int32_t top = Doc.ViewTop;
        const long scrolls = fake().scrollCount;
        const long bar = fake().scrollBarRedraws;
        const long statusSets = fake().statusTextSets;
        fake().inputWaiting = true;
        while (Doc.LineCount == lines) {
            const long paints = fake().paintCount;
            Char('x');
            ASSERT_EQ(fake().paintCount - paints, 1);
        }
        EXPECT_EQ(Doc.ViewTop, top + 1);
        EXPECT_EQ(fake().scrollCount - scrolls, 1);
        const std::int32_t left = LineOfPosition(Doc.Caret) - 1;
        EXPECT_GE(fake().lastPaintBounds.top, LineY(left, PageGap(96)));
        ASSERT_TRUE(MatchesFullRepaint("the new line"));
        EXPECT_EQ(fake().scrollBarRedraws, bar);
        EXPECT_EQ(fake().statusTextSets, statusSets);
        Send(WM_NCLBUTTONDOWN, 7);  // HTVSCROLL
        EXPECT_EQ(fake().scrollBarRedraws, bar + 1);
        fake().inputWaiting = false;
        Char('x');
        EXPECT_EQ(fake().scrollBarRedraws, bar + 1);
        EXPECT_EQ(fake().GetScrollPos(fake().window(), SB_VERT), Doc.ViewTop);
        char texts[StatusPartCount][64];
        StatusBarTexts(texts);
        EXPECT_EQ(fake().statusText(0), texts[0]);
    }
}

}  // namespace
}  // namespace nv::test
