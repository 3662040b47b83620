// The key-down handler's choice between text mode and palette mode.
#include "document/store.h"
#include "tests/input/input_snapshot.h"
#include "tests/support/editor_fixture.h"

namespace nv::test {
namespace {

using KeyDispatchTest = EditorTest;

TEST_F(KeyDispatchTest, ShiftTabEntersPaletteModeWithoutTouchingTheText) {
    SetText("abc");
    Doc.Caret = 1;
    FullRepaint();
    KeyDown(VK_TAB, true);
    EXPECT_EQ(Doc.PaletteMode, 1);
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(Doc.Caret, 1);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(KeyDispatchTest, InPaletteModeTheTextKeysDoNotReachTheText) {
    SetText("abc\r\ndef");
    Doc.Caret = 5;
    FullRepaint();
    KeyDown(VK_TAB, true);
    ASSERT_EQ(Doc.PaletteMode, 1);
    for (UINT key : {VK_BACK, VK_DELETE, VK_ESCAPE, VK_LEFT, VK_RIGHT, VK_HOME, VK_END}) {
        KeyDown(key);
        EXPECT_EQ(Text(), "abc\r\ndef") << "key " << key;
        EXPECT_EQ(Doc.Caret, 5) << "key " << key;
    }
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(KeyDispatchTest, AnUnknownModeIgnoresEveryKey) {
    SetText("abc");
    Doc.Caret = 1;
    Doc.PaletteMode = 2;
    for (UINT key : {VK_LEFT, VK_TAB, VK_RETURN, VK_BACK, VK_DELETE, VK_NEXT}) {
        const InputSnapshot before = TakeSnapshot(fake());
        KeyDown(key, key == VK_TAB);
        EXPECT_TRUE(NothingHappened(fake(), before)) << "key " << key;
        EXPECT_EQ(Doc.PaletteMode, 2);
    }
}

}  // namespace
}  // namespace nv::test
