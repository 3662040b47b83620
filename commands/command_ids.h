// Menu command identifiers, shared by the menu resource and the window procedure.
#pragma once

#define IDM_FILE_NEW 40000
#define IDM_FILE_OPEN 40001
#define IDM_FILE_SAVE 40002
#define IDM_FILE_PRINT 40003
#define IDM_FILE_EXIT 40004
#define IDM_FILE_SAVE_AGAIN 40005
#define IDM_EDIT_CUT 41000
#define IDM_EDIT_COPY 41001
#define IDM_EDIT_PASTE 41002
#define IDM_EDIT_DELETE 41003
#define IDM_EDIT_SELECT_ALL 41004
#define IDM_EDIT_UNDO 41005
#define IDM_EDIT_REDO 41006
#define IDM_EDIT_FIND 41007
#define IDM_EDIT_FIND_NEXT 41008
#define IDM_EDIT_REPLACE 41009
#define IDM_WRAP_NO 42000
#define IDM_WRAP_YES 42001
#define IDM_FACE_FIRST 43000
#define IDM_FACE_LAST 43011
#define IDM_SIZE_BASE 44000
#define IDM_SIZE_FIRST 44008
#define IDM_SIZE_LAST 44072
#define IDM_ABOUT 45000
#define IDM_ORDER_REVERSED 46000
#define IDM_ORDER_BIDIRECTIONAL 46001
#define IDM_EDIT_GO_TO 41010
// The recent files of the File menu, most recent first, and the separator below them.
#define IDM_RECENT_FIRST 40100
#define IDM_RECENT_LAST 40107
#define IDM_RECENT_SEPARATOR 40108
// The Go To Line dialog and its number box.
#define IDD_GO_TO_LINE "GOTOLINE"
#define IDC_GO_TO_NUMBER 100
#define IDM_VIEW_STATUS_BAR 47000
