#include "tests/support/editor_fixture.h"

#include <cstring>

#include "app/window_proc.h"
#include "commands/file_commands.h"
#include "commands/find_commands.h"
#include "commands/named_file.h"
#include "commands/print.h"
#include "commands/recent_files.h"
#include "commands/recovery.h"
#include "commands/settings.h"
#include "document/edit_history.h"
#include "document/layout.h"
#include "view/screen_layout.h"

namespace nv::test {

void ResetEditorState() {
    ResetDocumentStore();
    ResetGeometry();
    ResetFileState();
    ResetPrintState();
    ResetRecoveryState();
    ResetStartArgument();
    SetEditHistoryCapacity(EditHistoryCapacity);
    ResetFindState();
    ResetSettings();
    ResetRecentFiles();
}

void EditorTest::SetUp() {
    ResetEditorState();
    fake_ = std::make_unique<fake::FakePlatform>();
    fake_->windowProc = &MainWindowProc;
    SetCurrentPlatform(fake_.get());
    CreateWindow();
}

void EditorTest::TearDown() {
    CloseRecoveryLock();  // as the system does when the process ends
    EXPECT_EQ(fake_->liveDrops(), 0) << "drops not finished";
    EXPECT_EQ(fake_->liveDeviceContexts(), 0) << "device contexts not released";
    EXPECT_EQ(fake_->liveFonts(), 0) << "fonts not deleted";
    EXPECT_EQ(fake_->liveHeapBlocks(), 0) << "heap blocks not freed";
    EXPECT_EQ(fake_->liveFileHandles(), 0) << "files not closed";
    EXPECT_EQ(fake_->liveGlobalBlocks(), 0) << "global blocks neither freed nor handed over";
    EXPECT_FALSE(fake_->clipboardOpen()) << "clipboard left open";
    EXPECT_EQ(fake_->pendingFailures(), 0) << "an injected failure never came";
    SetCurrentPlatform(nullptr);
    fake_.reset();
}

void EditorTest::CreateWindow(int width, int height) {
    ResetEditorState();
    fake_->AnswerNextMessageBox(IDYES);
    ASSERT_NE(fake_->CreateMainWindow(width, height), nullptr);
    fake_->ClearMessageBoxes();
}

void EditorTest::SetText(const std::string& bytes) {
    ASSERT_LT(bytes.size(), static_cast<std::size_t>(TextLimit));
    std::memset(Doc.TextBuffer, 0, sizeof Doc.TextBuffer);
    std::memcpy(Doc.TextBuffer, bytes.data(), bytes.size());
    Doc.TextLength = static_cast<std::int32_t>(bytes.size()) + 1;
    Doc.Caret = 0;
    Doc.SelectionStart = Doc.SelectionEnd = 0;
    Doc.SelectionActive = 0;
    Doc.ViewTop = 0;
    ClearEditHistory();  // a text put in place, as Open puts one
    LayoutDocument();
    FullRepaint();
}

std::string EditorTest::Text() const {
    return std::string(reinterpret_cast<const char*>(Doc.TextBuffer),
                       static_cast<std::size_t>(Doc.TextLength - 1));
}

void EditorTest::Place(std::int32_t caret) {
    Doc.SelectionActive = 0;
    Doc.Caret = caret;
    FullRepaint();
}

void EditorTest::Select(std::int32_t start, std::int32_t end, std::int32_t caret) {
    Doc.SelectionStart = start;
    Doc.SelectionEnd = end;
    Doc.SelectionActive = 1;
    Doc.Caret = caret;
    FullRepaint();
}

LRESULT EditorTest::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return fake_->Send(message, wParam, lParam);
}

void EditorTest::Char(unsigned code) { Send(WM_CHAR, code, 1); }

void EditorTest::KeyDown(UINT virtualKey, bool shift, bool control) {
    fake_->SetKeyDown(VK_SHIFT, shift);
    fake_->SetKeyDown(VK_CONTROL, control);
    Send(WM_KEYDOWN, virtualKey, 1);
    fake_->SetKeyDown(VK_SHIFT, false);
    fake_->SetKeyDown(VK_CONTROL, false);
    if (control) Send(WM_KEYUP, VK_CONTROL, 1);  // Ctrl let go, as after a real key
}

void EditorTest::Click(int x, int y, bool shift) {
    fake_->SetKeyDown(VK_SHIFT, shift);
    auto position = static_cast<LPARAM>((static_cast<std::uint32_t>(y) << 16) |
                                        (static_cast<std::uint32_t>(x) & 0xFFFF));
    Send(WM_LBUTTONDOWN, 0, position);
    fake_->SetKeyDown(VK_SHIFT, false);
}

void EditorTest::DoubleClick(int x, int y) {
    const auto position = static_cast<LPARAM>((static_cast<std::uint32_t>(y) << 16) |
                                              (static_cast<std::uint32_t>(x) & 0xFFFF));
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        Send(message, 0, position);
    }
}

void EditorTest::Wheel(int delta, int x, int y) {
    const auto high = static_cast<WPARAM>(static_cast<std::uint16_t>(delta)) << 16;
    Send(WM_MOUSEWHEEL, high,
         static_cast<LPARAM>((static_cast<std::uint32_t>(y) << 16) |
                             (static_cast<std::uint32_t>(x) & 0xFFFF)));
}

void EditorTest::CtrlShift(bool rightShift) {
    const LPARAM shift = static_cast<LPARAM>(rightShift ? 0x36 : 0x2A) << 16;
    const LPARAM control = static_cast<LPARAM>(0x1D) << 16;
    const LPARAM released = static_cast<LPARAM>(0xC0000001u);
    fake_->SetKeyDown(VK_CONTROL, true);
    Send(WM_KEYDOWN, VK_CONTROL, control | 1);
    fake_->SetKeyDown(VK_SHIFT, true);
    Send(WM_KEYDOWN, VK_SHIFT, shift | 1);
    fake_->SetKeyDown(VK_SHIFT, false);
    Send(WM_KEYUP, VK_SHIFT, shift | released);
    fake_->SetKeyDown(VK_CONTROL, false);
    Send(WM_KEYUP, VK_CONTROL, control | released);
}

void EditorTest::Command(UINT id) { Send(WM_COMMAND, id, 0); }

void EditorTest::EndOperation() {
    fake_->UpdateWindow(fake_->window());
    RedrawScrollBar();
}

void EditorTest::FullRepaint() {
    fake_->InvalidateRect(fake_->window(), nullptr, 1);
    fake_->UpdateWindow(fake_->window());
}

bool EditorTest::MatchesFullRepaint(const std::string& context) {
    EXPECT_FALSE(fake_->HasInvalidArea()) << context << ": an invalidated area was left unpainted";
    std::vector<std::uint32_t> incremental = fake_->pixels();
    FullRepaint();
    const std::vector<std::uint32_t>& fresh = fake_->pixels();
    int differing = 0;
    int firstX = -1;
    int firstY = -1;
    for (std::size_t at = 0; at < fresh.size(); ++at) {
        if (incremental[at] == fresh[at]) continue;
        if (differing++ == 0) {
            firstX = static_cast<int>(at % static_cast<std::size_t>(fake_->width()));
            firstY = static_cast<int>(at / static_cast<std::size_t>(fake_->width()));
        }
    }
    EXPECT_EQ(differing, 0) << context << ": " << differing
                            << " pixels differ from a full repaint, the first at (" << firstX
                            << ", " << firstY << ")";
    return differing == 0;
}

::testing::AssertionResult StoreInvariantsHold() {
    if (Doc.TextLength < 1 || Doc.TextLength > TextLimit) {
        return ::testing::AssertionFailure() << "TextLength " << Doc.TextLength;
    }
    if (Doc.TextBuffer[Doc.TextLength - 1] != 0) {
        return ::testing::AssertionFailure() << "no terminator at TextLength - 1";
    }
    if (Doc.LineCount < 1 || Doc.LineCount > LineLimit) {
        return ::testing::AssertionFailure() << "LineCount " << Doc.LineCount;
    }
    if (Doc.LineTable[0].Start != 0) return ::testing::AssertionFailure() << "line 0 not at 0";
    for (std::int32_t i = 0; i + 1 < Doc.LineCount; ++i) {
        const LineRecord& line = Doc.LineTable[i];
        if (line.End < line.Start || Doc.LineTable[i + 1].Start != line.End + 1) {
            return ::testing::AssertionFailure() << "gap or overlap after line " << i;
        }
    }
    if (Doc.LineTable[Doc.LineCount - 1].End != Doc.TextLength - 1) {
        return ::testing::AssertionFailure() << "last line does not end at the terminator";
    }
    if (Doc.Caret < 0 || Doc.Caret > Doc.TextLength - 1) {
        return ::testing::AssertionFailure() << "Caret " << Doc.Caret;
    }
    if (Doc.SelectionActive && (Doc.SelectionStart < 0 || Doc.SelectionStart > Doc.SelectionEnd ||
                                Doc.SelectionEnd > Doc.TextLength - 1)) {
        return ::testing::AssertionFailure()
               << "selection " << Doc.SelectionStart << ".." << Doc.SelectionEnd;
    }
    if (Doc.ViewTop < 0 || Doc.ViewTop > ScrollMax()) {
        return ::testing::AssertionFailure() << "ViewTop " << Doc.ViewTop;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace nv::test
