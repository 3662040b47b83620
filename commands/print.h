// Printing the document on a printer chosen in the print dialog: the screen's display lines,
// right-aligned in a 6-inch column centred on the sheet, 1.5 inches from top and bottom,
// with the sheet's number in parentheses under the column.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

struct PrintState {
    // Kept between Print commands, so that the dialog starts with the printer last chosen.
    PRINTDLGA PrintDialogRecord;
    DOCINFOA PrintDocInfo;
    std::int32_t PageNumber = 0;  // the number the next footer prints
    TEXTMETRICA PrinterFontMetrics;
};

extern PrintState Printing;

void ResetPrintState();

// File > Print.
void FilePrint();

// Draws the footer "(n)" of the current sheet and advances PageNumber.
void PrintPageNumber(HDC printer);

// Prints every display line, starting sheets as needed. False when a sheet could not be
// ended or started: the job must then be given up.
bool PrintText(HDC printer);

}  // namespace nv
