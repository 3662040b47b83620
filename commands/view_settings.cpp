#include "commands/view_settings.h"

#include "commands/command_ids.h"
#include "document/document_font.h"
#include "document/store.h"
#include "input/text_edit.h"
#include "view/geometry.h"
#include "view/line_order.h"
#include "view/redraw.h"
#include "view/screen_layout.h"
#include "view/status_bar.h"

namespace nv {

static_assert(IDM_ORDER_REVERSED == LineOrderReversed &&
              IDM_ORDER_BIDIRECTIONAL == LineOrderBidirectional);

namespace {

// Moves the check mark of a radio-style menu group from one item to another.
void MoveCheckMark(UINT from, UINT to) {
    HMENU menu = GetMenu(Doc.MainWindow);
    CheckMenuItem(menu, from, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(menu, to, MF_BYCOMMAND | MF_CHECKED);
}

void Repaint(const RECT& area) { InvalidateRect(Doc.MainWindow, &area, 1); }

// A new face or size changes the line height and the lines per page: measure the font on
// the screen, lay the whole text out again from the top with the caret at the start, and
// repaint the text area (and the palette's cells, which show the face).
void ApplyFontChange(bool faceChanged) {
    HDC dc = GetDC(Doc.MainWindow);
    int logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    {
        SelectedFont font(dc, DocumentLogFont(logPixelsY));
        MeasureScreenFont(dc, logPixelsY);
        Doc.Caret = 0;
        Doc.ViewTop = 0;
        LayoutDocument();
        Repaint(RECT{0, Geo.TextTop, Geo.ClientWidth, Geo.ClientHeight});
        if (faceChanged) {
            const RECT& first = Geo.PaletteItemRects[PaletteFirstCell];
            const RECT& last = Geo.PaletteItemRects[PaletteLastCell];
            Repaint(RECT{first.left, first.top, last.right, last.bottom});
        }
    }
    ReleaseDC(Doc.MainWindow, dc);
}

}  // namespace

void SetWordWrap(WPARAM command) {
    const auto choice = static_cast<std::int32_t>(LOWORD(command));
    if (choice == Doc.WordWrapChoice) return;
    OldLines old;
    if (!TakeOldLines(&old)) {
        ShowWarning(NoMemoryMessage, "Can Not Adjust Word Wrap");
        return;
    }
    Doc.Caret = EraseCaret();

    MoveCheckMark(static_cast<UINT>(Doc.WordWrapChoice), static_cast<UINT>(choice));
    Doc.WordWrapChoice = choice;

    LayoutDocument();
    RefreshCaret(Doc.Caret);
    RepaintChangedLines(old, NoEditPosition, 0, 0);
    FollowCaret();
    FreeOldLines(&old);
}

void SetFontFace(WPARAM command) {
    const auto index = static_cast<std::int32_t>(LOWORD(command)) - IDM_FACE_FIRST;
    if (index == Doc.FaceIndex || index < 0 || index > IDM_FACE_LAST - IDM_FACE_FIRST) return;
    MoveCheckMark(static_cast<UINT>(IDM_FACE_FIRST + Doc.FaceIndex),
                  static_cast<UINT>(IDM_FACE_FIRST + index));
    Doc.FaceIndex = index;
    Doc.FaceName = FontNameTable[index];
    ApplyFontChange(true);
}

void SetPointSize(WPARAM command) {
    // Stored negated, as the font's character height is.
    const auto size = IDM_SIZE_BASE - static_cast<std::int32_t>(LOWORD(command));
    if (size == Doc.PointSize || size > IDM_SIZE_BASE - IDM_SIZE_FIRST ||
        size < IDM_SIZE_BASE - IDM_SIZE_LAST) {
        return;
    }
    MoveCheckMark(static_cast<UINT>(IDM_SIZE_BASE - Doc.PointSize),
                  static_cast<UINT>(IDM_SIZE_BASE - size));
    Doc.PointSize = size;
    ApplyFontChange(false);
}

void SetLineOrder(WPARAM command) {
    const auto choice = static_cast<std::int32_t>(LOWORD(command));
    if (choice == Doc.LineOrderChoice ||
        (choice != LineOrderReversed && choice != LineOrderBidirectional)) {
        return;
    }
    MoveCheckMark(static_cast<UINT>(Doc.LineOrderChoice), static_cast<UINT>(choice));
    Doc.LineOrderChoice = choice;
    Repaint(RECT{0, Geo.TextTop, Geo.ClientWidth, Geo.ClientHeight});
}

void ToggleStatusBar() {
    ShowStatusBar(Doc.StatusBarShown == 0);
    CheckMenuItem(GetMenu(Doc.MainWindow), IDM_VIEW_STATUS_BAR,
                  MF_BYCOMMAND | (Doc.StatusBarShown != 0 ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace nv
