#include "commands/print.h"

#include "document/store.h"

namespace nv {

PrintState Printing;

void ResetPrintState() { Printing = PrintState{}; }

namespace {

void Warn(const char* text) { ShowWarning(text, "Can Not Print"); }

// A job that failed once it was started is given up and its context deleted before the
// user hears of it: nothing is left in the spooler, and nothing is reported as printed.
void GiveUp(HDC printer, const char* text) {
    AbortDoc(printer);
    DeleteDC(printer);
    Warn(text);
}

}  // namespace

void FilePrint() {
    PRINTDLGA& dialog = Printing.PrintDialogRecord;
    dialog.lStructSize = sizeof(PRINTDLGA);
    dialog.hwndOwner = Doc.MainWindow;
    dialog.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE |
                   PD_HIDEPRINTTOFILE;
    dialog.hDC = nullptr;
    // Cancelled or failed: nothing to say. The device mode and names it returns stay in the
    // record for the next dialog.
    if (!PrintDlgA(&dialog)) return;
    HDC printer = dialog.hDC;
    dialog.hDC = nullptr;
    if (printer == nullptr) {
        Warn("Can not obtain a Printer DC");
        return;
    }

    DOCINFOA& info = Printing.PrintDocInfo;
    info = DOCINFOA{};
    info.cbSize = sizeof(DOCINFOA);
    info.lpszDocName = "Nivrano: Printing";
    if (StartDocA(printer, &info) <= 0) {
        DeleteDC(printer);
        Warn("Can not start document");
        return;
    }
    if (StartPage(printer) <= 0) {
        GiveUp(printer, "Can not start page");
        return;
    }
    Printing.PageNumber = 1;
    PrintPageNumber(printer);
    if (!PrintText(printer) || EndPage(printer) <= 0) {
        GiveUp(printer, "Could not print document");
        return;
    }
    EndDoc(printer);
    DeleteDC(printer);
}

}  // namespace nv
