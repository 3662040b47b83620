// Printing on the fake printer: sheets, lines, footers and their fonts, the fit, failures.
#include "commands/print.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "commands/command_ids.h"
#include "tests/input/input_texts.h"
#include "tests/support/editor_fixture.h"

namespace nv::test {
namespace {

using Page = std::vector<fake::TextOutRecord>;

// Where the printed column and the sheet's margins fall on a printer.
struct SheetMeasures {
    int columnLeft, columnRight, top, bottom;
};

SheetMeasures MeasuresOf(const fake::PrinterSetup& p) {
    const int width = 6 * p.logPixelsX;
    const int left = (p.physicalWidth - width) / 2 - p.offsetX;
    return {left, left + width, 3 * p.logPixelsY / 2 - p.offsetY,
            p.physicalHeight - 3 * p.logPixelsY / 2 - p.offsetY};
}

class PrintTest : public EditorTest {
protected:
    const fake::PrintJob& Print() {
        Command(IDM_FILE_PRINT);
        EXPECT_FALSE(fake().printJobs.empty());
        static const fake::PrintJob none;
        return fake().printJobs.empty() ? none : fake().printJobs.back();
    }

    // The characters of a page at one font height, in drawing order.
    static Page At(const Page& page, LONG height) {
        Page found;
        for (const fake::TextOutRecord& text : page) {
            if (text.height == height) found.push_back(text);
        }
        return found;
    }

    fake::FontMetrics Metrics(LONG height) {
        LOGFONTA font;
        font.lfHeight = height;
        std::strncpy(font.lfFaceName, Doc.FaceName, LF_FACESIZE - 1);
        return fake().MetricsFor(font);
    }
    LONG Advance(LONG height, char code) {
        const ABC abc = Metrics(height).abc[static_cast<std::uint8_t>(code)];
        return abc.abcA + static_cast<LONG>(abc.abcB) + abc.abcC;
    }

    // The footer "(n)" in 12 points, centred under the column, one text height below the
    // bottom margin.
    void ExpectFooter(const Page& page, int number, const fake::PrinterSetup& p) {
        const LONG height = -12 * p.logPixelsY / 72;
        const SheetMeasures m = MeasuresOf(p);
        const int y = m.bottom + Metrics(height).text.tmHeight;
        Page footer;
        for (const fake::TextOutRecord& text : At(page, height)) {
            if (text.y == y) footer.push_back(text);
        }
        const std::string text = "(" + std::to_string(number) + ")";
        ASSERT_EQ(footer.size(), text.size()) << "sheet " << number;
        LONG width = 0;
        for (char c : text) width += Advance(height, c);
        EXPECT_EQ(footer[0].x, m.columnLeft + (6 * p.logPixelsX - width) / 2);
        for (std::size_t k = 0; k < text.size(); ++k) EXPECT_EQ(footer[k].text[0], text[k]);
    }
};

TEST_F(PrintTest, AnEmptyDocumentPrintsOneSheetWithOnlyItsNumber) {
    const fake::PrinterSetup printers[] = {
        {600, 600, 5100, 6600, 0, 0},      // Letter
        {300, 300, 2480, 3508, 50, 60},    // A4 with a margin the printer cannot reach
        {1200, 600, 10200, 6600, 75, 40},  // unequal resolutions
    };
    for (const fake::PrinterSetup& p : printers) {
        fake().printer = p;
        const fake::PrintJob& job = Print();
        EXPECT_EQ(job.docName, "Nivrano: Printing");
        EXPECT_TRUE(job.ended);
        ASSERT_EQ(job.pages.size(), 1u);
        EXPECT_EQ(job.pages[0].size(), 3u);
        ExpectFooter(job.pages[0], 1, p);
    }
    EXPECT_TRUE(fake().messageBoxes().empty());
}

TEST_F(PrintTest, FortyLinesPerPageOnLetterAt600DotsPrintFortyLinesASheetAtPitch120) {
    Command(IDM_SIZE_BASE + 13);  // Courier New 17 pixels: 19-pixel lines, 40 to a page
    ASSERT_EQ(Doc.LinesPerPage, 40);
    // Line k holds k % 7 letters; every seventh line is blank. The last line is "end".
    std::string text;
    for (int k = 0; k < 99; ++k) text += std::string(static_cast<std::size_t>(k % 7), 'a') + "\r\n";
    SetText(text + "end");
    ASSERT_EQ(Doc.LineCount, 100);
    const fake::PrintJob& job = Print();
    ASSERT_EQ(job.pages.size(), 3u);
    const SheetMeasures m = MeasuresOf(fake().printer);
    // 13 points are 108 pixels, whose 122-pixel lines would not put 40 in 8 inches: the fit
    // takes 107, with 120-pixel lines.
    const LONG lineHeight = -107;
    for (int k = 0; k < 100; ++k) {
        const Page& page = job.pages[static_cast<std::size_t>(k / 40)];
        const int y = m.top + (k % 40) * 120;
        std::string printed;
        int right = 0;
        for (const fake::TextOutRecord& text : At(page, lineHeight)) {
            if (text.y != y) continue;
            printed += text.text;
            right = text.x + Advance(lineHeight, text.text[0]);
        }
        // Line breaks and the terminator are not printed; the line ends at the right edge.
        const std::string expected =
            k == 99 ? "dne" : std::string(static_cast<std::size_t>(k % 7), 'a');
        EXPECT_EQ(printed, expected) << "line " << k;
        if (!expected.empty()) {
            EXPECT_EQ(right, m.columnRight) << "line " << k;
        }
    }
    for (int sheet = 0; sheet < 3; ++sheet) {
        ExpectFooter(job.pages[static_cast<std::size_t>(sheet)], sheet + 1, fake().printer);
        EXPECT_EQ(job.pages[static_cast<std::size_t>(sheet)].size(),
                  At(job.pages[static_cast<std::size_t>(sheet)], lineHeight).size() + 3);
    }
}

// The heights the lines of a job were printed in, the footer's left out.
std::set<LONG> LineHeights(const fake::PrintJob& job, LONG footer) {
    std::set<LONG> heights;
    for (const Page& page : job.pages) {
        for (const fake::TextOutRecord& text : page) {
            if (text.height != footer) heights.insert(text.height);
        }
    }
    return heights;
}

TEST_F(PrintTest, WideLinesShrinkTheWholeDocumentDownToOnePixelButNotTheFooter) {
    const struct {
        std::string text;
        fake::PrinterSetup printer;
        LONG height;
    } cases[] = {
        // 57 letters fill a screen line, 80 make two. A 500-dot inch makes a 3000-dot
        // column: 57 letters of 63 dots (100-dot Courier New) do not fit, of 52 (83-dot) do.
        {std::string(57, 'a') + "\r\nb\r\n" + std::string(80, 'c'),
         {500, 600, 4250, 6600, 0, 0},
         -83},
        // A 5-dot inch makes a 30-dot column: 40 letters never fit, and the fit ends at 1.
        {std::string(40, 'a'), {5, 600, 5100, 6600, 0, 0}, -1},
    };
    for (const auto& c : cases) {
        SetText(c.text);
        fake().printer = c.printer;
        const fake::PrintJob& job = Print();
        EXPECT_TRUE(job.ended);
        EXPECT_EQ(LineHeights(job, -100), std::set<LONG>{c.height});
        ASSERT_EQ(job.pages.size(), 1u);
        ExpectFooter(job.pages[0], 1, fake().printer);
    }
}

TEST_F(PrintTest, TheFirstLineOfASheetIsAlwaysPrinted) {
    SetText(ShortLines(3));
    // 1.5 inches from top and bottom leave 100 dots between them, less than the pitch.
    fake().printer = fake::PrinterSetup{600, 600, 5100, 1900, 0, 0};
    const fake::PrintJob& job = Print();
    ASSERT_EQ(job.pages.size(), 4u);
    for (int sheet = 0; sheet < 4; ++sheet) {
        const Page& page = job.pages[static_cast<std::size_t>(sheet)];
        ExpectFooter(page, sheet + 1, fake().printer);
        EXPECT_EQ(page.size(), sheet < 3 ? 4u : 3u) << "sheet " << sheet;
        if (sheet < 3) {
            EXPECT_EQ(page[3].text, "a");
            EXPECT_EQ(page[3].y, 900);
        }
    }
}

TEST_F(PrintTest, EachFailureIsReportedAndTheJobGivenUp) {
    const struct {
        const char* call;  // nullptr: the dialog hands out no device context
        int after;
        const char* message;
    } cases[] = {
        {nullptr, 0, "Can not obtain a Printer DC"},
        {"StartDocA", 0, "Can not start document"},
        {"StartPage", 0, "Can not start page"},
        {"StartPage", 1, "Could not print document"},  // at the sheet break
        {"EndPage", 0, "Could not print document"},    // at the sheet break
        {"EndPage", 1, "Could not print document"},    // the last page
    };
    for (const auto& c : cases) {
        SetUp();
        SetText(ShortLines(50));  // two sheets
        if (c.call != nullptr) {
            fake().FailCall(c.call, c.after);
        } else {
            fake().printDialogAnswer = fake::PrintDialogAnswer::NoDeviceContext;
        }
        Command(IDM_FILE_PRINT);
        const std::string what = c.call ? c.call + std::to_string(c.after) : "no context";
        ASSERT_EQ(fake().messageBoxes().size(), 1u) << what;
        EXPECT_EQ(fake().messageBoxes()[0].text, c.message) << what;
        EXPECT_EQ(fake().messageBoxes()[0].caption, "Can Not Print") << what;
        EXPECT_EQ(fake().messageBoxes()[0].type, MB_ICONWARNING) << what;
        EXPECT_EQ(fake().liveDeviceContexts(), 0) << what;
        // A job once started is aborted, never ended.
        const bool started = c.call != nullptr && std::string(c.call) != "StartDocA";
        ASSERT_EQ(fake().printJobs.size(), started ? 1u : 0u) << what;
        if (started) {
            EXPECT_TRUE(fake().printJobs[0].aborted) << what;
            EXPECT_FALSE(fake().printJobs[0].ended) << what;
        }
        TearDown();
    }
    SetUp();
}

TEST_F(PrintTest, CancellingIsSilentAndASecondPrintStartsWithThePrinterChosenFirst) {
    fake().printDialogAnswer = fake::PrintDialogAnswer::Cancel;
    Command(IDM_FILE_PRINT);
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_TRUE(fake().printJobs.empty());

    fake().printDialogAnswer = fake::PrintDialogAnswer::Printer;
    Print();
    Print();
    ASSERT_EQ(fake().printDialogs.size(), 3u);
    const PRINTDLGA& second = fake().printDialogs[2];
    EXPECT_NE(second.hDevMode, nullptr);
    EXPECT_EQ(second.hDevMode, Printing.PrintDialogRecord.hDevMode);
    EXPECT_EQ(second.hDevNames, Printing.PrintDialogRecord.hDevNames);
    EXPECT_EQ(fake().printJobs.size(), 2u);
}

}  // namespace
}  // namespace nv::test
