#include "app/startup.h"

#include "app/idle_redraw.h"
#include "commands/file_commands.h"
#include "commands/named_file.h"
#include "commands/recovery.h"
#include "commands/safe_save.h"
#include "commands/settings.h"
#include "document/document_font.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/status_bar.h"

namespace nv {

namespace {
const char AgreementText[] =
    "I agree to the terms of the Nivrano user agreement, below.\n"
    "I agree that this copy of the Nivrano program, has been supplied as is.\n"
    "I agree to hold as blameless, the author, of the Nivrano program, and I agree to hold as "
    "blameless, the manufacturer, of this copy of the Nivrano program, concerning any loss, "
    "that I may incur, or any loss, that a third party may incur, as a result of using this "
    "copy of the Nivrano program.\n"
    "If you agree to the terms of this agreement, left click the Yes button, with the mouse "
    "device.\n"
    "If you do not agree to the terms of this agreement, left click the No button, with the "
    "mouse device.";
}  // namespace

int ShowUserAgreement() {
    return MessageBoxA(nullptr, AgreementText, "Nivrano User Agreement", MB_YESNO | MB_DEFBUTTON2);
}

LRESULT HandleCreate(HWND window) {
    Doc.MainWindow = window;
    ResetIdleRedraw();
    if (ShowUserAgreement() == IDNO) return -1;

    ReadSettings();  // the face, size and the rest the user left, before anything is measured

    HDC dc = GetDC(Doc.MainWindow);
    int logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    Doc.FaceName = FontNameTable[Doc.FaceIndex];
    {
        SelectedFont font(dc, DocumentLogFont(logPixelsY));
        MeasureScreenFont(dc, logPixelsY);
        Geo.TextTop = 3 * logPixelsY / 2;
        SetEmptyDocument();
        SetupFileDialog();
    }
    ReleaseDC(Doc.MainWindow, dc);
    DragAcceptFiles(Doc.MainWindow, 1);
    CreateStatusBar();
    UpdateStatusBar(DocumentFormatText());
    return 0;
}

// What an interrupted save left is named first. A left recovery copy comes next: when the
// user takes it back, its text is the document and the start file is not opened (the copy
// most likely holds that file's newer text); otherwise the start file opens.
void FinishStartUp() {
    ReportInterruptedSaves();
    if (!OfferRecoveryCopy()) OpenStartFile();
    // Like an operation, what it changed is painted once, the scroll bar after the text.
    UpdateStatusBar(DocumentFormatText());
    UpdateWindow(Doc.MainWindow);
    PaintStatusBar();
    RedrawScrollBar();
}

}  // namespace nv
