// Random typing and keys on random documents at random scroll positions: after every
// message the picture built by the editor's own minimal repaints must equal a fresh full
// repaint, and the store must stay consistent.
#include <random>
#include <string>

#include "document/store.h"
#include "tests/support/editor_fixture.h"
#include "view/geometry.h"

namespace nv::test {
namespace {

class TypingRepaintTest : public EditorTest {
protected:
    std::mt19937 random_;

    int Uniform(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(int percent) { return Uniform(1, 100) <= percent; }

    // Latin and Hebrew words, Hebrew points (no advance), line breaks, and the odd lone
    // carriage return or line feed a file may bring.
    std::string RandomDocument(int length) {
        std::string text;
        while (static_cast<int>(text.size()) < length) {
            const int kind = Uniform(0, 99);
            if (kind < 50) {
                text += static_cast<char>(Uniform('a', 'z'));
            } else if (kind < 70) {
                text += static_cast<char>(Uniform(0xE0, 0xFA));
            } else if (kind < 85) {
                text += ' ';
            } else if (kind < 92) {
                text += "\r\n";
            } else if (kind < 95) {
                text += static_cast<char>(Uniform(0xC0, 0xC8));
            } else if (kind < 97) {
                text += std::string(static_cast<std::size_t>(Uniform(60, 90)), 'w');
            } else {
                text += Chance(50) ? '\r' : '\n';
            }
        }
        return text;
    }

    void RandomMessage(std::string* what) {
        static const UINT keys[] = {VK_LEFT,   VK_RIGHT, VK_UP,     VK_DOWN,   VK_HOME,
                                    VK_END,    VK_PRIOR, VK_NEXT,   VK_ESCAPE, VK_TAB,
                                    VK_RETURN, VK_BACK,  VK_DELETE, VK_SPACE};
        if (Chance(45)) {
            const int kind = Uniform(0, 9);
            unsigned code = kind < 5   ? static_cast<unsigned>(Uniform('a', 'z'))
                            : kind < 8 ? static_cast<unsigned>(Uniform(0xE0, 0xFA))
                            : kind < 9 ? 32u
                                       : static_cast<unsigned>(Uniform(0, 31));
            *what = "WM_CHAR " + std::to_string(code);
            Char(code);
            return;
        }
        const UINT key = keys[Uniform(0, sizeof keys / sizeof keys[0] - 1)];
        const bool shift = Chance(40);
        const bool control = Chance(20);
        *what = "WM_KEYDOWN " + std::to_string(key) + (shift ? " shift" : "") +
                (control ? " ctrl" : "");
        // Shift+Tab would hand the keyboard to the palette; this test stays in the text.
        KeyDown(key, key == VK_TAB ? false : shift, control);
    }
};

TEST_F(TypingRepaintTest, EveryMessageLeavesTheFullRepaintPicture) {
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        random_.seed(seed);
        CreateWindow(Uniform(500, 800), Uniform(170, 700));
        const int length = Chance(25) ? Uniform(0, 40) : Uniform(200, 4000);
        SetText(RandomDocument(length));
        Send(WM_VSCROLL, SB_THUMBPOSITION | (static_cast<WPARAM>(Uniform(0, ScrollMax())) << 16));
        Doc.Caret = Uniform(0, Doc.TextLength - 1);
        // Never between the two bytes of a line break: no key leaves it there.
        if (Doc.Caret > 0 && Doc.TextBuffer[Doc.Caret - 1] == CarriageReturn &&
            Doc.TextBuffer[Doc.Caret] == LineFeed) {
            --Doc.Caret;
        }
        FullRepaint();
        for (int step = 0; step < 120; ++step) {
            std::string what;
            RandomMessage(&what);
            SCOPED_TRACE(::testing::Message() << "step " << step << ": " << what);
            ASSERT_TRUE(StoreInvariantsHold());
            ASSERT_TRUE(MatchesFullRepaint());
        }
    }
}

TEST_F(TypingRepaintTest, RefusedEditsNearTheLimitLeaveThePicture) {
    random_.seed(99);
    SetText(RandomDocument(TextLimit - 6).substr(0, static_cast<std::size_t>(TextLimit - 6)));
    Doc.Caret = 1000;
    if (Doc.TextBuffer[Doc.Caret - 1] == CarriageReturn) --Doc.Caret;
    FullRepaint();
    for (int step = 0; step < 40; ++step) {
        std::string what;
        if (Chance(10)) fake().heapAllocationsBeforeFailure = 0;
        RandomMessage(&what);
        fake().heapAllocationsBeforeFailure = -1;
        fake().ClearMessageBoxes();
        SCOPED_TRACE(::testing::Message() << "step " << step << ": " << what);
        ASSERT_TRUE(StoreInvariantsHold());
        ASSERT_TRUE(MatchesFullRepaint());
    }
}

}  // namespace
}  // namespace nv::test
