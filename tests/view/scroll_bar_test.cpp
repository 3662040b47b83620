// The scroll bar follows the layout and the caret, and is redrawn only when its range or
// position changes.
#include <gtest/gtest.h>

#include <string>

#include "document/store.h"
#include "tests/support/editor_fixture.h"
#include "view/geometry.h"

namespace nv::test {
namespace {

class ScrollBarTest : public EditorTest {};

TEST_F(ScrollBarTest, TypingOnALineRedrawsNoScrollBar) {
    SetText("abc");
    long before = fake().scrollBarRedraws;
    Char('x');
    KeyDown(VK_LEFT);
    EXPECT_EQ(fake().scrollBarRedraws, before);
    EXPECT_EQ(fake().GetScrollPos(fake().window(), SB_VERT), 0);
}

TEST_F(ScrollBarTest, ANewPageChangesTheRangeAndRedrawsTheBar) {
    std::string text;
    for (int i = 1; i < Doc.LinesPerPage; ++i) text += "\r\n";
    SetText(text);
    int oldMax = fake().scrollMax();
    long before = fake().scrollBarRedraws;
    Doc.Caret = Doc.TextLength - 1;
    KeyDown(VK_RETURN);  // the first line of page 2
    EXPECT_EQ(fake().scrollMax(), ScrollMax());
    EXPECT_EQ(fake().scrollMax(), oldMax + Doc.LinesPerPage);
    EXPECT_GT(fake().scrollBarRedraws, before);
}

TEST_F(ScrollBarTest, FollowingTheCaretMovesTheThumbWithTheView) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line\r\n";
    SetText(text);
    KeyDown(VK_END, false, true);
    EXPECT_GT(Doc.ViewTop, 0);
    EXPECT_EQ(fake().GetScrollPos(fake().window(), SB_VERT), Doc.ViewTop);
    KeyDown(VK_HOME, false, true);
    EXPECT_EQ(Doc.ViewTop, 0);
    EXPECT_EQ(fake().GetScrollPos(fake().window(), SB_VERT), 0);
}

}  // namespace
}  // namespace nv::test
