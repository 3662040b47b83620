// The document store: the one set of process-wide records that every part of the editor
// reads and changes. Everything lives in fixed-size static storage for the whole run, and
// every limit of the editor follows from these sizes.
//
//   TextBuffer   [ t e x t \r \n m o r e \0 . . . . . ]   TextLength counts the \0
//                  ^Start    ^End ^Start    ^End           (LineTable: inclusive Ends)
//
// Positions are byte indexes into TextBuffer. A line's End is inclusive: the line feed of a
// line break, the byte where the layout broke the line, or the terminator of the last line.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

constexpr std::int32_t TextLimit = 32768;  // bytes of TextBuffer, terminator included
constexpr std::int32_t LineLimit = 32768;  // records of LineTable

constexpr std::uint8_t CarriageReturn = 13;
constexpr std::uint8_t LineFeed = 10;

struct LineRecord {
    std::int32_t Start;  // first byte of the line
    std::int32_t End;    // last byte of the line, inclusive
    std::int32_t SpaceCount;
    std::int32_t Width;   // of Start..End on the screen, line break and terminator included
    std::int32_t Height;  // tmHeight of the document font on the screen
};

constexpr int FaceCount = 13;  // the Font Name menu offers the first twelve
extern const char* const FontNameTable[FaceCount];

struct DocumentStore {
    // Text, in logical order, single bytes of code page 1255, always ended by a 0.
    std::uint8_t TextBuffer[TextLimit];
    std::int32_t TextLength = 1;
    std::uint8_t SavedText[TextLimit];
    std::int32_t SavedLength = 1;
    // The bytes of one line as they are drawn, left to right, in either line order: scratch
    // for one operation.
    std::uint8_t DrawnLineBytes[TextLimit];
    std::uint32_t EditCount = 0;  // text edits so far: tells that the text moved

    LineRecord LineTable[LineLimit];
    std::int32_t LineCount = 1;

    std::int32_t Caret = 0;
    std::int32_t SelectionStart = 0;
    std::int32_t SelectionEnd = 0;
    std::int32_t SelectionActive = 0;

    std::int32_t ViewTop = 0;  // first display line shown: the scroll position

    // Pages and the font measured on the screen.
    std::int32_t PageHeightInches = 8;
    std::int32_t TextWidthInches = 6;
    std::int32_t LineHeight = 0;
    std::int32_t LinesPerPage = 0;
    TEXTMETRICA ScreenFontMetrics;

    // Font settings.
    std::int32_t FaceIndex = 4;
    const char* FaceName = FontNameTable[4];
    std::int32_t PointSize = -12;  // stored negated
    std::uint8_t CharacterSet = HEBREW_CHARSET;
    std::int32_t WordWrapChoice = 42001;
    std::int32_t LineOrderChoice = 46000;  // Reversed
    std::int32_t StatusBarShown = 1;

    // The character palette.
    std::int32_t PaletteBank = 22;
    std::int32_t PaletteFocus = 0;
    std::int32_t PaletteMode = 0;
    std::int32_t AutoRepeat = 0;

    HWND MainWindow = nullptr;
    // Set while an action of the open Find or Replace dialog runs: its warnings are owned by
    // the dialog, which then waits until they are answered.
    HWND WarningOwner = nullptr;
};

// The one instance for the process.
extern DocumentStore Doc;

// Puts every record back to its value at load time (tests start each case from it).
void ResetDocumentStore();

// Sets up the empty, unchanged document of a new window.
void SetEmptyDocument();

// The last visible byte of a line: before its CR LF or its terminator. Lies before Start
// for an empty line.
std::int32_t VisibleEnd(const LineRecord& line);

// True when the line ends with the pair CR LF.
bool EndsWithLineBreak(const LineRecord& line);

// Every failure is told in a warning box on the main window (or on WarningOwner), with only
// an OK button: the text names the cause, the caption the operation that failed.
void ShowWarning(const char* text, const char* caption);

}  // namespace nv
