// A test fixture that runs the editor on the fake platform: the records reset, the window
// created through WM_CREATE (the agreement answered Yes) and sized, and helpers to drive it
// by its messages and to look at what it painted.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/store.h"
#include "tests/support/fake_platform.h"
#include "view/geometry.h"

namespace nv::test {

// Puts every process-wide record of the editor back to its value at load time.
void ResetEditorState();

class EditorTest : public ::testing::Test {
protected:
    // The client size of the window the fixture creates; 96 pixels per inch.
    static constexpr int DefaultWidth = 800;
    static constexpr int DefaultHeight = 900;

    void SetUp() override;
    void TearDown() override;

    // Creates the window with the agreement answered Yes (the fixture does this in SetUp
    // unless a test calls it again with other values after changing fake settings).
    void CreateWindow(int width = DefaultWidth, int height = DefaultHeight);

    // Replaces the text (bytes without the terminator), lays it out, puts the caret at 0
    // with no selection and the view at the top, and repaints the whole window.
    void SetText(const std::string& bytes);
    std::string Text() const;

    // Puts the caret at a position with no selection, and shows it.
    void Place(std::int32_t caret);
    // Shows a selection with the caret where the test puts it.
    void Select(std::int32_t start, std::int32_t end, std::int32_t caret);

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Char(unsigned code);
    void KeyDown(UINT virtualKey, bool shift = false, bool control = false);
    void Click(int x, int y, bool shift = false);
    // A double click as the system sends it: a press and release, then WM_LBUTTONDBLCLK and
    // a release.
    void DoubleClick(int x, int y);
    // A turn of the wheel by `delta` (120 a notch, forward positive) with the pointer at x, y.
    void Wheel(int delta, int x, int y);
    // Ctrl held, the right or left Shift pressed and released, then Ctrl.
    void CtrlShift(bool rightShift);
    void Command(UINT id);

    // Ends an operation called directly, as the window procedure ends every message: the
    // window painted once, then the scroll bar.
    void EndOperation();
    // Repaints the whole client area from the records.
    void FullRepaint();
    // Fails the test when the framebuffer differs from a fresh full repaint of the same
    // state; returns false then. Leaves the fresh picture in the framebuffer.
    bool MatchesFullRepaint(const std::string& context = "");

    fake::FakePlatform& fake() { return *fake_; }

    std::unique_ptr<fake::FakePlatform> fake_;
};

// Checks the store's invariants: the terminator, TextLength in range, the line table
// covering the text without gap, the caret and the selection in range, ViewTop in range.
::testing::AssertionResult StoreInvariantsHold();

}  // namespace nv::test
