// Window creation: the agreement, the font measured on the screen and the values set up.
#include <gtest/gtest.h>

#include <cstring>

#include "app/window_proc.h"
#include "commands/file_commands.h"
#include "tests/support/editor_fixture.h"

namespace nv::test {
namespace {

class WindowCreationTest : public EditorTest {
protected:
    void Recreate(int dpi, int width = DefaultWidth, int height = DefaultHeight) {
        fake_->logPixelsX = dpi;
        fake_->logPixelsY = dpi;
        CreateWindow(width, height);
    }
};

TEST_F(WindowCreationTest, AsksTheAgreementBeforeAnythingElseWithNoOwner) {
    ResetEditorState();
    fake_->AnswerNextMessageBox(IDYES);
    ASSERT_NE(fake_->CreateMainWindow(DefaultWidth, DefaultHeight), nullptr);
    ASSERT_FALSE(fake_->messageBoxes().empty());
    const fake::MessageBoxRecord& box = fake_->messageBoxes().front();
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Nivrano User Agreement");
    EXPECT_EQ(box.type, MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(box.text.rfind("I agree to the terms of the Nivrano user agreement, below.\n", 0),
              0u);
    EXPECT_NE(box.text.find("left click the No button, with the mouse device."), std::string::npos);
    EXPECT_EQ(fake_->messageBoxes().size(), 1u);
}

TEST_F(WindowCreationTest, At96PixelsPerInchTwelvePointCourierNew) {
    Recreate(96);
    LOGFONTA expected;
    expected.lfHeight = -16;
    expected.lfCharSet = HEBREW_CHARSET;
    std::strcpy(expected.lfFaceName, "Courier New");
    fake::FontMetrics metrics = fake_->MetricsFor(expected);
    EXPECT_STREQ(Doc.FaceName, "Courier New");
    EXPECT_EQ(Doc.ScreenFontMetrics.tmHeight, metrics.text.tmHeight);
    EXPECT_EQ(Doc.LineHeight, 18);  // 16 + internal leading, no external leading
    EXPECT_EQ(Doc.LinesPerPage, 768 / 18);
    EXPECT_EQ(Geo.TextTop, 144);
    EXPECT_EQ(Doc.TextLength, 1);
    EXPECT_EQ(Doc.TextBuffer[0], 0);
    EXPECT_EQ(Doc.SavedLength, 1);
    EXPECT_EQ(Doc.LineCount, 1);
    EXPECT_EQ(Doc.LineTable[0].Start, 0);
    EXPECT_EQ(Doc.LineTable[0].End, 0);
    EXPECT_EQ(Doc.Caret, 0);
    EXPECT_EQ(Doc.ViewTop, 0);
    EXPECT_EQ(Doc.PaletteBank, 22);
    EXPECT_EQ(Doc.WordWrapChoice, 42001);
    EXPECT_FALSE(IsDocumentChanged());
}

TEST_F(WindowCreationTest, At120PixelsPerInch) {
    Recreate(120);
    // 12 points at 120 pixels per inch: a 20-pixel character height.
    EXPECT_EQ(Doc.LineHeight, 20 + 3);
    EXPECT_EQ(Doc.LinesPerPage, 960 / 23);
    EXPECT_EQ(Geo.TextTop, 180);
    EXPECT_EQ(Doc.LineCount, 1);
}

TEST_F(WindowCreationTest, LinesPerPageIsAtLeastOneForAFontTallerThanAPage) {
    // A page is 768 pixels tall; a 600-point font is far taller.
    ResetEditorState();
    Doc.PointSize = -600;
    fake_->AnswerNextMessageBox(IDYES);
    ASSERT_EQ(MainWindowProc(fake_->window(), WM_CREATE, 0, 0), 0);
    EXPECT_GT(Doc.LineHeight, 768);
    EXPECT_EQ(Doc.LinesPerPage, 1);
}

TEST_F(WindowCreationTest, AFontThatCannotBeMeasuredStillGivesAUsableWindow) {
    fake_->textMetricsFail = true;
    CreateWindow();
    EXPECT_EQ(Doc.LineHeight, 1);
    EXPECT_EQ(Doc.LinesPerPage, 768);
    fake_->textMetricsFail = false;
    Send(WM_CHAR, 'a', 1);
    EXPECT_EQ(Text(), "a");
}

TEST_F(WindowCreationTest, NoAtTheAgreementFailsTheCreationWithNothingSetUp) {
    ResetEditorState();
    long paintsBefore = fake_->paintCount;
    fake_->AnswerNextMessageBox(IDNO);
    EXPECT_EQ(fake_->CreateMainWindow(DefaultWidth, DefaultHeight), nullptr);
    EXPECT_EQ(Doc.LineHeight, 0);
    EXPECT_EQ(Doc.LinesPerPage, 0);
    EXPECT_EQ(Geo.TextTop, 0);
    EXPECT_EQ(Files.FileDialogRecord.lStructSize, 0u);
    EXPECT_EQ(fake_->paintCount, paintsBefore);
    EXPECT_TRUE(fake_->quitPosted());
    EXPECT_EQ(fake_->quitCode(), 0);
}

TEST_F(WindowCreationTest, SetsUpTheFileDialogRecord) {
    const OPENFILENAMEA& record = Files.FileDialogRecord;
    EXPECT_EQ(record.lStructSize, sizeof(OPENFILENAMEA));  // never the 32-bit 76
    EXPECT_EQ(record.hwndOwner, fake_->window());
    EXPECT_EQ(record.nFilterIndex, 1u);
    EXPECT_EQ(record.nMaxFile, 260u);
    EXPECT_EQ(record.nMaxFileTitle, 260u);
    EXPECT_STREQ(record.lpstrDefExt, "txt");
    const char expected[] =
        "Unicode Text Files (*.txt)\0*.txt\0UTF-8 Text Files (*.txt)\0*.txt\0"
        "Windows-1255 Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
    EXPECT_EQ(std::memcmp(record.lpstrFilter, expected, sizeof expected), 0);
}

}  // namespace
}  // namespace nv::test
