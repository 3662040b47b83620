#include "app/edit_menu.h"

#include "commands/command_ids.h"
#include "document/edit_history.h"
#include "document/store.h"

namespace nv {

void UpdateEditMenu() {
    HMENU menu = GetMenu(Doc.MainWindow);
    EnableMenuItem(menu, IDM_EDIT_UNDO, MF_BYCOMMAND | (CanUndo() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_EDIT_REDO, MF_BYCOMMAND | (CanRedo() ? MF_ENABLED : MF_GRAYED));
    bool hasSelection = Doc.SelectionActive != 0 && Doc.SelectionEnd - Doc.SelectionStart > 0;
    UINT selectionState = hasSelection ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_EDIT_CUT, MF_BYCOMMAND | selectionState);
    EnableMenuItem(menu, IDM_EDIT_COPY, MF_BYCOMMAND | selectionState);
    EnableMenuItem(menu, IDM_EDIT_DELETE, MF_BYCOMMAND | selectionState);
    EnableMenuItem(
        menu, IDM_EDIT_PASTE,
        MF_BYCOMMAND | (IsClipboardFormatAvailable(CF_UNICODETEXT) ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_EDIT_SELECT_ALL,
                   MF_BYCOMMAND | (Doc.TextLength > 1 ? MF_ENABLED : MF_GRAYED));
    const UINT textState = Doc.TextLength > 1 ? MF_ENABLED : MF_GRAYED;
    EnableMenuItem(menu, IDM_EDIT_FIND, MF_BYCOMMAND | textState);
    EnableMenuItem(menu, IDM_EDIT_REPLACE, MF_BYCOMMAND | textState);
    // With no search yet, Find Next opens Find. The item stays enabled for it, as the system
    // sends no command for the F3 of a grayed item.
    EnableMenuItem(menu, IDM_EDIT_FIND_NEXT, MF_BYCOMMAND | textState);
    DrawMenuBar(Doc.MainWindow);
}

}  // namespace nv
